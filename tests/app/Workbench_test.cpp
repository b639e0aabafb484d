// The workbench without a window: the strategies in page order, strategy sets, the
// current-shoe refresh, range runs and the automatic betting of the rooms.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "app/Workbench.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetMethodLoop.h"
#include "strategy/CommonAdditionalSetup.h"

using namespace zavuv;

namespace {

// A strategy that bets the letters of `script` in turn (X for none) with a flat stake.
Strategy& Scripted(Workbench& bench, const std::string& name, const std::string& script, int stake) {
  Strategy& s = bench.CreateStrategy(name, BetMethod::kLoop, BetAmount::kFlat);
  auto* loop = static_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent());
  loop->LoopText = script;
  loop->UnchangeNextToTie = false;
  static_cast<BetAmountFlat*>(s.FrameBetAmount.CurrentComponent())->FlatBet = stake;
  return s;
}

// A setup that fails in the step named by `where`.
struct Failing : CommonAdditionalSetup {
  explicit Failing(std::string where) : where_(std::move(where)) {}
  void Prepare() override { Fail("Prepare"); }
  void AfterGetBet(Strategy&) override { Fail("AfterGetBet"); }
  void Fail(const char* step) const {
    if (where_ == step) throw std::runtime_error(std::string("setup failed in ") + step);
  }
  std::string where_;
};

void AddFailingSetup(Strategy& s, const std::string& where) {
  s.AddSetupPlugIn({"failing", [where](AdditionalSetup&) { return std::make_unique<Failing>(where); }});
  // The setup plug-ins follow the four built-in setups in the list.
  s.CreateSetup().ComboBoxSelectChange(static_cast<int>(3 + s.SetupPlugIns.size()));
}

}  // namespace

TEST(Workbench, KeepsTheStrategiesInPageOrderAndTellsTheViews) {
  std::vector<std::string> told;
  Workbench bench;
  bench.OnStrategyAdded = [&](Strategy& s, std::size_t i) { told.push_back("+" + s.StrategyName + std::to_string(i)); };
  bench.OnStrategyRemoving = [&](Strategy& s, std::size_t i) { told.push_back("-" + s.StrategyName + std::to_string(i)); };
  bench.CreateStrategy(bench.NextStrategyName(), 0, 0);
  bench.CreateStrategy("A", 0, 0);
  EXPECT_EQ(bench.NextStrategyName(), "策略2");
  bench.CreateStrategy(bench.NextStrategyName(), 0, 0);
  bench.MoveStrategy(2, 0);
  ASSERT_EQ(bench.StrategyCount(), 3u);
  EXPECT_EQ(bench.StrategyAt(0).StrategyName, "策略2");
  EXPECT_EQ(bench.StrategyAt(1).StrategyName, "策略1");
  bench.RemoveStrategy(1);
  bench.RemoveStrategy(7);   // nothing there
  EXPECT_EQ(bench.NextStrategyName(), "策略1");
  EXPECT_EQ(told, (std::vector<std::string>{"+策略10", "+A1", "+策略22", "-策略11"}));
  // Every strategy reads the workbench's shoes and roads.
  EXPECT_EQ(bench.StrategyAt(0).MainForm, &bench.Host());
}

TEST(Workbench, RefreshesRoadsStrategiesAndStatisticsOfTheCurrentShoe) {
  Workbench bench;
  Scripted(bench, "s", "B", 100);
  int shown = 0;
  bench.OnCurrentShoeShown = [&] { ++shown; };
  bench.Shoes().AppendShoe({"S1", "BPB", ""});
  // The roads, the combined rows and the statistics all hold the posted shoe.
  EXPECT_GT(shown, 0);
  EXPECT_EQ(bench.DisplayRoad().Result(), std::string_view("BPB"));
  EXPECT_EQ(bench.Combined().ClientDataSetAnalysis.RecordCount(), 3);
  EXPECT_EQ(bench.Stats().NoOfBanker, 2);
  EXPECT_DOUBLE_EQ(bench.StrategyAt(0).AccProfit, 95 - 100 + 95);

  // A failing strategy does not stop the statistics; the error is reported.
  AddFailingSetup(bench.StrategyAt(0), "AfterGetBet");
  std::string error;
  bench.OnError = [&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      error = x.what();
    }
  };
  shown = 0;
  bench.Shoes().AppendShoe({"S2", "PP", ""});
  EXPECT_EQ(error, "setup failed in AfterGetBet");
  EXPECT_GT(shown, 0);
  EXPECT_EQ(bench.Stats().NoOfPlayer, 2);
}

