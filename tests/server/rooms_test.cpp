// The live rooms in fast pace: a whole battle shoe with a refused and a settled bet,
// every room line in its order, and practice guesses scored.
#include <gtest/gtest.h>

#include "ServerHarness.h"
#include "shoes/Dealer.h"

using namespace zavuv::testing;

namespace {

std::string RoomCommand(const std::string& line, const std::string& room) {
  if (line.rfind(room + ":", 0) != 0) return {};
  return zavuv::net::SplitLine(line.substr(room.size() + 1)).command;
}
std::string RoomArgument(const std::string& line, const std::string& room) {
  return zavuv::net::SplitLine(line.substr(room.size() + 1)).arguments;
}

TEST(ServerRooms, AWholeBattleShoeRunsInOrderWithARefusedAndASettledBet) {
  TempDir dir;
  ServerProcess server(dir.Path());
  auto user = NewUser(server, dir.Path(), "r@example.org", "莊家");
  ASSERT_TRUE(user);
  Client& c = *user;
  const std::string room = "BATTLE3";
  // Wait for the next shoe to begin so that the whole of it is seen.
  ASSERT_TRUE(c.WaitFor([&](const std::string& l) { return l == room + ":GAMESTATUS:SHOENOTSTARTED"; }, 30000));

  std::string shoe;          // built from the GAMERESULT lines
  std::string expect = "GAMESTARTED";
  bool refused = false, confirmed = false, settled = false, scored = false;
  int games = 0, timeLeft = 0;
  std::string cards;
  for (;;) {
    auto line = c.Read(5000);
    ASSERT_TRUE(line) << "the room fell silent";
    std::string cmd = RoomCommand(*line, room), arg = cmd.empty() ? "" : RoomArgument(*line, room);
    if (cmd.empty()) continue;
    if (cmd == "GAMESTATUS" && arg == "SHOENOTSTARTED") {
      EXPECT_EQ(expect, "GAMESTARTED");
      break;
    }
    if (cmd == "GAMESTATUS" && arg == "GAMESTARTED") {
      ASSERT_EQ(expect, "GAMESTARTED");
      expect = "TIMELEFT";
      timeLeft = 0;
      if (games == 2) c.Send(room + ":BET:310:0:0");      // not a multiple of 20
      if (games == 3) c.Send(room + ":BET:0:40020:0");    // above the limit
      if (games == 4) c.Send(room + ":BET:300:0:0");
    } else if (cmd == "TIMELEFT") {
      ASSERT_TRUE(expect == "TIMELEFT");
      int n = std::stoi(arg);
      if (timeLeft) {
        EXPECT_EQ(n, timeLeft - 1);
      }
      timeLeft = n;
      if (n == 1) expect = "STOPBET";
    } else if (cmd == "STOPBET") {
      ASSERT_EQ(expect, "STOPBET");
      expect = "CARDS";
    } else if (cmd == "CARDS") {
      ASSERT_EQ(expect, "CARDS");
      cards = arg;
      expect = "GAMERESULT";
    } else if (cmd == "GAMERESULT") {
      ASSERT_EQ(expect, "GAMERESULT");
      EXPECT_EQ(arg, std::string(1, zavuv::GameResultOfCards(cards)));
      shoe += arg;
      ++games;
      expect = "SHOERESULT";
    } else if (cmd == "SHOERESULT") {
      if (expect == "SHOERESULT") {
        EXPECT_EQ(arg, shoe);
        expect = "GAMEENDEDIN5SECOND";
      }
    } else if (cmd == "GAMESTATUS" && arg == "GAMEENDEDIN5SECOND") {
      ASSERT_EQ(expect, "GAMEENDEDIN5SECOND");
      expect = "GAMESTARTED";
    } else if (cmd == "UTF8MESSAGE") {
      std::string text = arg;
      if (games == 2 && text == "下注莊的金額必須是20的倍數") refused = true;
      if (games == 3) {
        EXPECT_EQ(text, "下注閒的金額最多40000");
      }
      if (games == 5 && text.rfind("本局", 0) == 0) settled = true;
    } else if (cmd == "BET" && arg == "300:0:0") {
      confirmed = true;
    } else if (cmd == "UTF8SCORE" && settled) {
      double expected = shoe[4] == 'B' ? 285 : shoe[4] == 'P' ? -300 : 0;
      EXPECT_EQ(arg, expected == 285 ? "285" : expected < 0 ? "-300" : "0");
      scored = true;
    }
  }
  EXPECT_GT(games, 30);
  EXPECT_TRUE(refused);
  EXPECT_TRUE(confirmed);
  EXPECT_TRUE(settled);
  EXPECT_TRUE(scored);

  // The shoe played is kept in the user's private shoe data list and downloads.
  c.Send("GETPRIVATEDATALIST:");
  std::string list = c.WaitForPrefix("GETPRIVATEDATALISTOK:").value_or("");
  auto rows = zavuv::net::DecodeCommaText(list.substr(21));
  ASSERT_EQ(rows.size(), 1u);
  auto fields = zavuv::net::DecodeCommaText(rows[0]);
  std::string id = zavuv::net::RecordText(fields, "DataIDNo");
  c.Send("GETPRIVATEDATA:" + id);
  std::string item = c.WaitForPrefix("GETPRIVATEDATAOK:").value_or("");
  EXPECT_EQ(zavuv::net::RecordText(zavuv::net::DecodeCommaText(item.substr(17)), "ShoesResult"), shoe);
}

// The count kept here follows the server's answers, not the moment a guess was sent:
// a guess counts for the game whose betting time it arrives in, once it is confirmed
// ("閣下估莊"), and one that arrives after STOPBET is refused and never counts. Every
// SCORE line (the state at login, each settlement, 0:0 at a new shoe) must then match.
TEST(ServerRooms, PracticeGuessesAreCountedRightAndWrongAndOtherRoomCommandsRefused) {
  TempDir dir;
  ServerProcess server(dir.Path());
  auto user = NewUser(server, dir.Path(), "p@example.org", "練習生");
  ASSERT_TRUE(user);
  Client& c = *user;
  int right = 0, wrong = 0, settled = 0, refused = 0;
  char sent = 0, counted = 0;   // the guess sent in this game; the one the server took
  while (settled < 4) {
    auto line = c.Read(5000);
    ASSERT_TRUE(line);
    std::string cmd = RoomCommand(*line, "PRACTICE"), arg = cmd.empty() ? "" : RoomArgument(*line, "PRACTICE");
    if (cmd == "GAMESTATUS" && arg == "GAMESTARTED") sent = 0;
    if (cmd == "TIMELEFT" && !sent) {
      sent = settled % 2 ? 'P' : 'B';
      c.Send(std::string("PRACTICE:GUESS:") + sent);
      c.Send("PRACTICE:BET:300:0:0");
    }
    if (cmd == "STOPBET" && settled == 1 && !refused) {
      c.Send("PRACTICE:GUESS:P");   // too late for this game
      ++refused;
    }
    if (cmd == "UTF8MESSAGE" && arg.rfind("閣下估", 0) == 0) counted = arg == "閣下估莊" ? 'B' : 'P';
    if (cmd == "UTF8MESSAGE" && arg.rfind("現在不是估局時間", 0) == 0) ++refused;
    if (cmd == "GAMERESULT" && counted) {
      if (arg[0] == counted) ++right;
      else if (arg[0] != 'T') ++wrong;
    }
    if (cmd == "SCORE") {
      EXPECT_EQ(arg, std::to_string(right) + ":" + std::to_string(wrong));
      if (counted) ++settled;
      counted = 0;
    }
    if (cmd == "GAMESTATUS" && arg == "SHOENOTSTARTED") right = wrong = 0;
  }
  EXPECT_GE(refused, 1);
  c.Send("PRACTICE:PEEK:1");
  EXPECT_TRUE(c.WaitFor([](const std::string& l) { return l.rfind("PRACTICE:UTF8MESSAGE:偷看", 0) == 0; }));
  c.Send("PRACTICE:ANNOUNCESCORE:");
  EXPECT_TRUE(c.WaitFor([](const std::string& l) { return l.rfind("PRACTICE:UTF8MESSAGE:練習生 公告成績", 0) == 0; }));
}

TEST(ServerRooms, AUserWhoLogsInMidGameGetsTheRoomsCurrentState) {
  TempDir dir;
  ServerProcess server(dir.Path());
  auto user = NewUser(server, dir.Path(), "m@example.org", "後來者");
  ASSERT_TRUE(user);
  Client& c = *user;
  // Right after the level and the welcome, each room's state: at least its status or
  // its stop, its shoe so far and its cards left.
  std::set<std::string> seen;
  for (int i = 0; i < 40; ++i) {
    auto line = c.Read(2000);
    ASSERT_TRUE(line);
    for (const char* room : {"PRACTICE", "BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"}) {
      std::string cmd = RoomCommand(*line, room);
      if (!cmd.empty()) seen.insert(std::string(room) + ":" + cmd);
    }
  }
  for (const char* room : {"PRACTICE", "BATTLE", "BATTLE5"}) {
    EXPECT_TRUE(seen.count(std::string(room) + ":SHOERESULT")) << room;
    EXPECT_TRUE(seen.count(std::string(room) + ":UTF8CARDLEFT")) << room;
  }
}

TEST(ServerRooms, TheBattleRoomsNewsTickerComesAtLoginAndAgainWhenTheConfigChanges) {
  TempDir dir;
  fs::path conf = dir.Path() / "server.conf";
  std::ofstream(conf) << "rolling_text = 本週六晚上八時伺服器維修\n";
  ServerProcess server(dir.Path(), {"--config", conf.string()});
  auto user = NewUser(server, dir.Path(), "n@example.org", "讀報");
  ASSERT_TRUE(user);
  auto isTicker = [](const std::string& l) { return l.find("ROLLINGTEXT:") != std::string::npos; };
  std::set<std::string> seen;
  for (int i = 0; i < 5; ++i)
    if (auto l = user->WaitFor(isTicker)) seen.insert(*l);
  std::set<std::string> expected;
  for (const char* room : {"BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"})
    expected.insert(std::string(room) + ":UTF8ROLLINGTEXT:本週六晚上八時伺服器維修");
  EXPECT_EQ(seen, expected);

  std::ofstream(conf) << "rolling_text = 新一季已開始\n";
  kill(server.Pid(), SIGHUP);
  auto line = user->WaitFor(isTicker);
  EXPECT_EQ(line.value_or(""), "BATTLE:UTF8ROLLINGTEXT:新一季已開始");
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
