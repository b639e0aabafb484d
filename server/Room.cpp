#include "Room.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "net/CommaText.h"
#include "net/Protocol.h"
#include "table/Big5.h"

namespace zavuv::server {

RoomTiming RoomTiming::Normal(int betSeconds) {
  RoomTiming t;
  t.countdownFrom = betSeconds;
  return t;
}

RoomTiming RoomTiming::Fast(int betMs) {
  // A whole game in about a tenth of a second, a shoe in ten (with the default betting
  // time of 60 ms: three steps of the countdown).
  return RoomTiming{std::max(1, betMs / 3), 3, 10, 10, 20, 30};
}

Level LevelOf(std::int64_t totalExp) {
  Level l;
  l.exp = std::max<std::int64_t>(0, totalExp);
  while (l.exp >= l.needed && l.level < 999) {
    l.exp -= l.needed;
    ++l.level;
    l.needed = 100LL * l.level;
  }
  return l;
}

std::string FormatMoney(double value) {
  long long cents = std::llround(std::fabs(value) * 100);
  std::string whole = std::to_string(cents / 100);
  std::string out;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
    out += whole[i];
  }
  int frac = static_cast<int>(cents % 100);
  if (frac) {
    char buf[8];
    std::snprintf(buf, sizeof buf, ".%02d", frac);
    out += buf;
    if (out.back() == '0') out.pop_back();
  }
  return (value < 0 && cents != 0 ? "-" : "") + out;
}

Room::Room(std::string name, bool practice, std::uint64_t seed, RoomTiming timing, int listMax, RoomHost& host)
    : name_(std::move(name)), practice_(practice), dealer_(seed), timing_(timing), listMax_(listMax), host_(host) {}

DualLine Room::Plain(const std::string& command, const std::string& argument) const {
  return {name_ + ":" + command + ":" + argument, {}};
}

DualLine Room::Text(const std::string& command, const std::string& utf8) const {
  return {name_ + ":" + command + ":" + Utf8ToBig5(utf8), name_ + ":UTF8" + command + ":" + utf8};
}

DualLine Room::List(const std::string& command, const std::vector<std::string>& items) const {
  net::StringList big5;
  for (const auto& item : items) big5.push_back(Utf8ToBig5(item));
  return {name_ + ":" + command + ":" + net::EncodeCommaText(big5),
          name_ + ":UTF8" + command + ":" + net::EncodeCommaText(items)};
}

// Nicknames with a stake on the side (B, P or T in battle rooms; the guessed side in
// practice), largest stakes first, cut at the list limit with a closing count.
std::vector<std::string> Room::Names(char side) const {
  std::vector<std::pair<int, std::string>> rows;
  if (practice_) {
    for (const auto& [account, g] : guesses_)
      if (g.side == side) rows.emplace_back(0, g.nickname);
  } else {
    for (const auto& [account, b] : bets_) {
      int amount = side == 'B' ? b.banker : side == 'P' ? b.player : b.tie;
      if (amount > 0) rows.emplace_back(amount, b.nickname);
    }
  }
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::string> names;
  for (const auto& [amount, nick] : rows) {
    if (static_cast<int>(names.size()) >= listMax_) {
      names.push_back("…共 " + std::to_string(rows.size()) + " 人");
      break;
    }
    names.push_back(practice_ ? nick : nick + " " + std::to_string(amount));
  }
  return names;
}

