// A database that cannot grow (db_max_size, as on a full disk): each change that needs
// room is refused with a message to the user who asked, nothing of it is kept, and
// everyone else goes on being served; with the limit lifted the database is sound and
// the same changes succeed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ServerHarness.h"

using namespace zavuv::testing;
namespace net = zavuv::net;

namespace {

// The rows of a query, one line each, columns separated by '|'.
std::string Query(const fs::path& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  std::string out;
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(handle);
    return "cannot open";
  }
  sqlite3_busy_timeout(handle, 5000);
  char* error = nullptr;
  auto row = [](void* text, int n, char** values, char**) {
    auto& s = *static_cast<std::string*>(text);
    for (int i = 0; i < n; ++i) s += (i ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
    s += '\n';
    return 0;
  };
  if (sqlite3_exec(handle, sql.c_str(), row, &out, &error) != SQLITE_OK) out += std::string("error: ") + error;
  sqlite3_free(error);
  sqlite3_close(handle);
  return out;
}

std::string ShareArticleLine(const std::string& title, const std::string& body) {
  return "SHAREARTICLE:" + net::EncodeCommaText({"TITLE=" + zavuv::Utf8ToBig5(title),
                                                 "ARTICLE=" + net::EncodeLines(zavuv::Utf8ToBig5(body))});
}

std::vector<std::string> Lines(Client& c, const std::string& until, int ms = 5000) {
  std::vector<std::string> lines;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) {
    auto line = c.Read(100);
    if (!line) continue;
    lines.push_back(*line);
    if (*line == until) break;
  }
  return lines;
}

