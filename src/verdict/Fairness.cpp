#include "verdict/Fairness.h"

#include <algorithm>
#include <cmath>

#include "stats/Format.h"

namespace zavuv {

Fairness CheckFairness(std::int64_t banker, std::int64_t player, std::int64_t tie) {
  Fairness f;
  f.Counts = {banker, player, tie};
  f.Games = banker + player + tie;
  if (f.Games <= 0) return f;
  const double n = static_cast<double>(f.Games);
  constexpr double z = 1.959963984540054;
  for (std::size_t i = 0; i < 3; ++i) {
    const double share = static_cast<double>(f.Counts[i]) / n;
    f.Observed[i] = share;
    // Wilson's interval: sound near 0 and 1 and for few games.
    const double centre = (share + z * z / (2 * n)) / (1 + z * z / n);
    const double half = z / (1 + z * z / n) * std::sqrt(share * (1 - share) / n + z * z / (4 * n * n));
    f.Low[i] = std::max(0.0, centre - half);
    f.High[i] = std::min(1.0, centre + half);
    const double expected = n * f.Expected[i];
    const double d = static_cast<double>(f.Counts[i]) - expected;
    f.ChiSquare += d * d / expected;
  }
  f.HasP = f.Games >= kMinFairnessGames;
  // With two degrees of freedom the chi-square tail is exp(-x / 2).
  f.P = f.HasP ? std::exp(-f.ChiSquare / 2) : 1;
  return f;
}

std::string Fairness::Text() const {
  if (!HasP) return "樣本不足";
  return std::string(P >= 0.05 ? "與八副牌的理論機率相符" : "與八副牌的理論機率不符") + 
         (P < 0.0001 ? "（p < 0.0001）" : "（p = " + FormatDecimal(P, 4, false) + "）");
}

}  // namespace zavuv
