#include "rooms/GameRoomClientBattle.h"

#include <gtest/gtest.h>

#include "rooms/GameRooms.h"
#include "RoomTestKit.h"
#include "shoes/ShoesData.h"
#include "table/Big5.h"

using namespace zavuv;
using zavuv::testing::FakeRoomHost;
using zavuv::testing::FakeStrategies;

namespace {

struct Battle : ::testing::Test {
  FakeRoomHost host;
  FakeStrategies strategies{2};
  ShoesData shoes;
  GameRooms rooms{&host, &strategies, &shoes};
  GameRoomClientBattle& room = rooms.Battle[2];   // "BATTLE3"

  void Line(std::string_view text) { rooms.HandleLine(room.RoomName(), text); }
  void Script(int strategy, std::vector<NetBet> bets) {
    strategies.strategies[strategy].bets.assign(bets.begin(), bets.end());
  }
};

}  // namespace

TEST(ValidateBets, FirstFailingRuleGivesTheMessage) {
  auto v = GameRoomClientBattle::ValidateBets;
  EXPECT_EQ(v("310", "0", "0"), "下注莊的金額必須是20的倍數");
  EXPECT_EQ(v("0", "310", "0"), "");
  EXPECT_EQ(v("0", "0", "310"), "");
  // Only the banker's message, although the player's text is no number.
  EXPECT_EQ(v("250", "abc", "0"), "下注莊的金額最少300");
  EXPECT_EQ(v("0", "abc", "0"), "下注閒的金額不正確");
  EXPECT_EQ(v("", "", ""), "");
  EXPECT_EQ(v("-20", "0", "0"), "下注莊的金額不能負數");
  EXPECT_EQ(v("0", "-1", "0"), "下注閒的金額不能負數");
  EXPECT_EQ(v("0", "0", "299"), "下注和的金額最少300");
  EXPECT_EQ(v("0", "0", "1.5"), "下注和的金額不正確");
  EXPECT_EQ(v("300", "300", "300"), "");
  EXPECT_EQ(v("+320", "0", "0"), "");
  // No upper limit on the client, but a number beyond 32 bits is no number.
  EXPECT_EQ(v("40000000", "0", "0"), "");
  EXPECT_EQ(v("99999999999999", "0", "0"), "下注莊的金額不正確");
  EXPECT_EQ(v("-", "0", "0"), "下注莊的金額不正確");
}

TEST_F(Battle, BetButtonSendsTheTrimmedTextsOrShowsTheMessage) {
  room.BankerBetText = " 300 ";
  room.BtnBetClick();
  ASSERT_EQ(host.sent, (std::vector<std::string>{"BATTLE3:BET:300:0:0"}));
  EXPECT_EQ(room.LastBankerBet, "300");

  room.BankerBetText = "310";
  room.BtnBetClick();
  EXPECT_EQ(host.sent.size(), 1u);
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"下注莊的金額必須是20的倍數"}));

  // Empty boxes send empty amounts; the amounts shown change only on "BET".
  room.BankerBetText = room.PlayerBetText = room.TieBetText = "";
  room.BtnBetClick();
  EXPECT_EQ(host.sent.back(), "BATTLE3:BET:::");
  EXPECT_EQ(room.BankerBetLabel, "0");

  // Last bet refills the boxes without sending; cancel sends zeros.
  room.BankerBetText = "1000";
  room.PlayerBetText = "0";
  room.TieBetText = "300";
  room.BtnBetClick();
  room.BtnCancelBetClick();
  EXPECT_EQ(host.sent.back(), "BATTLE3:BET:0:0:0");
  EXPECT_EQ(room.BankerBetText, "0");
  room.LastBankerBet = "1000";  // what a bet of 1000 before the cancel left
  room.LastTieBet = "300";
  std::size_t before = host.sent.size();
  room.BtnLastBetClick();
  EXPECT_EQ(room.BankerBetText, "1000");
  EXPECT_EQ(room.TieBetText, "300");
  EXPECT_EQ(host.sent.size(), before);

  // Not connected: no button sends anything, and no box shows.
  host.connected = false;
  host.boxes.clear();
  room.BankerBetText = "310";
  room.BtnBetClick();
  room.BtnCancelBetClick();
  room.BtnAnnounceScoreClick();
  room.BtnBillboardClick();
  EXPECT_EQ(host.sent.size(), before);
  EXPECT_TRUE(host.boxes.empty());
  host.connected = true;
  room.BtnAnnounceScoreClick();
  room.BtnPeek1Click();
  room.BtnBillboardClick();
  room.BtnVictorClick();
  EXPECT_EQ(std::vector<std::string>(host.sent.end() - 4, host.sent.end()),
            (std::vector<std::string>{"BATTLE3:ANNOUNCESCORE:", "BATTLE3:PEEK:1", "BILLBOARD:", "VICTOR:"}));
}

