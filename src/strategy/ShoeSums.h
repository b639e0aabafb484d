// What one strategy (or the combined bet) staked and won or lost, shoe by shoe, as a
// run goes: the sums that judging a result resamples. One addition per bet and one
// entry per shoe, so collecting costs next to nothing.
//
// Memory stays bounded whatever the number of shoes: once kMaxUnits entries are
// held, neighbouring entries are merged pairwise, and each entry (a unit) then holds
// twice as many consecutive shoes. A million shoes thus end in units of 128 shoes;
// resampling whole units of consecutive shoes is still resampling shoes (in blocks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zavuv {

// A cache line of its own: strategies play on several threads side by side, and
// sums written at every bet must not share a line with a neighbour's state.
class alignas(64) ShoeSums {
 public:
  struct Unit {
    double staked = 0;
    double profit = 0;
  };
  static constexpr std::size_t kMaxUnits = 8192;

  // Off: nothing is collected (a run that will not be judged).
  bool Enabled = true;

  void Clear() {
    units_.clear();
    perUnit_ = 1;
    inUnit_ = 0;
    shoes_ = shoesWithBet_ = bets_ = 0;
    bySide_[0] = bySide_[1] = bySide_[2] = 0;
    profit_ = 0;
    shoe_ = {};
    shoeBets_ = 0;
  }

  // A new shoe begins. A bet before any shoe began opens one.
  void StartShoe() {
    if (!Enabled) return;
    Fold();
    if (units_.empty() || inUnit_ == perUnit_) {
      if (units_.size() == kMaxUnits) Merge();
      if (units_.empty() || inUnit_ == perUnit_) {
        units_.emplace_back();
        inUnit_ = 0;
      }
    }
    ++inUnit_;
    ++shoes_;
  }

  // A settled bet: its side ('B', 'P' or 'T'), its stake and its profit. A bet
  // touches nothing but this object's own line (strategies play side by side on
  // several threads), and does not branch on the side, which comes in no order a
  // processor could guess; the shoe's sums go into their unit when the next shoe
  // begins or the sums are read.
  void AddBet(char side, double stake, double profit) {
    if (!Enabled) return;
    if (shoes_ == 0) StartShoe();
    shoe_.staked += stake;
    shoe_.profit += profit;
    bySide_[(side == 'P') + 2 * (side == 'T')] += stake;
    ++shoeBets_;
  }

  const std::vector<Unit>& Units() const {
    Fold();
    return units_;
  }
  // Consecutive shoes in each unit; the last unit may hold fewer.
  std::int64_t ShoesPerUnit() const { return perUnit_; }
  std::int64_t Shoes() const { return shoes_; }
  std::int64_t ShoesWithBet() const {
    Fold();
    return shoesWithBet_;
  }
  std::int64_t Bets() const {
    Fold();
    return bets_;
  }
  // Over the whole run: staked on each side, and the profit.
  double StakedBanker() const { return bySide_[0]; }
  double StakedPlayer() const { return bySide_[1]; }
  double StakedTie() const { return bySide_[2]; }
  double Staked() const { return bySide_[0] + bySide_[1] + bySide_[2]; }
  double Profit() const {
    Fold();
    return profit_;
  }

 private:
  // The open shoe's sums into its unit (reading folds too, so it changes no figure).
  void Fold() const {
    if (shoeBets_ == 0) return;
    units_.back().staked += shoe_.staked;
    units_.back().profit += shoe_.profit;
    profit_ += shoe_.profit;
    bets_ += shoeBets_;
    ++shoesWithBet_;
    shoe_ = {};
    shoeBets_ = 0;
  }

  void Merge() {
    const std::size_t half = units_.size() / 2;
    for (std::size_t i = 0; i < half; ++i) {
      units_[i].staked = units_[2 * i].staked + units_[2 * i + 1].staked;
      units_[i].profit = units_[2 * i].profit + units_[2 * i + 1].profit;
    }
    units_.resize(half);
    perUnit_ *= 2;
    inUnit_ = perUnit_;   // every merged unit is full
  }

  double bySide_[3] = {0, 0, 0};
  mutable Unit shoe_;
  mutable std::int64_t shoeBets_ = 0;
  mutable std::vector<Unit> units_;
  mutable double profit_ = 0;
  mutable std::int64_t shoesWithBet_ = 0;
  mutable std::int64_t bets_ = 0;
  std::int64_t perUnit_ = 1;
  std::int64_t inUnit_ = 0;
  std::int64_t shoes_ = 0;
};

}  // namespace zavuv
