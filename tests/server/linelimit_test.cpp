// Replies made of many rows stay within the line limit whatever the rows hold: each row
// is escaped again inside the list, so rows full of quotes take far more room than
// their text, and a list of 100 of them once went past 16,384 bytes and was not sent
// at all (to anyone who asked for the article list, after one user's titles).
#include <gtest/gtest.h>
#include <sodium.h>

#include "Database.h"
#include "HashPool.h"
#include "ServerHarness.h"

using namespace zavuv::testing;
namespace net = zavuv::net;
namespace server = zavuv::server;

namespace {

std::vector<net::StringList> Rows(const std::string& arguments) {
  std::vector<net::StringList> rows;
  for (const auto& row : net::DecodeCommaText(arguments)) rows.push_back(net::DecodeCommaText(row));
  return rows;
}

TEST(ServerLineLimit, ListsOfRowsFullOfQuotesAreCutToOneLineInsteadOfNotSent) {
  ASSERT_GE(sodium_init(), 0);
  TempDir dir;
  const Credentials cr{"1000000001", "k7PqR2xa"};
  const std::string quotes50(50, '"');
  {
    server::Database db((dir.Path() / "server.db").string());
    ASSERT_TRUE(db.CreateAccount(cr.account, "q@example.org", server::HashPassword(cr.password, {}), 1765000000));
    ASSERT_TRUE(db.SetNickname(cr.account, std::string(20, '"')));
    for (int i = 0; i < 100; ++i) {
      db.AddArticle(cr.account, {0, 1765000000 + i, std::string(20, '"'), quotes50, "x"});
      db.AddShared(cr.account, "DATA", {0, 1765000000 + i, std::string(20, '"'), quotes50, "BPB"});
    }
  }
  ServerProcess process(dir.Path());
  Client c(process.Port());
  ASSERT_EQ(Login(c, cr), "LOGINOK");

  for (const std::string command : {"GETARTICLELIST", "GETPRIVATEDATALIST"}) {
    c.Send(command + ":");
    auto line = c.WaitForPrefix(command + "OK:");
    ASSERT_TRUE(line) << command << " was not answered";
    EXPECT_LE(line->size(), net::kMaxLineBytes);
    auto rows = Rows(line->substr(command.size() + 3));
    // As many rows as fit, newest first, each whole.
    EXPECT_GT(rows.size(), 10u) << command;
    EXPECT_LT(rows.size(), 100u) << command;
    EXPECT_EQ(net::RecordText(rows.front(), "DataIDNo"), "100") << command;
    EXPECT_EQ(net::RecordText(rows.back(), "DataIDNo"), std::to_string(101 - rows.size())) << command;
    for (const auto& row : rows) {
      if (command == "GETARTICLELIST") EXPECT_EQ(net::RecordText(row, "Title"), quotes50);
      else EXPECT_EQ(net::RecordText(row, "Info"), quotes50);
    }
  }
  EXPECT_EQ(process.Log().find("over the line limit"), std::string::npos);
}

// A shoe's note has no bound of its own (an operator's share-add takes it from the
// file): a note whose reply would pass the line limit is cut, on a character, instead
// of the download never being answered.
TEST(ServerLineLimit, AShoeWithANoteTooLongForOneLineIsSentWithTheNoteCut) {
  ASSERT_GE(sodium_init(), 0);
  TempDir dir;
  const Credentials cr{"1000000003", "k7PqR2xa"};
  std::string note;
  for (int i = 0; i < 6000; ++i) note += i % 50 == 49 ? "\n" : "長\"";   // 3 Big5 bytes, 4 on the line
  std::int64_t id = 0;
  {
    server::Database db((dir.Path() / "server.db").string());
    ASSERT_TRUE(db.CreateAccount(cr.account, "n@example.org", server::HashPassword(cr.password, {}), 1765000000));
    ASSERT_TRUE(db.SetNickname(cr.account, "長註"));
    id = db.AddShared(cr.account, "DATA", {0, 1765000000, "long", note, "BPBPPB"});
  }
  ServerProcess process(dir.Path());
  Client c(process.Port());
  ASSERT_EQ(Login(c, cr), "LOGINOK");
  c.Send("GETPRIVATEDATA:" + std::to_string(id));
  auto line = c.WaitForPrefix("GETPRIVATEDATAOK:");
  ASSERT_TRUE(line) << "no reply";
  EXPECT_LE(line->size(), net::kMaxLineBytes);
  net::StringList fields = net::DecodeCommaText(line->substr(17));
  EXPECT_EQ(net::RecordText(fields, "ShoesResult"), "BPBPPB");
  // The note as received begins the note kept, ends on a whole character and is as
  // long as the line allows.
  std::string info = zavuv::Big5ToUtf8(net::RecordText(fields, "ShoesInfo"));
  std::string expected;
  for (char ch : note) expected += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  EXPECT_GT(info.size(), 6000u);
  EXPECT_LT(info.size(), expected.size());
  EXPECT_EQ(expected.compare(0, info.size(), info), 0);
  EXPECT_TRUE(zavuv::net::IsValidUtf8(info));
  EXPECT_EQ(info.find("\xEF\xBF\xBD"), std::string::npos);
}

}  // namespace