TEST_F(Battle, StatusResultAndListsFollowTheLines) {
  unsigned changes = 0;
  room.Changed = [&](unsigned c) { changes |= c; };
  Line("TIMELEFT:15");
  EXPECT_EQ(room.GameStatusText, "剩餘下注時間:15秒");
  EXPECT_TRUE(changes & kStatusChanged);
  // A command without an argument is understood with or without its colon.
  Line("STOPBET");
  EXPECT_EQ(room.GameStatusText, "停止下注");
  Line("TIMELEFT:3");
  Line("stopbet:");
  EXPECT_EQ(room.GameStatusText, "停止下注");
  Line("STATUS:" + Utf8ToBig5("洗牌中"));
  EXPECT_EQ(room.GameStatusText, "洗牌中");
  Line("UTF8STATUS:等待");
  EXPECT_EQ(room.GameStatusText, "等待");

  Line("GAMERESULT:B");
  EXPECT_EQ(room.GameResultText, "莊勝");
  EXPECT_EQ(room.GameResultColour, colours::kRed);
  Line("GAMERESULT:P");
  EXPECT_EQ(room.GameResultText, "閒勝");
  EXPECT_EQ(room.GameResultColour, colours::kBlue);
  Line("GAMERESULT:T");
  EXPECT_EQ(room.GameResultText, "和");
  EXPECT_EQ(room.GameResultColour, colours::kBlack);
  Line("GAMERESULT:X");
  EXPECT_EQ(room.GameResultText, "");

  Line("SHOERESULT:BPPTB");
  EXPECT_EQ(room.ShoeResult, "BPPTB");
  EXPECT_EQ(room.RoomRoad.Result(), "BPPTB");
  EXPECT_EQ(room.RoomRoad.GetColumns(), (std::vector<std::int32_t>{1, 2, 1}));

  Line("BANKERLIST:" + Utf8ToBig5("小明,\"大 華\""));
  EXPECT_EQ(room.BankerList, (std::vector<std::string>{"小明", "大 華"}));
  Line("UTF8PLAYERLIST:a,b,c");
  EXPECT_EQ(room.PlayerList.size(), 3u);
  Line("TIELIST:");
  EXPECT_TRUE(room.TieList.empty());
  Line("UTF8CARDLEFT:A:10,K:8");
  EXPECT_EQ(room.CardLeftList, (std::vector<std::string>{"A:10", "K:8"}));

  // The accepted bets: the text is split twice, the last part is left as it is.
  Line("BET: 300 :0: 20 ");
  EXPECT_EQ(room.BankerBetLabel, "300");
  EXPECT_EQ(room.PlayerBetLabel, "0");
  EXPECT_EQ(room.TieBetLabel, " 20 ");
  room.BankerBetText = "500";
  Line("RESETBET");
  EXPECT_EQ(room.BankerBetText, "0");

  Line("MESSAGE:" + Utf8ToBig5("歡迎"));
  Line("UTF8MESSAGE:hi");
  ASSERT_EQ(host.pane.size(), 2u);
  EXPECT_EQ(host.pane[0].first, "歡迎");
  EXPECT_EQ(host.pane[0].second, colours::kFuchsia);

  Line("PEEK:N");
  Line("PEEK:");
  Line("PEEK:~");
  EXPECT_EQ(host.cardsShown, (std::vector<int>{14}));

  Line("CARDS:AB");
  EXPECT_TRUE(room.CardsRunning());
  rooms.TickCards();
  EXPECT_EQ(room.Animation.Step(), 1);

  // Unknown and empty commands change nothing.
  std::string status = room.GameStatusText;
  Line("NEWTHING:1");
  Line(":x");
  Line("");
  EXPECT_EQ(room.GameStatusText, status);
}

TEST_F(Battle, ScoreGoesToItsRoomAndUtf8ScoreToAllFive) {
  Line("SCORE:" + Utf8ToBig5("第一名"));
  EXPECT_EQ(room.ScoreCaption, "成績:第一名");
  EXPECT_EQ(rooms.Battle[0].ScoreCaption, "成績:");
  Line("UTF8SCORE:+1,200");
  for (const GameRoomClientBattle& r : rooms.Battle) EXPECT_EQ(r.ScoreCaption, "成績:+1,200");
  // The practice room keeps its own counts.
  EXPECT_EQ(rooms.Practice.GuessWin, "0");
}

