#include <gtest/gtest.h>

#include "StrategyTestKit.h"
#include "bets/BetMethodPattern.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::testkit;

namespace {

struct Combined {
  Host h;
  MultiStrategyAnalysis multi{&h.host};
  std::vector<std::unique_ptr<Strategy>> strategies;

  Strategy& Add(const std::string& script, int stake) {
    strategies.push_back(Scripted(h, script, stake));
    multi.Strategies.push_back(strategies.back().get());
    return *strategies.back();
  }
  std::string Names() const {
    std::string out;
    const ResultTable& t = multi.ClientDataSetAnalysis;
    for (int r = 0; r < t.RecordCount(); ++r)
      if (r == 0 || t.ShoesNameAt(r) != t.ShoesNameAt(r - 1)) out += std::string(t.ShoesNameAt(r)) + ";";
    return out;
  }
};

}  // namespace

TEST(MultiStrategyAnalysis, NetsTheBetsOfTheStrategiesInUse) {
  Combined c;
  Strategy& banker = c.Add("B", 100);
  Strategy& player = c.Add("P", 60);
  Strategy& idle = c.Add("B", 1000);
  idle.Use = false;
  c.h.shoes.AppendShoe({"S1", "BTP", ""});
  c.multi.AnalysisAllShoes();
  const ResultTable& t = c.multi.ClientDataSetAnalysis;
  ASSERT_EQ(t.RecordCount(), 3);
  EXPECT_EQ(t.ShoesNameAt(0), "S1");
  EXPECT_EQ(t.At(0).bet, 'B');
  EXPECT_EQ(t.At(0).betAmount, 40);
  EXPECT_DOUBLE_EQ(t.At(0).profit, 38);
  EXPECT_DOUBLE_EQ(t.At(1).profit, 0);   // a tie books 0
  EXPECT_DOUBLE_EQ(t.At(2).profit, -40);
  EXPECT_DOUBLE_EQ(t.At(2).accProfit, -2);
  EXPECT_DOUBLE_EQ(c.multi.AccProfit, -2);
  // Each strategy settles its own bet; the one not in use has nothing.
  EXPECT_DOUBLE_EQ(banker.AccProfit, -5);
  EXPECT_DOUBLE_EQ(player.AccProfit, 0);
  EXPECT_EQ(idle.ClientDataSetAnalysis.RecordCount(), 0);
  EXPECT_EQ(idle.NoOfBet, 0);

  // Equal and opposite bets cancel out.
  c.strategies[1] = nullptr;
  c.multi.Strategies.erase(c.multi.Strategies.begin() + 1);
  idle.Use = true;
  static_cast<BetAmountFlat*>(idle.FrameBetAmount.CurrentComponent())->FlatBet = 100;
  static_cast<BetMethodLoop*>(idle.FrameBetMethod.CurrentComponent())->LoopText = "P";
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(t.At(0).bet, ' ');
  EXPECT_EQ(t.At(0).betAmount, 0);
  EXPECT_DOUBLE_EQ(t.At(0).profit, 0);
  EXPECT_DOUBLE_EQ(banker.ClientDataSetAnalysis.At(0).profit, 95);
  EXPECT_DOUBLE_EQ(idle.ClientDataSetAnalysis.At(0).profit, -100);
}

