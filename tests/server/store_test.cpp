// Boards in both encodings, seasons and champions, sharing lists and downloads,
// articles, the operator commands, and everything kept across a restart.
#include <gtest/gtest.h>

#include <set>

#include "ServerHarness.h"
#include "shoes/ShoesData.h"

using namespace zavuv::testing;
namespace net = zavuv::net;

namespace {

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  char buf[512];
  while (p && fgets(buf, sizeof buf, p)) out += buf;
  if (p) pclose(p);
  return out;
}

Credentials UserAdd(const fs::path& db, const std::string& email, const std::string& nick) {
  std::string json = RunCommand(std::string(ZAVUV_SERVER) + " user-add " + email + " --db " + db.string() +
                                " --nickname " + nick);
  std::smatch m;
  Credentials cr;
  if (std::regex_search(json, m, std::regex("\\{\"account\":\"(\\d{10})\",\"password\":\"(\\w+)\"\\}"))) {
    cr.account = m[1];
    cr.password = m[2];
  }
  return cr;
}

// Bets 300 on the player in BATTLE until one bet has settled; the season score then
// announced in score. The bet goes on a game that the seed's shoes say will not be a
// tie, so that the score is a win or a loss of 300 whatever game the test joins.
void PlayOneGame(Client& c, std::string* score = nullptr) {
  static const std::vector<std::string> dealt = ShoesDealtIn("BATTLE", 200);
  std::string soFar;
  bool confirmed = false;
  for (int i = 0; i < 4000; ++i) {
    auto line = c.Read(5000);
    ASSERT_TRUE(line);
    if (line->rfind("BATTLE:SHOERESULT:", 0) == 0) soFar = line->substr(18);
    if (*line == "BATTLE:GAMESTATUS:GAMESTARTED" && !confirmed) {
      // The next result, once every shoe that begins as this one did agrees on it.
      std::set<char> next;
      for (const std::string& shoe : dealt)
        if (shoe.size() > soFar.size() && shoe.compare(0, soFar.size(), soFar) == 0) next.insert(shoe[soFar.size()]);
      if (next.size() == 1 && *next.begin() != 'T') c.Send("BATTLE:BET:0:300:0");
    }
    if (*line == "BATTLE:BET:0:300:0") confirmed = true;
    if (confirmed && line->rfind("BATTLE:UTF8SCORE:", 0) == 0) {
      if (score) *score = line->substr(17);
      return;
    }
  }
  FAIL() << "no bet settled";
}

std::vector<net::StringList> Rows(const std::string& arguments) {
  std::vector<net::StringList> rows;
  for (const auto& row : net::DecodeCommaText(arguments)) rows.push_back(net::DecodeCommaText(row));
  return rows;
}

