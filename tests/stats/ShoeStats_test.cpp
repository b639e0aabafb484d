#include "stats/ShoeStats.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
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

std::array<int, 5> Counters(const ShoeStats& s) {
  return {s.NoOfBanker, s.NoOfPlayer, s.NoOfTie, s.NoOfSame, s.NoOfDiff};
}

// A table laid out like the shoe table, for walking with its own cursor.
struct ShoeTable {
  ClientDataSet table{{{"ShoesName", FieldType::String, 20},
                       {"ShoesResult", FieldType::String, 100},
                       {"ShoesInfo", FieldType::Memo}}};
  bool batchRunning = false;
  int refreshes = 0;
  explicit ShoeTable(const std::vector<ShoeRecord>& shoes) {
    for (const auto& s : shoes) table.AppendRow({s.name, s.result, s.info});
    table.AfterScroll = [this] {
      if (!batchRunning) ++refreshes;
    };
  }
  std::string CurrentName() const { return AsString(table.FieldValue("ShoesName")); }
};

}  // namespace

TEST(ShoeStats, OneShoe) {
  ShoeStats s;
  s.AddShoeStats("BBPTPB");
  s.ShowShoeStats();
  EXPECT_EQ(Counters(s), (std::array<int, 5>{3, 2, 1, 2, 2}));
  EXPECT_EQ(s.BankerRatioText(), "60%");
  EXPECT_EQ(s.PlayerRatioText(), "40%");
  EXPECT_EQ(Rows(s.ConBanker), (std::vector<Row>{{1, 1, 1}, {2, 1, 0}}));
  EXPECT_EQ(Rows(s.ConPlayer), (std::vector<Row>{{2, 1, 0}}));  // the tie did not break it

  s.ClearShoeStats();
  EXPECT_EQ(Counters(s), (std::array<int, 5>{0, 0, 0, 0, 0}));
  EXPECT_TRUE(s.ConBanker.Table().IsEmpty());
  s.AddShoeStats("bbpbb");  // letter case does not matter
  EXPECT_EQ(Counters(s), (std::array<int, 5>{4, 1, 0, 2, 2}));
}

TEST(ShoeStats, TiesOnlyAndOddCharacters) {
  ShoeStats s;
  s.AddShoeStats("TTT");
  s.ShowShoeStats();
  EXPECT_EQ(Counters(s), (std::array<int, 5>{0, 0, 3, 0, 0}));
  EXPECT_EQ(s.BankerRatioText(), "");
  EXPECT_EQ(s.PlayerRatioText(), "");
  EXPECT_TRUE(s.ConBanker.Table().IsEmpty());
  EXPECT_TRUE(s.ConPlayer.Table().IsEmpty());

  // Anything but a banker or player result counts as a tie and never as 黐 or 跳,
  // even a blank or a character that repeats.
  s.ClearShoeStats();
  s.AddShoeStats(" B XXB?P");
  EXPECT_EQ(Counters(s), (std::array<int, 5>{2, 1, 5, 1, 1}));
}

TEST(ShoeStats, Ratios) {
  ShoeStats s;
  s.AddShoeStats("BPBPBPBPB");
  EXPECT_EQ(s.BankerRatioText(), "55.5556%");
  EXPECT_EQ(s.PlayerRatioText(), "44.4444%");
  s.ClearShoeStats();
  s.AddShoeStats("PPPT");
  EXPECT_EQ(s.BankerRatioText(), "0%");
  EXPECT_EQ(s.PlayerRatioText(), "100%");
}

TEST(ShoeStats, RangeRestartsRunsPerShoeOnlyWhenAsked) {
  std::vector<ShoeRecord> shoes{{"a", "BB", ""}, {"b", "BP", ""}};
  ShoeStats s;
  s.CountRange(shoes, {"", "", true});
  EXPECT_EQ(Rows(s.ConBanker), (std::vector<Row>{{1, 1, 1}, {2, 1, 0}}));
  EXPECT_EQ(Counters(s), (std::array<int, 5>{3, 1, 0, 1, 1}));

  s.CountRange(shoes, {"", "", false});  // counts afresh each time
  EXPECT_EQ(Rows(s.ConBanker), (std::vector<Row>{{3, 1, 0}}));
  EXPECT_EQ(Rows(s.ConPlayer), (std::vector<Row>{{1, 1, 0}}));
  EXPECT_EQ(Counters(s), (std::array<int, 5>{3, 1, 0, 1, 1}));  // 黐/跳 never carry over
}

