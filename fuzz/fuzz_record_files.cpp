// Shoe data (.DAT), pattern bet method (.MED) and level bet amount (.AMT) files read
// into their tables. The first byte picks the kind and whether the checksum is put
// right; the rest is the file. A refused file must leave the table as it was; a file
// that reads must save and read back.
#include <cstdint>

#include "FuzzKit.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodPattern.h"
#include "shoes/ShoesData.h"
#include "table/TableFile.h"

using namespace zavuv;

namespace {

std::string Rows(const Table& t) { return EncodeTable(t); }

// Saving may settle what a file left open (a field missing from a record is saved
// as empty text, two descriptions become one), so the check is that a second save
// reads back exactly as the first.
template <class Load, class Save, class Snapshot>
void Check(Load load, Save save, Snapshot snapshot, const std::string& path) {
  const std::string before = snapshot();
  try {
    load(path);
  } catch (const TableError&) {
    if (snapshot() != before) fuzz::Broken("a refused file changed the table");
    return;
  }
  const std::string copy = fuzz::ScratchDir() + "/copy";
  std::string settled;
  for (int round = 0; round < 2; ++round) {
    save(copy);
    try {
      load(copy);
    } catch (const TableError& e) {
      fuzz::Broken(std::string("a saved file is refused: ") + e.what());
    }
    if (round == 1 && snapshot() != settled) fuzz::Broken("a saved file reads back differently");
    settled = snapshot();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t mode = in.Byte();
  const std::string bytes = (mode & 4) ? std::string(in.Rest()) : fuzz::WithValidCrc(in.Rest());
  const std::string path = fuzz::WriteScratch("input", bytes);
  switch (mode % 3) {
    case 0: {
      ShoesData shoes;
      shoes.AppendShoe({"first", "BPT", "note"});
      Check([&](const std::string& p) { shoes.ReadData(p); }, [&](const std::string& p) { shoes.SaveData(p); },
            [&] { return Rows(shoes.Table()); }, path);
      break;
    }
    case 1: {
      BetMethodPattern method;
      Check([&](const std::string& p) { method.ReadBet(p); }, [&](const std::string& p) { method.SaveBet(p); },
            [&] { return Rows(method.Table()) + '\0' + method.Info; }, path);
      break;
    }
    default: {
      BetAmountLevel amount;
      Check([&](const std::string& p) { amount.ReadAmt(p); }, [&](const std::string& p) { amount.SaveAmt(p); },
            [&] {
              return Rows(amount.Table()) + '\0' + amount.Info + '\0' + std::to_string(amount.WinLevelMove) + ' ' +
                     std::to_string(amount.LoseLevelMove);
            },
            path);
      break;
    }
  }
  return 0;
}
