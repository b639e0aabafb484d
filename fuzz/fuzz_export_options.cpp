// The text export's line layout: the first byte holds the three switches, then NUL-
// separated texts give the delimiter, the three letters' texts, the shoe's name and
// its result. The name part must be the name cut to whole characters and padded to
// its width, and the games must be laid out in the result's order.
#include <cstdint>

#include "FuzzKit.h"
#include "shoes/ShoesData.h"

using namespace zavuv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t flags = in.Byte();
  ExportOptions options;
  options.includeName = flags & 1;
  options.nameDelimited = flags & 2;
  options.gameDelimited = flags & 4;
  options.delimiter = in.Field();
  options.banker = in.Field();
  options.player = in.Field();
  options.tie = in.Field();
  ShoeRecord shoe;
  shoe.name = in.Field();
  shoe.result = in.Field();
  if (flags & 8) {
    // Through the shoe table, as the export dialog sees the shoes.
    ShoesData table;
    table.AppendShoe(shoe);
    shoe = table.Shoes().at(0);
  }

  const std::string line = ShoesData::ExportLine(shoe, options);
  std::string expected;
  if (options.includeName) {
    std::string name = CutBig5(shoe.name, ShoesData::kNameWidth);
    if (name.size() > ShoesData::kNameWidth || shoe.name.compare(0, name.size(), name) != 0)
      fuzz::Broken("the name is not cut to a prefix of its width");
    name.resize(ShoesData::kNameWidth, ' ');
    expected = name;
    if (options.nameDelimited && !shoe.result.empty()) expected += options.delimiter;
  }
  for (std::size_t i = 0; i < shoe.result.size(); ++i) {
    if (options.gameDelimited && i > 0) expected += options.delimiter;
    char c = shoe.result[i];
    expected += c == 'B' ? options.banker : c == 'P' ? options.player : c == 'T' ? options.tie : std::string();
  }
  if (line != expected) fuzz::Broken("the exported line is not laid out by the options");
  return 0;
}
