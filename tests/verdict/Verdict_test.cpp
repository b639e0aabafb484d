// Judging results: intervals that hold the true house edge, verdicts that see a
// rigged record, the fair-shoe check, the bankroll simulation's rules.
#include "verdict/Verdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "../strategy/StrategyTestKit.h"
#include "shoes/Dealer.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "verdict/Fairness.h"
#include "verdict/Random.h"
#include "verdict/RiskSimulation.h"

using namespace zavuv;

namespace {

// Shoes from one dealer (seed 42), dealt as far as a test needs them (every test
// runs in a process of its own).
const std::vector<ShoeRecord>& Dealt(std::size_t count) {
  static Dealer dealer(42);
  static std::vector<ShoeRecord> shoes;
  while (shoes.size() < count) shoes.push_back({DealtShoeName(static_cast<int>(shoes.size()) + 1, 100000),
                                                dealer.DealShoe().Result(), {}});
  return shoes;
}

// Flat one-unit banker bets on every game of the shoes, summed as the strategy would.
ShoeSums FlatBanker(std::size_t from, std::size_t count) {
  ShoeSums sums;
  for (std::size_t i = from; i < from + count; ++i) {
    sums.StartShoe();
    for (char r : Dealt(from + count)[i].result) sums.AddBet('B', 1, r == 'B' ? 0.95 : r == 'P' ? -1 : 0);
  }
  return sums;
}

// Runs the strategies over the shoes as "分析分段資料" does, figures only.
struct Bench {
  testkit::Host h;
  std::vector<std::unique_ptr<Strategy>> strategies;
  MultiStrategyAnalysis multi{&h.host};

  Strategy& Add(const std::string& script) {
    strategies.push_back(testkit::Scripted(h, script, 1));
    multi.Strategies.push_back(strategies.back().get());
    return *strategies.back();
  }
  VerdictReport Over(const std::vector<ShoeRecord>& shoes) {
    h.shoes.ShoesLoading = true;
    for (const ShoeRecord& s : shoes) h.shoes.AppendShoe(s);
    h.shoes.ShoesLoading = false;
    multi.KeepRows = false;
    multi.AnalysisAllShoes();
    return JudgeRun(multi.Strategies, multi);
  }
};

}  // namespace

TEST(Verdict, FlatBetsOverDealtShoesHoldTheirHouseEdge) {
  Bench run;
  run.Add("B");
  run.Add("P");
  VerdictReport report = run.Over({Dealt(10000).begin(), Dealt(10000).begin() + 10000});
  const Verdict& banker = report.Strategies[0];
  const Verdict& player = report.Strategies[1];
  EXPECT_EQ(banker.Shoes, 10000);
  EXPECT_DOUBLE_EQ(banker.HouseEdge, kBankerEdge);
  EXPECT_DOUBLE_EQ(player.HouseEdge, kPlayerEdge);
  ASSERT_TRUE(banker.HasInterval);
  EXPECT_LT(banker.CiLow, kBankerEdge);
  EXPECT_GT(banker.CiHigh, kBankerEdge);
  EXPECT_LE((banker.CiHigh - banker.CiLow) / 2, 0.0025);
  EXPECT_LT(player.CiLow, kPlayerEdge);
  EXPECT_GT(player.CiHigh, kPlayerEdge);
  EXPECT_EQ(banker.Kind, VerdictKind::NoDifference);
  EXPECT_EQ(banker.Text().rfind("與莊家優勢無顯著差異（95% 信賴區間 -", 0), 0u) << banker.Text();
  EXPECT_GT(banker.PVsBreakEven, 0.99);   // nothing says a flat banker bet wins
  // The same run judged again gives the same interval; another seed another one.
  EXPECT_EQ(JudgeRun(run.multi.Strategies, run.multi).Strategies[0].CiLow, banker.CiLow);
  EXPECT_NE(JudgeRun(run.multi.Strategies, run.multi, {2000, 7}).Strategies[0].CiLow, banker.CiLow);
  // Banker and player bets cancel in the combined bet: nothing staked.
  EXPECT_EQ(report.Combined.Kind, VerdictKind::NoBets);
  EXPECT_EQ(report.Combined.Text(), "沒有投注");
  EXPECT_EQ(report.Pages.Count, 2);
}

