// The server killed with SIGKILL while users sign up, bet in every battle room, share
// articles and list their kept shoes, then started again on the same database, three
// times over: everything it had acknowledged is still there and the database is sound.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "ServerHarness.h"

using namespace zavuv::testing;
namespace net = zavuv::net;

namespace {

using namespace std::chrono_literals;

// What the server told one user it had done, over all the runs.
struct Player {
  Credentials cr;
  std::string nick;
  int confirmed = 0;          // bets confirmed with BET
  int settled = 0;            // settlements announced ("本局…")
  std::string score;          // the last UTF8SCORE
  int shared = 0;             // articles sent
  std::deque<std::string> sharing;
  std::vector<std::string> articles;   // articles confirmed
  std::set<std::string> kept;          // DataIDNo of kept shoes the server listed
  std::atomic<bool> anyKept{false};
};

std::vector<net::StringList> Rows(const std::string& commaText) {
  std::vector<net::StringList> rows;
  for (const auto& row : net::DecodeCommaText(commaText)) rows.push_back(net::DecodeCommaText(row));
  return rows;
}

// Plays until the connection is gone or stop is set.
void Play(Client& c, Player& p, const std::atomic<bool>& stop) {
  auto lastShare = std::chrono::steady_clock::now();
  try {
    while (!stop && !c.Closed()) {
      if (std::chrono::steady_clock::now() - lastShare > 400ms && p.shared < 12) {
        lastShare = std::chrono::steady_clock::now();
        std::string title = p.nick + "-" + std::to_string(++p.shared);
        p.sharing.push_back(title);
        c.Send("SHAREARTICLE:" + net::EncodeCommaText({"TITLE=" + title, "ARTICLE=" + net::EncodeLines("text")}));
      }
      auto line = c.Read(50);
      if (!line) continue;
      const std::string& l = *line;
      std::size_t colon = l.find(':');
      std::string head = l.substr(0, colon), rest = colon == std::string::npos ? "" : l.substr(colon + 1);
      if (head.rfind("BATTLE", 0) == 0) {
        if (rest == "GAMESTATUS:GAMESTARTED") c.Send(head + ":BET:300:0:0");
        else if (rest == "BET:300:0:0") ++p.confirmed;
        else if (rest.rfind("UTF8MESSAGE:本局", 0) == 0) ++p.settled;
        else if (rest.rfind("UTF8SCORE:", 0) == 0) p.score = rest.substr(10);
        else if (head == "BATTLE" && rest == "GAMESTATUS:SHOENOTSTARTED") c.Send("GETPRIVATEDATALIST:");
      } else if (l == "UTF8SYSTEMMSG:文章已放到伺服器分享" && !p.sharing.empty()) {
        p.articles.push_back(p.sharing.front());
        p.sharing.pop_front();
      } else if (head == "GETPRIVATEDATALISTOK") {
        for (const auto& row : Rows(rest)) p.kept.insert(net::RecordText(row, "DataIDNo"));
        if (!p.kept.empty()) p.anyKept = true;
      }
    }
  } catch (const std::exception&) {
    // The server went away mid-send.
  }
  p.sharing.clear();   // unconfirmed: may or may not have been kept
}

TEST(ServerCrash, EverythingAcknowledgedSurvivesSigkillAndTheDatabaseStaysSound) {
  TempDir dir;
  fs::path conf = dir.Path() / "server.conf";
  std::ofstream(conf) << "signup_per_hour_per_address = 100000\nlogin_per_minute_per_address = 100000\n";
  std::vector<std::string> args = {"--config", conf.string()};
  std::vector<Player> players(3);
  std::vector<Credentials> accounts;   // sign-ups answered SIGNUPOK
  int signups = 0;
  std::mt19937 random(std::random_device{}());

  for (int round = 0; round < 3; ++round) {
    ServerProcess server(dir.Path(), args);
    std::vector<std::unique_ptr<Client>> clients;
    for (std::size_t i = 0; i < players.size(); ++i) {
      Player& p = players[i];
      if (round == 0) {
        p.nick = "crash" + std::to_string(i);
        p.cr = SignUp(server.Port(), dir.Path() / "outbox", p.nick + "@example.org");
      }
      clients.push_back(std::make_unique<Client>(server.Port()));
      ASSERT_EQ(Login(*clients.back(), p.cr, p.nick), round == 0 ? "SETNICKNAMEOK" : "LOGINOK");
    }
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < players.size(); ++i)
      threads.emplace_back(Play, std::ref(*clients[i]), std::ref(players[i]), std::cref(stop));
    threads.emplace_back([&] {
      try {
        while (!stop) {
          std::string reply;
          std::string email = "new" + std::to_string(++signups) + "@example.org";
          Credentials cr = SignUp(server.Port(), dir.Path() / "outbox", email, &reply);
          if (reply == "SIGNUPOK" && !cr.account.empty()) accounts.push_back(cr);
        }
      } catch (const std::exception&) {
        // The server is gone.
      }
    });
    // The first run lasts until a shoe has been kept; then a random moment.
    auto deadline = std::chrono::steady_clock::now() + 30s;
    if (round == 0)
      while (std::chrono::steady_clock::now() < deadline &&
             std::any_of(players.begin(), players.end(), [](const Player& p) { return !p.anyKept; }))
        std::this_thread::sleep_for(50ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(round == 0 ? random() % 300 : 1000 + random() % 1500));
    server.Kill();
    stop = true;
    for (auto& t : threads) t.join();
  }
  for (const Player& p : players) {
    EXPECT_FALSE(p.kept.empty()) << p.nick;
    EXPECT_GT(p.settled, 0) << p.nick;
    EXPECT_FALSE(p.articles.empty()) << p.nick;
  }
  EXPECT_FALSE(accounts.empty());

