// The table container reader (DecodeTable) against several column schemas. The first
// byte picks the schema and whether the checksum is put right; the rest is the file.
// A file that reads is loaded, written again and read again: the second reading
// must give the same bytes.
#include <cstdint>

#include "FuzzKit.h"
#include "shoes/RecordTable.h"
#include "table/TableFile.h"

using namespace zavuv;

namespace {

std::vector<FieldDef> Schema(int which) {
  switch (which) {
    case 0: return RecordTable().Fields();
    case 1:
      return {{"I", FieldType::Integer}, {"F", FieldType::Float},    {"S", FieldType::String, 8},
              {"M", FieldType::Memo},    {"D", FieldType::DateTime}, {"B", FieldType::Boolean}};
    case 2: {
      std::vector<FieldDef> wide;
      for (int i = 0; i < 11; ++i) wide.push_back({"c" + std::to_string(i), i % 2 ? FieldType::Boolean : FieldType::Integer});
      return wide;
    }
    default: return {};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t mode = in.Byte();
  ClientDataSet table(Schema(mode & 3));
  const std::string bytes = (mode & 4) ? std::string(in.Rest()) : fuzz::WithValidCrc(in.Rest());
  std::vector<std::vector<Value>> rows;
  try {
    rows = DecodeTable(table, bytes, "fuzz.tbl");
  } catch (const TableError&) {
    return 0;
  }
  for (auto& row : rows) {
    if (row.size() != table.Fields().size()) fuzz::Broken("a row of the wrong width");
    table.AppendRow(std::move(row));
  }
  const std::string once = EncodeTable(table);
  ClientDataSet again(Schema(mode & 3));
  try {
    for (auto& row : DecodeTable(again, once, "again.tbl")) again.AppendRow(std::move(row));
  } catch (const TableError& e) {
    fuzz::Broken(std::string("a table written by the program is refused: ") + e.what());
  }
  if (EncodeTable(again) != once) fuzz::Broken("a table reads back differently");
  return 0;
}
