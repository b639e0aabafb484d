// The operator's settings read as documented, and what one account may keep on the
// server is bounded: a new article past the bound is refused, a private list keeps its
// newest shoes.
#include <gtest/gtest.h>
#include <sodium.h>

#include "Config.h"
#include "Database.h"
#include "HashPool.h"
#include "ServerHarness.h"

using namespace zavuv::testing;
namespace net = zavuv::net;
namespace server = zavuv::server;

namespace {

server::Config Load(const fs::path& dir, const std::string& text) {
  fs::path file = dir / "limits.conf";
  std::ofstream(file) << text;
  server::Config c;
  server::LoadConfigFile(c, file.string());
  return c;
}

TEST(ServerLimits, EveryDurationTakesItsUnitAndTheMailerWaitStaysUnderTheSignUpReply) {
  TempDir dir;
  server::Config c = Load(dir.Path(), "bet_seconds = 4s\nfast_bet_ms = 0.2s\nlogin_timeout = 1500ms\n"
                                      "write_stall = 2m\nseason_length = 7d\nsendmail_timeout = 15s\n");
  EXPECT_EQ(c.betSeconds, 4);
  EXPECT_EQ(c.fastBetMs, 200);
  EXPECT_DOUBLE_EQ(c.loginTimeoutSeconds, 1.5);
  EXPECT_DOUBLE_EQ(c.writeStallSeconds, 120);
  EXPECT_DOUBLE_EQ(c.seasonSeconds, 7 * 86400);
  EXPECT_EQ(c.sendmailTimeoutMs, 15000);
  // Bare numbers keep the unit the key names.
  c = Load(dir.Path(), "bet_seconds = 20\nfast_bet_ms = 80\n");
  EXPECT_EQ(c.betSeconds, 20);
  EXPECT_EQ(c.fastBetMs, 80);
  EXPECT_LE(server::Config{}.sendmailTimeoutMs, 15000);

  for (const char* bad : {"sendmail_timeout = 16s\n", "sendmail_timeout = 1m\n", "bet_seconds = 4x\n",
                          "login_timeout = inf\n"}) {
    try {
      Load(dir.Path(), bad);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("limits.conf:1: bad value"), std::string::npos) << e.what();
    }
  }
}

TEST(ServerLimits, AnAccountKeepsABoundedNumberOfArticlesAndPrivateShoes) {
  ASSERT_GE(sodium_init(), 0);
  TempDir dir;
  const Credentials cr{"1000000002", "k7PqR2xa"};
  {
    server::Database db((dir.Path() / "server.db").string());
    ASSERT_TRUE(db.CreateAccount(cr.account, "lim@example.org", server::HashPassword(cr.password, {}), 1765000000));
    ASSERT_TRUE(db.SetNickname(cr.account, "上限"));
    for (int i = 0; i < 3; ++i) db.AddShared(cr.account, "DATA", {0, 1765000000 + i, "old", "old shoe", "BPB"});
  }
  std::ofstream(dir.Path() / "server.conf") << "max_articles_per_account = 2\nmax_private_items_per_account = 2\n";
  ServerProcess process(dir.Path(), {"--config", (dir.Path() / "server.conf").string()});
  Client c(process.Port());
  ASSERT_EQ(Login(c, cr), "LOGINOK");
  c.Drain(300);   // the welcome and the rooms' state

  auto share = [&](const std::string& title) {
    c.Send("SHAREARTICLE:" + net::EncodeCommaText({"TITLE=" + title, "ARTICLE=" + net::EncodeLines("text")}));
    return c.WaitForPrefix("UTF8SYSTEMMSG:").value_or("");
  };
  EXPECT_EQ(share("one"), "UTF8SYSTEMMSG:文章已放到伺服器分享");
  EXPECT_EQ(share("two"), "UTF8SYSTEMMSG:文章已放到伺服器分享");
  EXPECT_EQ(share("three"), "UTF8SYSTEMMSG:閣下分享的文章已達上限 (2 篇), 文章未能分享");
  c.Send("GETARTICLELIST:");
  EXPECT_EQ(net::DecodeCommaText(c.WaitForPrefix("GETARTICLELISTOK:").value_or("GETARTICLELISTOK:").substr(17)).size(), 2u);

  // A bet settled in a battle room keeps that shoe when it ends; the list then holds
  // the newest two: the shoe just played and the newest old one.
  bool confirmed = false, ended = false;
  for (int i = 0; i < 20000 && !ended; ++i) {
    auto line = c.Read(5000);
    ASSERT_TRUE(line) << "the room fell silent";
    if (*line == "BATTLE:GAMESTATUS:GAMESTARTED" && !confirmed) c.Send("BATTLE:BET:0:300:0");
    if (*line == "BATTLE:BET:0:300:0") confirmed = true;
    if (confirmed && *line == "BATTLE:GAMESTATUS:SHOENOTSTARTED") ended = true;
  }
  ASSERT_TRUE(ended);
  std::vector<std::string> infos;
  for (int attempt = 0; attempt < 50 && infos.size() != 2; ++attempt) {
    c.Send("GETPRIVATEDATALIST:");
    infos.clear();
    for (const auto& row : net::DecodeCommaText(c.WaitForPrefix("GETPRIVATEDATALISTOK:").value_or("GETPRIVATEDATALISTOK:").substr(21)))
      infos.push_back(zavuv::Big5ToUtf8(net::RecordText(net::DecodeCommaText(row), "Info")));
    if (infos.size() != 2) usleep(100000);
  }
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_NE(infos[0].find("戰場"), std::string::npos) << infos[0];
  EXPECT_EQ(infos[1], "old shoe");
}

}  // namespace