TEST(Verdict, IntervalsCoverTheTrueEdgeAndDealtShoesLookFair) {
  // 200 runs of 500 dealt shoes: the 95 % interval holds the banker bet's edge in at
  // least 92 % of them.
  int covered = 0;
  for (std::size_t run = 0; run < 200; ++run) {
    Verdict v = Judge(FlatBanker(run * 500, 500), false, {2000, 1000 + run});
    ASSERT_TRUE(v.HasInterval);
    covered += v.CiLow <= kBankerEdge && kBankerEdge <= v.CiHigh;
  }
  EXPECT_GE(covered, 184) << covered << " of 200";
  // The 100,000 shoes' outcomes fit the 8-deck probabilities.
  std::int64_t count[3] = {};
  for (const ShoeRecord& s : Dealt(100000))
    for (char r : s.result) ++count[r == 'B' ? 0 : r == 'P' ? 1 : 2];
  Fairness f = CheckFairness(count[0], count[1], count[2]);
  EXPECT_GT(f.P, 0.01) << f.ChiSquare;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.Low[i] < f.Expected[i] && f.Expected[i] < f.High[i]) << i;
}

TEST(Verdict, ARiggedRecordIsSeenByTheVerdictAndTheFairShoeCheck) {
  // The banker wins 60 % of the decided games.
  Random random(5);
  std::vector<ShoeRecord> rigged;
  std::int64_t count[3] = {};
  for (int shoe = 0; shoe < 300; ++shoe) {
    std::string result;
    for (int g = 0; g < 80; ++g) {
      double u = random.Unit();
      char r = u < 0.095 ? 'T' : u < 0.095 + 0.905 * 0.6 ? 'B' : 'P';
      result += r;
      ++count[r == 'B' ? 0 : r == 'P' ? 1 : 2];
    }
    rigged.push_back({"R" + std::to_string(shoe), result, {}});
  }
  Bench run;
  run.Add("B");
  run.Add("P");
  VerdictReport report = run.Over(rigged);
  EXPECT_EQ(report.Strategies[0].Kind, VerdictKind::Better) << report.Strategies[0].Text();
  EXPECT_LT(report.Strategies[0].PVsBreakEven, 0.001);
  EXPECT_EQ(report.Strategies[1].Kind, VerdictKind::Worse);
  // Both pages stand far from their edge; the best of two could hardly look this good.
  EXPECT_LT(report.Pages.HolmP[0], 0.01);
  EXPECT_LT(report.Pages.BestOfKChance, 0.01);
  EXPECT_EQ(report.Pages.Best, 0);
  EXPECT_LT(CheckFairness(count[0], count[1], count[2]).P, 0.001);
}

TEST(Verdict, TooFewShoesNoBetsAndPagesTogether) {
  // One shoe is too few, whatever it shows; no bet at all says so.
  EXPECT_EQ(Judge(FlatBanker(0, 1), false).Kind, VerdictKind::TooFew);
  EXPECT_EQ(Judge(FlatBanker(0, 29), false).Kind, VerdictKind::TooFew);
  EXPECT_NE(Judge(FlatBanker(0, 30), false).Kind, VerdictKind::TooFew);
  ShoeSums none;
  for (int i = 0; i < 50; ++i) none.StartShoe();
  Verdict v = Judge(none, false);
  EXPECT_EQ(v.Kind, VerdictKind::NoBets);
  EXPECT_FALSE(v.HasInterval);
  // Holm: each p times the pages not yet passed, never below the one before.
  std::vector<double> holm = HolmAdjust({0.01, 0.04, 0.03, 0.005});
  const double want[] = {0.03, 0.06, 0.06, 0.02};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(holm[i], want[i], 1e-12) << i;
  // Pages out of use or without a verdict stay out of the family.
  Verdict a = Judge(FlatBanker(0, 300), false), b = Judge(FlatBanker(300, 300), false);
  PagesVerdict pages = JudgePages({a, b, v, a}, {true, true, true, false});
  EXPECT_EQ(pages.Count, 2);
  EXPECT_TRUE(std::isnan(pages.HolmP[2]) && std::isnan(pages.HolmP[3]));
  const double best = std::min(a.PAboveHouseEdge, b.PAboveHouseEdge);
  EXPECT_NEAR(pages.BestOfKChance, 1 - (1 - best) * (1 - best), 1e-12);
}