  ServerProcess server(dir.Path(), args);
  for (const Player& p : players) {
    Client c(server.Port());
    ASSERT_EQ(Login(c, p.cr), "LOGINOK") << p.nick;
    // Each settlement is kept, at most the confirmed bets are settled, and when nothing
    // unannounced was settled the score is the one last announced.
    std::string score = c.WaitForPrefix("BATTLE:UTF8SCORE:").value_or("").substr(17);
    c.Send("BILLBOARD:");
    int turnover = -1;
    for (const auto& row : Rows(c.WaitForPrefix("UTF8BILLBOARD:").value_or("UTF8BILLBOARD:").substr(14)))
      if (net::RecordText(row, "UTF8NickName") == p.nick) turnover = std::stoi(net::RecordText(row, "Turnover"));
    EXPECT_GE(turnover, 300 * p.settled) << p.nick;
    EXPECT_LE(turnover, 300 * p.confirmed) << p.nick;
    if (turnover == 300 * p.settled) {
      EXPECT_EQ(score, p.score) << p.nick;
    }

    c.Send("GETARTICLELIST:");
    std::set<std::string> titles;
    for (const auto& row : Rows(c.WaitForPrefix("GETARTICLELISTOK:").value_or("GETARTICLELISTOK:").substr(17)))
      titles.insert(net::RecordText(row, "Title"));
    for (const auto& title : p.articles) EXPECT_TRUE(titles.count(title)) << title;

    c.Send("GETPRIVATEDATALIST:");
    std::set<std::string> kept;
    for (const auto& row : Rows(c.WaitForPrefix("GETPRIVATEDATALISTOK:").value_or("GETPRIVATEDATALISTOK:").substr(21)))
      kept.insert(net::RecordText(row, "DataIDNo"));
    for (const auto& id : p.kept) EXPECT_TRUE(kept.count(id)) << p.nick << " shoe " << id;
  }
  for (const Credentials& cr : accounts) {
    Client c(server.Port());
    EXPECT_EQ(Login(c, cr), "NONICKNAME") << cr.account;
  }
  EXPECT_EQ(server.Stop(), 0);

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((dir.Path() / "server.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* check = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
  sqlite3_finalize(check);
  sqlite3_close(db);
}

}  // namespace
