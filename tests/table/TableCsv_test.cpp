#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "strategy/ResultTable.h"
#include "table/Big5.h"
#include "table/ClientDataSet.h"
#include "table/TableCsv.h"

using namespace zavuv;

TEST(TableCsv, ResultRowsWithLabelsAndSeparators) {
  ResultTable t;
  t.Append(Utf8ToBig5("A12-小路"), 1, 'B', 100, 'B', 95, 95);
  t.AppendNull();
  t.Append("A12", 2, ' ', 0, 'T', 0, 95);
  t.Append("A12", 3, 'P', 15, 'B', -15, 80.5);
  const std::string csv = TableToCsv(t);
  EXPECT_EQ(csv,
            "\xEF\xBB\xBF"
            "靴名,局數,投注,投注金額,開出結果,損益,損益累積\r\n"
            "A12-小路,1,B,100,B,95,95\r\n"
            ",,,,,,\r\n"
            "A12,2,,0,T,0,95\r\n"
            "A12,3,P,15,B,-15,80.5\r\n");
}

TEST(TableCsv, QuotesAndFile) {
  ClientDataSet t({{"Name", FieldType::String, 20, ""}, {"Note", FieldType::Memo, 0, "說明"}});
  t.AppendRow({std::string("a,b"), Utf8ToBig5("他說\"好\"\n再見")});
  t.AppendRow({Value{}, std::string("plain")});
  EXPECT_EQ(TableToCsv(t), "\xEF\xBB\xBF" "Name,說明\r\n\"a,b\",\"他說\"\"好\"\"\n再見\"\r\n,plain\r\n");

  const std::string path = std::string(::testing::TempDir()) + "/zavuv_table.csv";
  WriteTableCsv(t, path);
  std::ifstream in(path, std::ios::binary);
  std::stringstream read;
  read << in.rdbuf();
  EXPECT_EQ(read.str(), TableToCsv(t));
  EXPECT_THROW(WriteTableCsv(t, "/nonexistent-folder/x.csv"), TableError);
}
