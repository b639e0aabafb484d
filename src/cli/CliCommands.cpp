// zavuv-cli roads, stats, convert and deal.
#include <nlohmann/json.hpp>

#include "cli/CliArgs.h"
#include "roads/TRoad.h"
#include "shoes/Dealer.h"
#include "shoes/ShoesData.h"
#include "stats/ShoeStats.h"
#include "table/Big5.h"
#include "verdict/Fairness.h"

namespace zavuv::cli {

using json = nlohmann::ordered_json;

namespace {

std::string Str(std::string_view s) { return std::string(s); }
std::string Char(char c) { return std::string(1, c); }

// Writes the shoes by the extension of the target: .DAT, .json or .TXT.
void WriteShoesFile(ShoesData& shoes, const std::string& path, const ExportOptions& options) {
  std::string ext = Extension(path);
  if (ext == "DAT")
    shoes.SaveData(path);
  else if (ext == "JSON")
    shoes.SaveJson(path);
  else if (ext == "TXT")
    shoes.ExportText(path, options);
  else
    throw CliError(path + ": unknown output type (expected .DAT, .json or .TXT)");
}

}  // namespace

json RunsJson(const Continuous& runs) {
  json out = json::array();
  const Table& t = runs.Table();
  for (int r = 0; r < t.RecordCount(); ++r)
    out.push_back({AsInteger(t.GetValue(r, 0)), AsInteger(t.GetValue(r, 1)), AsInteger(t.GetValue(r, 2))});
  return out;
}

int RunRoads(const Args& args) {
  const char* usage = "zavuv-cli roads RESULT [--beads N] [--ignore-ties]";
  if (WantsHelp(args)) {
    std::printf("%s\n  The roads of one result string (B, P, T); N beads per bead-road column, 1 to 20 (6).\n", usage);
    return 0;
  }
  ArgReader in(args);
  int beads = static_cast<int>(in.Number("--beads", 1, 20).value_or(6));
  bool ignoreTies = in.Flag("--ignore-ties");
  std::string result = in.Positional(1, usage)[0];

  TRoad road;
  road.SetResult(result);
  json predict;
  const char* names[] = {"big_eye_boy", "small_road", "cockroach_road"};
  for (int k = 1; k <= 3; ++k)
    predict[names[k - 1]] = {{"B", Char(road.PredictFromDerived(k, 'B'))},
                             {"P", Char(road.PredictFromDerived(k, 'P'))}};
  PrintJson(json{{"result", Str(road.Result())},
             {"result_no_tie", Str(road.ResultNoTie())},
             {"columns", road.GetColumns()},
             {"big_eye_boy", Str(road.GetBigEyeBoy())},
             {"small_road", Str(road.GetSmallRoad())},
             {"cockroach_road", Str(road.GetCockroachRoad())},
             {"bead_columns", road.GetBeadColumns(beads, ignoreTies)},
             {"bead_row", Str(road.GetBeadRow(beads, ignoreTies))},
             {"predict", predict}});
  return 0;
}

int RunStats(const Args& args) {
  const char* usage = "zavuv-cli stats SHOES [--from NAME] [--to NAME] [--runs-across-shoes]";
  if (WantsHelp(args)) {
    std::printf(
        "%s\n  Counts the shoes from the one named NAME (--from) to the one named NAME (--to),\n"
        "  by default all of them. Runs end at the end of each shoe unless --runs-across-shoes.\n"
        "  \"fairness\": the banker, player and tie shares with 95%% intervals, the 8-deck\n"
        "  probabilities and the chi-square p-value (null below 53 games; docs/verdict.md).\n",
        usage);
    return 0;
  }
  ArgReader in(args);
  std::string from = Utf8ToBig5(in.Option("--from").value_or(""));
  std::string to = Utf8ToBig5(in.Option("--to").value_or(""));
  bool across = in.Flag("--runs-across-shoes");
  std::string path = in.Positional(1, usage)[0];

  ShoesData shoes;
  ReadShoesFile(shoes, path);
  ShoeStats stats;
  stats.CountRange(shoes, ShoeRange{from, to, !across});
  PrintJson(json{{"banker", stats.NoOfBanker},
             {"player", stats.NoOfPlayer},
             {"tie", stats.NoOfTie},
             {"same", stats.NoOfSame},
             {"diff", stats.NoOfDiff},
             {"banker_ratio", stats.BankerRatioText()},
             {"player_ratio", stats.PlayerRatioText()},
             {"banker_runs", RunsJson(stats.ConBanker)},
             {"player_runs", RunsJson(stats.ConPlayer)},
             {"fairness", FairnessJson(CheckFairness(stats.NoOfBanker, stats.NoOfPlayer, stats.NoOfTie))}});
  return 0;
}

int RunConvert(const Args& args) {
  const char* usage =
      "zavuv-cli convert IN OUT [--no-name] [--no-name-delimiter] [--no-game-delimiter]\n"
      "                   [--delimiter TEXT] [--banker TEXT] [--player TEXT] [--tie TEXT]";
  if (WantsHelp(args)) {
    std::printf(
        "%s\n  IN: .DAT or .json; OUT: .DAT, .json or .TXT (text export, laid out by the options;\n"
        "  defaults: name padded to 20 bytes, delimiter \", \", letters B P T).\n",
        usage);
    return 0;
  }
  ArgReader in(args);
  ExportOptions options;
  options.includeName = !in.Flag("--no-name");
  options.nameDelimited = !in.Flag("--no-name-delimiter");
  options.gameDelimited = !in.Flag("--no-game-delimiter");
  if (auto v = in.Option("--delimiter")) options.delimiter = Utf8ToBig5(*v);
  if (auto v = in.Option("--banker")) options.banker = Utf8ToBig5(*v);
  if (auto v = in.Option("--player")) options.player = Utf8ToBig5(*v);
  if (auto v = in.Option("--tie")) options.tie = Utf8ToBig5(*v);
  auto files = in.Positional(2, usage);

  ShoesData shoes;
  ReadShoesFile(shoes, files[0]);
  WriteShoesFile(shoes, files[1], options);
  return 0;
}

int RunDeal(const Args& args) {
  const char* usage = "zavuv-cli deal --shoes N [--seed S] OUT";
  if (WantsHelp(args)) {
    std::printf(
        "%s\n  Deals N shoes (8 decks, cut card, standard drawing rules) with seed S (1)\n"
        "  and writes them to OUT (.DAT or .json), named in dealing order.\n",
        usage);
    return 0;
  }
  ArgReader in(args);
  auto count = in.Number("--shoes", 1, 1000000);
  if (!count) throw CliError("--shoes N is required\nusage: " + std::string(usage));
  auto seed = in.Number("--seed", 0, INT64_MAX).value_or(1);
  std::string out = in.Positional(1, usage)[0];
  if (std::string ext = Extension(out); ext != "DAT" && ext != "JSON")
    throw CliError(out + ": unknown output type (expected .DAT or .json)");

  // Shoe by shoe into the table (the same shoes as DealShoes), so that a million
  // shoes are held once.
  ShoesData shoes;
  shoes.ShoesLoading = true;
  Dealer dealer(static_cast<std::uint64_t>(seed));
  const int total = static_cast<int>(*count);
  for (int i = 1; i <= total; ++i) shoes.AppendShoe({DealtShoeName(i, total), dealer.DealShoe().Result(), {}});
  shoes.ShoesLoading = false;
  WriteShoesFile(shoes, out, ExportOptions{});
  return 0;
}

}  // namespace zavuv::cli
