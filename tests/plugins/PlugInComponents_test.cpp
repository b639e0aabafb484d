// Plug-in components in strategies: the sample modules and the test probe driven
// through the real loader, the host table every plug-in calls, and the edges
// (MakeIt making nothing, operations left out, errors a plug-in leaves).
#include <gtest/gtest.h>

#include <string>

#include "../strategy/StrategyTestKit.h"
#include "plugins/PlugInComponent.h"
#include "plugins/PlugInRegistry.h"
#include "table/Big5.h"

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

const PlugInRegistry& TestModules() {
  static const PlugInRegistry registry = [] {
    PlugInRegistry r;
    r.LoadFolder(ZAVUV_TEST_PLUGIN_DIR);
    return r;
  }();
  return registry;
}

int Item(const PlugInRegistry& registry, std::string_view kind, const char* description) {
  const TPlugIns* record = registry.Find(kind, description);
  EXPECT_NE(record, nullptr) << description;
  return record ? registry.ItemOf(*record) : -1;
}

void Set(Published* component, const std::string& name, const std::string& value) {
  PlugInCore* core = PlugInCoreOf(component);
  ASSERT_NE(core, nullptr);
  ASSERT_TRUE(core->SetSetting(name, value)) << name << "=" << value;
}

std::string Setting(Published* component, const std::string& name) {
  for (const auto& [n, v] : PlugInCoreOf(component)->Settings())
    if (n == name) return v;
  return "(none)";
}

// A scripted strategy (bets the script's letters, flat stake) with the probe as its
// only setup.
struct Probed {
  Host h;
  std::unique_ptr<Strategy> s;
  AdditionalSetup* probe = nullptr;
  explicit Probed(const std::string& script) : s(Scripted(h, script, 100)) {
    TestModules().AddTo(*s);
    probe = &s->CreateSetup();
    probe->ComboBoxSelectChange(Item(TestModules(), TPlugIns::kSetup, "probe"));
  }
  void Set(const std::string& name, const std::string& value) { ::Set(probe->CurrentSetup(), name, value); }
  std::string Seen(const std::string& name) { return Setting(probe->CurrentSetup(), name); }
};

}  // namespace

