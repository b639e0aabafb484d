// The judging figures of zavuv-cli backtest, risk and stats as JSON.
#include <cmath>

#include "cli/Commands.h"
#include "verdict/Fairness.h"
#include "verdict/RiskSimulation.h"
#include "verdict/Verdict.h"

namespace zavuv::cli {

using json = nlohmann::ordered_json;

namespace {

json Number(double d) { return std::isfinite(d) ? json(d) : json(nullptr); }

}  // namespace

json VerdictJson(const Verdict& v) {
  const bool bets = v.Kind != VerdictKind::NoBets;
  auto ifInterval = [&](double d) { return v.HasInterval ? Number(d) : json(nullptr); };
  return json{{"staked", v.Staked},
              {"profit", v.Profit},
              {"return_per_unit", bets ? Number(v.ReturnPerUnit) : json(nullptr)},
              {"ci95", v.HasInterval ? json::array({v.CiLow, v.CiHigh}) : json(nullptr)},
              {"house_edge_of_bets", bets ? Number(v.HouseEdge) : json(nullptr)},
              {"p_vs_house_edge", ifInterval(v.PVsHouseEdge)},
              {"p_vs_break_even", ifInterval(v.PVsBreakEven)},
              {"resamples", v.Resamples},
              {"block_shoes", v.BlockShoes},
              {"text", v.Text()}};
}

json PagesJson(const PagesVerdict& pages) {
  json holm = json::array();
  for (double p : pages.HolmP) holm.push_back(Number(p));
  return json{{"count", pages.Count}, {"holm_p", holm}, {"best_of_k_chance", Number(pages.BestOfKChance)}};
}

json FairnessJson(const Fairness& f) {
  const char* sides[] = {"B", "P", "T"};
  json observed = json::object(), ci = json::object(), expected = json::object();
  for (std::size_t i = 0; i < 3; ++i) {
    observed[sides[i]] = f.Observed[i];
    ci[sides[i]] = f.Games > 0 ? json::array({f.Low[i], f.High[i]}) : json(nullptr);
    expected[sides[i]] = f.Expected[i];
  }
  return json{{"observed", observed}, {"ci95", ci}, {"expected", expected},
              {"chi2_p", f.HasP ? Number(f.P) : json(nullptr)}};
}

json RiskJson(const RiskResult& r) {
  return json{{"name", r.Name},
              {"sessions", r.Sessions},
              {"p_ruin", r.PRuin},
              {"p_ruin_ci95", json::array({r.PRuinLow, r.PRuinHigh})},
              {"p_ahead", r.PAhead},
              {"final", {{"median", r.FinalMedian}, {"p05", r.FinalP05}, {"p95", r.FinalP95}}},
              {"max_drawdown", {{"median", r.DrawdownMedian}, {"p95", r.DrawdownP95}}},
              {"longest_losing_run", r.LongestLosingRun}};
}

}  // namespace zavuv::cli
