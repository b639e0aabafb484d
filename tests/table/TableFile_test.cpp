#include "table/TableFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <limits>

using namespace zavuv;
namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class TableFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zavuv-tablefile-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

std::vector<FieldDef> AllTypes() {
  // Nine columns, so that the null bitmap takes two bytes.
  return {{"Id", FieldType::Integer},       {"Amount", FieldType::Float},  {"Name", FieldType::String, 8},
          {"Note", FieldType::Memo},        {"When", FieldType::DateTime}, {"Flag", FieldType::Boolean},
          {"Extra", FieldType::Integer},    {"Code", FieldType::String, 3}, {"Last", FieldType::Memo}};
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::vector<Value>> Rows(const Table& t) {
  std::vector<std::vector<Value>> out;
  for (int r = 0; r < t.RecordCount(); ++r) {
    out.emplace_back();
    for (int c = 0; c < t.FieldCount(); ++c) out.back().push_back(t.GetValue(r, c));
  }
  return out;
}

// The small table every damage test starts from.
void FillSample(ClientDataSet& t) {
  t.AppendRow({1, 2.5, std::string("ab"), std::string("note"), 45000.25, true, Value{}, std::string("x"), Value{}});
  t.AppendRow({Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, 7, Value{}, std::string("last")});
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

TEST_F(TableFileTest, RoundTripKeepsEveryTypeNullAndByte) {
  ClientDataSet source(AllTypes());
  std::string binary("a\0b\xA4\xA4\xFF", 6);
  std::string memo(100000, '\xA4');
  memo[500] = '\0';
  source.AppendRow({INT32_MIN, -0.0, std::string(""), memo, 0.0, false, INT32_MAX, std::string("\xB9u"), Value{}});
  source.AppendRow({Value{}, std::numeric_limits<double>::infinity(), binary, std::string(""), 45123.5, true,
                    Value{}, Value{}, std::string("z")});
  source.AppendRow({Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}});
  source.AppendRow({42, std::numeric_limits<double>::denorm_min(), std::string("12345678"), Value{}, -1.0, Value{},
                    0, std::string(""), std::string("\r\n")});
  const std::string path = Path("all.tbl");
  SaveTableToFile(source, path);

  ClientDataSet loaded(AllTypes());
  loaded.AppendRow({9});  // replaced by the file's rows
  LoadTableFromFile(loaded, path);
  ASSERT_EQ(loaded.RecordCount(), 4);
  EXPECT_EQ(Rows(loaded), Rows(source));
  // null and empty text stay apart; -0.0 keeps its sign
  EXPECT_TRUE(IsNull(loaded.GetValue(2, 3)));
  EXPECT_EQ(loaded.GetValue(1, 3), Value(std::string("")));
  EXPECT_TRUE(std::signbit(AsFloat(loaded.GetValue(0, 1))));
  EXPECT_EQ(loaded.RecNo(), 1);

  // NaN compares unequal to itself, so it gets its own look.
  ClientDataSet nan({{"F", FieldType::Float}});
  nan.AppendRow({std::nan("")});
  SaveTableToFile(nan, path);  // replaces the earlier file
  ClientDataSet nanBack({{"F", FieldType::Float}});
  LoadTableFromFile(nanBack, path);
  EXPECT_TRUE(std::isnan(AsFloat(nanBack.GetValue(0, 0))));

  // An empty table writes a file with no rows and reads back empty.
  ClientDataSet empty(AllTypes());
  SaveTableToFile(empty, path);
  LoadTableFromFile(loaded, path);
  EXPECT_TRUE(loaded.IsEmpty());
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"all.tbl"});  // no temporary left behind
}