TEST(MultiStrategyAnalysis, RangeFromAndTo) {
  Combined c;
  c.Add("B", 100).RoadIndex = 2;
  for (const char* name : {"A", "B", "C", "B", "D"}) c.h.shoes.AppendShoe({name, "BP", ""});
  int refreshes = 0;
  c.h.shoes.OnRefresh = [&] { ++refreshes; };
  bool batchDuringRun = false;
  c.strategies[0]->OnPrepareAnalysis = [&] { batchDuringRun = c.h.shoes.BatchRunning; };

  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.Names(), "A;B;C;B;D;");
  EXPECT_EQ(refreshes, 0);
  EXPECT_TRUE(batchDuringRun);
  EXPECT_FALSE(c.h.shoes.BatchRunning);
  // The strategy's rows carry the road; the combined rows the plain name.
  EXPECT_EQ(Big5ToUtf8(c.strategies[0]->ClientDataSetAnalysis.ShoesNameAt(0)), "A-小路");

  c.multi.EditShoeFrom = "B";
  c.multi.EditShoeTo = "B";
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.Names(), "B;");
  EXPECT_EQ(c.h.shoes.CurrentName(), "B");   // left on the last shoe analysed
  EXPECT_EQ(c.h.shoes.Table().RecNo(), 2);

  c.multi.EditShoeTo = "Z";   // no such shoe after the start: to the last shoe
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.Names(), "B;C;B;D;");

  c.multi.EditShoeFrom = "Z";   // no such shoe: nothing is analysed
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.multi.ClientDataSetAnalysis.RecordCount(), 0);
  EXPECT_EQ(c.strategies[0]->ClientDataSetAnalysis.RecordCount(), 0);

  c.multi.EditShoeFrom = "";
  c.multi.EditShoeTo = "A";
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.Names(), "A;");

  // With no strategy the shoes are still walked, every combined row without a bet.
  c.multi.Strategies.clear();
  c.multi.EditShoeTo = "";
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.multi.ClientDataSetAnalysis.RecordCount(), 10);
  EXPECT_EQ(c.multi.ClientDataSetAnalysis.At(9).bet, ' ');
}

TEST(MultiStrategyAnalysis, CurrentShoeAndStrategyPages) {
  Combined c;
  c.Add("P", 100);
  c.h.shoes.AppendShoe({"X1", "PPB", ""});
  c.h.shoes.AppendShoe({"X2", "BB", ""});
  c.h.shoes.Table().First();
  c.multi.StrategyPages = [&] { return std::vector<Strategy*>{c.strategies[0].get()}; };
  c.multi.Strategies.clear();
  c.multi.AnalysisCurrentShoe();
  EXPECT_EQ(c.multi.Strategies.size(), 1u);
  EXPECT_EQ(c.Names(), "X1;");
  EXPECT_DOUBLE_EQ(c.multi.AccProfit, 100);
  EXPECT_EQ(c.strategies[0]->ClientDataSetAnalysis.RecordCount(), 3);

  c.h.shoes.Table().Edit();   // while a shoe is edited nothing is played
  c.multi.AnalysisCurrentShoe();
  EXPECT_EQ(c.multi.ClientDataSetAnalysis.RecordCount(), 0);
  EXPECT_EQ(c.strategies[0]->ClientDataSetAnalysis.RecordCount(), 0);
  c.h.shoes.Table().Cancel();

  EXPECT_EQ(MultiStrategyAnalysis::NextStrategyName({"策略1", "A"}), "策略2");
  EXPECT_EQ(MultiStrategyAnalysis::NextStrategyName({"A", "策略2"}), "策略1");
  EXPECT_EQ(MultiStrategyAnalysis::NextStrategyName({"策略1", "策略3"}), "策略2");
}

TEST(MultiStrategyAnalysis, HistoryAcrossShoesMatchesOneLongShoe) {
  // With the per-shoe restarts off the bet method sees one history across the shoes:
  // the bets are those of one long shoe made of the same games.
  Host h;
  auto run = [&](std::initializer_list<const char*> shoes, int road) {
    auto s = std::make_unique<Strategy>(&h.host, "x");
    s->SelectBetMethod(BetMethod::kPattern);
    s->SelectBetAmount(BetAmount::kCancel);
    s->SetBetMethodEach(false);
    s->SetBetAmountEach(false);
    s->RoadIndex = road;
    s->PrepareAnalysis();
    for (const char* shoe : shoes) {
      s->NewShoe();
      s->AnalysisShoe(shoe);
    }
    s->FinishAnalysis();
    std::string out;
    const ResultTable& t = s->ClientDataSetAnalysis;
    for (int r = 0; r < t.RecordCount(); ++r) out += t.At(r).bet + std::to_string(t.At(r).betAmount) + ",";
    return out;
  };
  for (int road = 0; road < 7; ++road) {
    EXPECT_EQ(run({"PPBPTPBBPBBBPPBPB", "BPPPBBTPBPPBPBBPBBPBPP"}, road),
              run({"PPBPTPBBPBBBPPBPBBPPPBBTPBPPBPBBPBBPBPP"}, road))
        << "road " << road;
  }
}