bool Holds(const std::vector<std::string>& lines, const std::string& text) {
  for (const auto& l : lines)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

TEST(ServerStoreFull, AChangeThatNeedsRoomIsRefusedNothingIsKeptAndTheOthersAreServed) {
  TempDir dir;
  const fs::path db = dir.Path() / "server.db";
  Credentials amy, bob;
  {
    ServerProcess server(dir.Path());
    amy = SignUp(server.Port(), dir.Path() / "outbox", "amy@example.org");
    bob = SignUp(server.Port(), dir.Path() / "outbox", "bob@example.org");
    Client a(server.Port()), b(server.Port());
    ASSERT_EQ(Login(a, amy, "阿美"), "SETNICKNAMEOK");
    ASSERT_EQ(Login(b, bob, "阿寶"), "SETNICKNAMEOK");
    ASSERT_EQ(server.Stop(), 0);
  }
  // Small rows would still fit into pages the tables have room in, where a full disk
  // takes nothing at all: every write to the tables a request changes also writes a
  // large blob, so that each one needs new pages.
  std::string grow = "CREATE TABLE ballast (b BLOB);";
  for (const char* on : {"INSERT ON accounts", "UPDATE ON accounts", "INSERT ON scores", "UPDATE ON scores",
                         "INSERT ON articles", "INSERT ON shared_items"}) {
    std::string name = on;
    for (char& ch : name) ch = ch == ' ' ? '_' : ch;
    grow += std::string("CREATE TRIGGER grow_") + name + " AFTER " + on +
            " BEGIN INSERT INTO ballast VALUES (zeroblob(20000)); END;";
  }
  ASSERT_EQ(Query(db, grow), "");
  ASSERT_FALSE(fs::exists(dir.Path() / "server.db-wal")) << "the database was left with its log";
  const auto size = fs::file_size(db);
  std::ofstream(dir.Path() / "full.conf") << "db_max_size = " << size << "\n";

  {
    ServerProcess server(dir.Path(), {"--config", (dir.Path() / "full.conf").string()});
    // Logins only read.
    Client a(server.Port()), b(server.Port());
    ASSERT_EQ(Login(a, amy), "LOGINOK");
    ASSERT_EQ(Login(b, bob), "LOGINOK");
    a.Drain(200);
    b.Drain(200);

    // An article: refused with the reason, and not in the list.
    a.Send(ShareArticleLine("滿了", "第一行\n第二行"));
    auto share = a.WaitFor([](const std::string& l) { return l.rfind("UTF8SYSTEMMSG:", 0) == 0; });
    EXPECT_EQ(share.value_or("none"), "UTF8SYSTEMMSG:伺服器儲存空間已滿, 文章未能分享");
    a.Send("GETARTICLELIST:");
    EXPECT_EQ(a.WaitForPrefix("GETARTICLELISTOK:").value_or("none"), "GETARTICLELISTOK:");

    // Chat goes on.
    b.Send("PUBLICMSG:" + zavuv::Utf8ToBig5("仍然在線"));
    b.Send("UTF8PUBLICMSG:仍然在線");
    EXPECT_TRUE(a.WaitFor([](const std::string& l) { return l == "UTF8PUBLICMSG:阿寶: 仍然在線"; }).has_value());

    // A bet: the game is dealt and shown to everyone, but its settlement cannot be
    // kept, so the bettor is told the game does not count and is credited nothing.
    bool confirmed = false;
    std::vector<std::string> afterBet;
    for (int i = 0; i < 3000 && afterBet.empty(); ++i) {
      auto line = a.Read(5000);
      ASSERT_TRUE(line);
      if (*line == "BATTLE:GAMESTATUS:GAMESTARTED" && !confirmed) a.Send("BATTLE:BET:0:300:0");
      if (*line == "BATTLE:BET:0:300:0") {
        confirmed = true;
        afterBet = Lines(a, "BATTLE:BET:0:0:0");
      }
    }
    ASSERT_TRUE(confirmed);
    EXPECT_TRUE(Holds(afterBet, "BATTLE:GAMERESULT:"));
    EXPECT_TRUE(Holds(afterBet, "BATTLE:UTF8MESSAGE:伺服器儲存空間已滿, 本局不計輸贏"));
    EXPECT_FALSE(Holds(afterBet, "閣下贏"));
    EXPECT_FALSE(Holds(afterBet, "閣下輸"));
    EXPECT_FALSE(Holds(afterBet, "不輸不贏"));
    EXPECT_FALSE(Holds(afterBet, "BATTLE:UTF8SCORE:"));
    EXPECT_FALSE(Holds(afterBet, "LEVEL:"));
    EXPECT_EQ(afterBet.back(), "BATTLE:BET:0:0:0");
    // The room goes on dealing for everyone.
    EXPECT_TRUE(b.WaitForPrefix("BATTLE:GAMESTATUS:GAMESTARTED", 10000).has_value());

    // A sign-up: the account cannot be kept, so no mail goes out naming it; the user is
    // told why.
    const auto mails = [&] { return std::distance(fs::directory_iterator(dir.Path() / "outbox"), {}); };
    const auto mailsBefore = mails();
    Client c(server.Port());
    c.Send("SIGNUP:carl@example.org");
    EXPECT_EQ(c.Read(20000).value_or("none"), zavuv::Utf8ToBig5("伺服器儲存空間已滿, 請稍後再試"));
    EXPECT_EQ(mails(), mailsBefore);

    // Everyone is still served after all of it.
    a.Send("GETONLINELIST:");
    EXPECT_TRUE(a.WaitForPrefix("UTF8GETONLINELISTOK:").has_value());
    Client d(server.Port());
    EXPECT_EQ(Login(d, bob), "LOGINOK");

    std::string log = server.Log();
    EXPECT_NE(log.find("where=share"), std::string::npos);
    EXPECT_NE(log.find("where=settle"), std::string::npos);
    EXPECT_NE(log.find("database or disk is full"), std::string::npos);
    EXPECT_EQ(log.find("where=loop"), std::string::npos);
    EXPECT_EQ(log.find("where=line"), std::string::npos);
    EXPECT_EQ(server.Stop(), 0);
  }

  // Nothing half written.
  EXPECT_EQ(Query(db, "PRAGMA integrity_check"), "ok\n");
  EXPECT_EQ(Query(db, "PRAGMA foreign_key_check"), "");
  EXPECT_EQ(Query(db, "SELECT count(*) FROM articles"), "0\n");
  EXPECT_EQ(Query(db, "SELECT count(*) FROM scores"), "0\n");
  EXPECT_EQ(Query(db, "SELECT count(*) FROM ballast"), "0\n");
  EXPECT_EQ(Query(db, "SELECT count(*), sum(exp) FROM accounts"), "2|0\n");

  // The limit lifted: the same changes are kept.
  ServerProcess server(dir.Path());
  Client a(server.Port());
  ASSERT_EQ(Login(a, amy), "LOGINOK");
  a.Send(ShareArticleLine("不滿了", "內容"));
  EXPECT_EQ(a.WaitFor([](const std::string& l) { return l.rfind("UTF8SYSTEMMSG:文章", 0) == 0; }).value_or("none"),
            "UTF8SYSTEMMSG:文章已放到伺服器分享");
  std::string reply;
  SignUp(server.Port(), dir.Path() / "outbox", "dora@example.org", &reply);
  EXPECT_EQ(reply, "SIGNUPOK");
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(Query(db, "PRAGMA integrity_check"), "ok\n");
  EXPECT_EQ(Query(db, "SELECT title FROM articles"), "不滿了\n");
}

}  // namespace
