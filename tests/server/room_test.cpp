// A room on its own, stepped by hand: when bets and guesses are taken, that a guess
// counts once and for the game it was placed in, and what a late arrival is shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "Room.h"

using namespace zavuv::server;

namespace {

struct Recorder : RoomHost {
  std::vector<std::string> all;                                // broadcast lines (UTF-8 form when there is one)
  std::vector<std::pair<std::string, std::string>> direct;    // account, line
  void RoomBroadcast(const DualLine& l) override { all.push_back(l.utf8.empty() ? l.big5 : l.utf8); }
  void RoomSend(const std::string& a, const DualLine& l) override {
    direct.emplace_back(a, l.utf8.empty() ? l.big5 : l.utf8);
  }
  void RoomSettled(Room&, char, const std::vector<BetOutcome>& o) override { settled.push_back(o); }
  void RoomShoeEnded(Room&, const std::string&, const std::set<std::string>&) override {}
  std::vector<std::vector<BetOutcome>> settled;
  std::string LastTo(const std::string& account) const {
    for (auto it = direct.rbegin(); it != direct.rend(); ++it)
      if (it->first == account) return it->second;
    return {};
  }
};

// Steps the room until one step broadcasts `line` (and whatever comes with it).
void StepUntil(Room& room, Recorder& host, const std::string& line) {
  for (int i = 0; i < 10000; ++i) {
    std::size_t from = host.all.size();
    room.Step();
    if (std::find(host.all.begin() + from, host.all.end(), line) != host.all.end()) return;
  }
  FAIL() << "never reached " << line;
}

TEST(ServerRoom, AGuessCountsOnceForItsGameAndNotAfterStopBet) {
  Recorder host;
  Room room("PRACTICE", true, 7, RoomTiming::Normal(3), 50, host);
  StepUntil(room, host, "PRACTICE:GAMESTATUS:GAMESTARTED");
  StepUntil(room, host, "PRACTICE:TIMELEFT:3");
  room.Handle("a", "甲", "GUESS", "P");
  room.Handle("a", "甲", "GUESS", "b");          // a second guess replaces the first
  EXPECT_EQ(host.LastTo("a"), "PRACTICE:UTF8MESSAGE:閣下估莊");
  StepUntil(room, host, "PRACTICE:TIMELEFT:1");
  // The last second shown is still betting time.
  room.Handle("b", "乙", "GUESS", "P");
  EXPECT_EQ(host.LastTo("b"), "PRACTICE:UTF8MESSAGE:閣下估閒");
  StepUntil(room, host, "PRACTICE:STOPBET:");
  room.Handle("c", "丙", "GUESS", "B");
  EXPECT_EQ(host.LastTo("c"), "PRACTICE:UTF8MESSAGE:現在不是估局時間, 請等下一局");
  StepUntil(room, host, "PRACTICE:GAMESTATUS:GAMEENDEDIN5SECOND");
  char first = room.ShoeResult().back();
  // The pause says what comes, to the room and to whoever arrives in it.
  EXPECT_EQ(host.all.back(), "PRACTICE:UTF8STATUS:本局已完, 下一局即將開始");
  auto snapshot = room.Snapshot("d");
  EXPECT_EQ(snapshot.at(0).big5, "PRACTICE:GAMESTATUS:GAMEENDEDIN5SECOND");
  EXPECT_TRUE(std::any_of(snapshot.begin(), snapshot.end(),
                          [](const DualLine& l) { return l.utf8 == "PRACTICE:UTF8STATUS:本局已完, 下一局即將開始"; }));
  // Between the result and the next game nothing is taken either.
  room.Handle("c", "丙", "GUESS", "B");
  EXPECT_EQ(host.LastTo("c"), "PRACTICE:UTF8MESSAGE:現在不是估局時間, 請等下一局");

  auto expect = [](char result, char side) {
    return result == side ? std::pair{1, 0} : result == 'T' ? std::pair{0, 0} : std::pair{0, 1};
  };
  EXPECT_EQ(room.PracticeScore("a"), expect(first, 'B'));
  EXPECT_EQ(room.PracticeScore("b"), expect(first, 'P'));
  EXPECT_EQ(room.PracticeScore("c"), std::pair(0, 0));
  auto [r, w] = room.PracticeScore("a");
  EXPECT_EQ(host.LastTo("a"), "PRACTICE:SCORE:" + std::to_string(r) + ":" + std::to_string(w));

  // The next game without a guess from a: its score stays, and it gets no score line.
  std::size_t lines = host.direct.size();
  StepUntil(room, host, "PRACTICE:GAMESTATUS:GAMESTARTED");
  StepUntil(room, host, "PRACTICE:GAMESTATUS:GAMEENDEDIN5SECOND");
  EXPECT_EQ(room.PracticeScore("a"), expect(first, 'B'));
  EXPECT_EQ(host.direct.size(), lines);

  // A new shoe starts everyone who guessed at 0:0.
  StepUntil(room, host, "PRACTICE:GAMESTATUS:SHOENOTSTARTED");
  EXPECT_EQ(host.all.back(), "PRACTICE:UTF8STATUS:洗牌中, 新一靴即將開始");
  StepUntil(room, host, "PRACTICE:SHOERESULT:");
  EXPECT_EQ(room.PracticeScore("a"), std::pair(0, 0));
  EXPECT_EQ(host.LastTo("a"), "PRACTICE:SCORE:0:0");
}

TEST(ServerRoom, BetsCloseAtStopBetAndALateArrivalSeesTheCountdownOnDisplay) {
  Recorder host;
  Room room("BATTLE2", false, 11, RoomTiming::Normal(15), 50, host);
  StepUntil(room, host, "BATTLE2:TIMELEFT:14");
  auto snapshot = room.Snapshot("x");
  std::vector<std::string> texts;
  for (const auto& l : snapshot) texts.push_back(l.utf8.empty() ? l.big5 : l.utf8);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "BATTLE2:TIMELEFT:14"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "BATTLE2:GAMESTATUS:GAMESTARTED"), texts.end());

  StepUntil(room, host, "BATTLE2:TIMELEFT:1");
  room.Handle("x", "某", "BET", "300:0:0");
  EXPECT_EQ(host.LastTo("x"), "BATTLE2:BET:300:0:0");
  StepUntil(room, host, "BATTLE2:STOPBET:");
  room.Handle("y", "另", "BET", "0:300:0");
  EXPECT_EQ(host.LastTo("y"), "BATTLE2:UTF8MESSAGE:現在不是下注時間, 請等下一局");
  StepUntil(room, host, "BATTLE2:GAMESTATUS:GAMEENDEDIN5SECOND");
  ASSERT_FALSE(host.settled.empty());
  ASSERT_EQ(host.settled.back().size(), 1u);
  EXPECT_EQ(host.settled.back()[0].account, "x");
}

