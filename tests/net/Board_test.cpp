#include "net/Board.h"

#include <gtest/gtest.h>

#include "net/CommaText.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::net;

namespace {

// A board reply: the comma text of rows, each the record text of its items.
std::string Reply(const std::vector<RecordFields>& rows) {
  StringList texts;
  for (const RecordFields& row : rows) texts.push_back(EncodeRecord(row));
  return EncodeCommaText(texts);
}

std::vector<std::string> Titles(const Board& b) {
  std::vector<std::string> out;
  for (const auto& c : b.Columns()) out.push_back(c.title);
  return out;
}

}  // namespace

TEST(Board, Big5RankingBoardFillsOneEntryPerRowInOrder) {
  Boards boards;
  std::string reply = Reply({
      {{"NickName", Utf8ToBig5("小明")}, {"Profit", "1200"}, {"Turnover", "30000"}, {"TotalWin", "9"},
       {"TotalLoss", "4"}, {"Peak", "2000"}, {"Valley", "-300"}},
      {{"NickName", Utf8ToBig5("大華")}, {"UTF8NickName", "ignored"}, {"Profit", "800"}},
      // A row without Profit, and one whose number field holds text.
      {{"NickName", "Kim, Lee"}, {"Turnover", "n/a"}},
  });
  ASSERT_TRUE(boards.HandleReply("BILLBOARD", reply));
  const Board& b = boards.Billboard;
  EXPECT_EQ(Titles(b), (std::vector<std::string>{"排名", "名稱", "利潤", "總投注額", "總贏", "總輸", "最高", "最低"}));
  EXPECT_FALSE(b.Columns()[1].rightAligned);
  EXPECT_TRUE(b.Columns()[2].rightAligned);
  ASSERT_EQ(b.Entries().size(), 3u);
  EXPECT_EQ(b.Entries()[0], (std::vector<std::string>{"1", "小明", "1200", "30000", "9", "4", "2000", "-300"}));
  EXPECT_EQ(b.Entries()[1][0], "2");
  EXPECT_EQ(b.Entries()[1][1], "大華");
  EXPECT_EQ(b.Entries()[2][1], "Kim, Lee");
  EXPECT_EQ(b.Entries()[2][2], "");      // no Profit: an empty column
  EXPECT_EQ(b.Entries()[2][3], "n/a");   // shown as it came ...
  const ClientDataSet& t = b.Table();
  EXPECT_TRUE(IsNull(t.GetValue(2, t.FieldIndex("Turnover"))));  // ... but no number in the table
  EXPECT_EQ(AsInteger(t.GetValue(0, t.FieldIndex("Valley"))), -300);
  EXPECT_EQ(AsInteger(t.GetValue(2, t.FieldIndex("Order"))), 3);
  EXPECT_EQ(AsString(t.GetValue(0, t.FieldIndex("NickName"))), Utf8ToBig5("小明"));
  EXPECT_EQ(t.RecNo(), 1);
  EXPECT_TRUE(boards.BillboardPending);
}

TEST(Board, Utf8ReplyTakesNamesFromUtf8NickName) {
  Boards boards;
  boards.HandleReply("UTF8BILLBOARD", Reply({{{"NickName", "old"}, {"UTF8NickName", "小明"}, {"Profit", "5"}}}));
  EXPECT_EQ(boards.Billboard.Entries()[0][1], "小明");
  const ClientDataSet& t = boards.Billboard.Table();
  EXPECT_TRUE(t.Fields()[t.FieldIndex("UTF8NickName")].visible);
  EXPECT_FALSE(t.Fields()[t.FieldIndex("NickName")].visible);
  EXPECT_EQ(AsString(t.GetValue(0, t.FieldIndex("UTF8NickName"))), "小明");
  EXPECT_TRUE(IsNull(t.GetValue(0, t.FieldIndex("NickName"))));
  // Back to Big5: the other field again, and the old rows are gone.
  boards.HandleReply("BILLBOARD", Reply({{{"NickName", "A"}}, {{"NickName", "B"}}}));
  EXPECT_EQ(boards.Billboard.Entries().size(), 2u);
  EXPECT_EQ(boards.Billboard.Entries()[1][1], "B");
  EXPECT_EQ(boards.Billboard.Table().RecordCount(), 2);
}

TEST(Board, ChampionsAndLevelBoardsHaveTheirOwnColumns) {
  Boards boards;
  boards.HandleReply("VICTOR", Reply({{{"FinishDate", "2026/11/30"}, {"NickName", "Ann"}, {"Profit", "99"}}}));
  EXPECT_EQ(Titles(boards.Victor),
            (std::vector<std::string>{"比賽完結日期", "冠軍", "利潤", "總投注額", "總贏", "總輸", "最高", "最低"}));
  EXPECT_EQ(boards.Victor.Entries()[0][0], "2026/11/30");
  EXPECT_FALSE(IsNull(boards.Victor.Table().GetValue(0, 0)));
  boards.HandleReply("UTF8LEVELBOARD", Reply({{{"UTF8NickName", "勇者"}, {"Lvl", "7"}, {"Exp", "350"}}}));
  EXPECT_EQ(Titles(boards.Levelboard), (std::vector<std::string>{"排名", "名稱", "等級", "經驗"}));
  EXPECT_EQ(boards.Levelboard.Entries()[0], (std::vector<std::string>{"1", "勇者", "7", "350"}));
  EXPECT_EQ(boards.Levelboard.Width(), 365);
  EXPECT_EQ(boards.Billboard.Width(), 698);
  EXPECT_STREQ(boards.Levelboard.Caption(), "英雄榜");
  EXPECT_STREQ(boards.Victor.RequestLine(), "VICTOR:");
  EXPECT_FALSE(boards.HandleReply("LEVEL", "1:2:3"));
}

TEST(Board, TimerShowsOnePendingBoardPerTickInOrder) {
  Boards boards;
  EXPECT_EQ(boards.TakePendingBoard(), nullptr);
  // Two ranking replies and a level board in one tick: the ranking board once, with
  // the second reply's rows; the level board at the next tick.
  boards.HandleReply("LEVELBOARD", Reply({{{"NickName", "L"}}}));
  boards.HandleReply("BILLBOARD", Reply({{{"NickName", "first"}}}));
  boards.HandleReply("BILLBOARD", Reply({{{"NickName", "second"}}}));
  boards.HandleReply("VICTOR", Reply({}));
  Board* shown = boards.TakePendingBoard();
  ASSERT_EQ(shown, &boards.Billboard);
  ASSERT_EQ(shown->Entries().size(), 1u);
  EXPECT_EQ(shown->Entries()[0][1], "second");
  EXPECT_EQ(boards.TakePendingBoard(), &boards.Victor);
  EXPECT_TRUE(boards.Victor.Entries().empty());
  EXPECT_EQ(boards.TakePendingBoard(), &boards.Levelboard);
  EXPECT_EQ(boards.TakePendingBoard(), nullptr);
}
