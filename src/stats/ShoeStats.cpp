#include "stats/ShoeStats.h"

#include "stats/Format.h"
#include "table/Guards.h"

namespace zavuv {

namespace {

std::string RatioText(std::int32_t part, std::int32_t other) {
  double total = static_cast<double>(part) + static_cast<double>(other);
  if (total == 0) return {};
  return FormatRatio(part / total * 100);
}

}  // namespace

void ShoeStats::ClearShoeStats() {
  NoOfBanker = NoOfPlayer = NoOfTie = NoOfSame = NoOfDiff = 0;
  ConBanker.Clear();
  ConPlayer.Clear();
}

void ShoeStats::AddShoeStats(std::string_view result) {
  char previous = ' ';
  for (char c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == 'B') {
      ++NoOfBanker;
      ConBanker.Add(true);
      ConPlayer.Add(false);
    } else if (c == 'P') {
      ++NoOfPlayer;
      ConBanker.Add(false);
      ConPlayer.Add(true);
    } else {
      // Anything else is a tie: it neither lengthens nor breaks a run, and it is
      // neither 黐 nor 跳.
      ++NoOfTie;
      continue;
    }
    if (c == previous) {
      ++NoOfSame;
    } else {
      if (previous != ' ') ++NoOfDiff;
      previous = c;
    }
  }
}

void ShoeStats::ShowShoeStats() {
  ConBanker.ShowTable();
  ConPlayer.ShowTable();
}

std::string ShoeStats::BankerRatioText() const { return RatioText(NoOfBanker, NoOfPlayer); }

std::string ShoeStats::PlayerRatioText() const { return RatioText(NoOfPlayer, NoOfBanker); }

void ShoeStats::CountShoe(std::string_view result, bool restartRuns) {
  AddShoeStats(result);
  if (restartRuns) {
    ConBanker.Add(false);
    ConPlayer.Add(false);
  }
}

void ShoeStats::CountRange(std::span<const ShoeRecord> shoes, const ShoeRange& range) {
  ClearShoeStats();
  std::size_t i = 0;
  if (!range.From.empty())
    while (i < shoes.size() && shoes[i].name != range.From) ++i;
  for (; i < shoes.size(); ++i) {
    CountShoe(shoes[i].result, range.RestartEachShoe);
    if (!range.To.empty() && shoes[i].name == range.To) break;
  }
  ShowShoeStats();
}

void ShoeStats::CountRange(Table& shoes, bool& batchRunning, const ShoeRange& range) {
  FlagGuard guard(batchRunning);
  ClearShoeStats();
  const int name = shoes.FieldIndex("ShoesName");
  const int result = shoes.FieldIndex("ShoesResult");
  shoes.First();  // posts a pending edit first
  if (!range.From.empty())
    while (!shoes.Eof() && AsString(shoes.FieldValue(name)) != range.From) shoes.Next();
  while (!shoes.Eof()) {
    CountShoe(AsString(shoes.FieldValue(result)), range.RestartEachShoe);
    if (!range.To.empty() && AsString(shoes.FieldValue(name)) == range.To) break;
    shoes.Next();
  }
  ShowShoeStats();
}

}  // namespace zavuv
