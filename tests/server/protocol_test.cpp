// Version, sign-up, login, nickname, account change, chat and the online list against
// a real server on a loopback port.
#include <gtest/gtest.h>

#include "ServerHarness.h"

using namespace zavuv::testing;

namespace {

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }

TEST(ServerProtocol, VersionIsCheckedAndAnOldOneRefusedWithABig5Message) {
  TempDir dir;
  ServerProcess server(dir.Path());
  Client c(server.Port());
  c.Send("VERSION:1.0");
  std::string reply = c.Read().value_or("");
  ASSERT_TRUE(StartsWith(reply, "VERSIONTOOOLD:")) << reply;
  EXPECT_NE(zavuv::Big5ToUtf8(reply.substr(14)).find("版本"), std::string::npos);
  c.Send("version : 1.11");   // the command is trimmed and upper-cased
  EXPECT_EQ(c.Read().value_or(""), "VERSIONOK:");
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerProtocol, SignUpMailsTheAccountWhichThenLogsInAndChoosesANickname) {
  TempDir dir;
  // An outbox that anyone may read: the server makes it its own.
  fs::create_directories(dir.Path() / "outbox");
  fs::permissions(dir.Path() / "outbox", fs::perms::all);
  ServerProcess server(dir.Path());
  std::string reply;
  Credentials cr = SignUp(server.Port(), dir.Path() / "outbox", "amy@example.org", &reply);
  EXPECT_EQ(reply, "SIGNUPOK");
  ASSERT_EQ(cr.account.size(), 10u);
  EXPECT_GE(cr.password.size(), 4u);
  EXPECT_LE(cr.password.size(), 10u);

  // The mail is one RFC 5322 message with CR LF line ends. It holds a password in
  // clear: only its owner may read it, or list the folder.
  EXPECT_EQ(fs::status(dir.Path() / "outbox").permissions(), fs::perms::owner_all);
  std::string mail;
  for (auto& e : fs::directory_iterator(dir.Path() / "outbox")) {
    EXPECT_EQ(e.status().permissions(), fs::perms::owner_read | fs::perms::owner_write) << e.path();
    std::ifstream in(e.path());
    mail.assign(std::istreambuf_iterator<char>(in), {});
  }
  for (const char* header : {"Date: ", "From: ", "To: <amy@example.org>", "Subject: =?UTF-8?B?", "Message-ID: <"})
    EXPECT_NE(mail.find(header), std::string::npos) << header;
  EXPECT_NE(mail.find("\r\n\r\n"), std::string::npos);

  Client c(server.Port());
  EXPECT_EQ(Login(c, cr), "NONICKNAME");
  c.Send("SETNICKNAME:" + Pad(zavuv::Utf8ToBig5("小明"), 20) + "  小明 ");
  EXPECT_EQ(c.Read().value_or(""), "SETNICKNAMEOK");
  // One line within 5 s (the nickname), then the level.
  EXPECT_EQ(c.Read(5000).value_or(""), "UTF8NICKNAME:小明");
  EXPECT_EQ(c.Read().value_or(""), "LEVEL:1:0:100");

  // The same address again: OLDACCOUNT.
  Client again(server.Port());
  again.Send("SIGNUP:AMY@example.org");
  EXPECT_EQ(again.Read(20000).value_or(""), "OLDACCOUNT");
  Client bad(server.Port());
  bad.Send("SIGNUP:@example.org");
  EXPECT_EQ(zavuv::Big5ToUtf8(bad.Read(5000).value_or("")), "電郵地址錯誤");
}

TEST(ServerProtocol, AKnownAddressIsMailedANewPasswordWhenTheResendIntervalAllows) {
  TempDir dir;
  std::ofstream(dir.Path() / "server.conf") << "resend_interval = 0\n";
  ServerProcess server(dir.Path(), {"--config", (dir.Path() / "server.conf").string()});
  Credentials first = SignUp(server.Port(), dir.Path() / "outbox", "bo@example.org");
  std::string reply;
  Credentials second = SignUp(server.Port(), dir.Path() / "outbox", "bo@example.org", &reply);
  EXPECT_EQ(reply, "OLDACCOUNT");
  EXPECT_EQ(second.account, first.account);
  Client c(server.Port());
  EXPECT_EQ(Login(c, second), "NONICKNAME");
}

TEST(ServerProtocol, LoginAcceptsAPaddedPasswordAndRefusesAWrongOneInUtf8) {
  TempDir dir;
  ServerProcess server(dir.Path());
  Credentials cr = SignUp(server.Port(), dir.Path() / "outbox", "cy@example.org");
  {
    Client c(server.Port());
    ASSERT_EQ(Login(c, cr, "阿德"), "SETNICKNAMEOK");
  }
  Client padded(server.Port());
  EXPECT_EQ(Login(padded, {cr.account, Pad(cr.password, 10)}), "LOGINOK");
  EXPECT_EQ(padded.Read(5000).value_or(""), "UTF8NICKNAME:阿德");

  Client wrong(server.Port());
  std::string refusal = Login(wrong, {cr.account, cr.password + "x"});
  EXPECT_EQ(refusal, "帳戶編號或密碼錯誤");
  Client unknown(server.Port());
  EXPECT_EQ(Login(unknown, {"0000000000", "whatever"}), "帳戶編號或密碼錯誤");
  Client injected(server.Port());
  EXPECT_EQ(Login(injected, {"' OR 1=1--", "' OR '1'='1"}), "帳戶編號或密碼錯誤");
}

