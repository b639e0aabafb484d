#include "rooms/GameRoomClientBattle.h"

#include <charconv>
#include <ctime>
#include <exception>
#include <stdexcept>

#include "net/CommaText.h"
#include "net/Protocol.h"
#include "rooms/Utf32.h"
#include "shoes/ShoesData.h"

namespace zavuv {

std::string LocalTimeName() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d %H:%M:%S", &local);
  return text;
}

GameRoomClientBattle::GameRoomClientBattle(RoomHost* host) : GameRoom(host), Now(LocalTimeName) {}

// ---- bet validation ----

namespace {

enum class Amount { Valid, NotNumber };

// A whole number in decimal with an optional sign that fits 32 bits; empty is 0.
Amount ParseAmount(std::string_view text, long long& value) {
  value = 0;
  if (text.empty()) return Amount::Valid;
  std::string_view digits = text;
  bool negative = false;
  if (digits.front() == '+' || digits.front() == '-') {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 12) return Amount::NotNumber;
  for (char c : digits)
    if (c < '0' || c > '9') return Amount::NotNumber;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return Amount::NotNumber;
  return Amount::Valid;
}

// The message of the first rule one side's amount breaks, or empty.
std::string CheckSide(std::string_view text, const char* side, bool multipleOf20) {
  long long v = 0;
  std::string prefix = std::string("下注") + side + "的金額";
  if (ParseAmount(text, v) != Amount::Valid) return prefix + "不正確";
  if (v < 0) return prefix + "不能負數";
  if (v >= 1 && v <= 299) return prefix + "最少300";
  if (multipleOf20 && v % 20 != 0) return prefix + "必須是20的倍數";
  return {};
}

bool IsGame(char c) { return c == 'B' || c == 'P' || c == 'T'; }

}  // namespace

std::string GameRoomClientBattle::ValidateBets(std::string_view banker, std::string_view player,
                                               std::string_view tie) {
  std::string message = CheckSide(banker, "莊", true);
  if (message.empty()) message = CheckSide(player, "閒", false);
  if (message.empty()) message = CheckSide(tie, "和", false);
  return message;
}

// ---- the panel's actions ----

void GameRoomClientBattle::SendBet(const std::string& banker, const std::string& player, const std::string& tie) {
  host_->SendLine(RoomName() + ":BET:" + banker + ":" + player + ":" + tie);
  LastBankerBet = banker;
  LastPlayerBet = player;
  LastTieBet = tie;
}

void GameRoomClientBattle::BtnBetClick() {
  if (!Connected()) return;
  std::string banker(net::TrimBlanks(BankerBetText));
  std::string player(net::TrimBlanks(PlayerBetText));
  std::string tie(net::TrimBlanks(TieBetText));
  std::string message = ValidateBets(banker, player, tie);
  if (!message.empty()) {
    host_->ShowMessage(message);
    return;
  }
  SendBet(banker, player, tie);
}

void GameRoomClientBattle::BtnLastBetClick() {
  BankerBetText = LastBankerBet;
  PlayerBetText = LastPlayerBet;
  TieBetText = LastTieBet;
  Notify(kBetsChanged);
}

void GameRoomClientBattle::BtnCancelBetClick() {
  BankerBetText = PlayerBetText = TieBetText = "0";
  Notify(kBetsChanged);
  BtnBetClick();
}

void GameRoomClientBattle::BtnAnnounceScoreClick() { Send("ANNOUNCESCORE:"); }
void GameRoomClientBattle::BtnPeek1Click() { Send("PEEK:1"); }

void GameRoomClientBattle::BtnBillboardClick() {
  if (Connected()) host_->SendLine("BILLBOARD:");
}

void GameRoomClientBattle::BtnVictorClick() {
  if (Connected()) host_->SendLine("VICTOR:");
}

bool GameRoomClientBattle::BtnAutoBetClick(bool down) {
  AutoBetButtonDown = down;
  if (down) {
    if (CanStartAutoBet() && host_->AskYesNo(kAutoBetQuestion))
      StartRoomAutoBet();
    else
      AutoBetButtonDown = false;
  } else {
    if (host_ && host_->AskYesNo(kStopAutoBetQuestion))
      StopRoomAutoBet();
    else
      AutoBetButtonDown = true;
  }
  Notify(kBetsChanged);
  return AutoBetButtonDown;
}

void GameRoomClientBattle::Timer1Timer() {
  if (RollingText.empty()) RollingText = U"Testing ";
  ++RollingPos;
  if (RollingPos > static_cast<int>(RollingText.size()) || RollingPos < 1) RollingPos = 1;
  std::size_t from = static_cast<std::size_t>(RollingPos - 1);
  RollingDisplay = Utf32ToUtf8(RollingText.substr(from) + RollingText.substr(0, from));
  Notify(kNewsChanged);
}

void GameRoomClientBattle::SetScore(const std::string& text) {
  ScoreCaption = "成績:" + text;
  Notify(kScoreChanged);
}

// ---- automatic betting ----

bool GameRoomClientBattle::CanStartAutoBet() {
  if (!Connected()) {
    if (host_) host_->ShowMessage(kNotConnected);
    return false;
  }
  if (!autoBet_ || !autoBet_->CanStartAutoBet()) {
    host_->ShowMessage(kAutoBetTaken);
    return false;
  }
  return true;
}

