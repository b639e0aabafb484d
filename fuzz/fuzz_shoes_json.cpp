// The shoe JSON list reader. A list that reads must write and read back to the same
// shoes, and go into the shoe table (cuts and normalisation) and out again as JSON
// that reads.
#include <cstdint>

#include "FuzzKit.h"
#include "shoes/ShoesData.h"

using namespace zavuv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ShoeRecord> shoes;
  try {
    shoes = ShoesData::ShoesFromJson(text, "fuzz.json");
  } catch (const TableError&) {
    return 0;
  }
  std::vector<ShoeRecord> back;
  try {
    back = ShoesData::ShoesFromJson(ShoesData::ShoesToJson(shoes), "again.json");
  } catch (const TableError& e) {
    fuzz::Broken(std::string("written shoes are refused: ") + e.what());
  }
  if (back != shoes) fuzz::Broken("shoes read back differently");

  ShoesData table;
  table.ShoesLoading = true;
  for (const ShoeRecord& s : shoes) table.AppendShoe(s);
  table.ShoesLoading = false;
  for (const ShoeRecord& s : table.Shoes()) {
    if (s.name.size() > ShoesData::kNameWidth || s.result.size() > ShoesData::kResultWidth)
      fuzz::Broken("a shoe longer than its field");
    if (s.result.find_first_not_of("BPT") != std::string::npos) fuzz::Broken("a result with other letters");
  }
  try {
    if (ShoesData::ShoesFromJson(ShoesData::ShoesToJson(table.Shoes()), "table.json") != table.Shoes())
      fuzz::Broken("the table's shoes read back differently");
  } catch (const TableError& e) {
    fuzz::Broken(std::string("the table's shoes are refused: ") + e.what());
  }
  return 0;
}