TEST(ServerProtocol, ATakenNicknameIsRefusedAfterTrimming) {
  TempDir dir;
  ServerProcess server(dir.Path());
  Credentials a = SignUp(server.Port(), dir.Path() / "outbox", "a@example.org");
  Credentials b = SignUp(server.Port(), dir.Path() / "outbox", "b@example.org");
  Client ca(server.Port());
  ASSERT_EQ(Login(ca, a, "Lucky"), "SETNICKNAMEOK");
  Client cb(server.Port());
  ASSERT_EQ(Login(cb, b), "NONICKNAME");
  cb.Send("SETNICKNAME:" + Pad("Lucky", 20) + " Lucky  ");
  EXPECT_EQ(cb.Read().value_or(""), "NICKNAMEALREADYEXIST");
  // Still waiting for a nickname: another one is taken.
  cb.Send("SETNICKNAME:" + Pad("Lucky2", 20) + "Lucky2");
  EXPECT_EQ(cb.Read().value_or(""), "SETNICKNAMEOK");
}

TEST(ServerProtocol, ChatReachesEveryUserOnceInOneFormAndTheOnlineListNamesThem) {
  TempDir dir;
  ServerProcess server(dir.Path());
  auto pa = NewUser(server, dir.Path(), "a@example.org", "甲");
  auto pb = NewUser(server, dir.Path(), "b@example.org", "乙");
  auto pc = NewUser(server, dir.Path(), "c@example.org", "丙");   // will speak Big5 only
  ASSERT_TRUE(pa && pb && pc);
  Client &ca = *pa, &cb = *pb, &cc = *pc;
  ca.Drain(200);
  cb.Drain(200);
  cc.Drain(200);

  ca.Send("PUBLICMSG:" + zavuv::Utf8ToBig5("你好, world"));
  ca.Send("UTF8PUBLICMSG:你好, world");
  auto isChat = [](const std::string& l) { return l.find("PUBLICMSG:") != std::string::npos; };
  for (Client* c : {&ca, &cb}) {
    auto line = c->WaitFor(isChat, 3000);
    EXPECT_EQ(line.value_or(""), "UTF8PUBLICMSG:甲: 你好, world");
  }
  // A client that sends Big5 only is answered in Big5; the others still get UTF-8.
  cc.Send("PUBLICMSG:" + zavuv::Utf8ToBig5("早安"));
  EXPECT_EQ(cc.WaitFor(isChat, 3000).value_or(""), "UTF8PUBLICMSG:甲: 你好, world");
  EXPECT_EQ(cc.WaitFor(isChat, 3000).value_or(""), "PUBLICMSG:" + zavuv::Utf8ToBig5("丙: 早安"));
  EXPECT_EQ(ca.WaitFor(isChat, 3000).value_or(""), "UTF8PUBLICMSG:丙: 早安");
  EXPECT_EQ(cb.WaitFor(isChat, 3000).value_or(""), "UTF8PUBLICMSG:丙: 早安");
  // Exactly once: nothing more arrives.
  for (Client* c : {&ca, &cb, &cc}) {
    int more = 0;
    for (const auto& l : c->Drain(400)) more += isChat(l);
    EXPECT_EQ(more, 0);
  }

  cb.Send("GETONLINELIST:");
  std::string list = cb.WaitForPrefix("UTF8GETONLINELISTOK:").value_or("");
  auto names = zavuv::net::DecodeCommaText(list.substr(20));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"丙", "乙", "甲"}));
  cc.Send("GETONLINELIST:");
  EXPECT_TRUE(cc.WaitForPrefix("GETONLINELISTOK:").has_value());
}

TEST(ServerProtocol, AccountChangeIsAnsweredWithASystemMessageAndTakesEffect) {
  TempDir dir;
  ServerProcess server(dir.Path());
  Credentials cr = SignUp(server.Port(), dir.Path() / "outbox", "d@example.org");
  Client c(server.Port());
  ASSERT_EQ(Login(c, cr, "丁"), "SETNICKNAMEOK");
  c.Send("CHANGEINFO:" + Pad("wrongpw", 10) + Pad("newpass1", 10) + Pad("newpass1", 10) + "d2@example.org");
  EXPECT_NE(c.WaitForPrefix("UTF8SYSTEMMSG:使用者密碼錯誤").value_or(""), "");
  c.Send("CHANGEINFO:" + Pad(cr.password, 10) + Pad("newpass1", 10) + Pad("newpass1", 10) + "d2@example.org");
  EXPECT_EQ(c.WaitForPrefix("UTF8SYSTEMMSG:帳戶").value_or(""), "UTF8SYSTEMMSG:帳戶資料已更改");
  Client again(server.Port());
  EXPECT_EQ(Login(again, {cr.account, "newpass1"}), "LOGINOK");
  // The first session is replaced by the second.
  EXPECT_TRUE(c.ClosedWithin(3000));
}

}  // namespace
