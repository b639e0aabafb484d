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

class ShoeSums {
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
    betThisShoe_ = false;
    bySide_[0] = bySide_[1] = bySide_[2] = 0;
    Profit = 0;
  }

  // A new shoe begins. A bet before any shoe began opens one.
  void StartShoe() {
    if (!Enabled) return;
    if (units_.empty() || inUnit_ == perUnit_) {
      if (units_.size() == kMaxUnits) Merge();
      if (units_.empty() || inUnit_ == perUnit_) {
        units_.emplace_back();
        inUnit_ = 0;
      }
    }
    ++inUnit_;
    ++shoes_;
    betThisShoe_ = false;
  }

  // A settled bet: its side ('B', 'P' or 'T'), its stake and its profit.
  // (Without branches on the side: a run's sides come in no order a processor
  // could guess.)
  void AddBet(char side, double stake, double profit) {
    if (!Enabled) return;
    if (shoes_ == 0) StartShoe();
    Unit& u = units_.back();
    u.staked += stake;
    u.profit += profit;
    bySide_[(side == 'P') + 2 * (side == 'T')] += stake;
    Profit += profit;
    ++bets_;
    shoesWithBet_ += !betThisShoe_;
    betThisShoe_ = true;
  }

  const std::vector<Unit>& Units() const { return units_; }
  // Consecutive shoes in each unit; the last unit may hold fewer.
  std::int64_t ShoesPerUnit() const { return perUnit_; }
  std::int64_t Shoes() const { return shoes_; }
  std::int64_t ShoesWithBet() const { return shoesWithBet_; }
  std::int64_t Bets() const { return bets_; }
  // Over the whole run: staked on each side, and the profit.
  double StakedBanker() const { return bySide_[0]; }
  double StakedPlayer() const { return bySide_[1]; }
  double StakedTie() const { return bySide_[2]; }
  double Staked() const { return bySide_[0] + bySide_[1] + bySide_[2]; }
  double Profit = 0;

 private:
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

  std::vector<Unit> units_;
  std::int64_t perUnit_ = 1;
  std::int64_t inUnit_ = 0;
  std::int64_t shoes_ = 0;
  std::int64_t shoesWithBet_ = 0;
  std::int64_t bets_ = 0;
  bool betThisShoe_ = false;
  double bySide_[3] = {0, 0, 0};
};

}  // namespace zavuv
