#include "shoes/RecordTable.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

using namespace zavuv;
namespace fs = std::filesystem;

namespace {

std::string TempPath(const std::string& name) {
  return (fs::temp_directory_path() / ("zavuv-rt-" + std::to_string(::getpid()) + "-" + name)).string();
}

// A row given directly: RecordNo, FieldName, FieldType and a value in the column the
// type letter names.
void Row(RecordTable& t, int no, const std::string& field, const std::string& type, const Value& value,
         int column) {
  std::vector<Value> row(7);
  row[0] = no;
  row[1] = field;
  row[2] = type;
  if (column >= 0) row[column] = value;
  t.AppendRow(std::move(row));
}

ClientDataSet Destination() {
  return ClientDataSet({{"Name", FieldType::String, 6},
                        {"Count", FieldType::Integer},
                        {"Rate", FieldType::Float},
                        {"When", FieldType::DateTime}});
}

}  // namespace

TEST(RecordTable, HasTheSevenColumnsAndFlattensEachType) {
  RecordTable t;
  std::vector<std::string> names;
  for (const auto& f : t.Fields()) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"RecordNo", "FieldName", "FieldType", "Integer", "Float", "Memo",
                                             "DateTime"}));
  EXPECT_EQ(t.Fields()[0].type, FieldType::Integer);
  EXPECT_EQ(t.Fields()[1].type, FieldType::String);
  EXPECT_EQ(t.Fields()[1].size, 20);
  EXPECT_EQ(t.Fields()[2].size, 10);
  EXPECT_EQ(t.Fields()[3].type, FieldType::Integer);
  EXPECT_EQ(t.Fields()[4].type, FieldType::Float);
  EXPECT_EQ(t.Fields()[5].type, FieldType::Memo);
  EXPECT_EQ(t.Fields()[6].type, FieldType::DateTime);

  ClientDataSet source = Destination();
  source.Append();
  source.SetFieldValue("Name", std::string("abc"));
  source.SetFieldValue("Count", 12);
  source.SetFieldValue("Rate", 0.95);
  source.SetFieldValue("When", 45000.5);
  source.Post();

  t.AppendSetting("Mode", "I", std::string("3"));  // settings come first
  t.AppendTempData(source, 1, "M", "Name");
  t.AppendTempData(source, 1, "I", "Count");
  t.AppendTempData(source, 1, "F", "Rate");
  t.AppendTempData(source, 1, "D", "When");
  t.AppendTempData(source, 1, "X", "Gone");  // no value, so no field needed
  t.AppendTempData(source, 1, "M", "count");  // any type taken as text; field names ignore case
  EXPECT_THROW(t.AppendTempData(source, 1, "M", "Nope"), TableError);
  ASSERT_EQ(t.RecordCount(), 7);

  // Only the column the type letter names is filled.
  const int valueColumn[] = {3, 5, 3, 4, 6, -1, 5};
  for (int r = 0; r < 7; ++r)
    for (int c = 3; c < 7; ++c) EXPECT_EQ(IsNull(t.GetValue(r, c)), c != valueColumn[r]) << r << "," << c;
  EXPECT_EQ(t.GetValue(0, 0), Value(0));
  EXPECT_EQ(t.GetValue(0, 3), Value(3));
  EXPECT_EQ(t.GetValue(6, 5), Value(std::string("12")));

  // Through a file and back: RowValue reads the column the letter names.
  const std::string path = TempPath("flat.tbl");
  t.SaveToFile(path);
  RecordTable back;
  back.LoadFromFile(path);
  fs::remove(path);
  std::vector<Value> values;
  for (back.First(); !back.Eof(); back.Next()) values.push_back(back.RowValue());
  EXPECT_EQ(values, (std::vector<Value>{3, std::string("abc"), 12, 0.95, 45000.5, Value{}, std::string("12")}));
}

TEST(RecordTable, RebuildStartsARecordWhereRecordNoChanges) {
  RecordTable t;
  Row(t, 1, "Name", "M", std::string("one"), 5);
  Row(t, 1, "Count", "I", 1, 3);
  Row(t, 2, "Name", "M", std::string("two"), 5);
  Row(t, 2, "Rate", "F", 2.5, 4);
  Row(t, 1, "Name", "M", std::string("again"), 5);  // not adjacent to the first 1s: a third record
  Row(t, 1, "Count", "X", 99, 3);                    // carries no value, assigns nothing
  Row(t, 1, "Rate", "f", 7.0, 4);                    // letters compare exactly
  Row(t, 1, "When", "D ", 1.0, 6);
  Row(t, 1, "Name", "M", std::string("too long"), 5);  // cut to the field's width

  ClientDataSet dest = Destination();
  t.Rebuild(dest);
  ASSERT_EQ(dest.RecordCount(), 3);
  EXPECT_EQ(dest.State(), DataSetState::Browse);
  EXPECT_EQ(dest.GetValue(0, 0), Value(std::string("one")));
  EXPECT_EQ(dest.GetValue(0, 1), Value(1));
  EXPECT_EQ(dest.GetValue(1, 0), Value(std::string("two")));
  EXPECT_EQ(dest.GetValue(1, 2), Value(2.5));
  EXPECT_EQ(dest.GetValue(2, 0), Value(std::string("too lo")));
  EXPECT_TRUE(IsNull(dest.GetValue(2, 1)));
  EXPECT_TRUE(IsNull(dest.GetValue(2, 2)));
  EXPECT_TRUE(IsNull(dest.GetValue(2, 3)));

  // An empty record table rebuilds nothing.
  RecordTable empty;
  ClientDataSet none = Destination();
  empty.Rebuild(none);
  EXPECT_TRUE(none.IsEmpty());
}

TEST(RecordTable, SettingsRowsAndMissingFields) {
  RecordTable t;
  t.AppendSetting("WinMove", "I", 1);
  t.AppendSetting("Title", "M", std::string("levels"));
  Row(t, 1, "Count", "I", 300, 3);
  Row(t, 2, "Count", "I", 600, 3);

  // With a settings handler, RecordNo 0 rows go to it and make no record.
  std::vector<std::string> settings;
  ClientDataSet dest = Destination();
  t.Rebuild(dest, [&](const RecordTable& row) {
    settings.push_back(AsString(row.FieldValue("FieldName")) + "=" + AsString(row.RowValue()));
  });
  EXPECT_EQ(settings, (std::vector<std::string>{"WinMove=1", "Title=levels"}));
  ASSERT_EQ(dest.RecordCount(), 2);
  EXPECT_EQ(dest.GetValue(1, 1), Value(600));

  // Without one, RecordNo 0 is a record like any other, and a field the destination
  // lacks stops the rebuild: what was appended stays, the pending record too.
  ClientDataSet plain = Destination();
  try {
    t.Rebuild(plain);
    ADD_FAILURE();
  } catch (const TableError& e) {
    EXPECT_NE(std::string(e.what()).find("WinMove"), std::string::npos) << e.what();
  }
  EXPECT_EQ(plain.RecordCount(), 1);
  EXPECT_EQ(plain.State(), DataSetState::Insert);
}
