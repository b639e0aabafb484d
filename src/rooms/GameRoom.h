// What the battle rooms and the practice room share: the room's road, the status
// and result labels, the deal animation, the name lists, and the reading of the
// room lines that both understand. A room is engine state that its panel shows;
// every text here is UTF-8 and every colour a named RGB value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "roads/TRoad.h"
#include "rooms/Cards.h"

namespace zavuv {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

namespace colours {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kFuchsia{255, 0, 255};
}  // namespace colours

// The world around a room: the connection, the main window's message pane, message
// boxes and the card window. The program's window answers it; tests record it.
class RoomHost {
 public:
  virtual ~RoomHost() = default;
  virtual bool IsConnected() const = 0;
  // Sends one line: its text without the line end, already in the line's encoding.
  virtual void SendLine(const std::string& text) = 0;
  // Appends a line to the message pane in a colour.
  virtual void AddMessage(const std::string& text, Rgb colour) = 0;
  // A plain message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The card window shows a card's face (1 to 52) until the user closes it.
  virtual void ShowCard(int number) = 0;
};

// What a handled line changed, for a view that redraws only that.
enum RoomChange : unsigned {
  kStatusChanged = 1u << 0,      // LabelGameStatus, the lamp
  kResultChanged = 1u << 1,      // LabelGameResult
  kListsChanged = 1u << 2,       // the name lists and the cards left
  kShoeChanged = 1u << 3,        // EditShoeResult and the road
  kScoreChanged = 1u << 4,       // the score (button caption or guess counts)
  kBetsChanged = 1u << 5,        // accepted bets, amount boxes, bet buttons
  kCardsChanged = 1u << 6,       // a deal started or a picture moved
  kNewsChanged = 1u << 7,        // the news line
  kConnectionChanged = 1u << 8,  // the buttons that need the connection
};

class GameRoom {
 public:
  explicit GameRoom(RoomHost* host = nullptr);
  virtual ~GameRoom() = default;
  GameRoom(const GameRoom&) = delete;
  GameRoom& operator=(const GameRoom&) = delete;

  void SetHost(RoomHost* host) { host_ = host; }
  RoomHost* Host() const { return host_; }

  // The room name heads every line the room sends and addresses the lines it gets.
  const std::string& RoomName() const { return roomName_; }

  // A received room line: the text after the room name's colon. It is cut once more
  // at its first colon into a room command (trimmed, upper-cased) and its argument;
  // a text without a colon is a command with no argument. Empty and unknown commands
  // are ignored.
  void HandleRoomMessage(std::string_view text);

  // The connection went down (a logout or a lost line) or a login brought it back.
  // Without it the room's countdown means nothing: the status says "未連線" and the
  // buttons that send are off until the next login gives the room its normal state.
  virtual void ConnectionChanged(bool online);
  bool Online() const { return online_; }

  // The deal animation's timer tick (every 30 ms while CardsRunning()).
  void TimerShowCardAndResultTimer();
  bool CardsRunning() const { return Animation.Running(); }

  // Told after every handled line and tick with the RoomChange bits it touched.
  std::function<void(unsigned changes)> Changed;

  // ---- what the panel shows ----
  TRoad RoomRoad;                    // automatic redraw on
  CardAnimation Animation;
  std::string GameStatusText = "剩餘下注時間:";   // LabelGameStatus
  std::string GameResultText;        // LabelGameResult
  Rgb GameResultColour = colours::kBlack;
  std::string ShoeResult;            // EditShoeResult, the result string as received
  std::vector<std::string> BankerList;
  std::vector<std::string> PlayerList;
  std::vector<std::string> CardLeftList;

  // The road panel's sizing: the upper sheet's height when the panel's width goes
  // from `width` to `newWidth` (scaled by (newWidth - 5) / (width - 5) and rounded),
  // never below kMinSheetHeight; the lower sheet takes the rest.
  static constexpr int kMinSheetHeight = 30;
  static int UpperSheetHeight(int height, int width, int newWidth);

  static constexpr const char* kTimeLeftCaption = "剩餘下注時間:";
  static constexpr const char* kStopBetCaption = "停止下注";
  static constexpr const char* kOfflineCaption = "未連線";

 protected:
  void SetName(std::string name) { roomName_ = std::move(name); }
  // Handles one room command; false when the room does not know it.
  virtual bool HandleCommand(const std::string& command, std::string_view argument, unsigned& changes);
  // The colour of the room's messages in the message pane.
  virtual Rgb MessageColour() const = 0;
  // Whether the connection is up (false without a host).
  bool Connected() const;
  // Sends the room name, a colon and the text, while connected.
  void Send(const std::string& text);
  void Notify(unsigned changes);

  RoomHost* host_ = nullptr;

 private:
  std::string roomName_;
  bool online_ = true;
};

// The argument of a room command as UTF-8: converted from Big5, or checked UTF-8
// for commands that begin with "UTF8".
std::string RoomText(std::string_view command, std::string_view argument);

}  // namespace zavuv