std::vector<std::string> Room::CardLeftList() const {
  static const char* const kRanks[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
  std::vector<std::string> items;
  for (int r = 0; r < 13; ++r) items.push_back(std::string(kRanks[r]) + ": " + std::to_string(rankLeft_[r]));
  items.push_back("合計: " + std::to_string(cardsLeft_));
  return items;
}

void Room::SendLists() {
  host_.RoomBroadcast(List("BANKERLIST", Names('B')));
  host_.RoomBroadcast(List("PLAYERLIST", Names('P')));
  if (!practice_) host_.RoomBroadcast(List("TIELIST", Names('T')));
}

int Room::Step() {
  switch (phase_) {
    case Phase::ShoeStart: {
      shoe_ = dealer_.DealShoe();
      game_ = 0;
      shoeResult_.clear();
      cardsLeft_ = kCardsPerShoe - shoe_.burned;
      std::fill(std::begin(rankLeft_), std::end(rankLeft_), 4 * kDecksPerShoe);
      shoePlayers_.clear();
      if (practice_) {
        for (const auto& [account, score] : practiceScores_) host_.RoomSend(account, Plain("SCORE", "0:0"));
        practiceScores_.clear();
      }
      host_.RoomBroadcast(Plain("SHOERESULT", ""));
      host_.RoomBroadcast(List("CARDLEFT", CardLeftList()));
      phase_ = Phase::GameStart;
      return 0;
    }
    case Phase::GameStart: {
      bets_.clear();
      guesses_.clear();
      cards_.clear();
      result_ = 0;
      statusText_.clear();
      if (listsShown_) {
        SendLists();
        listsShown_ = false;
      }
      status_ = "GAMESTARTED";
      host_.RoomBroadcast(Plain("GAMESTATUS", status_));
      timeLeft_ = 0;
      phase_ = Phase::Countdown;
      return 0;
    }
    case Phase::Countdown: {
      // Betting stays open through the last second shown: until STOPBET goes out.
      timeLeft_ = timeLeft_ == 0 ? std::max(1, timing_.countdownFrom) : timeLeft_ - 1;
      host_.RoomBroadcast(Plain("TIMELEFT", std::to_string(timeLeft_)));
      if (timeLeft_ <= 1) phase_ = Phase::StopBet;
      return timing_.countdownStepMs;
    }
    case Phase::StopBet: {
      timeLeft_ = 0;
      host_.RoomBroadcast(Plain("STOPBET", ""));
      SendLists();
      listsShown_ = !bets_.empty() || !guesses_.empty();
      phase_ = Phase::Deal;
      return timing_.dealMs;
    }
    case Phase::Deal: {
      const DealtGame& g = shoe_.games[game_];
      cards_ = g.cards;
      host_.RoomBroadcast(Plain("CARDS", cards_));
      phase_ = Phase::Result;
      return timing_.revealMs;
    }
    case Phase::Result: {
      const DealtGame& g = shoe_.games[game_];
      result_ = g.result;
      for (char c : g.cards) {
        if (c == kNoCard) continue;
        --cardsLeft_;
        --rankLeft_[CardRank(CardFromCode(c)) - 1];
      }
      shoeResult_ += g.result;
      host_.RoomBroadcast(Plain("GAMERESULT", std::string(1, g.result)));
      host_.RoomBroadcast(Plain("SHOERESULT", shoeResult_));
      Settle(g.result);
      host_.RoomBroadcast(List("CARDLEFT", CardLeftList()));
      status_ = "GAMEENDEDIN5SECOND";
      host_.RoomBroadcast(Plain("GAMESTATUS", status_));
      // Otherwise the status label would go on saying "停止下注" through the pause.
      statusText_ = game_ + 1 < shoe_.games.size() ? "本局已完, 下一局即將開始" : "本靴最後一局已完";
      host_.RoomBroadcast(Text("STATUS", statusText_));
      ++game_;
      phase_ = game_ < shoe_.games.size() ? Phase::GameStart : Phase::ShoeEnd;
      return timing_.endMs;
    }
    case Phase::ShoeEnd: {
      status_ = "SHOENOTSTARTED";
      host_.RoomBroadcast(Plain("GAMESTATUS", status_));
      statusText_ = "洗牌中, 新一靴即將開始";
      host_.RoomBroadcast(Text("STATUS", statusText_));
      host_.RoomShoeEnded(*this, shoeResult_, shoePlayers_);
      phase_ = Phase::ShoeStart;
      return timing_.shoeGapMs;
    }
  }
  return 1000;
}

void Room::Settle(char result) {
  if (practice_) {
    for (const auto& [account, g] : guesses_) {
      auto& score = practiceScores_[account];
      if (result == g.side) ++score.first;
      else if (result != 'T') ++score.second;
      host_.RoomSend(account, Plain("SCORE", std::to_string(score.first) + ":" + std::to_string(score.second)));
    }
    host_.RoomSettled(*this, result, {});
    return;
  }
  std::vector<BetOutcome> outcomes;
  for (const auto& [account, b] : bets_) {
    BetOutcome o{account, b.nickname, b.banker, b.player, b.tie, 0, 0};
    o.stake = b.banker + b.player + b.tie;
    if (result == 'B') o.net = b.banker * 0.95 - b.player - b.tie;
    else if (result == 'P') o.net = b.player - b.banker - b.tie;
    else o.net = 8.0 * b.tie;   // banker and player stakes are returned on a tie
    outcomes.push_back(std::move(o));
    shoePlayers_.insert(account);
  }
  host_.RoomSettled(*this, result, outcomes);
}

static bool ParseAmount(const std::string& text, long long& value) {
  std::string_view s = net::TrimBlanks(text);
  if (s.empty()) {
    value = 0;
    return true;
  }
  bool negative = false;
  if (s.front() == '-' || s.front() == '+') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 12) return false;
  value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  return true;
}