TEST(Workbench, StrategySetsRoundTripWithTheRoadSettings) {
  const auto path = std::filesystem::temp_directory_path() / "zavuv_workbench_set.json";
  {
    Workbench bench;
    Scripted(bench, "甲", "BP", 300).Use = false;
    Scripted(bench, "乙", "PPB", 500);
    bench.Roads().beads[1] = 9;
    bench.SaveStrategies(path.string());
  }
  Workbench bench;
  bench.CreateStrategy("old", 0, 0);
  int roadsTold = 0;
  bench.OnRoadSettingsChanged = [&] { ++roadsTold; };
  bench.ReadStrategies(path.string());
  ASSERT_EQ(bench.StrategyCount(), 2u);
  EXPECT_EQ(bench.StrategyAt(0).StrategyName, "甲");
  EXPECT_FALSE(bench.StrategyAt(0).Use);
  EXPECT_EQ(bench.Roads().Beads(1), 9);
  EXPECT_EQ(roadsTold, 1);
  // A file that cannot be read changes nothing.
  EXPECT_ANY_THROW(bench.ReadStrategies((path.string() + ".missing")));
  EXPECT_EQ(bench.StrategyCount(), 2u);
  std::filesystem::remove(path);
}

TEST(Workbench, RangeRunPutsEveryGuardBackAfterAnError) {
  Workbench bench;
  bench.Shoes().AppendShoe({"S1", "BPBB", ""});
  bench.Shoes().AppendShoe({"S2", "PPB", ""});
  Strategy& s = Scripted(bench, "s", "B", 100);
  bench.DisplayRoad().SetAutoRedraw(true);
  RangeRun run = bench.AnalyseRange("", "");
  EXPECT_EQ(run.ShoesAnalysed, 2);
  EXPECT_EQ(bench.Combined().ClientDataSetAnalysis.RecordCount(), 7);
  AddFailingSetup(s, "AfterGetBet");
  EXPECT_THROW(bench.AnalyseRange("", ""), std::runtime_error);
  EXPECT_FALSE(bench.Shoes().BatchRunning);
  EXPECT_FALSE(bench.Shoes().Table().ControlsDisabled());
  EXPECT_TRUE(bench.DisplayRoad().AutoRedraw());
}

// ---------------------------------------------------------------- automatic betting

TEST(WorkbenchAutoBet, NetsTheStrategiesInUseGameByGame) {
  Workbench bench;
  Strategy& banker = Scripted(bench, "banker", "B", 500);
  Strategy& mixed = Scripted(bench, "mixed", "PB", 300);
  Strategy& idle = Scripted(bench, "idle", "P", 1000);
  idle.Use = false;
  ASSERT_TRUE(bench.StartAutoBet("BATTLE"));
  EXPECT_TRUE(bench.Shoes().BatchRunning);
  bench.AutoBetNewShoe("BATTLE");

  AutoBet bet = bench.GetAutoBet("BATTLE");   // B500 against P300
  EXPECT_EQ(bet.Side, 'B');
  EXPECT_EQ(bet.Amount, 200);
  bench.AutoBetGameResult("BATTLE", 'P');
  bet = bench.GetAutoBet("BATTLE");   // B500 and B300
  EXPECT_EQ(bet.Side, 'B');
  EXPECT_EQ(bet.Amount, 800);
  bench.AutoBetGameResult("BATTLE", 'B');
  EXPECT_DOUBLE_EQ(banker.AccProfit, -500 + 475);
  EXPECT_DOUBLE_EQ(mixed.AccProfit, 300 + 285);
  EXPECT_EQ(idle.NoOfBet, 0);

  // Equal and opposite stakes: no bet, but both strategies settle the game.
  static_cast<BetAmountFlat*>(banker.FrameBetAmount.CurrentComponent())->FlatBet = 300;
  bet = bench.GetAutoBet("BATTLE");   // B300 against P300
  EXPECT_EQ(bet.Side, ' ');
  EXPECT_EQ(bet.Amount, 0);
  bench.AutoBetGameResult("BATTLE", 'B');
  EXPECT_EQ(banker.WinGame, 2);
  EXPECT_EQ(mixed.LoseGame, 1);

  // A result with no bet asked for it settles nothing twice.
  const double before = banker.AccProfit;
  bench.AutoBetGameResult("BATTLE", 'B');
  EXPECT_DOUBLE_EQ(banker.AccProfit, before);
  EXPECT_EQ(banker.NoOfBet, 3);
  bench.StopAutoBet("BATTLE");
  EXPECT_FALSE(bench.Shoes().BatchRunning);
}