void GameRoomClientBattle::StartRoomAutoBet() {
  AutoBetActive = GameStatus == "SHOENOTSTARTED";
  BetButtonEnabled = false;
  AutoBetButtonDown = true;
  try {
    if (!autoBet_) throw std::runtime_error(kAutoBetTaken);
    autoBet_->StartAutoBet();
  } catch (...) {
    // Nothing holds the strategies: the room goes back to betting by hand.
    AutoBetActive = false;
    BetButtonEnabled = true;
    AutoBetButtonDown = false;
    Notify(kBetsChanged);
    throw;
  }
  if (!AutoBetActive) {
    // A shoe is under way: the strategies learn its games so far without betting.
    for (char c : ShoeResult)
      if (IsGame(c)) autoBet_->AutoBetGameResult(c);
    AutoBetActive = true;
    if (GameStatus == "GAMESTARTED") PlaceAutoBet();
  }
  Notify(kBetsChanged);
}

void GameRoomClientBattle::StopRoomAutoBet() {
  BetButtonEnabled = true;
  const bool active = AutoBetActive;
  AutoBetActive = false;
  // The room is back to betting by hand before the strategies finish: the lock is
  // released even when finishing fails, and the error comes afterwards.
  Notify(kBetsChanged);
  if (active && autoBet_) autoBet_->StopAutoBet();
}

void GameRoomClientBattle::PlaceAutoBet() {
  NetBet bet = autoBet_->GetAutoBet();
  if (bet.amount == 0 || (bet.side != 'B' && bet.side != 'P')) return;
  std::string amount = std::to_string(bet.amount);
  std::string banker = bet.side == 'B' ? amount : "0";
  std::string player = bet.side == 'P' ? amount : "0";
  std::string message = ValidateBets(banker, player, "0");
  if (!message.empty()) {
    // The button pops up and the user is told even when the strategies fail to
    // finish; that error follows the message.
    AutoBetButtonDown = false;
    std::exception_ptr failed;
    try {
      StopRoomAutoBet();
    } catch (...) {
      failed = std::current_exception();
    }
    Notify(kBetsChanged);
    if (host_) host_->ShowMessage(message + "\n" + kAutoBetStopped);
    if (failed) std::rethrow_exception(failed);
    return;
  }
  if (host_) SendBet(banker, player, "0");
}

// ---- received lines ----

void GameRoomClientBattle::RecordShoe() {
  if (!shoes_) return;
  ClientDataSet& table = shoes_->Table();
  if (table.State() != DataSetState::Browse) table.Cancel();
  shoes_->AppendShoe({Now ? Now() : LocalTimeName(), ShoeResult, {}});
}

void GameRoomClientBattle::GameStatusReceived(const std::string& word, unsigned& changes) {
  GameStatus = word;
  if (word == "GAMESTARTED") {
    LampColour = colours::kGreen;
    changes |= kStatusChanged;
    if (AutoBetActive) PlaceAutoBet();
  } else if (word == "GAMEENDEDIN5SECOND") {
    LampColour = colours::kRed;
    changes |= kStatusChanged;
  } else if (word == "SHOENOTSTARTED") {
    LampColour = colours::kBlack;
    changes |= kStatusChanged;
    // A failed recording must not keep the strategies from their new shoe.
    std::exception_ptr failed;
    if (!ShoeResult.empty() && Record) {
      try {
        RecordShoe();
      } catch (...) {
        failed = std::current_exception();
      }
    }
    if (AutoBetButtonDown && autoBet_) {
      AutoBetActive = true;
      autoBet_->AutoBetNewShoe();
    }
    if (failed) std::rethrow_exception(failed);
  }
}

bool GameRoomClientBattle::HandleCommand(const std::string& command, std::string_view argument,
                                         unsigned& changes) {
  if (command == "GAMERESULT") {
    GameRoom::HandleCommand(command, argument, changes);
    std::string_view r = net::TrimBlanks(argument);
    if (AutoBetActive && autoBet_ && !r.empty() && IsGame(r.front())) autoBet_->AutoBetGameResult(r.front());
  } else if (command == "GAMESTATUS") {
    GameStatusReceived(std::string(net::TrimBlanks(argument)), changes);
  } else if (command == "TIELIST" || command == "UTF8TIELIST") {
    TieList = net::DecodeCommaText(RoomText(command, argument));
    changes |= kListsChanged;
  } else if (command == "SCORE") {
    SetScore(RoomText(command, argument));
  } else if (command == "UTF8SCORE") {
    std::string text = RoomText(command, argument);
    if (ScoreForAllRooms)
      ScoreForAllRooms(text);
    else
      SetScore(text);
  } else if (command == "RESETBET") {
    BankerBetText = PlayerBetText = TieBetText = "0";
    changes |= kBetsChanged;
  } else if (command == "BET") {
    std::string text = RoomText(command, argument);
    net::CommandLine first = net::SplitLine(text);
    net::CommandLine second = net::SplitLine(first.arguments);
    BankerBetLabel = first.command;
    PlayerBetLabel = second.command;
    TieBetLabel = second.arguments;
    changes |= kBetsChanged;
  } else if (command == "ROLLINGTEXT" || command == "UTF8ROLLINGTEXT") {
    RollingText = Utf8ToUtf32(RoomText(command, argument));
    if (!RollingText.empty()) RollingText += U' ';
    RollingPos = 0;
  } else {
    return GameRoom::HandleCommand(command, argument, changes);
  }
  return true;
}

}  // namespace zavuv