TEST(Verdict, ShoesCarryingStateAreResampledInBlocks) {
  // Runs of 25 alike shoes: resampling single shoes takes them for independent and
  // gives too narrow an interval; blocks of consecutive shoes see the runs.
  ShoeSums sums;
  Random random(3);
  for (int run = 0; run < 80; ++run) {
    double profit = random.Unit() < 0.5 ? 3 : -4;
    for (int i = 0; i < 25; ++i) {
      sums.StartShoe();
      for (int g = 0; g < 4; ++g) sums.AddBet('B', 1, profit / 4);
    }
  }
  Verdict single = Judge(sums, false), blocks = Judge(sums, true);
  EXPECT_EQ(single.BlockShoes, 1);
  EXPECT_EQ(blocks.BlockShoes, BlockLength(2000));
  EXPECT_EQ(BlockLength(2000), 13);
  EXPECT_GT(blocks.CiHigh - blocks.CiLow, 2.5 * (single.CiHigh - single.CiLow));
  // Past kMaxUnits shoes neighbours merge; nothing is lost.
  ShoeSums many;
  for (std::size_t i = 0; i < ShoeSums::kMaxUnits * 2 + 3; ++i) {
    many.StartShoe();
    many.AddBet('P', 2, i % 3 == 0 ? 2 : -2);
  }
  EXPECT_EQ(many.ShoesPerUnit(), 4);
  EXPECT_EQ(many.Units().size(), ShoeSums::kMaxUnits / 2 + 1);
  double staked = 0, profit = 0;
  for (const auto& u : many.Units()) staked += u.staked, profit += u.profit;
  EXPECT_EQ(staked, many.Staked());
  EXPECT_EQ(profit, many.Profit());
  EXPECT_EQ(many.Units()[1].staked, 8);   // shoes 4 to 7
  EXPECT_EQ(many.Units().back().staked, 6);
}

TEST(RiskSimulation, RuinStopsAndTheCombinedBankroll) {
  // Every session is the same shoe of player wins: a one-unit banker bet loses each
  // game; with a bankroll of 3 the fourth stake cannot be paid.
  RiskSimulation sim;
  auto add = [&](const std::string& script, int stake) {
    testkit::Host unused;
    auto s = testkit::Scripted(unused, script, stake);
    sim.Add(std::move(s));
  };
  add("B", 1);
  add("P", 2);
  const std::vector<std::string> shoe = {"PPPPPPPPPP"};
  RiskSettings settings;
  settings.Bankroll = 3;
  settings.ShoesPerSession = 2;
  settings.Sessions = 20;
  RiskReport r = sim.Run(settings, shoe);
  ASSERT_EQ(r.Strategies.size(), 2u);
  const RiskResult& banker = r.Strategies[0];
  EXPECT_EQ(banker.Sessions, 20);
  EXPECT_EQ(banker.PRuin, 1);
  EXPECT_EQ(banker.FinalMedian, -3);
  EXPECT_EQ(banker.DrawdownP95, 3);
  EXPECT_EQ(banker.LongestLosingRun, 3);
  EXPECT_GT(banker.PRuinLow, 0.8);
  ASSERT_EQ(banker.Fan.size(), 3u);   // the start and after each shoe
  EXPECT_EQ(banker.Fan[0][2], 3);
  EXPECT_EQ(banker.Fan[2][4], 0);
  // The player bets win 2 a game, 40 in the session, never ruined, always ahead.
  EXPECT_EQ(r.Strategies[1].PRuin, 0);
  EXPECT_EQ(r.Strategies[1].PAhead, 1);
  EXPECT_EQ(r.Strategies[1].FinalMedian, 40);
  // Netted, 1 on banker against 2 on player is 1 on player, which wins each game.
  EXPECT_EQ(r.Combined.FinalMedian, 20);
  // A stop-loss ends the session before ruin; a stop-win ends the winner's early.
  settings.StopLoss = -2;
  settings.StopWin = 5;
  r = sim.Run(settings, shoe);
  EXPECT_EQ(r.Strategies[0].PRuin, 0);
  EXPECT_EQ(r.Strategies[0].FinalMedian, -2);
  EXPECT_EQ(r.Strategies[1].FinalMedian, 6);
  EXPECT_EQ(r.Strategies[0].Histogram(4).front().Count, 20);
  // Settings out of bounds are refused before anything is played.
  for (auto bad : {+[](RiskSettings& s) { s.Bankroll = 0; }, +[](RiskSettings& s) { s.ShoesPerSession = 0; },
                   +[](RiskSettings& s) { s.StopLoss = 1; }}) {
    RiskSettings s = settings;
    bad(s);
    EXPECT_THROW(sim.Run(s, shoe), std::invalid_argument);
  }
}
