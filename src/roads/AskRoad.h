// 問路: for a banker and for a player as the next result, the mark each derived road
// (big eye boy, small road, cockroach road) would add next.
#pragma once

#include <array>

#include "roads/TRoad.h"

namespace zavuv {

struct AskRoadMarks {
  // Index k - 1 for derived road k: 'B' a red mark, 'P' a blue one, ' ' none yet.
  std::array<char, 3> Banker{' ', ' ', ' '};
  std::array<char, 3> Player{' ', ' ', ' '};
  bool operator==(const AskRoadMarks&) const = default;
};

// The road names the result that gives each colour; the mark of a result is the
// colour whose result it is.
inline AskRoadMarks AskRoad(const TRoad& road) {
  AskRoadMarks marks;
  for (int k = 1; k <= 3; ++k) {
    const char redResult = road.PredictFromDerived(k, 'B');
    if (redResult == ' ') continue;
    marks.Banker[k - 1] = redResult == 'B' ? 'B' : 'P';
    marks.Player[k - 1] = redResult == 'P' ? 'B' : 'P';
  }
  return marks;
}

}  // namespace zavuv
