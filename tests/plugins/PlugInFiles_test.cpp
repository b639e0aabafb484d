// Plug-ins in strategy files and in zavuv-cli: a "plugin" entry names a component by
// its caption and sets its settings; `plugins` lists a folder; `backtest` gives the
// same rows as the engine the window runs.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "../strategy/StrategyTestKit.h"
#include "plugins/PlugInComponent.h"
#include "plugins/PlugInRegistry.h"
#include "strategy/AdditionalSetupContinuousWin.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/StrategyFile.h"
#include "table/Big5.h"

namespace fs = std::filesystem;
using nlohmann::json;
using namespace zavuv;
using namespace zavuv::testkit;

#if defined(ZAVUV_PLUGIN_DIR) && defined(ZAVUV_TEST_PLUGIN_DIR)

namespace {

const PlugInRegistry& Samples() {
  static const PlugInRegistry registry = [] {
    PlugInRegistry r;
    r.LoadFolder(ZAVUV_PLUGIN_DIR);
    return r;
  }();
  return registry;
}

const char* kSet = R"({"strategies": [
  {"name": "跟隨", "road": 0,
   "method": {"kind": "plugin", "description": "跟隨上一局"},
   "amount": {"kind": "plugin", "description": "馬丁加倍注碼", "settings": {"base": 50, "cap": "400"}},
   "setups": [{"kind": "plugin", "description": "連輸後停止本靴", "settings": {"losses": 3}},
              {"kind": "continuous-win", "wins": 3}]},
  {"name": "反跟", "road": 2, "restart_amount_each_shoe": false,
   "method": {"kind": "plugin", "description": "跟隨上一局", "settings": {"reverse": true}},
   "amount": {"kind": "plugin", "description": "馬丁加倍注碼"}}]})";

std::string ErrorOf(const std::string& text, const PlugInRegistry* registry = &Samples()) {
  try {
    ParseStrategySet(text, "", nullptr, registry);
  } catch (const StrategyFileError& e) {
    return e.what();
  }
  return "(accepted)";
}

std::string One(const std::string& entry, const char* key = "method") {
  return std::string(R"({"strategies": [{")") + key + "\": " + entry + "}]}";
}

std::string Setting(Published* component, const std::string& name) {
  for (const auto& [n, v] : PlugInCoreOf(component)->Settings())
    if (n == name) return v;
  return "(none)";
}

struct CliRun {
  int status;
  std::string out;
};

