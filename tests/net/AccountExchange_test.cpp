#include "net/AccountExchange.h"

#include <gtest/gtest.h>

#include "NetTestKit.h"
#include "table/Big5.h"

using namespace zavuv::net;
using namespace zavuv::net::testkit;
using R = ScriptedChannel;

namespace {

struct LoginTest : ::testing::Test {
  RecordingSink sink;
  Dispatcher dispatcher{sink};
  RecordingPrompts prompts;

  LoginResult Run(ScriptedChannel& ch, std::string_view id = "abcde12345", std::string_view pw = "pass") {
    AccountExchange x(ch, dispatcher, prompts);
    return x.Login(id, pw);
  }
};

}  // namespace

TEST(AccountLines, FixedLayouts) {
  // abc12 typed for automatic login: five blanks follow it, then the password as held.
  EXPECT_EQ(LoginLine("abc12", "pw12"), "LOGIN:abc12     pw12");
  EXPECT_EQ(LoginLine("abc12", "pw12      "), "LOGIN:abc12     pw12      ");  // restored: 10 bytes
  EXPECT_EQ(LoginLine("0123456789XY", "p"), "LOGIN:0123456789p");
  EXPECT_EQ(LoginLine("abcde12345", "pass").substr(0, 16), "LOGIN:abcde12345");

  // 11 Chinese characters are 22 bytes in Big5: the first 20 bytes, then the UTF-8.
  std::string big5, utf8;
  for (int i = 0; i < 11; ++i) big5 += "\xA4\xA4", utf8 += "\xE4\xB8\xAD";
  EXPECT_EQ(NickNameLine(utf8), "SETNICKNAME:" + big5.substr(0, 20) + utf8);
  // Short nicknames are padded to 20 bytes.
  EXPECT_EQ(NickNameLine("Bo"), "SETNICKNAME:Bo                  Bo");
  // A double-byte character that would straddle byte 20 is left out, not cut in half.
  std::string odd = "x" + utf8.substr(0, 30);  // x + 10 characters = 21 bytes in Big5
  EXPECT_EQ(NickNameLine(odd), "SETNICKNAME:x" + big5.substr(0, 18) + " " + odd);

  EXPECT_EQ(SignUpLine("me@example.test"), "SIGNUP:me@example.test");
  std::string change = ChangeInfoLine("old1", "newpass12345", "newpass1234", "a@b");
  EXPECT_EQ(change, "CHANGEINFO:old1      newpass123newpass123a@b");
  EXPECT_EQ(ChangeInfoLine("", "", "", "").size(), 11u + 30u);
}

TEST_F(LoginTest, AcceptedLoginDispatchesTheFirstLine) {
  ScriptedChannel ch({R::Says("VERSIONOK"), R::Says("LOGINOK"), R::Says("NICKNAME:Bo")});
  EXPECT_EQ(Run(ch, "abc12", "pw12"), LoginResult::LoggedIn);
  EXPECT_EQ(ch.sent, (std::vector<std::string>{"VERSION:1.11", "LOGIN:abc12     pw12"}));
  EXPECT_EQ(ch.limits, (std::vector<int>{5000, 5000, 5000}));
  EXPECT_EQ(sink.caption, "zavuv - Bo");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(ch.disconnects, 0);
  EXPECT_TRUE(ch.up);

  // "VERSIONOK:" with a colon is the same reply; a silent first line is no failure.
  ScriptedChannel ch2({R::Says("versionok:"), R::Says("LOGINOK")});
  EXPECT_EQ(Run(ch2), LoginResult::LoggedIn);
  EXPECT_EQ(ch2.disconnects, 0);
  // Every reply word of the exchanges reads the same with its colon.
  prompts.nickNames = {std::string("Bo")};
  ScriptedChannel colons({R::Says("VERSIONOK:"), R::Says("NONICKNAME:"), R::Says("SETNICKNAMEOK:")});
  EXPECT_EQ(Run(colons), LoginResult::LoggedIn);
  EXPECT_TRUE(prompts.messages.empty());
  ScriptedChannel loginOk({R::Says("VERSIONOK"), R::Says("LOGINOK:")});
  EXPECT_EQ(Run(loginOk), LoginResult::LoggedIn);
  EXPECT_TRUE(sink.pane.empty());
}