TEST(WorkbenchAutoBet, AMidShoeStartLearnsTheShoeWithoutBetting) {
  Workbench bench;
  Strategy& s = Scripted(bench, "s", "B", 300);
  ASSERT_TRUE(bench.StartAutoBet("BATTLE3"));
  for (char result : std::string("BPB")) bench.AutoBetGameResult("BATTLE3", result);
  EXPECT_EQ(s.NoOfBet, 0);
  EXPECT_DOUBLE_EQ(s.AccProfit, 0);
  EXPECT_EQ(s.GameResult, 'B');
  // The next game is the fourth and is bet at once.
  const AutoBet bet = bench.GetAutoBet("BATTLE3");
  EXPECT_EQ(s.GameNo, 4);
  EXPECT_EQ(bet.Side, 'B');
  EXPECT_EQ(bet.Amount, 300);
  bench.AutoBetGameResult("BATTLE3", 'B');
  EXPECT_DOUBLE_EQ(s.AccProfit, 285);
  bench.StopAutoBet("BATTLE3");
}

TEST(WorkbenchAutoBet, OneHolderAtATime) {
  Workbench bench;
  Strategy& s = Scripted(bench, "s", "B", 300);
  std::vector<bool> lock;
  bench.OnAutoBetLock = [&](bool locked) { lock.push_back(locked); };
  EXPECT_EQ(bench.CanStartAutoBet(false), AutoBetCheck::NotConnected);
  EXPECT_STREQ(AutoBetMessage(AutoBetCheck::NotConnected), "未連線");
  EXPECT_EQ(bench.CanStartAutoBet(true), AutoBetCheck::Ok);
  ASSERT_TRUE(bench.StartAutoBet("BATTLE"));
  EXPECT_EQ(bench.CanStartAutoBet(true), AutoBetCheck::Occupied);
  EXPECT_STREQ(AutoBetMessage(AutoBetCheck::Occupied), "已有其他遊戲室佔用自動下注");
  EXPECT_FALSE(bench.StartAutoBet("BATTLE2"));
  EXPECT_EQ(bench.AutoBetHolder(), "BATTLE");
  // The other room reaches nothing.
  EXPECT_EQ(bench.GetAutoBet("BATTLE2").Amount, 0);
  bench.AutoBetGameResult("BATTLE2", 'B');
  bench.StopAutoBet("BATTLE2");
  EXPECT_EQ(s.NoOfBet, 0);
  EXPECT_TRUE(bench.AutoBetting());
  // The strategies cannot change under the room, nor be run over a range.
  EXPECT_THROW(bench.CreateStrategy("x", 0, 0), std::runtime_error);
  EXPECT_THROW(bench.RemoveStrategy(0), std::runtime_error);
  EXPECT_THROW(bench.AnalyseRange("", ""), std::runtime_error);
  EXPECT_EQ(bench.StrategyCount(), 1u);
  // The range statistics may run; they leave the flag to automatic betting.
  bench.Shoes().AppendShoe({"S1", "BBP", ""});
  bench.CountRangeStats({});
  EXPECT_EQ(bench.Stats().NoOfBanker, 2);
  EXPECT_TRUE(bench.Shoes().BatchRunning);
  bench.StopAutoBet("BATTLE");
  EXPECT_FALSE(bench.Shoes().BatchRunning);
  EXPECT_TRUE(bench.StartAutoBet("BATTLE2"));
  bench.StopAutoBet("BATTLE2");
  EXPECT_EQ(lock, (std::vector<bool>{true, false, true, false}));
}

TEST(WorkbenchAutoBet, BatchRunningIsPutBackAfterAnError) {
  Workbench bench;
  Strategy& s = Scripted(bench, "s", "B", 300);
  AddFailingSetup(s, "Prepare");
  EXPECT_THROW(bench.StartAutoBet("BATTLE"), std::runtime_error);
  EXPECT_FALSE(bench.AutoBetting());
  EXPECT_FALSE(bench.Shoes().BatchRunning);
  EXPECT_FALSE(s.ClientDataSetAnalysis.ControlsDisabled());

  // An error while betting leaves the room to stop, and stopping frees everything.
  s.DestroySetup(0);
  AddFailingSetup(s, "AfterGetBet");
  ASSERT_TRUE(bench.StartAutoBet("BATTLE"));
  EXPECT_THROW(bench.GetAutoBet("BATTLE"), std::runtime_error);
  EXPECT_TRUE(bench.Shoes().BatchRunning);
  bench.StopAutoBet("BATTLE");
  EXPECT_FALSE(bench.AutoBetting());
  EXPECT_FALSE(bench.Shoes().BatchRunning);
  EXPECT_FALSE(s.ClientDataSetAnalysis.ControlsDisabled());
}