TEST_F(Battle, NewsTurnsOneCharacterASecond) {
  room.Timer1Timer();
  EXPECT_EQ(room.RollingDisplay, "Testing ");
  room.Timer1Timer();
  EXPECT_EQ(room.RollingDisplay, "esting T");

  Line("UTF8ROLLINGTEXT:新聞ab");
  EXPECT_EQ(room.RollingPos, 0);
  std::vector<std::string> shown;
  for (int i = 0; i < 6; ++i) {
    room.Timer1Timer();
    shown.push_back(room.RollingDisplay);
  }
  // Five characters with the blank added; the sixth tick starts over.
  EXPECT_EQ(shown, (std::vector<std::string>{"新聞ab ", "聞ab 新", "ab 新聞", "b 新聞a", " 新聞ab", "新聞ab "}));
  Line("ROLLINGTEXT:" + Utf8ToBig5("中"));
  room.Timer1Timer();
  room.Timer1Timer();
  EXPECT_EQ(room.RollingDisplay, " 中");
}

TEST_F(Battle, LampAndShoeRecording) {
  room.Now = [] { return std::string("20261209 14:05:00"); };
  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_EQ(room.LampColour, colours::kGreen);
  Line("GAMESTATUS:GAMEENDEDIN5SECOND");
  EXPECT_EQ(room.LampColour, colours::kRed);
  Line("GAMESTATUS:SOMETHINGNEW");
  EXPECT_EQ(room.GameStatus, "SOMETHINGNEW");
  EXPECT_EQ(room.LampColour, colours::kRed);

  // Recording off: nothing recorded.
  Line("SHOERESULT:BPB");
  Line("GAMESTATUS:SHOENOTSTARTED");
  EXPECT_EQ(room.LampColour, colours::kBlack);
  EXPECT_EQ(shoes.Table().RecordCount(), 0);

  // Recording on with an empty shoe: nothing either.
  room.Record = true;
  Line("SHOERESULT:");
  Line("GAMESTATUS:SHOENOTSTARTED");
  EXPECT_EQ(shoes.Table().RecordCount(), 0);

  // A shoe with recording on: an unposted change of the shoe table is dropped, the
  // shoe is appended, normalised and made current, and the refresh runs for it.
  shoes.AppendShoe({"old", "PP", ""});
  shoes.Table().Edit();
  shoes.Table().SetFieldValue("ShoesResult", "BBBB");
  std::vector<std::string> refreshed;
  shoes.OnRefresh = [&] { refreshed.push_back(shoes.CurrentResult()); };
  Line("SHOERESULT:bpT");
  Line("GAMESTATUS:SHOENOTSTARTED");
  auto all = shoes.Shoes();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], (ShoeRecord{"old", "PP", ""}));
  EXPECT_EQ(all[1], (ShoeRecord{"20261209 14:05:00", "BPT", ""}));
  EXPECT_EQ(shoes.Table().RecNo(), 2);
  ASSERT_FALSE(refreshed.empty());
  EXPECT_EQ(refreshed.back(), "BPT");
}

TEST(ShoeRecording, NamesAreLocalDateAndTime) {
  std::string name = LocalTimeName();
  ASSERT_EQ(name.size(), 17u);
  EXPECT_EQ(name[8], ' ');
  EXPECT_EQ(name[11], ':');
  EXPECT_EQ(name[14], ':');
}

// ---- automatic betting ----

TEST_F(Battle, NetBankerBetBelowTheMinimumStopsAutomaticBetting) {
  Script(0, {{'B', 400}});
  Script(1, {{'P', 300}});
  Line("GAMESTATUS:SHOENOTSTARTED");
  EXPECT_TRUE(room.BtnAutoBetClick(true));
  EXPECT_EQ(host.questions, (std::vector<std::string>{GameRoomClientBattle::kAutoBetQuestion}));
  EXPECT_TRUE(room.AutoBetActive);
  EXPECT_FALSE(room.BetButtonEnabled);
  EXPECT_TRUE(strategies.held);

  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_TRUE(host.sent.empty());
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"下注莊的金額最少300\n自動下注功能停止"}));
  EXPECT_FALSE(room.AutoBetActive);
  EXPECT_FALSE(room.AutoBetButtonDown);
  EXPECT_TRUE(room.BetButtonEnabled);
  EXPECT_FALSE(strategies.held);
  EXPECT_EQ(strategies.log, (std::vector<std::string>{"start", "get", "stop"}));
  // A result afterwards settles nothing.
  Line("GAMERESULT:B");
  EXPECT_EQ(strategies.log.size(), 3u);
}