TEST_F(LoginTest, VersionRepliesOtherThanOk) {
  ScriptedChannel old({R::Says("VERSIONTOOOLD:\xBD\xD0\xA7\xF3\xB7\x73")});  // 請更新 in Big5
  EXPECT_EQ(Run(old), LoginResult::VersionRefused);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"\xE8\xAB\x8B\xE6\x9B\xB4\xE6\x96\xB0"});
  EXPECT_EQ(old.disconnects, 1);
  EXPECT_EQ(old.sent.size(), 1u);  // no login line

  // A refusal that brings no text of its own, with or without its colon, shows the
  // program's text, never the command word or an empty box.
  for (std::string bare : {"VERSIONTOOOLD", "VERSIONTOOOLD:", " versiontooold "}) {
    prompts.messages.clear();
    ScriptedChannel ch({R::Says(bare)});
    EXPECT_EQ(Run(ch), LoginResult::VersionRefused) << bare;
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"閣下所用版本可能太舊"}) << bare;
  }

  for (auto reply : {R::Silent(), R::Says("HELLO"), R::Says("LOGINOK"), R::Drops()}) {
    prompts.messages.clear();
    ScriptedChannel ch({reply});
    EXPECT_EQ(Run(ch), LoginResult::VersionUnknown) << reply.text;
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"閣下所用版本可能太舊"});
    EXPECT_EQ(ch.sent.size(), 1u);
    EXPECT_FALSE(ch.up);
  }
  EXPECT_TRUE(sink.pane.empty());
}

TEST_F(LoginTest, RefusalShowsTheReplyThenFails) {
  ScriptedChannel ch({R::Says("VERSIONOK"), R::Says("密碼錯誤")});
  EXPECT_EQ(Run(ch), LoginResult::Refused);
  ASSERT_EQ(sink.pane.size(), 1u);
  EXPECT_EQ(sink.pane[0].first, "密碼錯誤");  // the reply is read as UTF-8
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"登入失敗"});
  EXPECT_EQ(ch.disconnects, 1);

  // An empty line at the time limit is "any other line": an empty pane line.
  sink.pane.clear();
  prompts.messages.clear();
  ScriptedChannel silent({R::Says("VERSIONOK"), R::Silent()});
  EXPECT_EQ(Run(silent), LoginResult::Refused);
  EXPECT_EQ(sink.pane.size(), 1u);
  EXPECT_EQ(sink.pane[0].first, "");

  // A lost connection fails the same way without the pane line.
  sink.pane.clear();
  prompts.messages.clear();
  ScriptedChannel lost({R::Says("VERSIONOK"), R::Drops()});
  EXPECT_EQ(Run(lost), LoginResult::Refused);
  EXPECT_TRUE(sink.pane.empty());
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"登入失敗"});
}

TEST_F(LoginTest, NicknameTakenThenAccepted) {
  prompts.nickNames = {std::string("Bo"), std::string("Al")};
  ScriptedChannel ch({R::Says("VERSIONOK"), R::Says("NONICKNAME"), R::Says(zavuv::Utf8ToBig5("網名已被使用")),
                      R::Says("SETNICKNAMEOK"), R::Says("SYSTEMMSG:welcome")});
  EXPECT_EQ(Run(ch), LoginResult::LoggedIn);
  EXPECT_EQ(prompts.asked, 2);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"網名已被使用"});  // shown (from Big5), asked again
  ASSERT_EQ(ch.sent.size(), 4u);
  EXPECT_EQ(ch.sent[2], "SETNICKNAME:Bo                  Bo");
  EXPECT_EQ(ch.sent[3], "SETNICKNAME:Al                  Al");
  ASSERT_EQ(sink.pane.size(), 1u);
  EXPECT_EQ(sink.pane[0].first, "welcome");
}

TEST_F(LoginTest, NicknameCancelledSetAlreadyOrLost) {
  prompts.nickNames = {std::nullopt};
  ScriptedChannel cancelled({R::Says("VERSIONOK"), R::Says("NONICKNAME")});
  EXPECT_EQ(Run(cancelled), LoginResult::NoNickName);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"沒有設定網名"});
  EXPECT_FALSE(cancelled.up);
  EXPECT_EQ(cancelled.sent.size(), 2u);

  prompts.messages.clear();
  prompts.nickNames = {std::string("Bo")};
  ScriptedChannel exists({R::Says("VERSIONOK"), R::Says("NONICKNAME"), R::Says("NICKNAMEALREADYEXIST")});
  EXPECT_EQ(Run(exists), LoginResult::NoNickName);
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{"網名原本已設定", "沒有設定網名"}));

  prompts.messages.clear();
  prompts.nickNames = {std::string("Bo"), std::string("never asked")};
  ScriptedChannel lost({R::Says("VERSIONOK"), R::Says("NONICKNAME"), R::Drops()});
  EXPECT_EQ(Run(lost), LoginResult::NoNickName);
  EXPECT_EQ(prompts.nickNames.size(), 1u);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"沒有設定網名"});
}

