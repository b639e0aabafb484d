// Where each line the server sends while the user is logged in goes. The dispatcher
// decodes the text and calls the account panel's sinks (message pane, caption,
// online list, level) and the hooks of the rooms, the ranking boards and the sharing
// page; a view implements the sink, the tests record it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "net/Board.h"

namespace zavuv::net {

class LineChannel;

// The colour a message pane line is appended in. Unchanged leaves the insertion
// point's colour as the previous line set it.
enum class MessageColour {
  Unchanged,
  WindowText,  // chat
  System,      // red: system messages
  OnlineList,  // blue
  Battle,      // fuchsia: battle-room messages
  Practice,    // green: practice-room messages
};


// The level display after a LEVEL line: the two label texts and the experience bar.
struct LevelDisplay {
  std::string level;       // LabelLvl
  std::string experience;  // LabelExp: experience + "/" + needed
  // False when the experience or the needed value is not a whole number or needed is
  // 0: the bar is drawn empty and the labels keep their new texts.
  bool valid = false;
  // The right edge of the white fill inside the bar's outline, which runs from
  // (1, 1) to (fill, height - 2); nothing is filled when it is 0.
  int fill = 0;
};

inline constexpr int kLevelBarWidth = 121;
inline constexpr int kLevelBarHeight = 20;

// The arguments of a LEVEL line, level:experience:needed: fill = experience *
// (width - 2) / needed by integer division, at most width - 2 and at least 0.
LevelDisplay ComputeLevel(std::string_view arguments, int barWidth = kLevelBarWidth);

class DispatchSink {
 public:
  virtual ~DispatchSink() = default;

  // Appends one line (UTF-8; it may hold CR LF) at the end of the message pane in the
  // colour, and repaints the pane at once.
  virtual void AppendMessage(std::string_view text, MessageColour colour) = 0;
  // The server sent the user's nickname: the window caption and the program title
  // become `caption` (the base caption, " - " and the nickname).
  virtual void NickNameChanged(std::string_view nickName, std::string_view caption) = 0;
  virtual void ShowLevel(const LevelDisplay& level) = 0;
  // The online list, in the order received; each nickname becomes a blue line.
  virtual void ShowOnlineList(const std::vector<std::string>& nickNames);

  // Hooks that the rooms, boards and sharing fill; until then their lines are ignored
  // as unknown commands are. The arguments are passed as received (8-bit).
  // room: "PRACTICE", "BATTLE", "BATTLE2" ... "BATTLE5".
  virtual void RoomMessage(std::string_view room, std::string_view arguments) {}
  // Fill the board and mark it pending; the window's timer shows it.
  virtual void BoardReceived(BoardKind board, bool utf8, std::string_view arguments) {}
  // command: "GETPRIVATEDATALISTOK", "GETPRIVATEBETLISTOK" or "GETPRIVATEBETAMOUNTLISTOK".
  virtual void PrivateListReceived(std::string_view command, std::string_view arguments) {}
  virtual void ArticleListReceived(std::string_view arguments) {}
  virtual void PrivateDataReceived(std::string_view arguments) {}
  virtual void ArticleReceived(std::string_view arguments) {}
};

class Dispatcher {
 public:
  explicit Dispatcher(DispatchSink& sink, std::string baseCaption = "zavuv");

  // Acts on a command (already split, upper-cased) and its arguments. An empty or
  // unknown command does nothing; returns whether the command was one of the table's.
  bool DispatchLine(std::string_view command, std::string_view arguments);
  // One received line: an empty line is not handed over; otherwise it is split and
  // dispatched, and an error raised while it is handled is dropped, so that the next
  // line is handled as usual. Returns false when a handler failed.
  bool HandleLine(std::string_view line);

  DispatchSink& Sink() { return sink_; }
  const std::string& BaseCaption() const { return baseCaption_; }
  // The nickname the server last sent (UTF-8), empty until then.
  const std::string& NickName() const { return nickName_; }

 private:
  void SetNickName(std::string nickName);

  DispatchSink& sink_;
  std::string baseCaption_;
  std::string nickName_;
};

// The chat lines for a message typed by the user (UTF-8): "PUBLICMSG:" with the text in
// Big5, then "UTF8PUBLICMSG:" with it in UTF-8. Raises "未連線" when the connection is
// down and sends nothing. The sender's own message shows when the server echoes it.
void SendChat(LineChannel& channel, std::string_view text);
// "GETONLINELIST:" through SendCommand.
void RequestOnlineList(LineChannel& channel);

}  // namespace zavuv::net
