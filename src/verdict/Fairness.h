// The fair-shoe check ("理論與實際"): the banker, player and tie shares of a record
// next to the 8-deck probabilities, each with its 95 % interval, and a chi-square
// test of whether the record is consistent with fair 8-deck shoes. A recorded casino
// history that is not tells the user something; a dealt file that is not is a fault
// of the dealer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zavuv {

// The outcome probabilities of one game dealt from the top of 8 fresh decks.
constexpr double kBankerProbability = 0.458597;
constexpr double kPlayerProbability = 0.446247;
constexpr double kTieProbability = 0.095156;

// Below this many games an expected count falls under 5 and the chi-square p-value
// is not given.
constexpr std::int64_t kMinFairnessGames = 53;

struct Fairness {
  // Banker, player, tie, in that order.
  std::array<std::int64_t, 3> Counts{};
  std::int64_t Games = 0;
  std::array<double, 3> Observed{};   // shares; 0 without games
  std::array<double, 3> Low{};        // 95 % Wilson interval of each share
  std::array<double, 3> High{};
  std::array<double, 3> Expected{kBankerProbability, kPlayerProbability, kTieProbability};
  double ChiSquare = 0;
  bool HasP = false;                  // enough games for the test
  double P = 1;                       // chi-square p-value, 2 degrees of freedom

  // "與八副牌的理論機率相符" when p >= 0.05, "與八副牌的理論機率不符" below, "樣本不足"
  // without the test; then the p-value (UTF-8).
  std::string Text() const;
};

Fairness CheckFairness(std::int64_t banker, std::int64_t player, std::int64_t tie);

}  // namespace zavuv
