// Shared by the bet and strategy tests: a main window stand-in and quick ways to set
// up a strategy.
#pragma once

#include <memory>
#include <string>

#include "bets/BetAmountFlat.h"
#include "bets/BetMethodLoop.h"
#include "contracts/StrategyHost.h"
#include "roads/RoadSettings.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"
#include "strategy/Strategy.h"

namespace zavuv::testkit {

struct Host {
  ShoesData shoes;
  TRoad display;
  TRoad analysis;
  RoadSettings roads;
  StrategyHost host{&shoes, &display, &analysis, &roads};
};

// A strategy that bets the letters of `script` in turn (B, P, X for none; ties move on
// too) with a flat stake.
inline std::unique_ptr<Strategy> Scripted(Host& h, const std::string& script, int stake = 100) {
  auto s = std::make_unique<Strategy>(&h.host, "test");
  s->SelectBetMethod(BetMethod::kLoop);
  s->SelectBetAmount(BetAmount::kFlat);
  auto* loop = static_cast<BetMethodLoop*>(s->FrameBetMethod.CurrentComponent());
  loop->LoopText = script;
  loop->UnchangeNextToTie = false;
  static_cast<BetAmountFlat*>(s->FrameBetAmount.CurrentComponent())->FlatBet = stake;
  return s;
}

// One run of the strategy alone over one shoe.
inline void RunShoe(Strategy& s, const std::string& results) {
  s.PrepareAnalysis();
  s.AnalysisShoe(results);
  s.FinishAnalysis();
}

template <class T>
T& MethodOf(Strategy& s) {
  return *static_cast<T*>(s.FrameBetMethod.CurrentComponent());
}
template <class T>
T& AmountOf(Strategy& s) {
  return *static_cast<T*>(s.FrameBetAmount.CurrentComponent());
}

// The Bet column of a result table as a string (separators as "|").
inline std::string Bets(const ResultTable& t) {
  std::string out;
  for (int r = 0; r < t.RecordCount(); ++r) out += t.IsNullRow(r) ? '|' : t.At(r).bet;
  return out;
}

inline std::string TempPath(const std::string& name) {
  return (std::string(::testing::TempDir()) + "/zavuv_" + name);
}

}  // namespace zavuv::testkit
