// Cost of appending one game to a road model, with a short and a very long history.
// After each append the three derived roads' last entries and a bead row are read,
// as a strategy analysing the roads would. The history is kept between N and 2N
// games: after N timed appends it is set back to its first N games, untimed.
#include "roads/TRoad.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

std::string DealtLike(std::size_t length, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> pick(0, 999);
  std::string s(length, 'B');
  for (char& c : s) {
    const int r = pick(rng);
    c = r < 459 ? 'B' : r < 905 ? 'P' : 'T';
  }
  return s;
}

void BM_AddResult(benchmark::State& state) {
  const std::size_t history = static_cast<std::size_t>(state.range(0));
  const std::string prefill = DealtLike(history, 1);
  const std::string games = DealtLike(history, 2);
  zavuv::TRoad road;
  road.SetResult(prefill);
  road.GetBeadRow(6, false);  // built once; from here on kept up to date

  std::size_t next = 0;
  for (auto _ : state) {
    road.AddResult(games[next]);
    for (int k = 1; k <= 3; ++k) {
      std::string_view derived = road.GetDerivedRoad(k);
      benchmark::DoNotOptimize(derived.empty() ? ' ' : derived.back());
    }
    std::string_view row = road.GetBeadRow(6, false);
    benchmark::DoNotOptimize(row.empty() ? ' ' : row.back());
    if (++next == games.size()) {
      state.PauseTiming();
      road.SetResult(prefill);
      next = 0;
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["history"] = static_cast<double>(road.Result().size());
}

}  // namespace

BENCHMARK(BM_AddResult)->Arg(1000)->Arg(1000000);
BENCHMARK_MAIN();
