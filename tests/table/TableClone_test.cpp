#include <gtest/gtest.h>

#include "table/ClientDataSet.h"
#include "table/TableClone.h"

using namespace zavuv;

namespace {

struct Recorder : TableObserver {
  std::vector<std::string> told;
  void TableReset() override { told.push_back("reset"); }
  void RowsInserted(int first, int count) override { told.push_back("ins " + std::to_string(first) + "+" + std::to_string(count)); }
  void RowsRemoved(int first, int count) override { told.push_back("rem " + std::to_string(first) + "+" + std::to_string(count)); }
  void RowChanged(int row) override { told.push_back("chg " + std::to_string(row)); }
  void CursorMoved(int row) override { told.push_back("cur " + std::to_string(row)); }
};

}  // namespace

TEST(TableClone, OwnCursorOverTheSameRows) {
  ClientDataSet source({{"N", FieldType::Integer, 0, "數"}});
  for (int i = 1; i <= 5; ++i) source.AppendRow({i});
  source.GotoRow(3);
  TableClone clone(source);
  EXPECT_EQ(clone.Fields()[0].label, "數");
  EXPECT_EQ(clone.RecordCount(), 5);
  EXPECT_EQ(clone.RecNo(), 4);   // starts on the source's row
  int scrolls = 0;
  clone.AfterScroll = [&] { ++scrolls; };
  clone.First();
  EXPECT_EQ(AsInteger(clone.FieldValue("N")), 1);
  EXPECT_EQ(source.RecNo(), 4);   // the source's cursor stays
  EXPECT_EQ(clone.MoveBy(10), 4);
  EXPECT_EQ(clone.RecNo(), 5);
  EXPECT_EQ(scrolls, 2);

  // The source's changes reach the clone's views; a shrinking source pulls the cursor in.
  Recorder views;
  clone.AddObserver(&views);
  source.AppendRow({6});
  source.GotoRow(0);
  source.Delete();
  source.Delete();
  source.Delete();
  source.Delete();
  EXPECT_EQ(clone.RecordCount(), 2);
  EXPECT_EQ(clone.RecNo(), 2);
  source.EmptyDataSet();
  EXPECT_EQ(clone.RecNo(), 0);
  EXPECT_EQ(views.told.front(), "ins 5+1");
  EXPECT_EQ(views.told.back(), "reset");

  // Let go of the source: an empty table that reads nothing.
  clone.CloneCursor(nullptr);
  EXPECT_FALSE(clone.Active());
  EXPECT_TRUE(clone.IsEmpty());
  EXPECT_THROW(clone.GetValue(0, 0), TableError);
  views.told.clear();
  source.AppendRow({7});
  EXPECT_TRUE(views.told.empty());
  clone.RemoveObserver(&views);
}
