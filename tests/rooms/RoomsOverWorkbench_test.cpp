// Automatic betting of the battle rooms over the real workbench and its strategies.
#include <gtest/gtest.h>

#include "RoomTestKit.h"
#include "app/Workbench.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetMethodLoop.h"
#include "rooms/GameRooms.h"

using namespace zavuv;
using zavuv::testing::FakeRoomHost;

namespace {

// A strategy that bets the loop's sides with a flat stake.
Strategy& Scripted(Workbench& bench, const std::string& name, const std::string& loop, int stake) {
  Strategy& s = bench.CreateStrategy(name, BetMethod::kLoop, BetAmount::kFlat);
  auto* method = static_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent());
  method->LoopText = loop;
  method->UnchangeNextToTie = false;
  static_cast<BetAmountFlat*>(s.FrameBetAmount.CurrentComponent())->FlatBet = stake;
  return s;
}

struct OverWorkbench : ::testing::Test {
  FakeRoomHost host;
  Workbench bench;
  GameRooms rooms{&host, bench};
  GameRoomClientBattle& room = rooms.Battle[0];
  void Line(std::string_view text) { rooms.HandleLine("BATTLE", text); }
};

}  // namespace

TEST_F(OverWorkbench, OppositeBetsSendNothingAndBothStrategiesSettle) {
  Strategy& banker = Scripted(bench, "banker", "B", 300);
  Strategy& player = Scripted(bench, "player", "P", 300);
  Line("GAMESTATUS:SHOENOTSTARTED");
  ASSERT_TRUE(room.BtnAutoBetClick(true));
  EXPECT_TRUE(bench.Shoes().BatchRunning);
  EXPECT_EQ(bench.AutoBetHolder(), "BATTLE");
  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_TRUE(host.sent.empty());
  Line("GAMERESULT:P");
  EXPECT_EQ(banker.LoseGame, 1);
  EXPECT_EQ(player.WinGame, 1);
  EXPECT_DOUBLE_EQ(player.AccProfit, 300);
  room.BtnAutoBetClick(false);
  EXPECT_FALSE(bench.AutoBetting());
  EXPECT_FALSE(bench.Shoes().BatchRunning);
}

TEST_F(OverWorkbench, ANetBankerBetOfOneHundredStopsAutomaticBetting) {
  Scripted(bench, "banker", "B", 400);
  Scripted(bench, "player", "P", 300);
  Line("GAMESTATUS:SHOENOTSTARTED");
  room.BtnAutoBetClick(true);
  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_TRUE(host.sent.empty());
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"下注莊的金額最少300\n自動下注功能停止"}));
  EXPECT_FALSE(room.AutoBetButtonDown);
  EXPECT_FALSE(bench.AutoBetting());
  EXPECT_FALSE(bench.Shoes().BatchRunning);
}

TEST_F(OverWorkbench, MidShoeStartLearnsTheShoeThenBetsAndASecondRoomIsRefused) {
  Strategy& s = Scripted(bench, "s", "B", 300);
  Line("GAMESTATUS:GAMESTARTED");
  Line("SHOERESULT:BPB");
  room.BtnAutoBetClick(true);
  EXPECT_EQ(s.GameNo, 4);
  EXPECT_DOUBLE_EQ(s.AccProfit, 0);
  EXPECT_EQ(host.sent, (std::vector<std::string>{"BATTLE:BET:300:0:0"}));
  Line("GAMERESULT:B");
  EXPECT_DOUBLE_EQ(s.AccProfit, 285);

  GameRoomClientBattle& other = rooms.Battle[1];
  EXPECT_FALSE(other.BtnAutoBetClick(true));
  EXPECT_EQ(host.boxes.back(), "已有其他遊戲室佔用自動下注");
  EXPECT_EQ(bench.AutoBetHolder(), "BATTLE");
  // A shoe recorded while betting goes into the table without the refresh.
  room.Record = true;
  int shown = 0;
  bench.OnCurrentShoeShown = [&] { ++shown; };
  Line("SHOERESULT:BPBB");
  Line("GAMESTATUS:SHOENOTSTARTED");
  ASSERT_EQ(bench.Shoes().Table().RecordCount(), 1);
  EXPECT_EQ(bench.Shoes().Shoes()[0].result, "BPBB");
  EXPECT_EQ(shown, 0);
  room.BtnAutoBetClick(false);
  EXPECT_FALSE(bench.Shoes().BatchRunning);
}