TEST_F(Battle, NetBetBeyondThirtyTwoBitsStopsAsNoNumber) {
  Script(0, {{'P', 2'000'000'000}});
  Script(1, {{'P', 2'000'000'000}});
  Line("GAMESTATUS:SHOENOTSTARTED");
  room.BtnAutoBetClick(true);
  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_TRUE(host.sent.empty());
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"下注閒的金額不正確\n自動下注功能停止"}));
}

TEST_F(Battle, OppositeBetsSendNothingButBothSettle) {
  Script(0, {{'B', 300}, {'B', 600}});
  Script(1, {{'P', 300}, {'P', 200}});
  Line("GAMESTATUS:SHOENOTSTARTED");
  room.BtnAutoBetClick(true);
  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_TRUE(host.sent.empty());
  Line("GAMERESULT:P");
  EXPECT_EQ(strategies.strategies[0].settledWithBet, "P");
  EXPECT_EQ(strategies.strategies[1].settledWithBet, "P");
  // The next game nets 400 on the banker; it is sent and kept as the last bet.
  Line("GAMESTATUS:GAMESTARTED");
  EXPECT_EQ(host.sent, (std::vector<std::string>{"BATTLE3:BET:400:0:0"}));
  EXPECT_EQ(room.LastBankerBet, "400");
  Line("GAMERESULT:B");
  EXPECT_EQ(strategies.strategies[0].settled, "PB");
  // Cancelling still sends zeros while automatic betting runs.
  room.BtnCancelBetClick();
  EXPECT_EQ(host.sent.back(), "BATTLE3:BET:0:0:0");
  // A new shoe reaches the strategies; stopping (confirmed) releases the lock.
  Line("GAMESTATUS:SHOENOTSTARTED");
  EXPECT_EQ(strategies.log.back(), "newshoe");
  EXPECT_FALSE(room.BtnAutoBetClick(false));
  EXPECT_FALSE(strategies.held);
  EXPECT_TRUE(room.BetButtonEnabled);
}

TEST_F(Battle, MidShoeStartFeedsTheShoeWithoutBetsThenBets) {
  Script(0, {{'P', 300}});
  Line("GAMESTATUS:GAMESTARTED");
  Line("SHOERESULT:BPB");
  room.BtnAutoBetClick(true);
  EXPECT_EQ(strategies.log, (std::vector<std::string>{"start", "result B", "result P", "result B", "get"}));
  EXPECT_EQ(strategies.strategies[0].settledWithBet, "");
  EXPECT_EQ(host.sent, (std::vector<std::string>{"BATTLE3:BET:0:300:0"}));
  EXPECT_TRUE(room.AutoBetActive);

  // Another room cannot start while this one holds automatic betting.
  GameRoomClientBattle& other = rooms.Battle[0];
  EXPECT_FALSE(other.BtnAutoBetClick(true));
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"已有其他遊戲室佔用自動下注"}));
  EXPECT_FALSE(other.AutoBetActive);
  EXPECT_TRUE(other.BetButtonEnabled);
  EXPECT_TRUE(strategies.held);
  // Its results are not settled by the strategies of the first room.
  std::size_t logged = strategies.log.size();
  rooms.HandleLine("BATTLE", "GAMERESULT:B");
  EXPECT_EQ(strategies.log.size(), logged);
}

TEST_F(Battle, StartingIsRefusedOrAbandonedCleanly) {
  // Not connected.
  host.connected = false;
  EXPECT_FALSE(room.BtnAutoBetClick(true));
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"未連線"}));
  EXPECT_TRUE(host.questions.empty());
  // The user says No.
  host.connected = true;
  host.answer = false;
  EXPECT_FALSE(room.BtnAutoBetClick(true));
  EXPECT_FALSE(strategies.held);
  // Preparing the strategies fails: the room goes back to betting by hand.
  host.answer = true;
  strategies.failStart = true;
  EXPECT_THROW(room.BtnAutoBetClick(true), std::runtime_error);
  EXPECT_FALSE(room.AutoBetActive);
  EXPECT_FALSE(room.AutoBetButtonDown);
  EXPECT_TRUE(room.BetButtonEnabled);
  // Started, then the user declines to stop: the button stays down.
  strategies.failStart = false;
  EXPECT_TRUE(room.BtnAutoBetClick(true));
  host.answer = false;
  EXPECT_TRUE(room.BtnAutoBetClick(false));
  EXPECT_TRUE(strategies.held);
  // A game result that is no game is not settled.
  Line("GAMERESULT:");
  Line("GAMERESULT:X");
  EXPECT_EQ(strategies.log, (std::vector<std::string>{"start"}));
}

TEST_F(Battle, RecordingDuringAutomaticBettingSkipsTheRefresh) {
  room.Record = true;
  Line("GAMESTATUS:SHOENOTSTARTED");
  room.BtnAutoBetClick(true);
  int refreshes = 0;
  shoes.OnRefresh = [&] { ++refreshes; };
  shoes.BatchRunning = true;   // what the workbench sets while automatic betting holds it
  Line("SHOERESULT:BBP");
  Line("GAMESTATUS:SHOENOTSTARTED");
  EXPECT_EQ(shoes.Table().RecordCount(), 1);
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(strategies.log.back(), "newshoe");
}
