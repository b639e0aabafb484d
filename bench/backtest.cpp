// The range analysis ("分析分段資料") over 10,000 and 20,000 dealt shoes (seed 1) with
// four strategies in use, every per-shoe restart box off and every row kept:
//   pattern on 大路 with level amounts, pattern on 小路 with cancellation,
//   loop BBPP on 珠路1 with flat stakes, pattern on 大眼仔 with anti-cancellation.
// Prints games per second, seconds per run, bytes of memory growth per result row
// (strategy rows and combined rows) and, at the end, the 20k/10k time ratio.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "FourStrategies.h"

namespace {

using namespace zavuv;
using zavuv::bench::Setup;

std::map<int, double> g_seconds;   // best seconds per shoe count

void BM_Backtest(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Setup setup(count);
  double best = 1e300;
  double bytesPerRow = 0;
  bool first = true;
  for (auto _ : state) {
    // Everything a run keeps (rows, charts, road histories) is let go first, so the
    // growth of the heap during the run is what the run holds.
    setup.multi.ClientDataSetAnalysis.Clear();
    for (auto& s : setup.strategies) s->PrepareAnalysis(), s->FinishAnalysis();
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    auto start = std::chrono::steady_clock::now();
    setup.multi.AnalysisAllShoes();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t after = mallinfo2().uordblks;
    best = std::min(best, seconds);
    if (first) {
      bytesPerRow = static_cast<double>(after - before) / static_cast<double>(setup.Rows());
      first = false;
    }
    state.SetIterationTime(seconds);
  }
  g_seconds[count] = best;
  state.counters["games"] = static_cast<double>(setup.games);
  state.counters["games_per_s"] = static_cast<double>(setup.games) / best;
  state.counters["seconds"] = best;
  state.counters["rows"] = static_cast<double>(setup.Rows());
  state.counters["bytes_per_row"] = bytesPerRow;
}

}  // namespace

BENCHMARK(BM_Backtest)->Arg(10000)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_seconds.count(10000) && g_seconds.count(20000))
    std::printf("backtest: 10k shoes %.3f s, 20k shoes %.3f s, 20k/10k ratio %.2f\n", g_seconds[10000],
                g_seconds[20000], g_seconds[20000] / g_seconds[10000]);
  return 0;
}