TEST_F(LoginTest, ConnectionLostRightAfterLogin) {
  ScriptedChannel ch({R::Says("VERSIONOK"), R::Says("LOGINOK"), R::Drops()});
  EXPECT_EQ(Run(ch), LoginResult::ConnectionLost);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"已離線"});
}

TEST_F(LoginTest, SignUpReplies) {
  struct Case {
    R::Reply reply;
    std::string shown;
  };
  const std::string mailed = "帳號及密碼已寄電郵到閣下電郵地址";
  std::vector<Case> cases = {{R::Says("SIGNUPOK"), "開新帳戶成功\r\n" + mailed},
                             {R::Says("SIGNUPOK:"), "開新帳戶成功\r\n" + mailed},
                             {R::Says("OLDACCOUNT"), "電郵地址已存在\r\n" + mailed},
                             {R::Says("\xA4\xA4"), "\xE4\xB8\xAD"},  // other text, from Big5
                             {R::Silent(), ""}};
  for (auto& c : cases) {
    sink.pane.clear();
    prompts.messages.clear();
    ScriptedChannel ch({c.reply});
    AccountExchange(ch, dispatcher, prompts).SignUp("me@x");
    EXPECT_EQ(ch.sent, std::vector<std::string>{"SIGNUP:me@x"});
    EXPECT_EQ(ch.limits, std::vector<int>{20000});
    ASSERT_EQ(sink.pane.size(), 1u);
    EXPECT_EQ(sink.pane[0].first, c.shown);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{c.shown});
    EXPECT_EQ(ch.disconnects, 1);
  }
  // A failure during the exchange is swallowed; the connection is closed all the same.
  sink.pane.clear();
  prompts.messages.clear();
  ScriptedChannel lost({R::Drops()});
  AccountExchange(lost, dispatcher, prompts).SignUp("me@x");
  EXPECT_TRUE(sink.pane.empty());
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(lost.disconnects, 1);
}

TEST(DialogChecks, InOrderWithTheirFocus) {
  EXPECT_EQ(CheckLogin("abc", "pass"), (CheckFailure{"帳戶編號不正確", "EditUserID"}));
  EXPECT_EQ(CheckLogin("abcde123456", "pass"), (CheckFailure{"帳戶編號不正確", "EditUserID"}));
  EXPECT_EQ(CheckLogin("abcde12345", "pas"), (CheckFailure{"帳戶密碼不能少於４個字", "EditUserPassword"}));
  EXPECT_EQ(CheckLogin("abcde12345", "pass"), std::nullopt);
  EXPECT_EQ(CheckLogin("中中中中中中中中中中", "密碼密碼"), std::nullopt);  // characters, not bytes

  EXPECT_EQ(CheckSignUp(""), (CheckFailure{"電郵地址不能空白", "EditEMail"}));
  EXPECT_EQ(CheckSignUp("me.example"), (CheckFailure{"電郵地址錯誤", "EditEMail"}));
  EXPECT_EQ(CheckSignUp("@example"), (CheckFailure{"電郵地址錯誤", "EditEMail"}));
  EXPECT_EQ(CheckSignUp("me@"), std::nullopt);  // an at sign at the end is accepted

  EXPECT_EQ(CheckNickName(""), (CheckFailure{"網名不能空白", "EditNickName"}));
  EXPECT_EQ(CheckNickName(" "), std::nullopt);

  EXPECT_EQ(CheckChangeInfo("abc", "x", "y"), (CheckFailure{"使用者密碼不能少於４個字", "EditUserPassword"}));
  EXPECT_EQ(CheckChangeInfo("abcd", "new", "new"), (CheckFailure{"新密碼不能少於４個字", "EditNewPassword"}));
  EXPECT_EQ(CheckChangeInfo("abcd", "newer", "newel"), (CheckFailure{"新密碼和確認新密碼不同", "EditNewPassword"}));
  EXPECT_EQ(CheckChangeInfo("abcd", "newer", "newer"), std::nullopt);
}