TEST_F(TableFileTest, DamagedFilesAreRefusedAndTheTableKeepsItsRows) {
  ClientDataSet source(AllTypes());
  FillSample(source);
  const std::string good = EncodeTable(source);
  const std::string path = Path("bad.tbl");

  ClientDataSet target(AllTypes());
  target.AppendRow({100, 1.0, std::string("keep")});
  const auto before = Rows(target);
  auto refused = [&](const std::string& bytes) -> std::string {
    WriteBytes(path, bytes);
    try {
      LoadTableFromFile(target, path);
    } catch (const TableError& e) {
      EXPECT_EQ(Rows(target), before);
      std::string message = e.what();
      EXPECT_NE(message.find(path), std::string::npos) << message;
      return message;
    }
    ADD_FAILURE() << "accepted a damaged file";
    return {};
  };

  std::string wrongMagic = good;
  wrongMagic[0] = 'Q';
  EXPECT_NE(refused(wrongMagic).find("不是本程式的資料表檔案"), std::string::npos);
  EXPECT_NE(refused("").find("不是本程式的資料表檔案"), std::string::npos);
  EXPECT_NE(refused("hello, this is a text file\n").find("不是本程式的資料表檔案"), std::string::npos);

  std::string version2 = good;
  version2[8] = 2;
  EXPECT_NE(refused(version2).find("格式版本 2 不受支援"), std::string::npos);

  // Cut off in the schema, in a row and just before the checksum.
  for (std::size_t cut : {std::size_t{14}, std::size_t{60}, good.size() - 20, good.size() - 1}) {
    std::string message = refused(good.substr(0, cut));
    EXPECT_NE(message.find("不完整"), std::string::npos) << cut << ": " << message;
  }

  // One flipped bit in the last row's text: only the checksum can tell.
  std::string flipped = good;
  std::size_t at = flipped.rfind("last");
  flipped[at] ^= 0x01;
  EXPECT_NE(refused(flipped).find("校驗碼不符"), std::string::npos);

  std::string extra = good + "x";
  EXPECT_NE(refused(extra).find("多餘資料"), std::string::npos);

  // A huge text length must not turn into a huge allocation.
  std::string huge = good;
  std::size_t len = huge.find("note") - 4;
  huge.replace(len, 4, "\xF0\xFF\xFF\xFF");
  std::string message = refused(huge);
  EXPECT_NE(message.find("4294967280"), std::string::npos) << message;
  // ... nor a huge row count.
  std::string rows = good;
  std::size_t countAt = good.find(std::string("\x02\x00\x00\x00", 4), good.find("Last"));
  rows.replace(countAt, 4, "\xFF\xFF\xFF\x7F");
  EXPECT_NE(refused(rows).find("列數"), std::string::npos);

  // Every shorter prefix and every single flipped byte is refused with a TableError.
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_THROW(DecodeTable(target, std::string_view(good).substr(0, n), path), TableError) << n;
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string b = good;
    b[i] ^= 0x40;
    EXPECT_THROW(DecodeTable(target, b, path), TableError) << i;
  }

  WriteBytes(path, good);  // and the undamaged bytes load
  LoadTableFromFile(target, path);
  EXPECT_EQ(Rows(target), Rows(source));
}

TEST_F(TableFileTest, ColumnsMustMatchAndMissingFilesAreNamed) {
  ClientDataSet source({{"A", FieldType::Integer}, {"B", FieldType::String, 20}});
  source.AppendRow({1, std::string("x")});
  const std::string path = Path("two.tbl");
  SaveTableToFile(source, path);

  auto messageOf = [&](ClientDataSet& t) -> std::string {
    try {
      LoadTableFromFile(t, path);
    } catch (const TableError& e) {
      return e.what();
    }
    return "accepted";
  };
  ClientDataSet wider({{"A", FieldType::Integer}, {"B", FieldType::String, 30}});
  wider.AppendRow({5, std::string("old")});
  std::string m = messageOf(wider);
  EXPECT_NE(m.find("欄位與資料表不符"), std::string::npos) << m;
  EXPECT_NE(m.find("B (String 20)"), std::string::npos) << m;
  EXPECT_EQ(AsString(wider.GetValue(0, 1)), "old");

  ClientDataSet retyped({{"A", FieldType::Float}, {"B", FieldType::String, 20}});
  EXPECT_NE(messageOf(retyped).find("A (Float)"), std::string::npos);
  ClientDataSet renamed({{"A", FieldType::Integer}, {"C", FieldType::String, 20}});
  EXPECT_NE(messageOf(renamed).find("欄位與資料表不符"), std::string::npos);
  ClientDataSet more({{"A", FieldType::Integer}, {"B", FieldType::String, 20}, {"C", FieldType::Memo}});
  EXPECT_NE(messageOf(more).find("檔案有 2 個欄位, 資料表有 3 個"), std::string::npos);

  ClientDataSet same({{"A", FieldType::Integer}, {"B", FieldType::String, 20}});
  EXPECT_EQ(messageOf(same), "accepted");

  const std::string missing = Path("nothing-here.tbl");
  try {
    LoadTableFromFile(same, missing);
    ADD_FAILURE();
  } catch (const TableError& e) {
    EXPECT_NE(std::string(e.what()).find("無法開啟檔案 " + missing), std::string::npos) << e.what();
  }
  EXPECT_EQ(same.RecordCount(), 1);
}

TEST_F(TableFileTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
  const std::string path = Path("keep.tbl");
  ClientDataSet small({{"Memo", FieldType::Memo}});
  small.AppendRow({std::string("old contents")});
  SaveTableToFile(small, path);
  const std::string old = ReadBytes(path);

  // The disk "fills up" half way through the write.
  ClientDataSet big({{"Memo", FieldType::Memo}});
  big.AppendRow({std::string(1 << 20, 'x')});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit low = saved;
  low.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
  bool threw = false;
  try {
    SaveTableToFile(big, path);
  } catch (const TableError& e) {
    threw = true;
    EXPECT_NE(std::string(e.what()).find("無法寫入檔案 " + path), std::string::npos) << e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"keep.tbl"});

  // A folder in the way: the rename fails and the temporary goes.
  fs::create_directories(dir_ / "taken" / "inside");
  EXPECT_THROW(SaveTableToFile(small, Path("taken")), TableError);
  EXPECT_EQ(Names(dir_), (std::vector<std::string>{"keep.tbl", "taken"}));
  // No folder at all.
  EXPECT_THROW(SaveTableToFile(small, Path("no/such/folder.tbl")), TableError);
}

TEST(Crc32, MatchesTheKnownCheckValue) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32(""), 0u);
  EXPECT_EQ(Crc32("56789", Crc32("1234")), 0xCBF43926u);  // may be fed in pieces
}