std::string Room::ValidateBet(const std::string& banker, const std::string& player, const std::string& tie,
                              int& b, int& p, int& t) {
  struct Side {
    const std::string& text;
    const char* name;
    long long max;
    bool multipleOf20;
    int& out;
  } sides[] = {{banker, "莊", 40000, true, b}, {player, "閒", 40000, false, p}, {tie, "和", 5000, false, t}};
  for (auto& s : sides) {
    long long v;
    std::string prefix = std::string("下注") + s.name + "的金額";
    if (!ParseAmount(s.text, v)) return prefix + "不正確";
    if (v < 0) return prefix + "不能負數";
    if (v > 0 && v < 300) return prefix + "最少300";
    if (s.multipleOf20 && v % 20 != 0) return prefix + "必須是20的倍數";
    if (v > s.max) return prefix + "最多" + std::to_string(s.max);
    s.out = static_cast<int>(v);
  }
  return {};
}

void Room::Handle(const std::string& account, const std::string& nickname, const std::string& command,
                  const std::string& argument) {
  if (command == "BET") {
    if (practice_) {
      host_.RoomSend(account, Text("MESSAGE", "練習場不能下注, 請用估莊或估閒"));
      return;
    }
    if (!BettingOpen()) {
      host_.RoomSend(account, Text("MESSAGE", "現在不是下注時間, 請等下一局"));
      return;
    }
    // banker:player:tie; the tie part is the rest, so a further colon makes it invalid.
    std::string parts[3];
    std::size_t c1 = argument.find(':');
    parts[0] = argument.substr(0, c1);
    if (c1 != std::string::npos) {
      std::size_t c2 = argument.find(':', c1 + 1);
      parts[1] = argument.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
      if (c2 != std::string::npos) parts[2] = argument.substr(c2 + 1);
    }
    int b = 0, p = 0, t = 0;
    std::string refusal = ValidateBet(parts[0], parts[1], parts[2], b, p, t);
    if (!refusal.empty()) {
      host_.RoomSend(account, Text("MESSAGE", refusal));
      return;
    }
    if (b == 0 && p == 0 && t == 0) bets_.erase(account);
    else bets_[account] = Bet{nickname, b, p, t};
    host_.RoomSend(account, Plain("BET", std::to_string(b) + ":" + std::to_string(p) + ":" + std::to_string(t)));
    return;
  }
  if (command == "GUESS") {
    if (!practice_) {
      host_.RoomSend(account, Text("MESSAGE", "戰場不設估莊閒, 請下注"));
      return;
    }
    std::string side = net::UpperAscii(net::TrimBlanks(argument));
    if (side != "B" && side != "P") {
      host_.RoomSend(account, Text("MESSAGE", "請估莊或估閒"));
      return;
    }
    if (!BettingOpen()) {
      host_.RoomSend(account, Text("MESSAGE", "現在不是估局時間, 請等下一局"));
      return;
    }
    guesses_[account] = Guess{nickname, side[0]};
    host_.RoomSend(account, Text("MESSAGE", std::string("閣下估") + (side == "B" ? "莊" : "閒")));
    return;
  }
  if (command == "PEEK") {
    host_.RoomSend(account, Text("MESSAGE", "偷看功能暫不開放"));
    return;
  }
  // ANNOUNCESCORE is the server's: it needs the user's season score.
}

std::vector<DualLine> Room::Snapshot(const std::string& account) const {
  std::vector<DualLine> lines;
  bool betting = BettingOpen();
  bool stopped = phase_ == Phase::Deal || phase_ == Phase::Result;
  if (betting || status_ != "GAMESTARTED") lines.push_back(Plain("GAMESTATUS", status_));
  lines.push_back(Plain("SHOERESULT", shoeResult_));
  lines.push_back(List("CARDLEFT", CardLeftList()));
  if (betting) {
    if (timeLeft_ > 0) lines.push_back(Plain("TIMELEFT", std::to_string(timeLeft_)));
  } else if (stopped) {
    lines.push_back(Plain("STOPBET", ""));
  } else if (!statusText_.empty()) {
    lines.push_back(Text("STATUS", statusText_));
  }
  if (stopped || listsShown_) {
    lines.push_back(List("BANKERLIST", Names('B')));
    lines.push_back(List("PLAYERLIST", Names('P')));
    if (!practice_) lines.push_back(List("TIELIST", Names('T')));
  }
  if (!cards_.empty()) lines.push_back(Plain("CARDS", cards_));
  if (result_) lines.push_back(Plain("GAMERESULT", std::string(1, result_)));
  if (practice_) {
    auto it = practiceScores_.find(account);
    int right = it == practiceScores_.end() ? 0 : it->second.first;
    int wrong = it == practiceScores_.end() ? 0 : it->second.second;
    lines.push_back(Plain("SCORE", std::to_string(right) + ":" + std::to_string(wrong)));
  } else if (auto it = bets_.find(account); it != bets_.end()) {
    const Bet& b = it->second;
    lines.push_back(Plain("BET", std::to_string(b.banker) + ":" + std::to_string(b.player) + ":" + std::to_string(b.tie)));
  }
  return lines;
}

}  // namespace zavuv::server
