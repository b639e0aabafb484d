#include "table/ClientDataSet.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zavuv;

namespace {

struct Recorder : TableObserver {
  std::vector<std::string> events;
  void TableReset() override { events.push_back("reset"); }
  void RowsInserted(int f, int c) override { events.push_back("ins " + std::to_string(f)); }
  void RowsRemoved(int f, int c) override { events.push_back("del " + std::to_string(f)); }
  void RowChanged(int r) override { events.push_back("chg " + std::to_string(r)); }
  void CursorMoved(int r) override {}
};

void AddRow(ClientDataSet& t, const std::string& name, int count) {
  t.Append();
  t.SetFieldValue("Name", name);
  t.SetFieldValue("count", count);
  t.Post();
}

}  // namespace

TEST(ClientDataSet, AppendInsertAndCursorOrder) {
  ClientDataSet t({{"Name", FieldType::String, 4}, {"Count", FieldType::Integer}});
  int scrolls = 0;
  t.AfterScroll = [&] { ++scrolls; };
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.RecNo(), 0);
  AddRow(t, "a", 1);
  AddRow(t, "c", 3);
  t.First();
  t.Next();
  t.Insert();  // before "c"
  EXPECT_EQ(t.State(), DataSetState::Insert);
  EXPECT_EQ(t.RecNo(), 2);
  t.SetFieldValue("Name", std::string("b"));
  t.First();  // moving posts the pending record
  EXPECT_EQ(t.State(), DataSetState::Browse);
  std::vector<std::string> names;
  for (t.First(); !t.Eof(); t.Next()) names.push_back(AsString(t.FieldValue("Name")));
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(t.RecNo(), 3);  // Next at the last row does not move
  EXPECT_GT(scrolls, 0);
}

TEST(ClientDataSet, CancelRestoresAndDropsAndWidthsCut) {
  ClientDataSet t({{"Name", FieldType::String, 4}, {"Count", FieldType::Integer}});
  AddRow(t, "abcdefg", 7);
  EXPECT_EQ(AsString(t.FieldValue("Name")), "abcd");
  t.Edit();
  t.SetFieldValue("Count", std::string("12"));
  EXPECT_EQ(AsInteger(t.FieldValue("Count")), 12);
  t.Cancel();
  EXPECT_EQ(AsInteger(t.FieldValue("Count")), 7);
  t.Append();
  EXPECT_EQ(t.RecordCount(), 2);
  t.Cancel();
  EXPECT_EQ(t.RecordCount(), 1);
  EXPECT_EQ(t.RecNo(), 1);
  EXPECT_THROW(t.SetFieldValue("Count", 1), TableError);  // browse state
  EXPECT_THROW(t.FieldValue("Missing"), TableError);
}

TEST(ClientDataSet, BeforePostMayRewriteOrRefuse) {
  ClientDataSet t({{"Name", FieldType::String, 4}, {"Count", FieldType::Integer}});
  t.BeforePost = [](ClientDataSet& d) {
    if (AsInteger(d.FieldValue("Count")) < 0) throw TableError("negative");
    d.SetFieldValue("Name", std::string("ok"));
  };
  t.Append();
  t.SetFieldValue("Count", -1);
  EXPECT_THROW(t.Post(), TableError);
  EXPECT_EQ(t.State(), DataSetState::Insert);  // still pending
  t.SetFieldValue("Count", 1);
  t.Post();
  EXPECT_EQ(AsString(t.FieldValue("Name")), "ok");
}

TEST(ClientDataSet, ObserversAreToldUnlessControlsAreDisabled) {
  ClientDataSet t({{"Name", FieldType::String, 4}});
  Recorder r;
  t.AddObserver(&r);
  t.Append();
  t.Post();
  t.DisableControls();
  t.Append();
  t.Post();
  t.Delete();
  t.EnableControls();
  EXPECT_EQ(r.events, (std::vector<std::string>{"ins 0", "chg 0", "reset"}));
  t.RemoveObserver(&r);
}

TEST(ClientDataSet, DeleteKeepsPositionAndEditOnEmptyAppends) {
  ClientDataSet t({{"Name", FieldType::String, 4}, {"Count", FieldType::Integer}});
  t.Edit();
  EXPECT_EQ(t.State(), DataSetState::Insert);
  t.Cancel();
  EXPECT_TRUE(t.IsEmpty());
  for (const char* n : {"a", "b", "c"}) AddRow(t, n, 0);
  t.First();
  t.Next();
  t.Delete();
  EXPECT_EQ(AsString(t.FieldValue("Name")), "c");
  t.Delete();
  EXPECT_EQ(AsString(t.FieldValue("Name")), "a");
  t.Delete();
  EXPECT_TRUE(t.IsEmpty());
  t.Delete();  // nothing to delete
}

TEST(Big5Cut, NeverLeavesHalfACharacter) {
  // 中 is A4 A4 in Big5.
  std::string name = "A";
  for (int i = 0; i < 11; ++i) name += "\xA4\xA4";
  EXPECT_EQ(CutBig5(name, 20).size(), 19u);  // "A" + 9 characters
  std::string all(22, '\xA4');
  EXPECT_EQ(CutBig5(all, 20).size(), 20u);
  EXPECT_EQ(CutBig5("abc", 20), "abc");
}