TEST(PlugInComponents, SampleMethodAndAmountAreDrivenByNameLikeBuiltIns) {
  Host h;
  Strategy s(&h.host);
  Samples().AddTo(s);
  s.SelectBetMethod(2);
  s.SelectBetAmount(5);
  CommonBet* method = s.FrameBetMethod.CurrentComponent();
  CommonBet* amount = s.FrameBetAmount.CurrentComponent();
  ASSERT_NE(method, nullptr);
  ASSERT_NE(amount, nullptr);
  EXPECT_EQ(method->ClassInfo().Name(), "PlugInBet");
  EXPECT_NE(FindPublished(*method, "getbet"), nullptr);
  EXPECT_EQ(Setting(amount, "base"), "100");
  EXPECT_EQ(Setting(amount, "cap"), "3200");

  // Follow the last result on the big road; martingale from 100.
  RunShoe(s, "BBPPTPB");
  const ResultTable& t = s.ClientDataSetAnalysis;
  ASSERT_EQ(t.RecordCount(), 7);
  EXPECT_EQ(Bets(t), " BBPPPP");
  std::vector<std::int32_t> stakes, games;
  std::vector<double> profits;
  for (int r = 0; r < 7; ++r) {
    stakes.push_back(t.At(r).betAmount);
    profits.push_back(t.At(r).profit);
    games.push_back(t.At(r).gameNo);
  }
  EXPECT_EQ(stakes, (std::vector<std::int32_t>{0, 100, 100, 200, 100, 100, 100}));
  EXPECT_EQ(profits, (std::vector<double>{0, 95, -100, 200, 0, 100, -100}));
  EXPECT_EQ(games, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_DOUBLE_EQ(s.AccProfit, 195);

  // The cap holds the doubling; "reverse" bets against the road; the settings refuse
  // what they cannot take.
  Set(amount, "cap", "300");
  Set(method, "reverse", "1");
  EXPECT_FALSE(PlugInCoreOf(amount)->SetSetting("cap", "-1"));
  EXPECT_FALSE(PlugInCoreOf(amount)->SetSetting("base", "12x"));
  EXPECT_FALSE(PlugInCoreOf(amount)->SetSetting("ceiling", "5"));
  EXPECT_EQ(Setting(amount, "cap"), "300");
  RunShoe(s, "BBBBBB");
  EXPECT_EQ(Bets(t), " PPPPP");
  EXPECT_EQ(t.At(1).betAmount, 100);
  EXPECT_EQ(t.At(2).betAmount, 200);
  EXPECT_EQ(t.At(3).betAmount, 300);
  EXPECT_EQ(t.At(5).betAmount, 300);

  // On a derived road it bets the side that repeats the road's last colour.
  Strategy d(&h.host);
  Samples().AddTo(d);
  d.SelectBetMethod(2);
  d.RoadIndex = 1;
  std::string shoe = "BBPPBPPPBPBBP";
  TRoad road;
  road.SetResult(shoe);
  ASSERT_FALSE(road.GetDerivedRoad(1).empty());
  char expect = road.PredictFromDerived(1, road.GetDerivedRoad(1).back());
  ASSERT_NE(expect, ' ');
  d.PrepareAnalysis();
  d.AnalysisShoe(shoe + "B");
  d.FinishAnalysis();
  EXPECT_EQ(d.ClientDataSetAnalysis.At(static_cast<int>(shoe.size())).bet, expect);

  // Choosing another item frees the component; choosing the plug-in again makes a
  // new one with its defaults.
  s.SelectBetAmount(1);
  s.SelectBetAmount(5);
  EXPECT_EQ(Setting(s.FrameBetAmount.CurrentComponent(), "cap"), "3200");
}

TEST(PlugInComponents, SetupBlanksBetsInAfterGetBetUntilTheNextShoe) {
  Host h;
  auto s = Scripted(h, "B", 100);
  Samples().AddTo(*s);
  AdditionalSetup& setup = s->CreateSetup();
  setup.ComboBoxSelectChange(4);
  EXPECT_EQ(setup.Caption(), "連輸後停止本靴");
  Set(setup.CurrentSetup(), "losses", "2");

  s->PrepareAnalysis();
  s->NewShoe();
  s->AnalysisShoe("PPBBB");   // two losses: the rest of the shoe has no bet
  s->NewShoe();
  s->AnalysisShoe("PTPB");     // afresh: loss, tie, loss, then stopped
  s->FinishAnalysis();
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BB   BBB ");
  EXPECT_EQ(s->NoOfBet, 5);
  EXPECT_EQ(s->ClientDataSetAnalysis.At(3).betAmount, 0);
  EXPECT_DOUBLE_EQ(s->AccProfit, -400);
  // The bet method still saw every game (the loop moved on through the blanks).
  EXPECT_EQ(s->LoseGame, 4);

  // A win in between sets the count back.
  RunShoe(*s, "PBPBP");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BBBBB");
}

TEST(PlugInComponents, MakeItGivingNothingAndOperationsLeftOutUseTheDefaults) {
  Host h;
  Strategy s(&h.host);
  TestModules().AddTo(s);
  // "C method" offers GetBet only: B in odd games, P in even ones.
  s.SelectBetMethod(Item(TestModules(), TPlugIns::kBetMethod, "C method"));
  // "makes nothing": the selector keeps no component; stakes are 0.
  s.SelectBetAmount(Item(TestModules(), TPlugIns::kBetAmount, "makes nothing"));
  EXPECT_EQ(s.FrameBetAmount.CurrentComponent(), nullptr);
  EXPECT_EQ(s.FrameBetAmount.ItemIndex(), 5);
  ASSERT_NE(s.FrameBetMethod.CurrentComponent(), nullptr);

  RunShoe(s, "BBPP");
  EXPECT_EQ(Bets(s.ClientDataSetAnalysis), "BPBP");
  EXPECT_EQ(s.NoOfBet, 4);
  EXPECT_EQ(s.WinGame, 2);
  EXPECT_DOUBLE_EQ(s.AccProfit, 0);
  EXPECT_EQ(s.TotalBetAmount, 0);

  // The left-out operations answer the contract's defaults.
  CommonBet& method = *s.FrameBetMethod.CurrentComponent();
  Published* strategy = &s;
  EXPECT_EQ(ResultInt(CallPublished(method, "GetBetAmount", {strategy})), 0);
  EXPECT_NO_THROW(CallPublished(method, "Restart"));
  EXPECT_NO_THROW(method.AddGameResult('B'));
  EXPECT_TRUE(PlugInCoreOf(&method)->Settings().empty());
  EXPECT_FALSE(PlugInCoreOf(&method)->SetSetting("x", "1"));
}

TEST(PlugInComponents, HostAccessorsIgnoreCaseAndRefuseOtherNames) {
  const ZavuvHost& host = PlugInHost();
  EXPECT_EQ(host.abi_version, ZAVUV_PLUGIN_ABI_VERSION);
  EXPECT_EQ(host.size, sizeof(ZavuvHost));
  Strategy s;
  ZavuvStrategy* handle = PlugInHandle(s);
  const std::string wrong = "Plugins與主程式版本不配合";
  auto takeError = [&] {
    std::string e = host.PendingError() ? host.PendingError() : "";
    host.ClearError();
    return e;
  };

  s.NoOfBet = 7;
  EXPECT_EQ(host.GetIntVar(handle, "noofbet"), 7);
  EXPECT_EQ(takeError(), "");
  EXPECT_EQ(host.GetIntVar(handle, "NoOfBets"), 0);
  EXPECT_EQ(takeError(), wrong);
  host.SetIntVar(handle, "gAmEnO", 12);
  host.SetIntVar(handle, "BETAMOUNT", 300);
  EXPECT_EQ(s.GameNo, 12);
  EXPECT_EQ(s.BetAmount, 300);
  EXPECT_EQ(takeError(), "");

  host.SetCharVar(handle, "bet", 'P');
  host.SetCharVar(handle, "LASTWIN", 'L');
  EXPECT_EQ(s.Bet, 'P');
  EXPECT_EQ(host.GetCharVar(handle, "lastwin"), 'L');
  EXPECT_EQ(host.GetCharVar(handle, "Result"), ' ');
  EXPECT_EQ(takeError(), wrong);

  s.ShoesName = "A12";
  const char* name = host.GetPCharVar(handle, "SHOESNAME");
  EXPECT_EQ(name, s.ShoesName.c_str());   // the strategy's own text
  host.SetPCharVar(handle, "shoesname", "B7");
  EXPECT_EQ(s.ShoesName, "B7");
  EXPECT_EQ(host.GetPCharVar(handle, "ShoeName"), nullptr);
  EXPECT_EQ(takeError(), wrong);

  EXPECT_DOUBLE_EQ(host.GetRealVar(handle, "bankerwinratio"), 0.95);
  host.SetRealVar(handle, "AccProfit", 12.5);
  EXPECT_DOUBLE_EQ(s.AccProfit, 12.5);
  host.SetRealVar(handle, "Profit", 1);
  EXPECT_EQ(takeError(), wrong);

  // No boolean variable exists: both accessors refuse every name.
  EXPECT_EQ(host.GetBoolVar(handle, "GameNo"), 0);
  EXPECT_EQ(takeError(), wrong);
  host.SetBoolVar(handle, "Bet", 1);
  EXPECT_EQ(takeError(), wrong);

  // The first error stays until cleared; a plug-in's own error the same way.
  host.GetIntVar(handle, "one");
  host.RaiseError("two");
  EXPECT_EQ(takeError(), wrong);
  host.RaiseError("mine");
  EXPECT_EQ(takeError(), "mine");

  // Suspend, Resume and the roads.
  host.Suspend(handle);
  host.Suspend(handle);
  host.Resume(handle);
  EXPECT_EQ(s.SuspendCount, 1);
  EXPECT_STREQ(host.GetAnalysisRoad(handle, "BTPPT"), "BPP");
  EXPECT_EQ(host.GetPredict(handle, 'B'), 'B');
  s.RoadIndex = 1;
  EXPECT_STREQ(host.GetAnalysisRoad(handle, "B"), "");
  EXPECT_EQ(host.GetPredict(handle, 'B'), ' ');   // a one-column big road cannot continue 大眼仔
  EXPECT_EQ(takeError(), "");

  // A null strategy is refused, not followed.
  EXPECT_EQ(host.GetIntVar(nullptr, "GameNo"), 0);
  EXPECT_NE(takeError(), "");
}

TEST(PlugInComponents, ProbeSettersActAtOnceOnTheRunningAnalysis) {
  {
    // BankerWinRatio 1.0 from game 3 on: winning banker bets pay the full stake.
    Probed p("B");
    p.Set("ratio_game", "3");
    p.Set("ratio", "1.0");
    RunShoe(*p.s, "BBBB");
    const ResultTable& t = p.s->ClientDataSetAnalysis;
    EXPECT_DOUBLE_EQ(t.At(0).profit, 95);
    EXPECT_DOUBLE_EQ(t.At(1).profit, 95);
    EXPECT_DOUBLE_EQ(t.At(2).profit, 100);
    EXPECT_DOUBLE_EQ(t.At(3).profit, 100);
    EXPECT_EQ(std::stod(p.Seen("ratio_seen")), 0.95);
    // The next run starts at 0.95 again.
    RunShoe(*p.s, "BB");
    EXPECT_DOUBLE_EQ(t.At(0).profit, 95);
  }
  {
    // GameNo written after game 2's row: the loop goes on with game 5.
    Probed p("B");
    p.Set("jump_game", "2");
    p.Set("jump_to", "5");
    RunShoe(*p.s, "BPBPBPT");
    const ResultTable& t = p.s->ClientDataSetAnalysis;
    ASSERT_EQ(t.RecordCount(), 5);
    std::string results;
    for (int r = 0; r < 5; ++r) results += std::to_string(t.At(r).gameNo) + t.At(r).gameResult;
    EXPECT_EQ(results, "1B2P5B6P7T");
    // A jump back before the first game goes on from the first game, once.
    Probed q("B");
    q.Set("jump_game", "3");
    q.Set("jump_to", "-4");
    RunShoe(*q.s, "BPB");
    EXPECT_EQ(q.s->ClientDataSetAnalysis.RecordCount(), 3 + 3);
  }
  {
    // SetCharVar of "Bet" with a blank in AfterGetBet: game 2 has no bet and no stake.
    Probed p("B");
    p.Set("blank_game", "2");
    RunShoe(*p.s, "BBB");
    EXPECT_EQ(Bets(p.s->ClientDataSetAnalysis), "B B");
    EXPECT_EQ(p.s->ClientDataSetAnalysis.At(1).betAmount, 0);
    EXPECT_EQ(p.s->NoOfBet, 2);
  }
  {
    // GetPCharVar of "shoesname" on 小路 of the shoe A12.
    Probed p("B");
    p.s->RoadIndex = 2;
    p.s->PrepareAnalysis();
    p.s->ShoesName = p.s->ShoesLabel("A12");
    p.s->AnalysisShoe("BP");
    p.s->FinishAnalysis();
    EXPECT_EQ(p.Seen("shoes_name"), Utf8ToBig5("A12-小路"));
  }
}

TEST(PlugInComponents, ErrorsLeftByAPlugInEndTheRunUnlessItHandlesThem) {
  {
    Probed p("B");
    p.Set("bad_game", "2");
    p.Set("bad", "NoOfBets");
    p.s->PrepareAnalysis();
    try {
      p.s->AnalysisShoe("BBB");
      FAIL() << "the run went on";
    } catch (const PlugInError& e) {
      EXPECT_STREQ(e.what(), "Plugins與主程式版本不配合");
    }
    p.s->AbandonAnalysis();
    EXPECT_EQ(p.s->ClientDataSetAnalysis.RecordCount(), 1);   // the run ended at game 2
    EXPECT_FALSE(PlugInErrorPending());

    // With catch=1 the probe reads the error, clears it and the run goes on.
    p.Set("catch", "1");
    RunShoe(*p.s, "BBB");
    EXPECT_EQ(p.s->ClientDataSetAnalysis.RecordCount(), 3);
    EXPECT_EQ(p.Seen("caught"), "Plugins與主程式版本不配合");
  }
  {
    Probed p("B");
    p.Set("bool_game", "1");
    EXPECT_THROW(RunShoe(*p.s, "B"), PlugInError);
  }
  {
    // A C++ exception inside the module becomes an error with its message.
    Probed p("B");
    p.Set("throw_game", "2");
    try {
      RunShoe(*p.s, "BB");
      FAIL() << "the run went on";
    } catch (const PlugInError& e) {
      EXPECT_STREQ(e.what(), "probe failed");
    }
  }
}

// A range run keeps a strategy on one thread while any component it uses, of any
// kind, comes from a module that asks for it; the strategy asks only through each
// component's PlugInPart.
TEST(PlugInComponents, AStrategyStaysOnOneThreadWhileAnyOfItsComponentsAsksForIt) {
  const TPlugIns* shared = TestModules().Find(TPlugIns::kBetMethod, "shared turn");
  ASSERT_NE(shared, nullptr);
  ASSERT_TRUE(shared->SerialOnly);
  // The same module offered as the other two kinds, and once as a method that does not
  // ask (its MakeIt leaves out what those kinds call).
  PlugInRegistry registry;
  registry.Add(*shared);
  TPlugIns amount = *shared, setup = *shared, unasked = *shared;
  amount.PlugInType = TPlugIns::kBetAmount;
  amount.Description = "shared amount";
  setup.PlugInType = TPlugIns::kSetup;
  setup.Description = "shared setup";
  unasked.Description = "free turn";
  unasked.SerialOnly = false;
  for (const TPlugIns& r : {amount, setup, unasked}) registry.Add(r);

  Host h;
  Strategy s(&h.host);
  const StrategyPlugIns& offered = registry;
  offered.AddTo(s);
  s.SelectBetMethod(BetMethod::kPattern);
  s.SelectBetAmount(BetAmount::kLevel);
  EXPECT_TRUE(s.ParallelSafe());

  s.SelectBetMethod(registry.ItemOf(*registry.Find(TPlugIns::kBetMethod, "free turn")));
  ASSERT_NE(PlugInPartOf(s.FrameBetMethod.CurrentComponent()), nullptr);
  EXPECT_TRUE(s.ParallelSafe());
  s.SelectBetMethod(registry.ItemOf(*shared));
  EXPECT_FALSE(s.ParallelSafe());
  s.SelectBetMethod(BetMethod::kPattern);
  EXPECT_TRUE(s.ParallelSafe());

  s.SelectBetAmount(registry.ItemOf(amount));
  EXPECT_FALSE(s.ParallelSafe());
  s.SelectBetAmount(BetAmount::kLevel);
  EXPECT_TRUE(s.ParallelSafe());

  s.CreateSetup().ComboBoxSelectChange(AdditionalSetup::kStartBet);
  s.CreateSetup().ComboBoxSelectChange(registry.ItemOf(setup));
  ASSERT_NE(PlugInPartOf(s.AdditionalSetups[1]->CurrentSetup()), nullptr);
  EXPECT_FALSE(s.ParallelSafe());
  s.DestroySetup(1);
  EXPECT_TRUE(s.ParallelSafe());
  // A built-in component has no plug-in part.
  EXPECT_EQ(PlugInPartOf(s.FrameBetMethod.CurrentComponent()), nullptr);
  EXPECT_EQ(PlugInPartOf(s.AdditionalSetups[0]->CurrentSetup()), nullptr);
}

#endif
