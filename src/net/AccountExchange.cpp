#include "net/AccountExchange.h"

#include "net/Dispatcher.h"
#include "net/LineChannel.h"
#include "net/Protocol.h"
#include "table/Big5.h"
#include "table/Table.h"

namespace zavuv::net {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// UTF-8 text cut at n characters and padded with blanks to n characters.
std::string PadCharacters(std::string_view utf8, std::size_t n) {
  std::string text = SanitizeUtf8(utf8);
  std::size_t count = 0, i = 0;
  for (; i < text.size(); ++i) {
    if (IsContinuation(text[i])) continue;
    if (count == n) break;
    ++count;
  }
  text.resize(i);
  text.append(n - count, ' ');
  return text;
}

// Whether a reply is the word awaited: the word alone, or the word with a colon and
// nothing after it, as a server that ends every command with its colon sends it.
bool IsReply(std::string_view reply, std::string_view word) {
  if (reply == word) return true;
  if (reply.find(':') == std::string_view::npos) return false;
  CommandLine split = SplitLine(reply);
  return split.command == word && TrimBlanks(split.arguments).empty();
}

CheckFailure Fail(std::string_view message, std::string_view field) {
  return {std::string(message), std::string(field)};
}

}  // namespace

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if (!IsContinuation(c)) ++n;
  return n;
}

std::string LoginLine(std::string_view userId, std::string_view password) {
  return MakeLine("LOGIN", PadCharacters(userId, 10) + std::string(password));
}

std::string NickNameLine(std::string_view nickName) {
  std::string big5 = CutBig5(Utf8ToBig5(nickName), 20);
  big5.resize(20, ' ');
  return "SETNICKNAME:" + big5 + SanitizeUtf8(nickName);
}

std::string SignUpLine(std::string_view email) { return MakeLine("SIGNUP", email); }

std::string ChangeInfoLine(std::string_view password, std::string_view newPassword,
                           std::string_view confirmPassword, std::string_view email) {
  return MakeLine("CHANGEINFO", PadCharacters(password, 10) + PadCharacters(newPassword, 10) +
                                    PadCharacters(confirmPassword, 10) + std::string(email));
}

LoginResult AccountExchange::Login(std::string_view userId, std::string_view password) {
  // Sends a line and reads the reply; a failed send reads as a lost connection.
  auto ask = [&](const std::string& line, int limit) -> std::optional<std::string> {
    try {
      channel_.SendLine(line);
    } catch (const NetError&) {
      return std::nullopt;
    }
    return channel_.ReadLine(limit);
  };
  auto fail = [&](LoginResult result, std::string_view message) {
    channel_.Disconnect();
    prompts_.ShowMessage(message);
    return result;
  };

  std::optional<std::string> version = ask(std::string(kVersionLine), kReplyLimitMs);
  CommandLine v = SplitLine(version.value_or(""));
  // A reply without a colon names its command as a whole and carries no text
  // ("VERSIONOK", "VERSIONTOOOLD").
  if (version && version->find(':') == std::string::npos) v = {UpperAscii(TrimBlanks(*version)), {}};
  if (!version || (v.command != "VERSIONOK" && v.command != "VERSIONTOOOLD"))
    return fail(LoginResult::VersionUnknown, kVersionTooOld);
  // A refusal without a text of its own gets the program's.
  if (v.command == "VERSIONTOOOLD")
    return fail(LoginResult::VersionRefused,
                TrimBlanks(v.arguments).empty() ? std::string(kVersionTooOld) : Big5ToUtf8(v.arguments));

  std::optional<std::string> reply = ask(LoginLine(userId, password), kReplyLimitMs);
  if (!reply) return fail(LoginResult::Refused, kLoginFailed);
  if (IsReply(*reply, "NONICKNAME")) {
    if (!SetNickName()) return fail(LoginResult::NoNickName, kNoNickName);
  } else if (!IsReply(*reply, "LOGINOK")) {
    dispatcher_.Sink().AppendMessage(SanitizeUtf8(*reply), MessageColour::Unchanged);
    return fail(LoginResult::Refused, kLoginFailed);
  }

  std::optional<std::string> first = channel_.ReadLine(kReplyLimitMs);
  if (!first && !channel_.Connected()) {
    channel_.Disconnect();
    prompts_.ShowMessage(kDisconnected);
    return LoginResult::ConnectionLost;
  }
  if (first) dispatcher_.HandleLine(*first);
  return LoginResult::LoggedIn;
}

bool AccountExchange::SetNickName() {
  for (;;) {
    std::optional<std::string> nickName = prompts_.AskNickName();
    if (!nickName) return false;
    std::optional<std::string> reply;
    try {
      channel_.SendLine(NickNameLine(*nickName));
      reply = channel_.ReadLine(kReplyLimitMs);
    } catch (const NetError&) {
    }
    if (!reply) return false;
    if (IsReply(*reply, "SETNICKNAMEOK")) return true;
    if (IsReply(*reply, "NICKNAMEALREADYEXIST")) {
      prompts_.ShowMessage(kNickNameTaken);
      return false;
    }
    prompts_.ShowMessage(ArgumentsToUtf8(SplitLine(*reply).command, *reply));
  }
}

void AccountExchange::SignUp(std::string_view email) {
  std::optional<std::string> reply;
  try {
    channel_.SendLine(SignUpLine(email));
    reply = channel_.ReadLine(kSignUpLimitMs);
  } catch (const NetError&) {
  }
  if (reply) {
    std::string text = IsReply(*reply, "SIGNUPOK")     ? std::string(kSignUpOk)
                       : IsReply(*reply, "OLDACCOUNT") ? std::string(kOldAccount)
                                                       : Big5ToUtf8(*reply);
    dispatcher_.Sink().AppendMessage(text, MessageColour::Unchanged);
    prompts_.ShowMessage(text);
  }
  channel_.Disconnect();
}

std::optional<CheckFailure> CheckLogin(std::string_view userId, std::string_view password) {
  if (CharacterCount(userId) != 10) return Fail("帳戶編號不正確", "EditUserID");
  if (CharacterCount(password) < 4) return Fail("帳戶密碼不能少於４個字", "EditUserPassword");
  return std::nullopt;
}

std::optional<CheckFailure> CheckSignUp(std::string_view email) {
  if (email.empty()) return Fail("電郵地址不能空白", "EditEMail");
  std::size_t at = email.find('@');
  if (at == std::string_view::npos || at == 0) return Fail("電郵地址錯誤", "EditEMail");
  return std::nullopt;
}

std::optional<CheckFailure> CheckNickName(std::string_view nickName) {
  if (nickName.empty()) return Fail("網名不能空白", "EditNickName");
  return std::nullopt;
}

std::optional<CheckFailure> CheckChangeInfo(std::string_view password, std::string_view newPassword,
                                            std::string_view confirmPassword) {
  if (CharacterCount(password) < 4) return Fail("使用者密碼不能少於４個字", "EditUserPassword");
  if (CharacterCount(newPassword) < 4) return Fail("新密碼不能少於４個字", "EditNewPassword");
  if (newPassword != confirmPassword) return Fail("新密碼和確認新密碼不同", "EditNewPassword");
  return std::nullopt;
}

}  // namespace zavuv::net