// Each side's upper limit is taken, and one above it is refused with its own message
// and leaves the bet that stood before it.
TEST(ServerRoom, EachSidesUpperLimitIsTakenAndOneAboveItRefused) {
  Recorder host;
  Room room("BATTLE", false, 5, RoomTiming::Normal(15), 50, host);
  StepUntil(room, host, "BATTLE:TIMELEFT:15");
  const std::pair<const char*, const char*> answers[] = {
      {"40000:0:0", "BATTLE:BET:40000:0:0"},
      {"40020:0:0", "BATTLE:UTF8MESSAGE:下注莊的金額最多40000"},
      {"40001:0:0", "BATTLE:UTF8MESSAGE:下注莊的金額必須是20的倍數"},
      {"0:40000:0", "BATTLE:BET:0:40000:0"},
      {"0:40001:0", "BATTLE:UTF8MESSAGE:下注閒的金額最多40000"},
      {"40000:40000:5000", "BATTLE:BET:40000:40000:5000"},
      {"0:0:5001", "BATTLE:UTF8MESSAGE:下注和的金額最多5000"},
  };
  for (const auto& [amounts, answer] : answers) {
    room.Handle("x", "某", "BET", amounts);
    EXPECT_EQ(host.LastTo("x"), answer) << amounts;
  }
  StepUntil(room, host, "BATTLE:GAMESTATUS:GAMEENDEDIN5SECOND");
  ASSERT_EQ(host.settled.size(), 1u);
  ASSERT_EQ(host.settled[0].size(), 1u);
  const BetOutcome& o = host.settled[0][0];
  EXPECT_EQ(std::tuple(o.banker, o.player, o.tie), std::tuple(40000, 40000, 5000));
}

}  // namespace
