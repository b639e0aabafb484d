// Back-testing at scale, whole process: for 10,000, 100,000 and 1,000,000 dealt
// shoes (seed 1), the time and peak memory of
//   zavuv-cli deal --shoes N OUT.DAT                         (deal and save)
//   zavuv-cli convert OUT.DAT COPY.DAT                       (read and save)
//   zavuv-cli backtest OUT.DAT four.json --rows none         (read and run)
// with the four strategies of bench_backtest (pattern on 大路 with level amounts,
// pattern on 小路 with cancellation, loop BBPP on 珠路1 flat, pattern on 大眼仔 with
// anti-cancellation, every per-shoe restart off), on every core and on one thread.
// Peak memory is the child process's maximum resident set (wait4). Then, in this
// process, the bytes of memory growth per result row of a run that keeps its rows.
//
// Usage: bench_backtest_scale [SHOES ...]   (default 10000 100000 1000000)
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FourStrategies.h"

namespace fs = std::filesystem;
using namespace zavuv;

namespace {

const char* kFour = R"({"strategies": [
  {"name": "pattern-level", "road": 0, "restart_method_each_shoe": false, "restart_amount_each_shoe": false,
   "method": {"kind": "pattern"}, "amount": {"kind": "level"}},
  {"name": "pattern-cancel", "road": 2, "restart_method_each_shoe": false, "restart_amount_each_shoe": false,
   "method": {"kind": "pattern"}, "amount": {"kind": "cancel"}},
  {"name": "loop-flat", "road": 4, "restart_method_each_shoe": false, "restart_amount_each_shoe": false,
   "method": {"kind": "loop", "text": "BBPP"}, "amount": {"kind": "flat"}},
  {"name": "pattern-anti", "road": 1, "restart_method_each_shoe": false, "restart_amount_each_shoe": false,
   "method": {"kind": "pattern"}, "amount": {"kind": "anti-cancel"}}]}
)";

struct Measured {
  double seconds = 0;
  double cpuSeconds = 0;
  double peakMB = 0;
};

// Runs the command with its output thrown away; the child's wall time, CPU time and
// peak resident set.
Measured Run(const std::vector<std::string>& command) {
  auto start = std::chrono::steady_clock::now();
  std::fflush(stdout);   // or the child would write what is buffered once more
  pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    std::_Exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Measured m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  m.peakMB = usage.ru_maxrss / 1024.0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "failed: %s\n", command[0].c_str());
    std::exit(1);
  }
  return m;
}

long long CountGames(const std::string& path) {
  ShoesData shoes;
  shoes.ReadData(path);
  long long games = 0;
  for (int r = 0; r < shoes.Table().RecordCount(); ++r)
    games += static_cast<long long>(AsString(shoes.Table().GetValue(r, 1)).size());
  return games;
}

// Bytes of heap growth per result row of a range run that keeps every row.
double BytesPerRow(int count) {
  bench::Setup setup(count);
  malloc_trim(0);
  const std::size_t before = mallinfo2().uordblks;
  setup.multi.AnalysisAllShoes();
  const std::size_t after = mallinfo2().uordblks;
  return static_cast<double>(after - before) / static_cast<double>(setup.Rows());
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {10000, 100000, 1000000};
  const fs::path cli = fs::canonical(fs::path(argv[0]).parent_path() / ".." / "src" / "zavuv-cli");
  const fs::path dir = fs::temp_directory_path() / ("zavuv-bench-scale-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "four.json") << kFour;

  std::printf("%9s %11s | %8s %8s | %8s %8s | %8s %8s %7s %11s | %8s %8s\n", "shoes", "games", "deal s", "deal MB",
              "read s", "read MB", "none s", "none MB", "cpu s", "strat-g/s", "1thr s", "1thr MB");
  std::map<int, double> noneSeconds;
  for (int n : sizes) {
    const std::string file = (dir / ("shoes" + std::to_string(n) + ".DAT")).string();
    const std::string copy = (dir / "copy.DAT").string();
    Measured deal = Run({cli.string(), "deal", "--shoes", std::to_string(n), "--seed", "1", file});
    Measured read = Run({cli.string(), "convert", file, copy});
    Measured none = Run({cli.string(), "backtest", file, (dir / "four.json").string(), "--rows", "none", "--no-plugins"});
    Measured one = Run({cli.string(), "backtest", file, (dir / "four.json").string(), "--rows", "none", "--no-plugins",
                        "--threads", "1"});
    const long long games = CountGames(file);
    noneSeconds[n] = none.seconds;
    std::printf("%9d %11lld | %8.2f %8.1f | %8.2f %8.1f | %8.2f %8.1f %7.2f %11.3g | %8.2f %8.1f\n", n, games,
                deal.seconds, deal.peakMB, read.seconds, read.peakMB, none.seconds, none.peakMB, none.cpuSeconds,
                4.0 * static_cast<double>(games) / none.seconds, one.seconds, one.peakMB);
    std::fflush(stdout);
    fs::remove(file);
    fs::remove(copy);
  }
  for (auto [n, seconds] : noneSeconds)
    if (n != sizes.front() && noneSeconds.count(sizes.front()))
      std::printf("--rows none: %d shoes take %.1f times as long as %d (%.0f times the games)\n", n,
                  seconds / noneSeconds[sizes.front()], sizes.front(), static_cast<double>(n) / sizes.front());
  std::printf("rows kept: %.1f bytes per result row (100,000 shoes, four strategies and the combined table)\n",
              BytesPerRow(100000));
  fs::remove_all(dir);
  return 0;
}
