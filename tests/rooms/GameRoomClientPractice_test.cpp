#include "rooms/GameRoomClientPractice.h"

#include <gtest/gtest.h>

#include "rooms/GameRooms.h"
#include "RoomTestKit.h"
#include "table/Big5.h"

using namespace zavuv;
using zavuv::testing::FakeRoomHost;

TEST(Practice, ShowsTheRoomAndIgnoresBattleCommands) {
  FakeRoomHost host;
  GameRooms rooms(&host, nullptr, nullptr);
  GameRoomClientPractice& room = rooms.Practice;
  auto line = [&](std::string_view text) { EXPECT_TRUE(rooms.HandleLine("PRACTICE", text)); };

  line("SCORE:12:5");
  EXPECT_EQ(room.GuessWin, "12");
  EXPECT_EQ(room.GuessLost, "5");
  line("SCORE: 3 : 4");
  EXPECT_EQ(room.GuessWin, "3");
  EXPECT_EQ(room.GuessLost, " 4");

  line("MESSAGE:" + Utf8ToBig5("開始"));
  ASSERT_EQ(host.pane.size(), 1u);
  EXPECT_EQ(host.pane[0], (std::pair<std::string, Rgb>{"開始", colours::kGreen}));

  line("TIMELEFT:9");
  EXPECT_EQ(room.GameStatusText, "剩餘下注時間:9秒");
  line("GAMERESULT:P");
  EXPECT_EQ(room.GameResultText, "閒勝");
  line("SHOERESULT:PPB");
  EXPECT_EQ(room.RoomRoad.Result(), "PPB");
  line("UTF8BANKERLIST:x,y");
  EXPECT_EQ(room.BankerList.size(), 2u);
  line("CARDS:ABCDE");
  EXPECT_TRUE(room.CardsRunning());

  // Battle commands change nothing here.
  line("BET:300:0:0");
  line("GAMESTATUS:GAMESTARTED");
  line("UTF8SCORE:99");
  line("RESETBET");
  EXPECT_EQ(room.GuessWin, "3");
  EXPECT_EQ(rooms.Battle[0].ScoreCaption, "成績:");
  EXPECT_EQ(rooms.Battle[0].BankerBetLabel, "0");
  EXPECT_FALSE(rooms.HandleLine("BATTLE6", "SCORE:1"));
}

TEST(Practice, GuessesAreSentOnlyWhileConnected) {
  FakeRoomHost host;
  GameRoomClientPractice room(&host);
  host.connected = false;
  room.BtnGuessBankerClick(true);
  room.btnPeek1Click();
  EXPECT_TRUE(host.sent.empty());
  EXPECT_TRUE(host.boxes.empty());
  host.connected = true;
  room.BtnGuessBankerClick(true);
  room.BtnGuessBankerClick(false);
  room.BtnAnnounceScoreClick();
  room.btnPeek1Click();
  EXPECT_EQ(host.sent, (std::vector<std::string>{"PRACTICE:GUESS:B", "PRACTICE:GUESS:P", "PRACTICE:ANNOUNCESCORE:",
                                                 "PRACTICE:PEEK:1"}));
}
