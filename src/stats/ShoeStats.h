// The shoe statistics: how often the banker, the player and a tie came up, the
// banker/player ratio, how often a result repeated the previous one (黐) or switched
// side (跳), and the runs of banker and of player results. Counted for the current
// shoe alone or for a range of shoes chosen by name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "shoes/ShoesData.h"
#include "stats/Continuous.h"

namespace zavuv {

// The shoes a range count takes: from the first shoe named From (the first shoe of
// the table when From is empty) up to and including the next shoe named To (the
// last shoe when To is empty or names no shoe after the start). Names match
// exactly: same case, whole text.
struct ShoeRange {
  std::string From;
  std::string To;
  // Runs end at the end of each shoe instead of going on into the next one.
  bool RestartEachShoe = true;
};

class ShoeStats {
 public:
  std::int32_t NoOfBanker = 0;
  std::int32_t NoOfPlayer = 0;
  std::int32_t NoOfTie = 0;
  std::int32_t NoOfSame = 0;   // 黐: a result equal to the previous non-tie result
  std::int32_t NoOfDiff = 0;   // 跳: a result different from the previous one
  Continuous ConBanker;        // "連開莊統計"
  Continuous ConPlayer;        // "連開閒統計"

  // Every counter 0, both run tables cleared.
  void ClearShoeStats();
  // Counts one shoe's results (letter case ignored). 黐 and 跳 never carry across
  // shoes: the first banker or player result of a shoe is neither.
  void AddShoeStats(std::string_view result);
  // Fills both run tables; the view then shows the counters and ratio texts.
  void ShowShoeStats();

  // NoOfBanker and NoOfPlayer as percentages of their sum, "#0.####%"; empty when
  // neither occurred. Ties take no part.
  std::string BankerRatioText() const;
  std::string PlayerRatioText() const;

  // Range counts: ClearShoeStats, AddShoeStats for every shoe of the range (with the
  // runs ended after each shoe when RestartEachShoe is on), then ShowShoeStats.
  void CountRange(std::span<const ShoeRecord> shoes, const ShoeRange& range);
  // The same over the shoe table, walked with its own cursor, which is left on the
  // last shoe counted (or on the last shoe when the walk ran off the end).
  // batchRunning is set for the walk, so that the current-shoe refresh does not run,
  // and put back as it was on every way out (automatic betting may hold it).
  void CountRange(Table& shoes, bool& batchRunning, const ShoeRange& range);
  void CountRange(ShoesData& shoes, const ShoeRange& range) {
    CountRange(shoes.Table(), shoes.BatchRunning, range);
  }

 private:
  void CountShoe(std::string_view result, bool restartRuns);
};

}  // namespace zavuv
