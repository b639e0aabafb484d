// Plug-in components in the range analysis ("分析分段資料") over 10,000 dealt shoes
// (seed 1): one strategy of the three sample modules (跟隨上一局 on 大路 and on
// 小路, 馬丁加倍注碼, 連輸後停止本靴) against the same number of built-in strategies
// (loop with flat stakes), every row kept. Prints games per second for each and the
// cost of a plug-in strategy per game.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "contracts/StrategyHost.h"
#include "plugins/PlugInRegistry.h"
#include "roads/RoadSettings.h"
#include "roads/TRoad.h"
#include "shoes/Dealer.h"
#include "shoes/ShoesData.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/Strategy.h"

namespace {

using namespace zavuv;

std::map<int, double> g_seconds;   // best seconds: 0 built-in, 1 plug-in

const PlugInRegistry& Samples() {
  static const PlugInRegistry registry = [] {
    PlugInRegistry r;
    r.LoadFolder(ZAVUV_PLUGIN_DIR);
    return r;
  }();
  return registry;
}

struct Setup {
  ShoesData shoes;
  TRoad display, analysis;
  RoadSettings roads;
  StrategyHost host{&shoes, &display, &analysis, &roads};
  std::vector<std::unique_ptr<Strategy>> strategies;
  MultiStrategyAnalysis multi{&host};
  long long games = 0;

  Setup(int count, bool plugIns) {
    shoes.ShoesLoading = true;
    for (const ShoeRecord& shoe : DealShoes(count, 1)) {
      games += static_cast<long long>(shoe.result.size());
      shoes.AppendShoe(shoe);
    }
    shoes.ShoesLoading = false;
    for (int road : {0, 2}) {
      strategies.push_back(MultiStrategyAnalysis::CreateStrategy(&host, "s", plugIns ? 2 : BetMethod::kLoop,
                                                                 plugIns ? 5 : BetAmount::kFlat, &Samples()));
      Strategy& s = *strategies.back();
      s.RoadIndex = road;
      if (plugIns) s.CreateSetup().ComboBoxSelectChange(4);
      multi.Strategies.push_back(&s);
    }
  }
};

void BM_PlugIns(benchmark::State& state) {
  const bool plugIns = state.range(0) != 0;
  if (plugIns && Samples().Records().size() != 3) {
    state.SkipWithError("the sample modules are not built");
    return;
  }
  Setup setup(10000, plugIns);
  double best = 1e300;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    setup.multi.AnalysisAllShoes();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, seconds);
    state.SetIterationTime(seconds);
  }
  g_seconds[plugIns ? 1 : 0] = best;
  state.counters["games"] = static_cast<double>(setup.games);
  state.counters["games_per_s"] = static_cast<double>(setup.games) / best;
  state.counters["seconds"] = best;
}

}  // namespace

BENCHMARK(BM_PlugIns)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_seconds.count(0) && g_seconds.count(1))
    std::printf("plugins: 10k shoes, two strategies: built-in %.3f s, plug-in %.3f s (%.2fx)\n", g_seconds[0],
                g_seconds[1], g_seconds[1] / g_seconds[0]);
  return 0;
}