CliRun Cli(const std::string& args) {
  FILE* p = popen((std::string(ZAVUV_CLI) + " " + args + " 2>&1").c_str(), "r");
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  int status = pclose(p);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace

TEST(PlugInFiles, StrategyFilesNamePlugInsAndKeepTheirSettings) {
  StrategySet set = ParseStrategySet(kSet, "", nullptr, &Samples());
  ASSERT_EQ(set.Strategies.size(), 2u);
  Strategy& a = *set.Strategies[0];
  EXPECT_EQ(a.FrameBetMethod.ItemIndex(), 2);
  EXPECT_EQ(a.FrameBetAmount.ItemIndex(), 5);
  EXPECT_EQ(Setting(a.FrameBetAmount.CurrentComponent(), "base"), "50");
  EXPECT_EQ(Setting(a.FrameBetAmount.CurrentComponent(), "cap"), "400");
  ASSERT_EQ(a.AdditionalSetups.size(), 2u);
  EXPECT_EQ(a.AdditionalSetups[0]->ItemIndex(), 4);
  EXPECT_EQ(a.AdditionalSetups[0]->Caption(), "連輸後停止本靴");
  EXPECT_EQ(Setting(a.AdditionalSetups[0]->CurrentSetup(), "losses"), "3");
  // Setups made later offer the plug-in as well.
  EXPECT_EQ(a.CreateSetup().Items().size(), 5u);
  a.DestroySetup(2);
  EXPECT_EQ(Setting(set.Strategies[1]->FrameBetMethod.CurrentComponent(), "reverse"), "1");

  // Written back with its settings, and read again to the same.
  std::string text = FormatStrategySet(set.Roads, {&a, set.Strategies[1].get()});
  json doc = json::parse(text);
  EXPECT_EQ(doc["strategies"][0]["method"], json::parse(R"({"kind": "plugin", "description": "跟隨上一局",
                                                             "settings": {"reverse": 0}})"));
  EXPECT_EQ(doc["strategies"][0]["amount"]["settings"], json::parse(R"({"base": 50, "cap": 400})"));
  EXPECT_EQ(doc["strategies"][0]["setups"][0]["description"], "連輸後停止本靴");
  StrategySet again = ParseStrategySet(text, "", nullptr, &Samples());
  EXPECT_EQ(FormatStrategySet(again.Roads, {again.Strategies[0].get(), again.Strategies[1].get()}), text);

  // Refusals name the place.
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "不存在"})")),
            "strategies[0].method.description: 未載入投注法外掛模組 \"不存在\"");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "跟隨上一局"})", "amount")),
            "strategies[0].amount.description: 未載入注碼法外掛模組 \"跟隨上一局\"");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "跟隨上一局"})"), nullptr),
            "strategies[0].method.description: 未載入投注法外掛模組 \"跟隨上一局\"");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin"})")), "strategies[0].method: 外掛模組須以 \"description\" 指明");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "馬丁加倍注碼", "settings": {"cap": -5}})", "amount")),
            "strategies[0].amount.settings.cap: 外掛模組不接受 -5");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "馬丁加倍注碼", "settings": {"ceiling": 5}})", "amount")),
            "strategies[0].amount.settings.ceiling: 外掛模組不接受 5");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "馬丁加倍注碼", "settings": [1]})", "amount")),
            "strategies[0].amount.settings: 應為設定的物件");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "跟隨上一局", "colour": 1})")),
            "strategies[0].method.colour: 不明的項目");
  EXPECT_EQ(ErrorOf(One(R"([{"kind": "plugin", "description": "跟隨上一局"}])", "setups")),
            "strategies[0].setups[0].description: 未載入附加設定外掛模組 \"跟隨上一局\"");

  // A plug-in whose MakeIt makes nothing takes no settings.
  PlugInRegistry tests;
  tests.LoadFolder(ZAVUV_TEST_PLUGIN_DIR);
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "makes nothing", "settings": {"a": 1}})", "amount"),
                    &tests),
            "strategies[0].amount.settings: 外掛模組沒有建立接受設定的元件");
  EXPECT_EQ(ErrorOf(One(R"({"kind": "plugin", "description": "makes nothing"})", "amount"), &tests), "(accepted)");
}

TEST(PlugInFiles, TheWindowsEngineAndBacktestGiveTheSameRows) {
  fs::path folder = fs::temp_directory_path() / ("zavuv-plugin-files-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "set.json") << kSet;
  const std::string shoesFile = std::string(ZAVUV_SOURCE_DIR) + "/data/sample.DAT";

  // The window's way: the registry it loaded at start-up, CreateStrategy with the
  // plug-ins added, the choices and settings made on the pages, "分析分段資料".
  Host h;
  h.shoes.ReadData(shoesFile);
  std::vector<std::unique_ptr<Strategy>> pages;
  pages.push_back(MultiStrategyAnalysis::CreateStrategy(&h.host, "跟隨", 0, 0, &Samples()));
  pages.push_back(MultiStrategyAnalysis::CreateStrategy(&h.host, "反跟", 0, 0, &Samples()));
  Strategy& a = *pages[0];
  a.SelectBetMethod(2);
  a.SelectBetAmount(5);
  PlugInCoreOf(a.FrameBetAmount.CurrentComponent())->SetSetting("base", "50");
  PlugInCoreOf(a.FrameBetAmount.CurrentComponent())->SetSetting("cap", "400");
  AdditionalSetup& stop = a.CreateSetup();
  stop.ComboBoxSelectChange(4);
  PlugInCoreOf(stop.CurrentSetup())->SetSetting("losses", "3");
  a.CreateSetup().ComboBoxSelectChange(AdditionalSetup::kContinuousWin);
  a.AdditionalSetups[1]->ComponentAs<AdditionalSetupContinuousWin>()->ConWin = 3;
  Strategy& b = *pages[1];
  b.RoadIndex = 2;
  b.SetBetAmountEach(false);
  b.SelectBetMethod(2);
  b.SelectBetAmount(5);
  PlugInCoreOf(b.FrameBetMethod.CurrentComponent())->SetSetting("reverse", "1");
  MultiStrategyAnalysis multi(&h.host);
  multi.StrategyPages = [&] { return std::vector<Strategy*>{&a, &b}; };
  multi.AnalysisAllShoes();
  ASSERT_GT(a.NoOfBet, 100);
  ASSERT_GT(b.NoOfBet, 100);

  CliRun run = Cli("backtest " + shoesFile + " " + (folder / "set.json").string() + " --rows all --plugins " +
            ZAVUV_PLUGIN_DIR);
  ASSERT_EQ(run.status, 0) << run.out;
  json out = json::parse(run.out);

  auto same = [](const json& rows, const ResultTable& t, const char* what) {
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(t.RecordCount())) << what;
    for (int r = 0; r < t.RecordCount(); ++r) {
      const json& row = rows[static_cast<std::size_t>(r)];
      const ResultTable::Row& x = t.At(r);
      ASSERT_EQ(row[0], Big5ToUtf8(t.ShoesNameAt(r))) << what << " row " << r;
      ASSERT_EQ(row[1], x.gameNo) << what << " row " << r;
      ASSERT_EQ(row[2], std::string(1, x.bet)) << what << " row " << r;
      ASSERT_EQ(row[3], x.betAmount) << what << " row " << r;
      ASSERT_EQ(row[4], std::string(1, x.gameResult)) << what << " row " << r;
      ASSERT_DOUBLE_EQ(row[5].get<double>(), x.profit) << what << " row " << r;
      ASSERT_DOUBLE_EQ(row[6].get<double>(), x.accProfit) << what << " row " << r;
    }
  };
  same(out["combined"], multi.ClientDataSetAnalysis, "combined");
  same(out["strategies"][0]["rows"], a.ClientDataSetAnalysis, "跟隨");
  same(out["strategies"][1]["rows"], b.ClientDataSetAnalysis, "反跟");
  EXPECT_EQ(out["strategies"][0]["stats"]["NoOfBet"], a.NoOfBet);

  // Without its modules the set is refused, and says why.
  CliRun none = Cli("backtest " + shoesFile + " " + (folder / "set.json").string() + " --no-plugins");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.out.find("未載入投注法外掛模組 \"跟隨上一局\""), std::string::npos) << none.out;
  CliRun both = Cli("backtest " + shoesFile + " " + (folder / "set.json").string() + " --no-plugins --plugins x");
  EXPECT_EQ(both.status, 1);
  fs::remove_all(folder);
}