TEST(ServerStore, BoardsComeInBothEncodingsAndASeasonEndKeepsItsChampion) {
  TempDir dir;
  std::ofstream(dir.Path() / "server.conf") << "season_length = 6s\n";
  Credentials cr = UserAdd(dir.Path() / "server.db", "w@example.org", "贏家");
  ASSERT_FALSE(cr.account.empty());
  ServerProcess server(dir.Path(), {"--config", (dir.Path() / "server.conf").string()});
  Client c(server.Port());
  ASSERT_EQ(Login(c, cr), "LOGINOK");
  std::string score;
  PlayOneGame(c, &score);

  c.Send("BILLBOARD:");
  auto utf8 = Rows(c.WaitForPrefix("UTF8BILLBOARD:").value_or("UTF8BILLBOARD:").substr(14));
  ASSERT_EQ(utf8.size(), 1u);
  EXPECT_EQ(net::RecordText(utf8[0], "UTF8NickName"), "贏家");
  EXPECT_EQ(net::RecordText(utf8[0], "NickName"), "");
  EXPECT_EQ(net::RecordText(utf8[0], "Turnover"), "300");
  // The board's profit is the one game's outcome as the settlement announced it.
  EXPECT_TRUE(score == "300" || score == "-300") << score;
  EXPECT_EQ(net::RecordText(utf8[0], "Profit"), score);

  c.Send("BILLBOARD:BIG5");
  auto big5 = Rows(c.WaitForPrefix("BILLBOARD:").value_or("BILLBOARD:").substr(10));
  ASSERT_EQ(big5.size(), 1u);
  EXPECT_EQ(net::RecordText(big5[0], "NickName"), zavuv::Utf8ToBig5("贏家"));

  c.Send("LEVELBOARD:");
  auto levels = Rows(c.WaitForPrefix("UTF8LEVELBOARD:").value_or("UTF8LEVELBOARD:").substr(15));
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(net::RecordText(levels[0], "Lvl"), "1");
  EXPECT_EQ(net::RecordText(levels[0], "Exp"), "10");

  // The season ends on its schedule: its leader is a champion with a finish date.
  ASSERT_TRUE(c.WaitFor([](const std::string& l) { return l.rfind("UTF8SYSTEMMSG:本季比賽完結", 0) == 0; }, 10000));
  // The new season clears the score and the amounts typed in every battle room.
  std::set<std::string> reset;
  for (int i = 0; i < 6; ++i) {
    auto line = c.WaitFor([](const std::string& l) {
      return l == "BATTLE:UTF8SCORE:0" || l.find(":RESETBET:") != std::string::npos;
    });
    if (line) reset.insert(*line);
  }
  EXPECT_EQ(reset, (std::set<std::string>{"BATTLE:UTF8SCORE:0", "BATTLE:RESETBET:", "BATTLE2:RESETBET:",
                                          "BATTLE3:RESETBET:", "BATTLE4:RESETBET:", "BATTLE5:RESETBET:"}));
  c.Send("VICTOR:");
  auto victors = Rows(c.WaitForPrefix("UTF8VICTOR:").value_or("UTF8VICTOR:").substr(11));
  ASSERT_EQ(victors.size(), 1u);
  EXPECT_EQ(net::RecordText(victors[0], "UTF8NickName"), "贏家");
  EXPECT_TRUE(std::regex_match(net::RecordText(victors[0], "FinishDate"), std::regex("\\d{4}/\\d\\d/\\d\\d")));
  c.Send("BILLBOARD:");
  EXPECT_EQ(c.WaitForPrefix("UTF8BILLBOARD:").value_or(""), "UTF8BILLBOARD:");
}

