// What judging the results costs: a figures-only range run of the four strategies
// of FourStrategies.h over dealt shoes (seed 1), once without collecting the
// per-shoe sums and once with them and every verdict judged (the four pages and the
// combined bet, 2,000 resamples each), alternated so that both meet the same load.
// Prints the best time of each and their ratio.
//
// Usage: bench_verdict_cost [SHOES [ROUNDS [THREADS]]]   (default 1000000 shoes, 2 rounds,
// every core)
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>

#include "FourStrategies.h"
#include "verdict/Verdict.h"

using namespace zavuv;

int main(int argc, char** argv) {
  const int shoes = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
  bench::Setup setup(shoes);
  setup.multi.KeepRows = false;
  setup.multi.Threads = argc > 3 ? std::atoi(argv[3]) : 0;
  auto seconds = [](auto start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  // Wall time, and the process's CPU time (all threads), which other programs on the
  // machine disturb less.
  auto cpu = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
  double off = 1e300, on = 1e300, judging = 1e300, offCpu = 1e300, onCpu = 1e300;
  VerdictReport report;
  auto runOff = [&] {
    setup.multi.CollectSums = false;
    const double cpuStart = cpu();
    const auto start = std::chrono::steady_clock::now();
    setup.multi.AnalysisAllShoes();
    off = std::min(off, seconds(start));
    offCpu = std::min(offCpu, cpu() - cpuStart);
  };
  auto runOn = [&] {
    setup.multi.CollectSums = true;
    const double cpuStart = cpu();
    const auto start = std::chrono::steady_clock::now();
    setup.multi.AnalysisAllShoes();
    const auto judged = std::chrono::steady_clock::now();
    report = JudgeRun(setup.multi.Strategies, setup.multi);
    judging = std::min(judging, seconds(judged));
    on = std::min(on, seconds(start));
    onCpu = std::min(onCpu, cpu() - cpuStart);
  };
  // Each round runs both, the order changing from round to round.
  for (int r = 0; r < rounds; ++r) {
    if (r % 2 == 0) {
      runOff();
      runOn();
    } else {
      runOn();
      runOff();
    }
    std::printf("round %d (best so far): off %.2f s, on %.2f s\n", r + 1, off, on);
    std::fflush(stdout);
  }
  std::printf("%d shoes, %lld games, 4 strategies, figures only:\n", shoes, setup.games);
  std::printf("  wall: verdict off %.2f s, verdict on %.2f s (judging %.2f s): ratio %.3f\n", off, on, judging, on / off);
  std::printf("  cpu:  verdict off %.2f s, verdict on %.2f s: ratio %.3f\n", offCpu, onCpu, onCpu / offCpu);
  for (std::size_t i = 0; i < report.Strategies.size(); ++i)
    std::printf("  page %zu: %s, block %lld shoes\n", i + 1, report.Strategies[i].Text().c_str(),
                static_cast<long long>(report.Strategies[i].BlockShoes));
  std::printf("  combined: %s\n", report.Combined.Text().c_str());
  return 0;
}