TEST(PlugInFiles, PluginsCommandListsWhatAFolderOffers) {
  CliRun run = Cli(std::string("plugins ") + ZAVUV_TEST_PLUGIN_DIR);
  ASSERT_EQ(run.status, 0) << run.out;
  json out = json::parse(run.out);
  EXPECT_EQ(out["folder"], ZAVUV_TEST_PLUGIN_DIR);
  std::map<std::string, json> listed, skipped;
  for (const json& p : out["plugins"]) listed[p["file"]] = p;
  for (const json& s : out["skipped"]) skipped[s["file"]] = s["reason"];
  EXPECT_EQ(listed["BACMethod.so"], json::parse(R"({"file": "BACMethod.so", "kind": "投注法", "description": "C method",
      "list": "method", "item": 2, "panel": false, "serial_only": false, "settings": {}})"));
  EXPECT_EQ(listed["BASharedTurn.so"]["serial_only"], true);
  EXPECT_EQ(listed["BANothing.so"]["settings"], nullptr);
  EXPECT_EQ(listed["BAOtherKind.so"]["list"], nullptr);
  EXPECT_EQ(listed["BAOtherKind.so"]["kind"], "其他");
  EXPECT_EQ(listed["BAProbe.so"]["item"], 4);
  EXPECT_EQ(skipped["BANoType.so"], "no plugintype");
  EXPECT_EQ(skipped["BAForeign.so"], "no plugintype");
  EXPECT_EQ(skipped["BANoMakeIt.so"], "no MakeIt");
  EXPECT_EQ(skipped["BAEmptyDescription.so"], "empty description");
  EXPECT_EQ(skipped["BAOtherVersion.so"].get<std::string>().rfind("Plugins與主程式版本不配合", 0), 0u);
  EXPECT_EQ(listed.size() + skipped.size(), 10u);

  CliRun samples = Cli(std::string("plugins ") + ZAVUV_PLUGIN_DIR);
  json s = json::parse(samples.out);
  ASSERT_EQ(s["plugins"].size(), 3u);
  EXPECT_EQ(s["plugins"][1]["settings"], json::parse(R"({"base": 100, "cap": 3200})"));

  // An empty folder lists nothing; two folders are refused.
  fs::path empty = fs::temp_directory_path() / ("zavuv-plugins-none-" + std::to_string(::getpid()));
  fs::create_directories(empty);
  EXPECT_EQ(json::parse(Cli("plugins " + empty.string()).out)["plugins"], json::array());
  EXPECT_EQ(Cli("plugins a b").status, 1);
  fs::remove_all(empty);
}

#endif
