// zavuv-cli backtest: the range analysis ("分析分段資料") of a strategy set over a
// shoe file, printed as JSON.
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "app/Workbench.h"
#include "table/Big5.h"
#include "verdict/Verdict.h"

namespace zavuv::cli {

namespace {

const char* kHelp =
    "zavuv-cli backtest SHOES STRATEGIES.json [--from NAME] [--to NAME] [--rows none|combined|all]\n"
    "                   [--threads N] [--verdict on|off] [--seed N] [--plugins DIR | --no-plugins]\n"
    "\n"
    "Runs every strategy of the strategy set over the shoes (the button \"分析分段資料\")\n"
    "and prints the combined result and each strategy's result as JSON (UTF-8).\n"
    "\n"
    "  SHOES            a shoe data file (.DAT) or a shoe list (.json)\n"
    "  STRATEGIES.json  a strategy set (see docs/strategy-files.md)\n"
    "  --from NAME      start at the first shoe named exactly NAME (none: analyse nothing)\n"
    "  --to NAME        stop after the shoe named exactly NAME (none: run to the last shoe)\n"
    "  --rows WHICH     which result rows to print: none, combined (default) or all;\n"
    "                   with none no row is kept at all (a figures-only run: memory does\n"
    "                   not grow with the number of games), with combined only the\n"
    "                   combined rows are kept\n"
    "  --threads N      threads of the run: 0 every core (default), 1 this thread alone;\n"
    "                   the output is the same whatever N\n"
    "  --verdict on|off judge each result against the house edge (default on; see\n"
    "                   docs/verdict.md); off leaves \"verdict\", \"combined_verdict\"\n"
    "                   and \"pages\" out\n"
    "  --seed N         the seed of the verdicts' resampling (default 20260101)\n"
    "  --plugins DIR    load the plug-in modules BA*.so of DIR; by default those of the\n"
    "                   working directory, as the program does (see zavuv-cli plugins)\n"
    "  --no-plugins     load no plug-in module\n"
    "\n"
    "Output:\n"
    "  {\"combined\": [[ShoesName, GameNo, Bet, BetAmount, GameResult, Profit, AccProfit], ...],\n"
    "   \"strategies\": [{\"name\", \"rows\" (separator rows of the group setup are all null),\n"
    "                   \"stats\": {MaxProfit, MaxLoss, NoOfBet, TotalBetAmount, WinGame, LoseGame,\n"
    "                             TotalWinAmount, TotalLoseAmount},\n"
    "                   \"win_runs\" and \"lose_runs\": [[Con, Times, Above], ...],\n"
    "                   \"win_lose_points\", \"profit_points\", \"verdict\"}, ...],\n"
    "   \"combined_verdict\", \"pages\": {\"count\", \"holm_p\", \"best_of_k_chance\"}}\n"
    "  a verdict: {\"staked\", \"profit\", \"return_per_unit\", \"ci95\": [low, high],\n"
    "   \"house_edge_of_bets\", \"p_vs_house_edge\", \"p_vs_break_even\", \"resamples\",\n"
    "   \"block_shoes\", \"text\"}, ratios as fractions; what cannot be computed is null.\n"
    "A chart of more than 262,144 points is thinned to what a chart can show: its line\n"
    "is cut into buckets of equal width that keep their first, lowest, highest and\n"
    "last point, and \"win_lose_positions\" or \"profit_positions\" then gives the x of\n"
    "each point (without them point i stands at x = i).\n"
    "Bet is \"B\", \"P\" or \" \"; GameResult \"B\", \"P\" or \"T\". \"combined\" is empty and each\n"
    "\"rows\" is left out unless --rows asks for them.\n";

// Writes JSON straight to standard output: a run may give millions of rows and chart
// points. Tokens go into a buffer of its own (a call to the C library per token would
// cost more than the token), handed to standard output a megabyte at a time.
class Out {
 public:
  Out() : buffer_(kSize) {}
  ~Out() { Flush(); }
  Out(const Out&) = delete;
  Out& operator=(const Out&) = delete;
  void Raw(std::string_view s) {
    if (s.size() > kSize - used_) {
      Flush();
      if (s.size() > kSize) {
        std::fwrite(s.data(), 1, s.size(), stdout);
        return;
      }
    }
    std::memcpy(buffer_.data() + used_, s.data(), s.size());
    used_ += s.size();
  }
  void Char(char c) {
    if (used_ == kSize) Flush();
    buffer_[used_++] = c;
  }
  void Text(std::string_view utf8) {
    Raw(nlohmann::json(std::string(utf8)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  }
  void Int(long long n) {
    if (kSize - used_ < kNumber) Flush();
    used_ = static_cast<std::size_t>(std::to_chars(buffer_.data() + used_, buffer_.data() + kSize, n).ptr - buffer_.data());
  }
  // Whole amounts print as integers, others in their shortest exact form.
  void Real(double d) {
    if (!std::isfinite(d)) return Raw("null");
    if (d == std::floor(d) && std::fabs(d) < 1e15) return Int(static_cast<long long>(d));
    if (kSize - used_ < kNumber) Flush();
    used_ = static_cast<std::size_t>(std::to_chars(buffer_.data() + used_, buffer_.data() + kSize, d).ptr - buffer_.data());
  }
  void Flush() {
    if (used_) std::fwrite(buffer_.data(), 1, used_, stdout);
    used_ = 0;
    std::fflush(stdout);
  }

 private:
  static constexpr std::size_t kSize = std::size_t{1} << 20;
  static constexpr std::size_t kNumber = 40;   // room for any number to_chars writes
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

void WriteRows(Out& out, const ResultTable& table) {
  // Each distinct label is converted and quoted once, not once per row.
  std::vector<std::string> labels;
  for (const std::string& label : table.Labels())
    labels.push_back(nlohmann::json(Big5ToUtf8(label)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  out.Char('[');
  for (int r = 0; r < table.RecordCount(); ++r) {
    if (r) out.Char(',');
    const ResultTable::Row& row = table.At(r);
    if (row.isNull) {
      out.Raw("[null,null,null,null,null,null,null]");
      continue;
    }
    out.Char('[');
    out.Raw(labels[static_cast<std::size_t>(row.shoe)]);
    out.Char(',');
    out.Int(row.gameNo);
    out.Raw(row.bet == 'B' ? ",\"B\"," : row.bet == 'P' ? ",\"P\"," : ",\" \",");
    out.Int(row.betAmount);
    out.Raw(",\"");
    out.Char(row.gameResult);
    out.Raw("\",");
    out.Real(row.profit);
    out.Char(',');
    out.Real(row.accProfit);
    out.Char(']');
  }
  out.Char(']');
}

void WriteRuns(Out& out, const Continuous& runs) { out.Raw(RunsJson(runs).dump()); }

template <class T>
void WritePoints(Out& out, const std::vector<T>& points) {
  out.Char('[');
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i) out.Char(',');
    out.Real(static_cast<double>(points[i]));
  }
  out.Char(']');
}

void WriteStrategy(Out& out, const Strategy& s, bool rows, const Verdict* verdict) {
  out.Raw("{\"name\":");
  out.Text(s.StrategyName);
  if (rows) {
    out.Raw(",\"rows\":");
    WriteRows(out, s.ClientDataSetAnalysis);
  }
  // The figures in the order the statistics page shows them (whole values print as
  // whole numbers, so the counts keep their form).
  const std::pair<const char*, double> figures[] = {
      {"MaxProfit", s.MaxProfit}, {"MaxLoss", s.MaxLoss},
      {"NoOfBet", static_cast<double>(s.NoOfBet)}, {"TotalBetAmount", static_cast<double>(s.TotalBetAmount)},
      {"WinGame", static_cast<double>(s.WinGame)}, {"LoseGame", static_cast<double>(s.LoseGame)},
      {"TotalWinAmount", s.TotalWinAmount}, {"TotalLoseAmount", s.TotalLoseAmount}};
  const char* separator = ",\"stats\":{\"";
  for (const auto& [name, value] : figures) {
    out.Raw(separator);
    out.Raw(name);
    out.Raw("\":");
    out.Real(value);
    separator = ",\"";
  }
  out.Raw("},\"win_runs\":");
  WriteRuns(out, s.ConWin);
  out.Raw(",\"lose_runs\":");
  WriteRuns(out, s.ConLose);
  out.Raw(",\"win_lose_points\":");
  WritePoints(out, s.FrameWinLostChart.Points);
  if (!s.FrameWinLostChart.Positions.empty()) {
    out.Raw(",\"win_lose_positions\":");
    WritePoints(out, s.FrameWinLostChart.Positions);
  }
  out.Raw(",\"profit_points\":");
  WritePoints(out, s.FrameChartProfit.Points);
  if (!s.FrameChartProfit.Positions.empty()) {
    out.Raw(",\"profit_positions\":");
    WritePoints(out, s.FrameChartProfit.Positions);
  }
  if (verdict) {
    out.Raw(",\"verdict\":");
    out.Raw(VerdictJson(*verdict).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  }
  out.Char('}');
}

}  // namespace

int RunBacktest(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  ArgReader reader(args);
  auto from = reader.Option("--from");
  auto to = reader.Option("--to");
  std::string rows = reader.Option("--rows").value_or("combined");
  if (rows != "none" && rows != "combined" && rows != "all")
    throw CliError("--rows: \"" + rows + "\" is not none, combined or all");
  int threads = 0;
  if (auto text = reader.Option("--threads")) {
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), threads);
    if (error != std::errc() || end != text->data() + text->size() || threads < 0 || threads > 256)
      throw CliError("--threads: \"" + *text + "\" is not a whole number from 0 to 256");
  }
  std::string verdictOption = reader.Option("--verdict").value_or("on");
  if (verdictOption != "on" && verdictOption != "off")
    throw CliError("--verdict: \"" + verdictOption + "\" is not on or off");
  const bool judge = verdictOption == "on";
  auto seed = reader.Number("--seed", 0, INT64_MAX);
  auto plugInFolder = reader.Option("--plugins");
  bool noPlugIns = reader.Flag("--no-plugins");
  if (plugInFolder && noPlugIns) throw CliError("--plugins and --no-plugins exclude each other");
  auto files = reader.Positional(2, "zavuv-cli backtest SHOES STRATEGIES.json [--from NAME] [--to NAME] "
                                    "[--rows none|combined|all] [--threads N] [--verdict on|off] [--seed N] "
                                    "[--plugins DIR | --no-plugins]");

  Workbench bench;
  ReadShoesFile(bench.Shoes(), files[0]);
  if (!noPlugIns) LoadPlugIns(bench.PlugIns(), plugInFolder.value_or("."), "backtest");
  bench.ReadStrategies(files[1]);
  MultiStrategyAnalysis& combined = bench.Combined();
  combined.Threads = threads;
  // --rows none keeps no row anywhere (a figures-only run); --rows combined keeps only
  // the combined table's rows, one per game, not every strategy's as well.
  combined.KeepRows = rows != "none";
  combined.KeepStrategyRows = rows == "all";
  combined.CollectSums = judge;
  if (seed) bench.VerdictSettings().Seed = static_cast<std::uint64_t>(*seed);
  bench.AnalyseRange(from ? Utf8ToBig5(*from) : std::string(), to ? Utf8ToBig5(*to) : std::string());
  VerdictReport verdicts;
  if (judge) verdicts = bench.JudgeResults();

  Out out;
  out.Raw("{\"combined\":");
  if (rows == "none") out.Raw("[]");
  else WriteRows(out, combined.ClientDataSetAnalysis);
  out.Raw(",\"strategies\":[");
  for (std::size_t i = 0; i < bench.StrategyCount(); ++i) {
    if (i) out.Char(',');
    WriteStrategy(out, bench.StrategyAt(i), rows == "all", judge ? &verdicts.Strategies[i] : nullptr);
  }
  out.Char(']');
  if (judge) {
    out.Raw(",\"combined_verdict\":");
    out.Raw(VerdictJson(verdicts.Combined).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    out.Raw(",\"pages\":");
    out.Raw(PagesJson(verdicts.Pages).dump());
  }
  out.Raw("}\n");
  out.Flush();
  return 0;
}

}  // namespace zavuv::cli