TEST(ShoeStats, RangeBoundsByName) {
  std::vector<ShoeRecord> shoes{
      {"s1", "B", ""}, {"s2", "BB", ""}, {"s3", "BBB", ""}, {"s4", "BBBB", ""}, {"S3", "P", ""}};
  ShoeStats s;
  s.CountRange(shoes, {"s2", "s2", true});
  EXPECT_EQ(s.NoOfBanker, 2);
  s.CountRange(shoes, {"s2", "s3", true});
  EXPECT_EQ(s.NoOfBanker, 5);
  s.CountRange(shoes, {"s3", "s1", true});  // To stands before From: to the end
  EXPECT_EQ(Counters(s), (std::array<int, 5>{7, 1, 0, 5, 0}));
  s.CountRange(shoes, {"", "s2", true});
  EXPECT_EQ(s.NoOfBanker, 3);
  s.CountRange(shoes, {"S3", "", true});  // names match with their case
  EXPECT_EQ(Counters(s), (std::array<int, 5>{0, 1, 0, 0, 0}));
  s.CountRange(shoes, {"s", "", true});   // whole names only: no shoe is "s"
  EXPECT_EQ(Counters(s), (std::array<int, 5>{0, 0, 0, 0, 0}));
  EXPECT_EQ(s.BankerRatioText(), "");
  EXPECT_TRUE(s.ConBanker.Table().IsEmpty());
  s.CountRange(std::vector<ShoeRecord>{}, {});
  EXPECT_EQ(s.NoOfBanker, 0);
}

TEST(ShoeStats, TableWalkLeavesTheCursorOnTheLastShoeCountedWithoutRefreshing) {
  ShoeTable t({{"s1", "B", ""}, {"s2", "PP", ""}, {"s3", "BTB", ""}, {"s4", "P", ""}});
  ShoeStats s;
  s.CountRange(t.table, t.batchRunning, {"s2", "s3", true});
  EXPECT_EQ(Counters(s), (std::array<int, 5>{2, 2, 1, 2, 0}));
  EXPECT_EQ(Rows(s.ConBanker), (std::vector<Row>{{2, 1, 0}}));
  EXPECT_EQ(t.CurrentName(), "s3");
  EXPECT_EQ(t.refreshes, 0);
  EXPECT_FALSE(t.batchRunning);

  s.CountRange(t.table, t.batchRunning, {"", "", false});
  EXPECT_EQ(Counters(s), (std::array<int, 5>{3, 3, 1, 2, 0}));
  EXPECT_EQ(t.CurrentName(), "s4");
  s.CountRange(t.table, t.batchRunning, {"none", "", true});
  EXPECT_EQ(s.NoOfBanker + s.NoOfPlayer + s.NoOfTie, 0);
  EXPECT_EQ(t.refreshes, 0);

  ShoeTable empty({});
  s.CountRange(empty.table, empty.batchRunning, {});
  EXPECT_EQ(s.NoOfBanker, 0);
  EXPECT_FALSE(empty.batchRunning);
}

TEST(ShoeStats, TableWalkClearsTheGuardWhenItFails) {
  ShoeTable t({{"s1", "B", ""}, {"s2", "P", ""}, {"s3", "B", ""}});
  int moves = 0;
  t.table.AfterScroll = [&] {
    EXPECT_TRUE(t.batchRunning);
    if (++moves == 2) throw std::runtime_error("moved too far");
  };
  ShoeStats s;
  EXPECT_THROW(s.CountRange(t.table, t.batchRunning, {}), std::runtime_error);
  EXPECT_FALSE(t.batchRunning);

  // A pending edit is posted before the walk, with the guard already set.
  t.table.AfterScroll = nullptr;
  bool guardedPost = false;
  t.table.BeforePost = [&](ClientDataSet&) { guardedPost = t.batchRunning; };
  t.table.Last();
  t.table.Edit();
  t.table.SetFieldValue("ShoesResult", std::string("PPP"));
  s.CountRange(t.table, t.batchRunning, {"s3", "", true});
  EXPECT_TRUE(guardedPost);
  EXPECT_EQ(s.NoOfPlayer, 3);
}
