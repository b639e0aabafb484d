#include "net/CommaText.h"

#include <gtest/gtest.h>

#include <cmath>

#include "table/ClientDataSet.h"

using namespace zavuv;
using namespace zavuv::net;

TEST(CommaText, WritesBareQuotedAndEmptyItems) {
  EXPECT_EQ(EncodeCommaText({"a", "b c", "", "d\"e"}), "a,\"b c\",,\"d\"\"e\"");
  EXPECT_EQ(EncodeCommaText({""}), "\"\"");
  EXPECT_EQ(EncodeCommaText({}), "");
  EXPECT_EQ(EncodeCommaText({"", ""}), ",");
  EXPECT_EQ(EncodeCommaText({"x,y", "tab\there", "\xA4\xA4"}), "\"x,y\",\"tab\there\",\xA4\xA4");
}

TEST(CommaText, ReadsBlanksAsSeparatorsAndTrailingCommaAsEmptyItem) {
  EXPECT_EQ(DecodeCommaText("a b,c"), (StringList{"a", "b", "c"}));
  EXPECT_EQ(DecodeCommaText("a,"), (StringList{"a", ""}));
  EXPECT_EQ(DecodeCommaText(""), StringList{});
  EXPECT_EQ(DecodeCommaText("   "), StringList{});
  EXPECT_EQ(DecodeCommaText("\"\""), StringList{""});
  EXPECT_EQ(DecodeCommaText(" a , b "), (StringList{"a", "b"}));
  EXPECT_EQ(DecodeCommaText("a,,b"), (StringList{"a", "", "b"}));
  // A missing closing quote takes the rest; a NUL ends the text.
  EXPECT_EQ(DecodeCommaText("\"open, end"), StringList{"open, end"});
  EXPECT_EQ(DecodeCommaText(std::string_view("a\0,b", 4)), StringList{"a"});
}

TEST(CommaText, RoundTripsAnyList) {
  std::vector<StringList> lists = {
      {"a", "b c", "", "d\"e"}, {""}, {}, {"", ""}, {",", "\"", " ", "\r\n"},
      {"\xA4\xA4\xA4\xE5", "x=1", "=", "a\"\"b"}, {"", "x", ""}};
  for (const auto& l : lists) EXPECT_EQ(DecodeCommaText(EncodeCommaText(l)), l);
}

TEST(Lines, EncodeSplitsAtEveryBreakAndDecodeEndsEachLine) {
  EXPECT_EQ(EncodeLines("x\r\ny z"), "x,\"y z\"");
  EXPECT_EQ(DecodeLines("x,\"y z\""), "x\r\ny z\r\n");
  EXPECT_EQ(EncodeLines("a\nb\rc\xE2\x80\xA8" "d\r\n"), "a,b,c,d");
  EXPECT_EQ(EncodeLines(""), "");
  EXPECT_EQ(DecodeLines(""), "");
  EXPECT_EQ(EncodeLines("\r\n"), "\"\"");
  EXPECT_EQ(DecodeLines("\"\""), "\r\n");
  EXPECT_EQ(EncodeLines("a\n\nb"), "a,,b");
  EXPECT_EQ(DecodeLines(EncodeLines("one\r\n\r\nthree")), "one\r\n\r\nthree\r\n");
}

TEST(RecordText, ValuesByNameIgnoringCaseFirstItemWins) {
  std::string rec = EncodeRecord({{"ShoesName", "第一靴"}, {"ShoesResult", "BPBT"}, {"Note", "a\r\nb"}});
  StringList items = DecodeCommaText(rec);
  EXPECT_EQ(RecordText(items, "shoesname"), "第一靴");
  EXPECT_EQ(RecordText(items, "SHOESRESULT"), "BPBT");
  EXPECT_EQ(RecordText(items, "Note"), "a\r\nb");
  EXPECT_EQ(RecordText(items, "Missing"), "");
  EXPECT_EQ(RecordValue(StringList{"A=1", "a=2", "A=x=y"}, "A"), "1");
  EXPECT_EQ(RecordValue(StringList{"noequals", "B=x=y"}, "b"), "x=y");
  // A list of rows is the comma text of record texts, and comes back row by row.
  std::string rows = EncodeCommaText({rec, EncodeRecord({{"ShoesName", "two words"}})});
  StringList back = DecodeCommaText(rows);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0], rec);
  EXPECT_EQ(RecordText(DecodeCommaText(back[1]), "ShoesName"), "two words");
}

TEST(AppendRecord, FillsVisibleFieldsConvertsTypesAndLeavesBadNumbersEmpty) {
  std::vector<FieldDef> fields = {{"Name", FieldType::String, 8}, {"Count", FieldType::Integer},
                                  {"Rate", FieldType::Float},      {"When", FieldType::DateTime},
                                  {"Hidden", FieldType::String},   {"Order", FieldType::Integer}};
  fields[4].visible = false;
  fields[5].computed = true;
  ClientDataSet t(fields);
  AppendRecord(t, DecodeCommaText(EncodeRecord({{"name", "abcdefghij"}, {"Count", " 42 "}, {"Rate", "1.5"},
                                                 {"When", "2026/12/09 13:30"}, {"Hidden", "h"}, {"Order", "9"}})));
  ASSERT_EQ(t.RecordCount(), 1);
  EXPECT_EQ(t.State(), DataSetState::Browse);
  EXPECT_EQ(AsString(t.GetValue(0, 0)), "abcdefgh");   // cut to the field's width, no CR LF
  EXPECT_EQ(AsInteger(t.GetValue(0, 1)), 42);
  EXPECT_DOUBLE_EQ(AsFloat(t.GetValue(0, 2)), 1.5);
  EXPECT_NEAR(AsFloat(t.GetValue(0, 3)), 46365 + 13.5 / 24, 1e-9);   // 2026-12-09 13:30
  EXPECT_TRUE(IsNull(t.GetValue(0, 4)));
  EXPECT_TRUE(IsNull(t.GetValue(0, 5)));

  AppendRecord(t, DecodeCommaText(EncodeRecord({{"Count", "12abc"}, {"Rate", "nan"}, {"When", "2026/02/30"}})));
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(AsString(t.GetValue(1, 0)), "");
  for (int f : {1, 2, 3}) EXPECT_TRUE(IsNull(t.GetValue(1, f))) << f;
  AppendRecord(t, DecodeCommaText(EncodeRecord({{"Count", "99999999999"}, {"Rate", "0x10"}})));
  EXPECT_TRUE(IsNull(t.GetValue(2, 1)));
  EXPECT_TRUE(IsNull(t.GetValue(2, 2)));
}

TEST(AppendRecord, ARefusedRowIsDroppedAndTheErrorReported) {
  ClientDataSet t({{"Name", FieldType::String, 20}});
  t.BeforePost = [](ClientDataSet& d) {
    if (AsString(d.FieldValue("Name")).empty()) throw TableError("name needed");
  };
  EXPECT_THROW(AppendRecord(t, StringList{"Other=1"}), TableError);
  EXPECT_EQ(t.RecordCount(), 0);
  EXPECT_EQ(t.State(), DataSetState::Browse);
  AppendRecord(t, StringList{"NAME=ok"});
  EXPECT_EQ(t.RecordCount(), 1);
}
