// A battle room: the server deals, the user bets by hand or lets the strategies in
// use bet automatically, and a finished shoe can be recorded into the shoe table.
// TFrameGameRoomClientBattle shows one and turns its clicks into these calls.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "rooms/AutoBetHost.h"
#include "rooms/GameRoom.h"

namespace zavuv {

class ShoesData;

class GameRoomClientBattle : public GameRoom {
 public:
  explicit GameRoomClientBattle(RoomHost* host = nullptr);

  // At start-up: the room's name ("BATTLE" ... "BATTLE5").
  void SetRoomName(std::string name) { SetName(std::move(name)); }
  // The strategies that bet automatically, and the shoe table that finished shoes are
  // recorded into (either may be absent: then that feature does nothing).
  void SetAutoBetHost(AutoBetHost* autoBet) { autoBet_ = autoBet; }
  void SetShoes(ShoesData* shoes) { shoes_ = shoes; }
  // The name a recorded shoe gets, "yyyymmdd hh:nn:ss" of the local time by default.
  std::function<std::string()> Now;

  // The checks a bet passes before it is sent: the message of the first failing
  // rule, empty when the bet is valid. Texts are already trimmed; empty counts as 0.
  static std::string ValidateBets(std::string_view banker, std::string_view player, std::string_view tie);

  // ---- the panel's actions ----
  // "確    認    投    注": validates the amount boxes and sends the bet (while connected).
  void BtnBetClick();
  // "上次投注": the amount boxes get the last bet sent; nothing is sent.
  void BtnLastBetClick();
  // "取消投注": the amount boxes get "0" and the bet of zeros is sent.
  void BtnCancelBetClick();
  void BtnAnnounceScoreClick();
  void BtnPeek1Click();
  void BtnBillboardClick();
  void BtnVictorClick();
  // The toggle has already changed its state to `down` when this runs; the answer is
  // the state it must show afterwards (it pops back when the change is refused).
  bool BtnAutoBetClick(bool down);
  // The news line's timer tick (every second).
  void Timer1Timer();

  // ---- automatic betting ----
  // Connected and no other room betting automatically; otherwise the message box
  // says why ("未連線" or "已有其他遊戲室佔用自動下注").
  bool CanStartAutoBet();
  void StartRoomAutoBet();
  void StopRoomAutoBet();
  void PlaceAutoBet();

  // Offline the lamp goes dark and automatic betting stops: the games it would follow
  // go on without the room, so its strategies would lose track of the shoe.
  void ConnectionChanged(bool online) override;

  // The score caption that "UTF8SCORE" gives every battle room.
  void SetScore(const std::string& text);
  // Called for "UTF8SCORE" with the caption for all five rooms (the room list sets
  // it); without it the room sets only its own score.
  std::function<void(const std::string& text)> ScoreForAllRooms;

  // ---- what the panel shows ----
  std::string GameStatus;               // the last game status word received
  Rgb LampColour = colours::kBlack;     // ShapeGameStatus
  std::string ScoreCaption = "成績:";   // BtnAnnounceScore
  // Under "已下注金額": what the server accepted.
  std::string BankerBetLabel = "0", PlayerBetLabel = "0", TieBetLabel = "0";
  // The amount boxes under "投注金額": the panel writes what the user types here.
  std::string BankerBetText = "0", PlayerBetText = "0", TieBetText = "0";
  // The amounts of the last bet sent, as sent.
  std::string LastBankerBet, LastPlayerBet, LastTieBet;
  std::vector<std::string> TieList;
  bool Record = false;                  // CheckBoxRecord "記錄"
  bool AutoBetButtonDown = false;       // BtnAutoBet
  bool BetButtonEnabled = true;         // BtnBet
  bool AutoBetActive = false;           // automatic betting follows this room's games
  // The news line: the text, the scroll position (characters, from 1) and what
  // EditRollingText shows.
  std::u32string RollingText;
  int RollingPos = 0;
  std::string RollingDisplay;

  static constexpr const char* kAutoBetQuestion = "自動下注功能會根據現時的策略自動下注.\r\n是否確定使用此功能?";
  static constexpr const char* kStopAutoBetQuestion = "是否確定停用自動下注?";
  static constexpr const char* kAutoBetStopped = "自動下注功能停止";
  static constexpr const char* kNotConnected = "未連線";
  static constexpr const char* kAutoBetTaken = "已有其他遊戲室佔用自動下注";

 protected:
  bool HandleCommand(const std::string& command, std::string_view argument, unsigned& changes) override;
  Rgb MessageColour() const override { return colours::kFuchsia; }

 private:
  void GameStatusReceived(const std::string& word, unsigned& changes);
  void RecordShoe();
  void SendBet(const std::string& banker, const std::string& player, const std::string& tie);

  AutoBetHost* autoBet_ = nullptr;
  ShoesData* shoes_ = nullptr;
};

// "yyyymmdd hh:nn:ss" of the local time now.
std::string LocalTimeName();

}  // namespace zavuv
