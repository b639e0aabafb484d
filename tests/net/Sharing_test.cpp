#include "net/Sharing.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "net/CommaText.h"
#include "shoes/ShoesData.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::net;

namespace {

std::string Rows(const std::vector<RecordFields>& rows) {
  StringList texts;
  for (const RecordFields& row : rows) texts.push_back(EncodeRecord(row));
  return EncodeCommaText(texts);
}

struct Sent {
  std::vector<std::pair<std::string, std::string>> lines;
  SendCommandFunction Function() {
    return [this](const std::string& c, const std::string& d) { lines.emplace_back(c, d); };
  }
};

}  // namespace

TEST(Sharing, PrivateListsFillByKindAndRefillFromEmpty) {
  Sharing s;
  ShoesData shoes;
  ASSERT_TRUE(s.HandleReply("GETPRIVATEDATALISTOK",
                            Rows({{{"UpLoadDate", "2026/12/01"}, {"DataIDNo", "5"}, {"ShoesName", "S1"},
                                   {"Info", Utf8ToBig5("週一")}},
                                  {{"UpLoadDate", "bad date"}, {"DataIDNo", "6"}, {"ShoesName", "S2"}}}),
                            shoes.Table()));
  ClientDataSet& t = s.PrivateData;
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_TRUE(s.ShoesNameColumnVisible);
  EXPECT_EQ(s.InfoColumnTitle, "資料說明");
  EXPECT_EQ(AsString(t.GetValue(0, t.FieldIndex("DataType"))), "DATA");
  EXPECT_EQ(AsString(t.GetValue(1, t.FieldIndex("DataType"))), "DATA");
  EXPECT_EQ(AsString(t.GetValue(0, t.FieldIndex("Info"))), Utf8ToBig5("週一"));
  // A value its field cannot take leaves the field empty; the row is still there.
  EXPECT_TRUE(IsNull(t.GetValue(1, t.FieldIndex("UpLoadDate"))));
  EXPECT_EQ(t.RecNo(), 1);

  s.HandleReply("GETPRIVATEBETLISTOK", Rows({{{"DataIDNo", "17"}, {"Info", "x"}}}), shoes.Table());
  ASSERT_EQ(t.RecordCount(), 1);
  EXPECT_FALSE(s.ShoesNameColumnVisible);
  EXPECT_EQ(s.InfoColumnTitle, "投注法說明");
  EXPECT_EQ(t.Fields()[t.FieldIndex("Info")].label, "投注法說明");
  Sent sent;
  s.BtnUsePrivateDataClick(sent.Function());
  EXPECT_EQ(sent.lines, (std::vector<std::pair<std::string, std::string>>{{"GETPRIVATEBET", "17"}}));
  s.HandleReply("GETPRIVATEBETAMOUNTLISTOK", "", shoes.Table());
  EXPECT_EQ(s.InfoColumnTitle, "注碼法說明");
  EXPECT_TRUE(t.IsEmpty());
  // With the list empty nothing is requested.
  s.BtnUsePrivateDataClick(sent.Function());
  EXPECT_EQ(sent.lines.size(), 1u);
  // The views are attached again after the fill.
  EXPECT_FALSE(t.ControlsDisabled());
  EXPECT_TRUE(s.HandleReply("GETPRIVATEBETOK", "whatever", shoes.Table()));
  EXPECT_FALSE(s.HandleReply("GETPRIVATE", "", shoes.Table()));
}

TEST(Sharing, ArticlesListDownloadShowAndShareOncePerEdit) {
  Sharing s;
  ShoesData shoes;
  s.HandleReply("GETARTICLELISTOK",
                Rows({{{"DataIDNo", "3"}, {"NickName", "Ann"}, {"Title", "t1"}}, {{"DataIDNo", "4"}}}), shoes.Table());
  ASSERT_EQ(s.Article.RecordCount(), 2);
  Sent sent;
  s.Article.Next();
  s.BtnDownloadArticleClick(sent.Function());
  EXPECT_EQ(sent.lines.back(), (std::pair<std::string, std::string>{"GETARTICLE", "4"}));

  // An article of two lines, the second with a comma, travels as one ARTICLE item.
  std::string data = Sharing::ArticleData("Title", {"line one", "a, b"});
  StringList items = DecodeCommaText(data);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0], "TITLE=Title");
  EXPECT_EQ(items[1], "ARTICLE=\"line one\",\"a, b\"");

  // Shown from a Big5 reply, with names matched whatever their case.
  std::string reply = EncodeCommaText({"title=" + Utf8ToBig5("心得"), "Article=" + EncodeCommaText({Utf8ToBig5("第一"), "x,y"})});
  s.ArticleModified = true;
  s.HandleReply("GETARTICLEOK", reply, shoes.Table());
  EXPECT_EQ(s.ArticleTitle, "心得");
  EXPECT_EQ(s.ArticleLines, (std::vector<std::string>{"第一", "x,y"}));
  EXPECT_FALSE(s.ArticleModified);

  // Not modified since it was filled: nothing is sent. Edited: sent once.
  std::size_t before = sent.lines.size();
  s.BtnShareArticleToServerClick(sent.Function());
  EXPECT_EQ(sent.lines.size(), before);
  s.ArticleLines.push_back("more");
  s.ArticleModified = true;
  s.BtnShareArticleToServerClick(sent.Function());
  s.BtnShareArticleToServerClick(sent.Function());
  ASSERT_EQ(sent.lines.size(), before + 1);
  EXPECT_EQ(sent.lines.back().first, "SHAREARTICLE");
  EXPECT_EQ(sent.lines.back().second, Sharing::ArticleData("心得", {"第一", "x,y", "more"}));

  // A send refused (the connection is down) keeps the article to share.
  s.ArticleModified = true;
  EXPECT_THROW(s.BtnShareArticleToServerClick([](const std::string&, const std::string&) {
    throw std::runtime_error("未連線");
  }),
               std::runtime_error);
  EXPECT_TRUE(s.ArticleModified);
  s.ArticleTitle.clear();
  try {
    s.BtnShareArticleToServerClick(sent.Function());
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "文章標題空白");
  }
}

TEST(Sharing, DownloadedShoeIsAppendedWithoutItsNote) {
  Sharing s;
  ShoesData shoes;
  int refreshes = 0;
  shoes.OnRefresh = [&] { ++refreshes; };
  s.HandleReply("GETPRIVATEDATAOK",
                EncodeRecord({{"ShoesName", "S9"}, {"ShoesResult", "bpx t"}, {"ShoesInfo", "a note"}}), shoes.Table());
  ASSERT_EQ(shoes.Table().RecordCount(), 1);
  EXPECT_EQ(shoes.Shoes()[0], (ShoeRecord{"S9", "BPT", ""}));
  EXPECT_GT(refreshes, 0);
}
