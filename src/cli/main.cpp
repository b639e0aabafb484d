#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/Commands.h"

namespace {

const char* kUsage =
    "zavuv-cli COMMAND ...  (JSON on standard output, UTF-8)\n"
    "  roads RESULT [--beads N] [--ignore-ties]\n"
    "  stats SHOES [--from NAME] [--to NAME] [--runs-across-shoes]\n"
    "  convert IN OUT [--no-name] [--no-name-delimiter] [--no-game-delimiter]\n"
    "                 [--delimiter TEXT] [--banker TEXT] [--player TEXT] [--tie TEXT]\n"
    "  deal --shoes N [--seed S] OUT\n"
    "  backtest SHOES STRATEGIES.json [--from NAME] [--to NAME] [--rows none|combined|all]\n"
    "           [--verdict on|off] [--seed N] [--plugins DIR | --no-plugins]\n"
    "  risk SHOES|--deal SEED STRATEGIES.json --bankroll B --shoes-per-session S\n"
    "       [--stop-loss L] [--stop-win W] [--sessions M] [--seed N]\n"
    "  plugins [DIR]\n"
    "Files: .DAT (shoe data file), .json (list of {\"name\",\"result\",\"info\"}),\n"
    ".TXT (text export, output only). COMMAND --help tells more.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace zavuv::cli;
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  std::string command = argv[1];
  Args args(argv + 2, argv + argc);
  try {
    if (command == "roads") return RunRoads(args);
    if (command == "stats") return RunStats(args);
    if (command == "convert") return RunConvert(args);
    if (command == "deal") return RunDeal(args);
    if (command == "backtest") return RunBacktest(args);
    if (command == "plugins") return RunPlugIns(args);
    if (command == "risk") return RunRisk(args);
    std::fprintf(stderr, "zavuv-cli: unknown command \"%s\"\n%s", command.c_str(), kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zavuv-cli %s: %s\n", command.c_str(), e.what());
    return 1;
  }
}
