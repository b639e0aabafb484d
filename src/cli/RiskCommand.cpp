// zavuv-cli risk: the risk to a bankroll ("資金風險") of a strategy set, over sessions
// of freshly dealt shoes or of shoes drawn from a shoe file, printed as JSON.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "plugins/PlugInRegistry.h"
#include "strategy/Strategy.h"
#include "strategy/StrategyFile.h"
#include "verdict/RiskSimulation.h"

namespace zavuv::cli {

namespace {

using json = nlohmann::ordered_json;

const char* kUsage =
    "zavuv-cli risk SHOES|--deal SEED STRATEGIES.json --bankroll B --shoes-per-session S\n"
    "               [--stop-loss L] [--stop-win W] [--sessions M] [--seed N] [--plugins DIR | --no-plugins]";

const char* kHelp =
    "\n"
    "Plays sessions of S shoes with every strategy in use of the set, each from a bankroll\n"
    "of B of its own, and the combined bet from one more, and prints what became of them.\n"
    "A session ends for a bankroll after its last shoe, at the stop-loss or stop-win, or at\n"
    "ruin: a stake the remaining bankroll cannot pay.\n"
    "\n"
    "  SHOES              sessions of shoes drawn with replacement from this file (.DAT, .json)\n"
    "  --deal SEED        sessions of freshly dealt shoes, the dealer seeded with SEED\n"
    "  --bankroll B       the starting bankroll, above 0\n"
    "  --shoes-per-session S   1 to 1000\n"
    "  --stop-loss L      stop once the session's result is L or below (0 or a negative amount)\n"
    "  --stop-win W       stop once the session's result is W or above (above 0)\n"
    "  --sessions M       1 to 1000000 (default 1000); M times S at most 20000000\n"
    "  --seed N           the seed of the draws from SHOES (default 1; not used with --deal)\n"
    "\n"
    "Output: {\"strategies\": [R, ...], \"combined\": R} with R =\n"
    "  {\"name\", \"sessions\", \"p_ruin\", \"p_ruin_ci95\": [low, high], \"p_ahead\",\n"
    "   \"final\": {\"median\", \"p05\", \"p95\"}, \"max_drawdown\": {\"median\", \"p95\"},\n"
    "   \"longest_losing_run\"}; see docs/verdict.md.\n";

}  // namespace

int RunRisk(const Args& args) {
  if (WantsHelp(args)) {
    std::printf("%s\n%s", kUsage, kHelp);
    return 0;
  }
  ArgReader reader(args);
  RiskSettings settings;
  auto deal = reader.Number("--deal", 0, INT64_MAX);
  auto bankroll = reader.Real("--bankroll");
  auto shoes = reader.Number("--shoes-per-session", LLONG_MIN, LLONG_MAX);
  settings.StopLoss = reader.Real("--stop-loss");
  settings.StopWin = reader.Real("--stop-win");
  auto sessions = reader.Number("--sessions", LLONG_MIN, LLONG_MAX);
  auto seed = reader.Number("--seed", 0, INT64_MAX);
  auto plugInFolder = reader.Option("--plugins");
  bool noPlugIns = reader.Flag("--no-plugins");
  if (plugInFolder && noPlugIns) throw CliError("--plugins and --no-plugins exclude each other");
  auto files = reader.Positional(deal ? 1 : 2, kUsage);

  // Every setting is checked before anything is read or played.
  if (!bankroll) throw CliError("--bankroll B is required\nusage: " + std::string(kUsage));
  if (!(*bankroll > 0)) throw CliError("--bankroll: must be above 0 (got " + json(*bankroll).dump() + ")");
  if (!shoes) throw CliError("--shoes-per-session S is required\nusage: " + std::string(kUsage));
  if (*shoes < 1 || *shoes > RiskSettings::kMaxShoesPerSession)
    throw CliError("--shoes-per-session: must be 1 to " + std::to_string(RiskSettings::kMaxShoesPerSession) +
                   " (got " + std::to_string(*shoes) + ")");
  if (settings.StopLoss && *settings.StopLoss > 0)
    throw CliError("--stop-loss: must be 0 or below, a loss such as -200 (got " + json(*settings.StopLoss).dump() + ")");
  if (settings.StopWin && !(*settings.StopWin > 0))
    throw CliError("--stop-win: must be above 0 (got " + json(*settings.StopWin).dump() + ")");
  if (sessions && (*sessions < 1 || *sessions > RiskSettings::kMaxSessions))
    throw CliError("--sessions: must be 1 to " + std::to_string(RiskSettings::kMaxSessions) + " (got " +
                   std::to_string(*sessions) + ")");
  settings.Bankroll = *bankroll;
  settings.ShoesPerSession = static_cast<int>(*shoes);
  if (sessions) settings.Sessions = static_cast<int>(*sessions);
  if (static_cast<std::int64_t>(settings.Sessions) * settings.ShoesPerSession > RiskSettings::kMaxShoes)
    throw CliError("--sessions: " + std::to_string(settings.Sessions) + " sessions of " +
                   std::to_string(settings.ShoesPerSession) + " shoes are more than " +
                   std::to_string(RiskSettings::kMaxShoes) + " shoes");
  settings.Seed = static_cast<std::uint64_t>(deal ? *deal : seed.value_or(1));

  ShoesData record;
  if (!deal) ReadShoesFile(record, files[0]);
  PlugInRegistry plugIns;
  if (!noPlugIns) LoadPlugIns(plugIns, plugInFolder.value_or("."), "risk");
  RiskSimulation sim;
  const std::string& setPath = files.back();
  StrategySet set = ReadStrategySet(setPath, &sim.Host(), &plugIns);
  sim.Roads() = set.Roads;
  for (auto& s : set.Strategies) sim.Add(std::move(s));
  if (sim.StrategiesInUse() == 0)
    throw CliError(setPath + ": strategies: no strategy is in use (\"use\": true), nothing to play");

  RiskReport report;
  if (deal) {
    report = sim.Run(settings);
  } else {
    std::vector<std::string> results;
    for (int r = 0; r < record.Table().RecordCount(); ++r)
      results.push_back(AsString(record.Table().GetValue(r, record.Table().FieldIndex("ShoesResult"))));
    if (results.empty()) throw CliError(files[0] + ": no shoe to draw sessions from");
    report = sim.Run(settings, results);
  }
  json strategies = json::array();
  for (const RiskResult& r : report.Strategies) strategies.push_back(RiskJson(r));
  PrintJson(json{{"strategies", strategies}, {"combined", RiskJson(report.Combined)}});
  return 0;
}

}  // namespace zavuv::cli
