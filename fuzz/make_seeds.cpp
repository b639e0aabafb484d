// Writes the binary seed files of fuzz/corpus/ (run once from the fuzzing build:
// `build-fuzz/fuzz/make_seeds fuzz/corpus`). Every seed begins with the harness's
// mode byte.
#include <cstdio>
#include <fstream>
#include <string>

#include "bets/BetAmountLevel.h"
#include "bets/BetMethodPattern.h"
#include "shoes/RecordTable.h"
#include "table/TableFile.h"

using namespace zavuv;

namespace {

void Put(const std::string& path, char mode, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.put(mode);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds CORPUS_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::string dat = ReadWholeFile(ZAVUV_SOURCE_DIR "/data/sample.DAT", 1 << 20);

  // The pattern and level files as a new component saves them.
  BetMethodPattern method;
  method.SaveBet(dir + "/tmp.MED");
  const std::string med = ReadWholeFile(dir + "/tmp.MED", 1 << 20);
  std::remove((dir + "/tmp.MED").c_str());
  BetAmountLevel amount;
  amount.SaveAmt(dir + "/tmp.AMT");
  const std::string amt = ReadWholeFile(dir + "/tmp.AMT", 1 << 20);
  std::remove((dir + "/tmp.AMT").c_str());

  Put(dir + "/fuzz_record_files/sample.DAT", 0, dat);
  Put(dir + "/fuzz_record_files/patterns.MED", 1, med);
  Put(dir + "/fuzz_record_files/levels.AMT", 2, amt);

  Put(dir + "/fuzz_table_file/record-table", 0, med);
  ClientDataSet all({{"I", FieldType::Integer},
                     {"F", FieldType::Float},
                     {"S", FieldType::String, 8},
                     {"M", FieldType::Memo},
                     {"D", FieldType::DateTime},
                     {"B", FieldType::Boolean}});
  all.AppendRow({7, 2.5, std::string("\xA4\xA4"), std::string("memo\0x", 6), 45000.25, true});
  all.AppendRow({Value{}, Value{}, Value{}, std::string(), Value{}, false});
  all.AppendRow({-1, -0.0, std::string("abcdefgh"), Value{}, 0.0, Value{}});
  Put(dir + "/fuzz_table_file/all-types", 1, EncodeTable(all));
  std::vector<FieldDef> wideFields;
  for (int i = 0; i < 11; ++i)
    wideFields.push_back({"c" + std::to_string(i), i % 2 ? FieldType::Boolean : FieldType::Integer});
  ClientDataSet wide(wideFields);
  std::vector<Value> row;
  for (int i = 0; i < 11; ++i) row.push_back(i % 3 == 0 ? Value{} : i % 2 ? Value(true) : Value(i));
  wide.AppendRow(row);
  Put(dir + "/fuzz_table_file/wide", 2, EncodeTable(wide));
  Put(dir + "/fuzz_table_file/no-columns", 3, EncodeTable(ClientDataSet()));
  return 0;
}
