// Sign-up mail piped to a sendmail-compatible program: a small script written here
// stands in for the mailer. A mail that cannot be handed over changes nothing and the
// user is told so.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ServerHarness.h"

using namespace zavuv::testing;

namespace {

// The mailer keeps each message and its arguments in its own folder; the file "mode"
// there makes it fail ("fail": reads the message, exits 3) or hang ("hang").
class Mailer {
 public:
  explicit Mailer(const fs::path& dir) : dir_(dir / "mailer") {
    fs::create_directories(dir_);
    std::ofstream(Program()) << "#!/bin/sh\n"
                                "D=$(dirname \"$0\")\n"
                                "mode=$(cat \"$D/mode\" 2>/dev/null)\n"
                                "[ \"$mode\" = hang ] && exec sleep 30\n"
                                "n=$(date +%s%N)\n"
                                "cat > \"$D/mail-$n.txt\"\n"
                                "printf '%s\\n' \"$*\" > \"$D/args-$n.txt\"\n"
                                "[ \"$mode\" = fail ] && exit 3\n"
                                "exit 0\n";
    chmod(Program().c_str(), 0755);
  }
  std::string Program() const { return (dir_ / "sendmail").string(); }
  void Mode(const std::string& mode) { std::ofstream(dir_ / "mode") << mode; }
  // The files the mailer kept with the prefix, oldest first.
  std::vector<std::string> Kept(const std::string& prefix) const {
    std::vector<fs::path> paths;
    for (auto& e : fs::directory_iterator(dir_))
      if (e.path().filename().string().rfind(prefix, 0) == 0) paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> texts;
    for (auto& p : paths) {
      std::ifstream in(p);
      texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return texts;
  }

 private:
  fs::path dir_;
};

std::string SignUpReply(int port, const std::string& email) {
  Client c(port);
  c.Send("SIGNUP:" + email);
  return c.Read(20000).value_or("(no answer)");
}

TEST(ServerMail, TheSendmailProgramGetsTheMessageOnItsInputAndALoginWorksWithIt) {
  TempDir dir;
  Mailer mailer(dir.Path());
  ServerProcess server(dir.Path(), {"--sendmail", mailer.Program()});
  EXPECT_EQ(SignUpReply(server.Port(), "kim@example.org"), "SIGNUPOK");
  auto mails = mailer.Kept("mail-");
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mailer.Kept("args-").at(0), "-t -i\n");
  const std::string& mail = mails[0];
  EXPECT_EQ(mail.rfind("Date: ", 0), 0u);
  EXPECT_NE(mail.find("\r\nTo: <kim@example.org>\r\n"), std::string::npos);
  EXPECT_NE(mail.find("\r\n\r\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.Path() / "outbox") && !fs::is_empty(dir.Path() / "outbox"));

  Credentials cr = CredentialsInMail(mail);
  ASSERT_EQ(cr.account.size(), 10u);
  Client c(server.Port());
  EXPECT_EQ(Login(c, cr), "NONICKNAME");
}

TEST(ServerMail, AMailThatCannotBeHandedOverChangesNothingAndTheUserIsToldToTryAgain) {
  TempDir dir;
  Mailer mailer(dir.Path());
  std::ofstream(dir.Path() / "server.conf") << "resend_interval = 0s\nsendmail_timeout = 1s\n";
  ServerProcess server(dir.Path(), {"--sendmail", mailer.Program(), "--config", (dir.Path() / "server.conf").string()});
  const std::string refusal = zavuv::Utf8ToBig5("未能寄出帳戶資料電郵, 請稍後再試");

  // A new address while the mailer fails: no account is kept, so once the mailer
  // works the same address signs up as new.
  mailer.Mode("fail");
  EXPECT_EQ(SignUpReply(server.Port(), "lee@example.org"), refusal);
  mailer.Mode("ok");
  EXPECT_EQ(SignUpReply(server.Port(), "lee@example.org"), "SIGNUPOK");
  Credentials first = CredentialsInMail(mailer.Kept("mail-").back());

  // A known address asking again while the mailer fails, hangs or is missing: the
  // password mailed before still logs in (the new one never reached its owner).
  mailer.Mode("fail");
  EXPECT_EQ(SignUpReply(server.Port(), "lee@example.org"), refusal);
  mailer.Mode("hang");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SignUpReply(server.Port(), "lee@example.org"), refusal);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
  {
    Client c(server.Port());
    EXPECT_EQ(Login(c, first), "NONICKNAME");
  }
  mailer.Mode("ok");
  EXPECT_EQ(SignUpReply(server.Port(), "lee@example.org"), "OLDACCOUNT");
  Credentials second = CredentialsInMail(mailer.Kept("mail-").back());
  EXPECT_EQ(second.account, first.account);
  EXPECT_NE(second.password, first.password);
  Client c(server.Port());
  EXPECT_EQ(Login(c, second), "NONICKNAME");
  EXPECT_NE(server.Log().find("the mailer exited with status 3"), std::string::npos);
  EXPECT_NE(server.Log().find("did not finish in time"), std::string::npos);
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerMail, AMissingMailerIsRefusedAndTheServerGoesOn) {
  TempDir dir;
  ServerProcess server(dir.Path(), {"--sendmail", (dir.Path() / "no-such-sendmail").string()});
  EXPECT_EQ(SignUpReply(server.Port(), "max@example.org"), zavuv::Utf8ToBig5("未能寄出帳戶資料電郵, 請稍後再試"));
  EXPECT_NE(server.Log().find("cannot run"), std::string::npos);
  Client c(server.Port());
  c.Send("VERSION:1.11");
  EXPECT_EQ(c.Read().value_or(""), "VERSIONOK:");
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
