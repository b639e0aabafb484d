#include "stats/Continuous.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zavuv;

namespace {

using Row = std::array<int, 3>;

std::vector<Row> Rows(Continuous& c) {
  std::vector<Row> rows;
  TableCursor cursor(c.Table());
  for (cursor.First(); !cursor.Eof(); cursor.Next())
    rows.push_back({AsInteger(cursor.FieldValue("Con")), AsInteger(cursor.FieldValue("Times")),
                    AsInteger(cursor.FieldValue("Above"))});
  return rows;
}

void Feed(Continuous& c, std::initializer_list<bool> flags) {
  for (bool f : flags) c.Add(f);
}

struct Counter : TableObserver {
  int resets = 0, inserts = 0;
  void TableReset() override { ++resets; }
  void RowsInserted(int, int) override { ++inserts; }
  void RowsRemoved(int, int) override {}
  void RowChanged(int) override {}
  void CursorMoved(int) override {}
};

}  // namespace

TEST(Continuous, CountsRunsIncludingTheOneStillGoing) {
  Continuous c;
  Feed(c, {true, true, false, true, false, true, true, true});
  EXPECT_EQ(c.CurrentRun(), 3);
  c.ShowTable();
  EXPECT_EQ(Rows(c), (std::vector<Row>{{1, 1, 2}, {2, 1, 1}, {3, 1, 0}}));
  EXPECT_EQ(c.RunCounts(), (std::vector<std::int32_t>{1, 1, 1}));
  EXPECT_EQ(c.CurrentRun(), 3);  // left as it was
  EXPECT_EQ(c.Table().RecNo(), 1);
  EXPECT_EQ(c.Table().Fields()[0].label, "局數");
  EXPECT_EQ(c.Table().Fields()[1].label, "次數");
  EXPECT_EQ(c.Table().Fields()[2].label, "以上");
}

TEST(Continuous, LengthsThatNeverOccurredGetNoRow) {
  Continuous c;
  c.AddRun(1);
  Feed(c, {true, false, false, false, true, true, true, true, false, false});
  c.ShowTable();
  EXPECT_EQ(Rows(c), (std::vector<Row>{{1, 2, 1}, {4, 1, 0}}));
  EXPECT_EQ(c.RunCounts(), (std::vector<std::int32_t>{2, 0, 0, 1}));
  EXPECT_THROW(c.AddRun(0), std::invalid_argument);
}

TEST(Continuous, NothingTrueLeavesTheTableEmptyAndClearStartsAgain) {
  Continuous c;
  Feed(c, {false, false, false});
  c.ShowTable();
  EXPECT_TRUE(c.Table().IsEmpty());
  EXPECT_TRUE(c.RunCounts().empty());

  Feed(c, {true, true});
  c.ShowTable();
  EXPECT_EQ(Rows(c), (std::vector<Row>{{2, 1, 0}}));
  c.Clear();
  EXPECT_TRUE(c.Table().IsEmpty());
  EXPECT_EQ(c.CurrentRun(), 0);
  EXPECT_TRUE(c.RunCounts().empty());
  c.Add(true);
  c.ShowTable();
  EXPECT_EQ(Rows(c), (std::vector<Row>{{1, 1, 0}}));
}

TEST(Continuous, ViewsAreToldOnceWhenTheRowsAreWritten) {
  Continuous c;
  Counter counter;
  c.Table().AddObserver(&counter);
  for (int run : {1, 2, 3, 4, 5}) c.AddRun(run);
  c.ShowTable();
  EXPECT_EQ(counter.inserts, 0);
  EXPECT_EQ(counter.resets, 1);
  EXPECT_FALSE(c.Table().ControlsDisabled());
  EXPECT_EQ(Rows(c).front(), (Row{1, 1, 4}));
  c.Table().RemoveObserver(&counter);
}
