// The exchanges the client runs on the user-interface thread while no received line
// is being dispatched: the version check and login, the first-login nickname, the
// sign-up, and the account change; the lines they send; and the checks of the login,
// sign-up and account dialogs. They drive a LineChannel and tell the window what to
// show through AccountPrompts and the dispatcher's sink; connecting is the window's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zavuv::net {

class Dispatcher;
class LineChannel;

// The line layouts (the text, without CR LF; 8-bit, Big5 unless said otherwise).
// "LOGIN:" + account number padded with blanks to 10 characters (cut at 10) + password
// as held, unpadded.
std::string LoginLine(std::string_view userId, std::string_view password);
// "SETNICKNAME:" + the nickname in Big5 padded with blanks to 20 bytes (cut at 20
// bytes, never inside a double-byte character) + the same nickname in UTF-8.
std::string NickNameLine(std::string_view nickName);
// "SIGNUP:" + e-mail address.
std::string SignUpLine(std::string_view email);
// "CHANGEINFO:" + current, new and confirmed password, each padded with blanks to 10
// characters and cut at 10, + e-mail address as typed.
std::string ChangeInfoLine(std::string_view password, std::string_view newPassword,
                           std::string_view confirmPassword, std::string_view email);

// The texts of the message boxes.
inline constexpr std::string_view kConnectFailed = "與伺服器連線失敗";
inline constexpr std::string_view kVersionTooOld = "閣下所用版本可能太舊";
inline constexpr std::string_view kLoginFailed = "登入失敗";
inline constexpr std::string_view kNoNickName = "沒有設定網名";
inline constexpr std::string_view kNickNameTaken = "網名原本已設定";
inline constexpr std::string_view kDisconnected = "已離線";
inline constexpr std::string_view kSignUpOk = "開新帳戶成功\r\n帳號及密碼已寄電郵到閣下電郵地址";
inline constexpr std::string_view kOldAccount = "電郵地址已存在\r\n帳號及密碼已寄電郵到閣下電郵地址";

// What the exchanges ask of the window (all text UTF-8).
class AccountPrompts {
 public:
  virtual ~AccountPrompts() = default;
  // A message box with an OK button, waited for.
  virtual void ShowMessage(std::string_view text) = 0;
  // The account dialog in nickname mode, shown modally: the nickname typed, nullopt
  // when the dialog was cancelled. The dialog's checks have passed.
  virtual std::optional<std::string> AskNickName() = 0;
};

enum class LoginResult {
  LoggedIn,         // the window starts dispatching received lines and enables the panel
  VersionRefused,   // "VERSIONTOOOLD": its text was shown
  VersionUnknown,   // any other version reply, time-out or loss: "閣下所用版本可能太舊"
  Refused,          // the login reply was not accepted: "登入失敗"
  NoNickName,       // the nickname was not set: "沒有設定網名"
  ConnectionLost,   // the connection went down right after the login: "已離線"
};

class AccountExchange {
 public:
  AccountExchange(LineChannel& channel, Dispatcher& dispatcher, AccountPrompts& prompts)
      : channel_(channel), dispatcher_(dispatcher), prompts_(prompts) {}

  // The login on an open connection: version check, login line, the nickname when the
  // server asks for one, then the one line the server sends after a login, dispatched.
  // Every failure disconnects first, then shows its one message.
  LoginResult Login(std::string_view userId, std::string_view password);
  // The first-login nickname: asks, sends and reads until the server accepts
  // (true), refuses because a nickname is set already, or the dialog is cancelled or
  // the connection fails (false). Any other reply is shown and the dialog asked again.
  bool SetNickName();
  // The sign-up on an open connection: sends the line, shows the reply in the pane
  // and a message box, then disconnects in every case.
  void SignUp(std::string_view email);

 private:
  LineChannel& channel_;
  Dispatcher& dispatcher_;
  AccountPrompts& prompts_;
};

// Dialog checks: nullopt when the input passes, else the message and the field that
// takes the focus.
struct CheckFailure {
  std::string message;
  std::string field;  // the control's name, e.g. "EditUserID"
  bool operator==(const CheckFailure&) const = default;
};
std::optional<CheckFailure> CheckLogin(std::string_view userId, std::string_view password);
std::optional<CheckFailure> CheckSignUp(std::string_view email);
std::optional<CheckFailure> CheckNickName(std::string_view nickName);
std::optional<CheckFailure> CheckChangeInfo(std::string_view password, std::string_view newPassword,
                                            std::string_view confirmPassword);

// The length of UTF-8 text in characters (code points), as the dialogs count.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace zavuv::net
