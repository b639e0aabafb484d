// Whether a back-tested result is more than luck. Every baccarat bet loses on
// average; a strategy's return per unit staked is judged against the house edge of
// the bets it actually placed, with an interval by bootstrap over shoes (the shoe is
// the unit: games within a shoe are not independent once an amount method keeps
// state, shoes are), and, for several pages at once, corrected for having looked at
// several. Fed by the per-shoe sums the strategies collect (ShoeSums); the views and
// zavuv-cli only show what comes out. docs/verdict.md tells what each figure means.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "strategy/ShoeSums.h"

namespace zavuv {

class MultiStrategyAnalysis;
class Strategy;

// The house edge per unit staked of each bet with 8 decks (ties push the banker and
// player bets; the tie pays 8 to 1).
constexpr double kBankerEdge = -0.010579;
constexpr double kPlayerEdge = -0.012351;
constexpr double kTieEdge = -0.143596;

struct VerdictOptions {
  static constexpr std::uint64_t kDefaultSeed = 20260101;
  int Resamples = 2000;
  std::uint64_t Seed = kDefaultSeed;
};

enum class VerdictKind {
  NoBets,         // "沒有投注"
  TooFew,         // "樣本不足"
  NoDifference,   // "與莊家優勢無顯著差異"
  Worse,          // "顯著差於莊家優勢"
  Better,         // "顯著優於莊家優勢"
};
// The verdict's words (UTF-8).
const char* VerdictWords(VerdictKind kind);

// The too-few rule: a verdict needs bets in at least kMinShoesWithBet shoes and at
// least kMinBets bets; below either the interval means little and the verdict says
// "樣本不足" (the interval is still given when it can be computed).
constexpr std::int64_t kMinShoesWithBet = 30;
constexpr std::int64_t kMinBets = 100;

struct Verdict {
  VerdictKind Kind = VerdictKind::NoBets;
  std::int64_t Shoes = 0;          // shoes of the run
  std::int64_t ShoesWithBet = 0;
  std::int64_t Bets = 0;
  double Staked = 0;
  double Profit = 0;
  double ReturnPerUnit = 0;        // Profit / Staked; 0 without a bet
  double HouseEdge = 0;            // staked-weighted edge of the bets placed
  bool HasInterval = false;        // false: the four figures below are not numbers
  double CiLow = 0;                // 95 % interval of the return per unit staked
  double CiHigh = 0;
  double PVsHouseEdge = 0;         // two-sided: the true return differs from HouseEdge
  double PVsBreakEven = 0;         // one-sided: the true return is above zero
  double PAboveHouseEdge = 0;      // one-sided: the true return is above HouseEdge
  int Resamples = 0;               // resamples that went into the interval
  std::int64_t BlockShoes = 1;     // consecutive shoes resampled together

  // The one-line verdict: the words, then the interval when there is one (UTF-8).
  std::string Text() const;
};

// Judges one page. acrossShoes: the bets of a shoe may depend on earlier shoes (a
// restart box off), so blocks of consecutive shoes are resampled (BlockLength).
Verdict Judge(const ShoeSums& sums, bool acrossShoes, const VerdictOptions& options = {});

// The block length, in shoes, for n shoes whose bets carry state across shoes:
// the cube root of n, rounded (at least 1): 22 shoes of 10,000, 8 of 500.
std::int64_t BlockLength(std::int64_t shoes);

// Several pages judged together.
struct PagesVerdict {
  // Pages in the family: in use, with a verdict that is neither "沒有投注" nor
  // "樣本不足".
  int Count = 0;
  // Holm-adjusted PVsHouseEdge, one per page given (in their order); NaN for a page
  // outside the family.
  std::vector<double> HolmP;
  // How often the best of Count pages with no edge over the house would look at
  // least as good as the best page here does: 1 - (1 - p)^Count with p the smallest
  // PAboveHouseEdge of the family. NaN with an empty family.
  double BestOfKChance = 0;
  int Best = -1;   // the page with that smallest p, or -1
  // "若 K 個策略都沒有優勢，其中最好的一個看來至少這麼好的機會：…" (UTF-8); empty with an
  // empty family.
  std::string Text() const;
};
PagesVerdict JudgePages(const std::vector<Verdict>& pages, const std::vector<bool>& inUse);

// Holm's step-down adjustment of a family of p-values (same order out as in).
std::vector<double> HolmAdjust(const std::vector<double>& p);

// Every page of a run and its combined bet.
struct VerdictReport {
  std::vector<Verdict> Strategies;   // in page order
  Verdict Combined;
  PagesVerdict Pages;
};
// The strategies as the combined analysis ran them (not in use: judged on what they
// hold, which after a run is nothing). The combined bet resamples blocks when any
// strategy in use keeps state across shoes.
VerdictReport JudgeRun(const std::vector<Strategy*>& strategies, const MultiStrategyAnalysis& combined,
                       const VerdictOptions& options = {});

}  // namespace zavuv
