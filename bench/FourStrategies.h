// The benchmarks' range run: dealt shoes (seed 1) and the four strategies in use,
// every per-shoe restart box off: pattern on 大路 with level amounts, pattern on 小路
// with cancellation, loop BBPP on 珠路1 with flat stakes, pattern on 大眼仔 with
// anti-cancellation.
#pragma once

#include <memory>
#include <vector>

#include "bets/BetMethodLoop.h"
#include "contracts/StrategyHost.h"
#include "roads/RoadSettings.h"
#include "roads/TRoad.h"
#include "shoes/Dealer.h"
#include "shoes/ShoesData.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/Strategy.h"

namespace zavuv::bench {

struct Setup {
  ShoesData shoes;
  TRoad display, analysis;
  RoadSettings roads;
  StrategyHost host{&shoes, &display, &analysis, &roads};
  std::vector<std::unique_ptr<Strategy>> strategies;
  MultiStrategyAnalysis multi{&host};
  long long games = 0;

  explicit Setup(int count) {
    shoes.ShoesLoading = true;
    for (const ShoeRecord& shoe : DealShoes(count, 1)) {
      games += static_cast<long long>(shoe.result.size());
      shoes.AppendShoe(shoe);
    }
    shoes.ShoesLoading = false;
    Add(BetMethod::kPattern, BetAmount::kLevel, 0);
    Add(BetMethod::kPattern, BetAmount::kCancel, 2);
    Strategy& loop = Add(BetMethod::kLoop, BetAmount::kFlat, 4);
    static_cast<BetMethodLoop*>(loop.FrameBetMethod.CurrentComponent())->LoopText = "BBPP";
    Add(BetMethod::kPattern, BetAmount::kAntiCancel, 1);
  }

  Strategy& Add(int method, int amount, int road) {
    strategies.push_back(MultiStrategyAnalysis::CreateStrategy(&host, "s", method, amount));
    Strategy& s = *strategies.back();
    s.RoadIndex = road;
    s.SetBetMethodEach(false);
    s.SetBetAmountEach(false);
    multi.Strategies.push_back(&s);
    return s;
  }

  long long Rows() const {
    long long rows = multi.ClientDataSetAnalysis.RecordCount();
    for (const auto& s : strategies) rows += s->ClientDataSetAnalysis.RecordCount();
    return rows;
  }
};

}  // namespace zavuv::bench
