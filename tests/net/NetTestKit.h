// Scripted stand-ins for the connection and the window, for the exchange and dispatch
// tests: the channel hands out scripted replies and records what was sent and how
// long each read was allowed to wait; the sink and prompts record what the window
// would have shown.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/AccountExchange.h"
#include "net/Dispatcher.h"
#include "net/LineChannel.h"

namespace zavuv::net::testkit {

class ScriptedChannel : public LineChannel {
 public:
  struct Reply {
    enum Kind { Line, Timeout, Close } kind;
    std::string text;
  };
  static Reply Says(std::string text) { return {Reply::Line, std::move(text)}; }
  static Reply Silent() { return {Reply::Timeout, {}}; }
  static Reply Drops() { return {Reply::Close, {}}; }

  explicit ScriptedChannel(std::vector<Reply> replies = {}) : replies_(replies.begin(), replies.end()) {}

  void SendLine(std::string_view text) override {
    if (!up) throw NetError(std::string(kNotConnected));
    sent.emplace_back(text);
  }
  std::optional<std::string> ReadLine(int timeoutMs) override {
    limits.push_back(timeoutMs);
    if (!up) return std::nullopt;
    if (replies_.empty()) return std::string();  // nothing scripted: the limit runs out
    Reply r = replies_.front();
    replies_.pop_front();
    if (r.kind == Reply::Close) {
      up = false;
      return std::nullopt;
    }
    return r.text;
  }
  bool Connected() const override { return up; }
  void Disconnect() override {
    ++disconnects;
    up = false;
  }
  std::size_t Unread() const { return replies_.size(); }

  bool up = true;
  int disconnects = 0;
  std::vector<std::string> sent;
  std::vector<int> limits;

 private:
  std::deque<Reply> replies_;
};

struct RecordingSink : DispatchSink {
  void AppendMessage(std::string_view text, MessageColour colour) override { pane.emplace_back(text, colour); }
  void NickNameChanged(std::string_view nickName, std::string_view c) override {
    nick = nickName;
    caption = c;
  }
  void ShowLevel(const LevelDisplay& l) override { levels.push_back(l); }
  void RoomMessage(std::string_view room, std::string_view arguments) override {
    hooks.push_back("room " + std::string(room) + " " + std::string(arguments));
  }
  void BoardReceived(BoardKind board, bool utf8, std::string_view arguments) override {
    hooks.push_back("board " + std::to_string(static_cast<int>(board)) + (utf8 ? " utf8 " : " big5 ") +
                    std::string(arguments));
  }
  void PrivateListReceived(std::string_view command, std::string_view arguments) override {
    hooks.push_back("private list " + std::string(command) + " " + std::string(arguments));
  }
  void ArticleListReceived(std::string_view arguments) override {
    hooks.push_back("article list " + std::string(arguments));
  }
  void PrivateDataReceived(std::string_view arguments) override {
    hooks.push_back("private data " + std::string(arguments));
  }
  void ArticleReceived(std::string_view arguments) override { hooks.push_back("article " + std::string(arguments)); }

  std::vector<std::pair<std::string, MessageColour>> pane;
  std::string nick, caption;
  std::vector<LevelDisplay> levels;
  std::vector<std::string> hooks;
};

struct RecordingPrompts : AccountPrompts {
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::string> AskNickName() override {
    ++asked;
    if (nickNames.empty()) return std::nullopt;
    auto n = nickNames.front();
    nickNames.pop_front();
    return n;
  }
  std::vector<std::string> messages;
  std::deque<std::optional<std::string>> nickNames;  // nullopt: cancelled
  int asked = 0;
};

}  // namespace zavuv::net::testkit