TEST(MultiStrategyAnalysis, AnErrorEndsTheRunAndRestoresTheGuards) {
  // A plug-in bet method that asks for a variable the host does not know.
  struct Asking : CommonBet {
    char GetBet(BaseStrategy& s) override {
      CallPublished(s, "GetIntVar", {"NoSuchVariable"});
      return 'B';
    }
  };
  Combined c;
  Strategy& s = c.Add("B", 100);
  s.AddBetMethodPlugIn({"問", [](BetSelector&) { return std::make_unique<Asking>(); }});
  s.SelectBetMethod(2);
  c.h.shoes.AppendShoe({"S1", "BP", ""});
  c.h.display.SetAutoRedraw(true);
  EXPECT_THROW(c.multi.AnalysisAllShoes(), HostVariableError);
  EXPECT_FALSE(c.h.shoes.BatchRunning);
  EXPECT_TRUE(c.h.display.AutoRedraw());
  EXPECT_FALSE(c.multi.ClientDataSetAnalysis.ControlsDisabled());
  EXPECT_FALSE(s.ClientDataSetAnalysis.ControlsDisabled());
  c.h.display.SetResult("BP");
  EXPECT_THROW(s.AnalysisCurrentShoe(), HostVariableError);
  EXPECT_FALSE(s.ClientDataSetAnalysis.ControlsDisabled());
  // The next run works as usual.
  s.SelectBetMethod(BetMethod::kLoop);
  c.multi.AnalysisAllShoes();
  EXPECT_EQ(c.multi.ClientDataSetAnalysis.RecordCount(), 2);
}

TEST(MultiStrategyAnalysis, ProgressReportsAndStopsTheRange) {
  Combined c;
  Strategy& s = c.Add("B", 100);
  for (const char* name : {"A", "B", "C", "D", "E"}) c.h.shoes.AppendShoe({name, "BPB", ""});
  c.multi.EditShoeFrom = "B";
  c.multi.EditShoeTo = "D";
  EXPECT_EQ(c.multi.ShoesInRange(), 3);
  std::vector<std::pair<int, int>> told;
  c.multi.Progress = [&](int done, int total) {
    told.emplace_back(done, total);
    return true;
  };
  c.multi.AnalysisAllShoes();
  // Told after every shoe that has another after it in the range.
  EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}}));
  EXPECT_FALSE(c.multi.Cancelled);
  EXPECT_EQ(c.multi.ShoesAnalysed, 3);

  // Stopped after the second shoe: both shoes are in every table, the strategy is
  // finished (its charts are drawn) and the shoe table stays on the last shoe analysed.
  c.multi.EditShoeFrom.clear();
  c.multi.EditShoeTo.clear();
  EXPECT_EQ(c.multi.ShoesInRange(), 5);
  bool finished = false;
  s.OnFinishAnalysis = [&] { finished = true; };
  c.multi.Progress = [](int done, int) { return done < 2; };
  c.multi.AnalysisAllShoes();
  EXPECT_TRUE(c.multi.Cancelled);
  EXPECT_EQ(c.multi.ShoesAnalysed, 2);
  EXPECT_EQ(c.Names(), "A;B;");
  EXPECT_EQ(s.ClientDataSetAnalysis.RecordCount(), 6);
  EXPECT_TRUE(finished);
  EXPECT_TRUE(s.FrameWinLostChart.SeriesActive);
  EXPECT_EQ(s.FrameWinLostChart.Points.size(), 7u);
  EXPECT_FALSE(c.h.shoes.BatchRunning);
  EXPECT_EQ(c.h.shoes.CurrentName(), "B");

  // A stop asked for at the last shoe comes too late to stop anything.
  c.multi.Progress = [](int, int) { return false; };
  c.multi.EditShoeFrom = "E";
  c.multi.AnalysisAllShoes();
  EXPECT_FALSE(c.multi.Cancelled);
  c.multi.EditShoeFrom = "Z";
  EXPECT_EQ(c.multi.ShoesInRange(), 0);
}
