#include "net/Dispatcher.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "net/CommaText.h"
#include "net/LineChannel.h"
#include "net/Protocol.h"
#include "table/Big5.h"

namespace zavuv::net {

namespace {

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t v = 0;  // the server's figures are 32-bit
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

}  // namespace

LevelDisplay ComputeLevel(std::string_view arguments, int barWidth) {
  LevelDisplay d;
  CommandLine first = SplitLine(arguments);
  d.level = Big5ToUtf8(first.command);
  CommandLine rest = SplitLine(first.arguments);
  d.experience = Big5ToUtf8(rest.command + "/" + rest.arguments);
  auto experience = WholeNumber(rest.command);
  auto needed = WholeNumber(rest.arguments);
  if (!experience || !needed || *needed == 0) return d;
  d.valid = true;
  // 64-bit: a large experience times the bar width does not overflow.
  std::int64_t fill = *experience * (barWidth - 2) / *needed;
  d.fill = static_cast<int>(std::clamp<std::int64_t>(fill, 0, std::max(barWidth - 2, 0)));
  return d;
}

void DispatchSink::ShowOnlineList(const std::vector<std::string>& nickNames) {
  for (const auto& n : nickNames) AppendMessage(n, MessageColour::OnlineList);
}

Dispatcher::Dispatcher(DispatchSink& sink, std::string baseCaption)
    : sink_(sink), baseCaption_(std::move(baseCaption)) {}

void Dispatcher::SetNickName(std::string nickName) {
  nickName_ = std::move(nickName);
  sink_.NickNameChanged(nickName_, baseCaption_ + " - " + nickName_);
}

bool Dispatcher::DispatchLine(std::string_view command, std::string_view arguments) {
  if (command.empty()) return false;
  const std::string_view c = command;
  if (c == "NICKNAME" || c == "UTF8NICKNAME") {
    SetNickName(ArgumentsToUtf8(c, arguments));
  } else if (c == "GETONLINELISTOK" || c == "UTF8GETONLINELISTOK") {
    sink_.ShowOnlineList(DecodeCommaText(ArgumentsToUtf8(c, arguments)));
  } else if (c == "GETPRIVATEDATALISTOK" || c == "GETPRIVATEBETLISTOK" || c == "GETPRIVATEBETAMOUNTLISTOK") {
    sink_.PrivateListReceived(c, arguments);
  } else if (c == "GETARTICLELISTOK") {
    sink_.ArticleListReceived(arguments);
  } else if (c == "GETPRIVATEDATAOK") {
    sink_.PrivateDataReceived(arguments);
  } else if (c == "GETPRIVATEBETOK" || c == "GETPRIVATEBETAMOUNTOK") {
    // answered, nothing to do
  } else if (c == "GETARTICLEOK") {
    sink_.ArticleReceived(arguments);
  } else if (c == "PRACTICE" || c == "BATTLE" || c == "BATTLE2" || c == "BATTLE3" || c == "BATTLE4" ||
             c == "BATTLE5") {
    sink_.RoomMessage(c, arguments);
  } else if (c == "BILLBOARD" || c == "UTF8BILLBOARD") {
    sink_.BoardReceived(BoardKind::Billboard, IsUtf8Command(c), arguments);
  } else if (c == "VICTOR" || c == "UTF8VICTOR") {
    sink_.BoardReceived(BoardKind::Victor, IsUtf8Command(c), arguments);
  } else if (c == "LEVELBOARD" || c == "UTF8LEVELBOARD") {
    sink_.BoardReceived(BoardKind::Levelboard, IsUtf8Command(c), arguments);
  } else if (c == "LEVEL") {
    sink_.ShowLevel(ComputeLevel(arguments));
  } else if (c == "SYSTEMMSG" || c == "UTF8SYSTEMMSG") {
    sink_.AppendMessage(ArgumentsToUtf8(c, arguments), MessageColour::System);
  } else if (c == "PUBLICMSG" || c == "UTF8PUBLICMSG") {
    sink_.AppendMessage(ArgumentsToUtf8(c, arguments), MessageColour::WindowText);
  } else {
    return false;
  }
  return true;
}

bool Dispatcher::HandleLine(std::string_view line) {
  if (line.empty()) return true;
  try {
    CommandLine split = SplitLine(line);
    DispatchLine(split.command, split.arguments);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void SendChat(LineChannel& channel, std::string_view text) {
  if (!channel.Connected()) throw NetError(std::string(kNotConnected));
  channel.SendLine(MakeLine("PUBLICMSG", text));
  channel.SendLine(MakeLine("UTF8PUBLICMSG", text));
}

void RequestOnlineList(LineChannel& channel) { SendCommand(channel, "GETONLINELIST", ""); }

void SendCommand(LineChannel& channel, std::string_view name, std::string_view data) {
  if (!channel.Connected()) throw NetError(std::string(kNotConnected));
  std::string line(name);
  line += ':';
  line += data;
  channel.SendLine(line);
}

}  // namespace zavuv::net