TEST(ServerStore, SharedItemsListAndDownloadAndArticlesRoundTrip) {
  TempDir dir;
  fs::path db = dir.Path() / "server.db";
  Credentials cr = UserAdd(db, "s@example.org", "分享者");
  zavuv::ShoesData shoes;
  shoes.AppendShoe({zavuv::Utf8ToBig5("第一靴"), "BBPPT", "note"});
  shoes.AppendShoe({"second", "PPPB", ""});
  shoes.SaveData((dir.Path() / "two.DAT").string());
  std::ofstream(dir.Path() / "mine.MED", std::ios::binary) << std::string("\x01\x02method", 8);
  std::string added = RunCommand(std::string(ZAVUV_SERVER) + " share-add " + cr.account + " " +
                                 (dir.Path() / "two.DAT").string() + " " + (dir.Path() / "mine.MED").string() +
                                 " --db " + db.string());
  EXPECT_NE(added.find("\"added\":[1,2,3]"), std::string::npos) << added;

  ServerProcess server(dir.Path());
  Client c(server.Port());
  ASSERT_EQ(Login(c, cr), "LOGINOK");
  c.Send("GETPRIVATEDATALIST:");
  auto rows = Rows(c.WaitForPrefix("GETPRIVATEDATALISTOK:").value_or("GETPRIVATEDATALISTOK:").substr(21));
  ASSERT_EQ(rows.size(), 2u);
  std::string firstId;
  for (const auto& r : rows) {
    EXPECT_FALSE(net::RecordText(r, "UpLoadDate").empty());
    if (net::RecordText(r, "ShoesName") == zavuv::Utf8ToBig5("第一靴")) firstId = net::RecordText(r, "DataIDNo");
  }
  ASSERT_FALSE(firstId.empty());
  c.Send("GETPRIVATEDATA:" + firstId);
  auto shoe = net::DecodeCommaText(c.WaitForPrefix("GETPRIVATEDATAOK:").value_or("GETPRIVATEDATAOK:").substr(17));
  EXPECT_EQ(net::RecordText(shoe, "ShoesResult"), "BBPPT");
  EXPECT_EQ(net::RecordText(shoe, "ShoesName"), zavuv::Utf8ToBig5("第一靴"));

  c.Send("GETPRIVATEBETLIST:");
  auto bets = Rows(c.WaitForPrefix("GETPRIVATEBETLISTOK:").value_or("GETPRIVATEBETLISTOK:").substr(20));
  ASSERT_EQ(bets.size(), 1u);
  EXPECT_EQ(net::RecordText(bets[0], "Info"), "mine");
  c.Send("GETPRIVATEBET:" + net::RecordText(bets[0], "DataIDNo"));
  EXPECT_TRUE(c.WaitForPrefix("GETPRIVATEBETOK:").has_value());
  c.Send("GETPRIVATEBETAMOUNTLIST:");
  EXPECT_EQ(c.WaitForPrefix("GETPRIVATEBETAMOUNTLISTOK:").value_or(""), "GETPRIVATEBETAMOUNTLISTOK:");
  // Another user's item, or no item, is not found.
  c.Send("GETPRIVATEDATA:999");
  EXPECT_TRUE(c.WaitForPrefix("UTF8SYSTEMMSG:找不到").has_value());

  std::string article = net::EncodeLines(zavuv::Utf8ToBig5("第一行\r\n第二行, 有逗號"));
  c.Send("SHAREARTICLE:" + net::EncodeCommaText({"TITLE=" + zavuv::Utf8ToBig5("心得"), "ARTICLE=" + article}));
  EXPECT_EQ(c.WaitForPrefix("UTF8SYSTEMMSG:文章").value_or(""), "UTF8SYSTEMMSG:文章已放到伺服器分享");
  c.Send("GETARTICLELIST:");
  auto articles = Rows(c.WaitForPrefix("GETARTICLELISTOK:").value_or("GETARTICLELISTOK:").substr(17));
  ASSERT_EQ(articles.size(), 1u);
  EXPECT_EQ(net::RecordText(articles[0], "Title"), zavuv::Utf8ToBig5("心得"));
  EXPECT_EQ(net::RecordText(articles[0], "NickName"), zavuv::Utf8ToBig5("分享者"));
  c.Send("GETARTICLE:" + net::RecordText(articles[0], "DataIDNo"));
  auto got = net::DecodeCommaText(c.WaitForPrefix("GETARTICLEOK:").value_or("GETARTICLEOK:").substr(13));
  EXPECT_EQ(net::RecordValue(got, "TITLE"), zavuv::Utf8ToBig5("心得"));
  EXPECT_EQ(net::DecodeCommaText(net::RecordValue(got, "ARTICLE")),
            (net::StringList{zavuv::Utf8ToBig5("第一行"), zavuv::Utf8ToBig5("第二行, 有逗號")}));
}

TEST(ServerStore, AccountsScoresAndArticlesSurviveARestart) {
  TempDir dir;
  int port = 0;
  Credentials cr;
  std::string score;
  {
    ServerProcess server(dir.Path());
    cr = SignUp(server.Port(), dir.Path() / "outbox", "keep@example.org");
    Client c(server.Port());
    ASSERT_EQ(Login(c, cr, "長存"), "SETNICKNAMEOK");
    PlayOneGame(c, &score);
    c.Send("SHAREARTICLE:" + net::EncodeCommaText({"TITLE=t", "ARTICLE=a"}));
    ASSERT_TRUE(c.WaitForPrefix("UTF8SYSTEMMSG:文章").has_value());
    port = server.Port();
    EXPECT_EQ(server.Stop(), 0);   // SIGTERM: a clean exit
  }
  ServerProcess again(dir.Path());
  Client c(again.Port());
  EXPECT_EQ(Login(c, cr), "LOGINOK");
  EXPECT_EQ(c.Read().value_or(""), "UTF8NICKNAME:長存");
  EXPECT_EQ(c.Read().value_or(""), "LEVEL:1:10:100");
  c.Send("BILLBOARD:");
  auto rows = Rows(c.WaitForPrefix("UTF8BILLBOARD:").value_or("UTF8BILLBOARD:").substr(14));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(net::RecordText(rows[0], "Turnover"), "300");
  EXPECT_EQ(net::RecordText(rows[0], "Profit"), score);
  c.Send("GETARTICLELIST:");
  EXPECT_EQ(Rows(c.WaitForPrefix("GETARTICLELISTOK:").value_or("GETARTICLELISTOK:").substr(17)).size(), 1u);
  (void)port;
}

}  // namespace
