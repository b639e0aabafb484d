// One live table: the practice room or a battle room. It deals its own shoes with the
// engine's Dealer and walks each game through its phases (betting with a countdown,
// stop, cards, result, a pause), producing the room lines in order. It owns no timer
// and no socket: the server calls Step() and waits the delay it answers, and the
// room talks back through RoomHost. Texts inside are UTF-8; each line is produced in
// the form(s) the protocol has for it.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shoes/Dealer.h"

namespace zavuv::server {

// One line in its two encodings. `utf8` empty: the line has one form, `big5`, for
// every client (its text is ASCII or already Big5).
struct DualLine {
  std::string big5;
  std::string utf8;
};

struct BetOutcome {
  std::string account;
  std::string nickname;
  int banker = 0, player = 0, tie = 0;
  double stake = 0;
  double net = 0;
};

class Room;

class RoomHost {
 public:
  virtual ~RoomHost() = default;
  // To every logged-in user, in order.
  virtual void RoomBroadcast(const DualLine& line) = 0;
  // To the user of the account, when online.
  virtual void RoomSend(const std::string& account, const DualLine& line) = 0;
  // A game's bets are settled (battle rooms; empty when nobody bet).
  virtual void RoomSettled(Room& room, char result, const std::vector<BetOutcome>& outcomes) = 0;
  // A shoe ended; `players` bet in at least one of its games.
  virtual void RoomShoeEnded(Room& room, const std::string& result, const std::set<std::string>& players) = 0;
};

struct RoomTiming {
  int countdownStepMs = 1000;
  int countdownFrom = 15;
  int dealMs = 1000;      // STOPBET to CARDS
  int revealMs = 2500;    // CARDS to GAMERESULT: the client's card animation
  int endMs = 5000;       // GAMEENDEDIN5SECOND to the next game
  int shoeGapMs = 10000;  // SHOENOTSTARTED to the next shoe
  static RoomTiming Normal(int betSeconds);
  static RoomTiming Fast(int betMs = 60);
};

class Room {
 public:
  Room(std::string name, bool practice, std::uint64_t seed, RoomTiming timing, int listMax, RoomHost& host);

  const std::string& Name() const { return name_; }
  bool Practice() const { return practice_; }

  // Performs the next action; answers the milliseconds to wait before the next call.
  int Step();

  // A line of this room from a user (the room command and its argument, after the
  // room name). Answers are sent through the host.
  void Handle(const std::string& account, const std::string& nickname, const std::string& command,
              const std::string& argument);

  // The lines that bring a user who arrives now up to date.
  std::vector<DualLine> Snapshot(const std::string& account) const;

  // For logs and tests.
  int GamesDealt() const { return static_cast<int>(shoeResult_.size()); }
  const std::string& ShoeResult() const { return shoeResult_; }
  // Bets and guesses are taken from GAMESTARTED until STOPBET goes out, the last
  // second of the countdown included.
  bool BettingOpen() const { return phase_ == Phase::Countdown || phase_ == Phase::StopBet; }
  // Practice: right and wrong guesses of the user in this shoe.
  std::pair<int, int> PracticeScore(const std::string& account) const {
    auto it = practiceScores_.find(account);
    return it == practiceScores_.end() ? std::pair<int, int>{0, 0} : it->second;
  }

  // Validates bet amounts (texts already split), answering the refusal message or
  // empty when valid; the amounts parsed into b, p, t.
  static std::string ValidateBet(const std::string& banker, const std::string& player, const std::string& tie,
                                 int& b, int& p, int& t);

 private:
  enum class Phase { ShoeStart, GameStart, Countdown, StopBet, Deal, Result, ShoeEnd };
  struct Bet {
    std::string nickname;
    int banker = 0, player = 0, tie = 0;
  };
  struct Guess {
    std::string nickname;
    char side = 'B';
  };

  DualLine Plain(const std::string& command, const std::string& argument) const;
  DualLine Text(const std::string& command, const std::string& utf8) const;
  DualLine List(const std::string& command, const std::vector<std::string>& items) const;
  std::vector<std::string> Names(char side) const;
  std::string CardLeftItems() const;
  std::vector<std::string> CardLeftList() const;
  void SendLists();
  void Settle(char result);

  std::string name_;
  bool practice_;
  Dealer dealer_;
  RoomTiming timing_;
  int listMax_;
  RoomHost& host_;

  Phase phase_ = Phase::ShoeStart;
  std::string status_ = "SHOENOTSTARTED";
  std::string statusText_;      // the STATUS text shown in a pause, while it lasts
  DealtShoe shoe_;
  std::size_t game_ = 0;
  int timeLeft_ = 0;            // the countdown value last shown; 0 before the first
  std::string cards_;           // the current game's cards, once dealt
  char result_ = 0;             // the current game's result, once shown
  std::string shoeResult_;
  int cardsLeft_ = 0;
  int rankLeft_[13] = {};
  bool listsShown_ = false;
  std::map<std::string, Bet> bets_;
  std::map<std::string, Guess> guesses_;
  std::map<std::string, std::pair<int, int>> practiceScores_;   // right, wrong in this shoe
  std::set<std::string> shoePlayers_;
};

// The level of a total experience: level from 1, experience into it, and the
// experience the level needs (100 per level number).
struct Level {
  int level = 1;
  std::int64_t exp = 0;
  std::int64_t needed = 100;
};
Level LevelOf(std::int64_t totalExp);

// "###,###,##0.##": thousands separators, at most two decimals, no trailing zeros.
std::string FormatMoney(double value);

}  // namespace zavuv::server
