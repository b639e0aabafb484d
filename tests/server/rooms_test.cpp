// The live rooms in fast pace: battle shoes dealt from the test seed with refused bets
// and every kind of settlement, every room line in its order, and practice guesses
// scored.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

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

// Parses a season profit as the server shows it ("1,700", "-1,300").
double Money(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  return std::stod(text);
}

// The server deals the seed's shoes, so the test knows every result before the game
// is dealt. It bets on banker, player and tie at once in a banker win, a player win
// and a tie, and checks each settlement to the unit, the season score after it, the
// refusals of two bad bets, and every room line of each shoe in its order.
TEST(ServerRooms, BattleShoesRunInOrderAndSettleEveryKindOfResultExactly) {
  TempDir dir;
  ServerProcess server(dir.Path());
  auto user = NewUser(server, dir.Path(), "r@example.org", "莊家");
  ASSERT_TRUE(user);
  Client& c = *user;
  const std::string room = "BATTLE3";
  const std::vector<std::string> dealt = ShoesDealtIn(room, 200);

  // The same bet each time: 2,000 on the banker, 1,000 on the player, 300 on a tie.
  // A banker win pays 0.95 of the banker stake and loses the other two; a player win
  // pays the player stake and loses the other two; a tie pays 8 times the tie stake
  // and returns the other two.
  const std::string bet = "2000:1000:300";
  std::map<char, std::pair<std::string, double>> settlement = {
      {'B', {"本局莊勝, 閣下贏 600", 600}},
      {'P', {"本局閒勝, 閣下輸 1,300", -1300}},
      {'T', {"本局和, 閣下贏 2,400", 2400}}};
  // Two refusals: the answer each bad bet must get.
  std::vector<std::pair<std::string, std::string>> refusals = {
      {"310:0:0", "下注莊的金額必須是20的倍數"}, {"0:40001:0", "下注閒的金額最多40000"}};

  std::string shoe;              // the results of the shoe under way, from GAMERESULT
  std::string lastShoeResult;    // the last SHOERESULT seen
  int place = -1;                // the shoe under way among the dealt ones, once known
  std::set<char> settled;        // the kinds of result whose settlement was checked
  std::deque<std::string> sent;  // bets sent and not yet answered
  char betOn = 0;                // the result of the game a confirmed bet stands in
  double profit = 0;
  int shoesPlayed = 0, shoesBetIn = 0;
  bool betInShoe = false;
  std::string expect;            // the next line of the game; empty until a shoe starts
  int timeLeft = 0;
  std::string cards;
  auto done = [&] { return settled.size() == 3 && refusals.empty(); };
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (!(done() && expect.empty())) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline)
        << "after " << shoesPlayed << " shoes: " << settled.size() << " kinds settled, " << refusals.size()
        << " refusals unchecked";
    auto line = c.Read(5000);
    ASSERT_TRUE(line) << "the room fell silent";
    std::string cmd = RoomCommand(*line, room), arg = cmd.empty() ? "" : RoomArgument(*line, room);
    if (cmd.empty()) continue;
    if (cmd == "GAMESTATUS" && arg == "SHOENOTSTARTED") {
      // The shoe that ended tells where the room is in the seed's shoes.
      if (!expect.empty()) {
        EXPECT_EQ(expect, "GAMESTARTED");
        EXPECT_EQ(shoe, dealt[place]);
        EXPECT_GT(shoe.size(), 30u);
        ++shoesPlayed;
        shoesBetIn += betInShoe;
        ++place;
      } else if (!lastShoeResult.empty()) {
        auto it = std::find(dealt.begin(), dealt.end(), lastShoeResult);
        ASSERT_NE(it, dealt.end()) << "not a shoe of the seed: " << lastShoeResult;
        place = static_cast<int>(it - dealt.begin()) + 1;
      }
      if (place < 0 || done()) {
        expect.clear();
        continue;
      }
      shoe.clear();
      betInShoe = false;
      expect = "GAMESTARTED";
      continue;
    }
    if (cmd == "SHOERESULT") lastShoeResult = arg;
    if (expect.empty()) continue;
    if (cmd == "GAMESTATUS" && arg == "GAMESTARTED") {
      ASSERT_EQ(expect, "GAMESTARTED");
      expect = "TIMELEFT";
      timeLeft = 0;
      betOn = 0;
      // What this game will bring decides what is sent in it: the bet on all three
      // sides while its kind of result is unchecked, otherwise a refusal still to see.
      ASSERT_LT(shoe.size(), dealt[place].size());
      char result = dealt[place][shoe.size()];
      if (!settled.count(result) && sent.empty()) sent.push_back(bet);
      else if (!refusals.empty() && sent.empty()) sent.push_back(refusals.front().first);
      else continue;
      c.Send(room + ":BET:" + sent.back());
    } else if (cmd == "TIMELEFT") {
      ASSERT_EQ(expect, "TIMELEFT");
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
      EXPECT_EQ(arg, std::string(1, dealt[place][shoe.size()])) << "game " << shoe.size() + 1;
      shoe += arg;
      expect = "SHOERESULT";
    } else if (cmd == "SHOERESULT") {
      if (expect == "SHOERESULT") {
        EXPECT_EQ(arg, shoe);
        expect = "GAMEENDEDIN5SECOND";
      }
    } else if (cmd == "GAMESTATUS" && arg == "GAMEENDEDIN5SECOND") {
      ASSERT_EQ(expect, "GAMEENDEDIN5SECOND");
      EXPECT_EQ(betOn, 0) << "a confirmed bet was not settled in game " << shoe.size();
      expect = "GAMESTARTED";
    } else if (cmd == "BET" && arg != "0:0:0") {
      // A bet is confirmed as sent; it stands in the game under way.
      ASSERT_FALSE(sent.empty()) << *line;
      EXPECT_EQ(arg, bet);
      sent.pop_front();
      betOn = dealt[place][shoe.size()];
    } else if (cmd == "UTF8MESSAGE" && arg.rfind("本局", 0) == 0) {
      ASSERT_NE(betOn, 0) << "a settlement without a bet: " << arg;
      ASSERT_EQ(expect, "GAMEENDEDIN5SECOND") << "not settled between the result and the end of the game";
      EXPECT_EQ(arg, settlement[betOn].first);
      profit += settlement[betOn].second;
      settled.insert(betOn);
      betInShoe = true;
      betOn = 0;
    } else if (cmd == "UTF8MESSAGE") {
      ASSERT_FALSE(sent.empty()) << *line;
      std::string what = sent.front();
      sent.pop_front();
      if (arg == "現在不是下注時間, 請等下一局") continue;   // sent too late on a busy machine: tried again
      ASSERT_FALSE(what == bet) << "the bet was refused: " << arg;
      ASSERT_EQ(what, refusals.front().first);
      EXPECT_EQ(arg, refusals.front().second) << what;
      refusals.erase(refusals.begin());
    } else if (cmd == "UTF8SCORE" && !settled.empty()) {
      EXPECT_DOUBLE_EQ(Money(arg), profit);
    }
  }

  // Every shoe in which a bet was settled is kept in the user's private shoe data
  // list, with its results.
  ASSERT_GE(shoesBetIn, 1);
  c.Send("GETPRIVATEDATALIST:");
  std::string list = c.WaitForPrefix("GETPRIVATEDATALISTOK:").value_or("");
  auto rows = zavuv::net::DecodeCommaText(list.substr(std::min<std::size_t>(21, list.size())));
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(shoesBetIn));
  auto fields = zavuv::net::DecodeCommaText(rows[0]);
  std::string id = zavuv::net::RecordText(fields, "DataIDNo");
  c.Send("GETPRIVATEDATA:" + id);
  std::string item = c.WaitForPrefix("GETPRIVATEDATAOK:").value_or("");
  std::string kept = zavuv::net::RecordText(zavuv::net::DecodeCommaText(item.substr(std::min<std::size_t>(17, item.size()))), "ShoesResult");
  EXPECT_NE(std::find(dealt.begin(), dealt.end(), kept), dealt.end()) << kept;
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
  // Guesses go on until one was right, one wrong and one met a tie, whatever the
  // moment the test joins the room.
  std::set<std::string> kinds;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (settled < 4 || kinds.size() < 3) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << settled << " guesses settled";
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
      kinds.insert(arg[0] == counted ? "right" : arg[0] == 'T' ? "tie" : "wrong");
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
