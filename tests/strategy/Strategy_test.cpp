#include <gtest/gtest.h>

#include "StrategyTestKit.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodPattern.h"
#include "contracts/Published.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::testkit;

TEST(Strategy, SettlesEachBetAndKeepsTheCounters) {
  Host h;
  // Bets: B wins, P wins, B loses, none, B on a tie, B wins.
  auto s = Scripted(h, "BPBXBB", 100);
  RunShoe(*s, "BPPBTB");
  const ResultTable& t = s->ClientDataSetAnalysis;
  ASSERT_EQ(t.RecordCount(), 6);
  EXPECT_DOUBLE_EQ(t.At(0).profit, 95);
  EXPECT_DOUBLE_EQ(t.At(1).profit, 100);
  EXPECT_DOUBLE_EQ(t.At(2).profit, -100);
  // The game without a bet: blank side, no stake, no profit, AccProfit unchanged.
  EXPECT_EQ(t.At(3).bet, ' ');
  EXPECT_EQ(t.At(3).betAmount, 0);
  EXPECT_DOUBLE_EQ(t.At(3).profit, 0);
  EXPECT_DOUBLE_EQ(t.At(3).accProfit, 95);
  // The tie: counted as a bet, profit 0, result "T".
  EXPECT_EQ(t.At(4).gameResult, 'T');
  EXPECT_EQ(t.At(4).betAmount, 100);
  EXPECT_DOUBLE_EQ(t.At(4).profit, 0);
  EXPECT_DOUBLE_EQ(t.At(5).accProfit, 190);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(t.At(r).gameNo, r + 1);

  EXPECT_EQ(s->NoOfBet, 5);
  EXPECT_EQ(s->TotalBetAmount, 500);
  EXPECT_EQ(s->WinGame, 3);
  EXPECT_EQ(s->LoseGame, 1);
  EXPECT_DOUBLE_EQ(s->TotalWinAmount, 290);
  EXPECT_DOUBLE_EQ(s->TotalLoseAmount, 100);
  EXPECT_DOUBLE_EQ(s->MaxProfit, 195);
  EXPECT_DOUBLE_EQ(s->MaxLoss, 0);   // never below 0
  EXPECT_EQ(s->LastWin, 'W');

  // Runs: won 2, lost 1, won 1 (the tie and the game without a bet break nothing:
  // the last win joins the run after the tie).
  EXPECT_EQ(s->ConWin.RunCounts(), (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(s->ConLose.RunCounts(), (std::vector<std::int32_t>{1}));
  // Chart points: win/lose on decided bets only; profit on every settled bet.
  EXPECT_EQ(s->FrameWinLostChart.Points, (std::vector<std::int32_t>{0, 1, 2, 1, 2}));
  EXPECT_EQ(s->FrameChartProfit.Points, (std::vector<double>{0, 95, 195, 95, 95, 190}));
  EXPECT_TRUE(s->FrameChartProfit.SeriesActive);

  // A losing run: MaxProfit stays 0; a banker stake of 15 pays 14.25.
  auto l = Scripted(h, "P", 15);
  RunShoe(*l, "BB");
  EXPECT_DOUBLE_EQ(l->MaxProfit, 0);
  EXPECT_DOUBLE_EQ(l->MaxLoss, -30);
  auto b = Scripted(h, "B", 15);
  RunShoe(*b, "B");
  EXPECT_DOUBLE_EQ(b->ClientDataSetAnalysis.At(0).profit, 14.25);

  // A run without any bet leaves one point at 0 in both charts.
  auto none = Scripted(h, "X");
  RunShoe(*none, "BPT");
  EXPECT_EQ(none->FrameWinLostChart.Points.size(), 1u);
  EXPECT_EQ(none->FrameChartProfit.Points.size(), 1u);
  EXPECT_EQ(none->LastWin, 'T');
}

TEST(Strategy, SuspendBlanksEveryBetUntilResumed) {
  Host h;
  auto s = Scripted(h, "B");
  s->PrepareAnalysis();
  s->Suspend();
  s->Suspend();
  s->Resume();
  EXPECT_EQ(s->SuspendCount, 1);
  s->AnalysisShoe("BB");
  s->Resume();
  s->Resume();   // at 0 it stays 0
  EXPECT_EQ(s->SuspendCount, 0);
  s->AnalysisShoe("B");
  s->FinishAnalysis();
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "  B");
  // The bet method still saw every game.
  EXPECT_EQ(MethodOf<BetMethodLoop>(*s).History(), "BBB");
  s->Suspend();
  s->PrepareAnalysis();
  EXPECT_EQ(s->SuspendCount, 0);
}

TEST(Strategy, RowLabelsAndTheCurrentShoe) {
  Host h;
  h.shoes.AppendShoe({"A12", "BPB", ""});
  h.display.SetResult(h.shoes.CurrentResult());
  auto s = Scripted(h, "B");
  s->RoadIndex = 2;
  s->AnalysisCurrentShoe();
  ASSERT_EQ(s->ClientDataSetAnalysis.RecordCount(), 3);
  EXPECT_EQ(Big5ToUtf8(s->ClientDataSetAnalysis.ShoesNameAt(0)), "A12-小路");
  EXPECT_EQ(Big5ToUtf8(s->GetPCharVar("shoesname")), "A12-小路");
  s->RoadIndex = 0;
  s->AnalysisCurrentShoe();
  EXPECT_EQ(s->ClientDataSetAnalysis.ShoesNameAt(2), "A12");

  // Not in use, or the shoe being edited: an empty result.
  s->Use = false;
  s->AnalysisCurrentShoe();
  EXPECT_EQ(s->ClientDataSetAnalysis.RecordCount(), 0);
  EXPECT_EQ(s->NoOfBet, 0);
  s->Use = true;
  h.shoes.Table().Edit();
  s->AnalysisCurrentShoe();
  EXPECT_EQ(s->ClientDataSetAnalysis.RecordCount(), 0);
  h.shoes.Table().Cancel();

  // A long Big5 name is cut to 30 bytes in the rows without splitting a character.
  s->ShoesName = Utf8ToBig5("一二三四五六七八九十一二三四五六");
  s->PrepareAnalysis();
  s->ShoesName = Utf8ToBig5("一二三四五六七八九十一二三四五六");
  s->AnalysisGame('B');
  EXPECT_EQ(s->ClientDataSetAnalysis.ShoesNameAt(0).size(), 30u);
}

TEST(Strategy, AnalysisRoadsAndPredictions) {
  Host h;
  Strategy s(&h.host);
  TRoad history;
  history.SetResult("BTPPT");
  EXPECT_EQ(s.GetAnalysisRoad(history), "BPP");
  // 珠路1, 6 beads, ties counted, 14 results: the games 3 and 9 (a tie left out).
  s.RoadIndex = 4;
  history.SetResult("BPPBBPBBTPPPBP");
  EXPECT_EQ(s.GetAnalysisRoad(history), "P");
  history.SetResult("BPPBBPBBBPPPBP");
  EXPECT_EQ(s.GetAnalysisRoad(history), "PB");
  h.roads.ignoreTies[0] = true;
  h.roads.beads[0] = 2;
  history.SetResult("BTP");   // without ties: BP, next bead in row 0: B
  EXPECT_EQ(s.GetAnalysisRoad(history), "B");
  // The text form loads the results into the main window's analysis road.
  s.RoadIndex = 0;
  EXPECT_EQ(s.GetAnalysisRoad(std::string_view("btp")), "BP");
  EXPECT_EQ(h.analysis.Result(), "BTP");
  // 大眼仔 on a single column cannot predict; the big road passes the side through.
  s.RoadIndex = 1;
  history.SetResult("BBB");
  s.GetAnalysisRoad(history);
  EXPECT_EQ(s.GetPredict('B'), ' ');
  EXPECT_EQ(s.GetPredict('P'), ' ');
  s.RoadIndex = 0;
  EXPECT_EQ(s.GetPredict('P'), 'P');
  s.RoadIndex = 9;
  EXPECT_EQ(s.GetAnalysisRoad(history), "");
  EXPECT_EQ(s.GetPredict('B'), 'B');
}

TEST(Strategy, HostVariablesByName) {
  Host h;
  auto s = Scripted(h, "B", 100);
  RunShoe(*s, "BBP");
  // Through the published accessors, as a plug-in reaches them.
  EXPECT_EQ(ResultInt(CallPublished(*s, "GetIntVar", {std::string("noofbet")})), 3);
  EXPECT_EQ(ResultChar(CallPublished(*s, "getcharvar", {"LastWin"})), 'L');
  EXPECT_DOUBLE_EQ(ResultReal(CallPublished(*s, "GetRealVar", {"BankerWinRatio"})), 0.95);
  try {
    CallPublished(*s, "GetIntVar", {"NoOfBets"});
    ADD_FAILURE() << "an unknown name must raise";
  } catch (const HostVariableError& e) {
    EXPECT_STREQ(e.what(), "Plugins與主程式版本不配合");
  }
  EXPECT_THROW(CallPublished(*s, "GetBoolVar", {"Bet"}), HostVariableError);
  EXPECT_THROW(CallPublished(*s, "SetBoolVar", {"Bet", true}), HostVariableError);
  EXPECT_THROW(CallPublished(*s, "NoSuchOperation"), PublishedError);
  CallPublished(*s, "SetPCharVar", {"ShoesName", "X1"});
  EXPECT_STREQ(s->GetPCharVar("SHOESNAME"), "X1");

  // A wide TotalBetAmount reads clamped through the 32-bit accessor.
  s->TotalBetAmount = 5000000000LL;
  EXPECT_EQ(s->GetIntVar("TotalBetAmount"), 2147483647);

  // Setting BankerWinRatio during a run changes what winning banker bets pay.
  struct FullPay : CommonAdditionalSetup {
    void AfterGetBet(Strategy& st) override { CallPublished(st, "SetRealVar", {"BankerWinRatio", 1.0}); }
  };
  SetupPlugIn plugIn{"全賠", [](AdditionalSetup&) { return std::make_unique<FullPay>(); }};
  s->AddSetupPlugIn(plugIn);
  s->CreateSetup().ComboBoxSelectChange(4);
  RunShoe(*s, "B");
  EXPECT_DOUBLE_EQ(s->ClientDataSetAnalysis.At(0).profit, 100);
}

TEST(Published, LookupIgnoresCaseAndFindsTheMostDerived) {
  struct Odd : CommonBet {
    char GetBet(BaseStrategy&) override { return 'P'; }
    static const PublishedClass& StaticClass() {
      static const PublishedClass info("Odd", &CommonBet::StaticClass(),
                                       {{"getBET", [](Published&, PubArgs) -> PubValue { return 'B'; }}});
      return info;
    }
    const PublishedClass& ClassInfo() const override { return StaticClass(); }
  };
  Odd odd;
  Strategy s;
  EXPECT_EQ(ResultChar(CallPublished(odd, "GETBET", {static_cast<Published*>(&s)})), 'B');
  // The contract's own entry reaches the override.
  const PubOperation* base = CommonBet::StaticClass().Find("GetBet");
  ASSERT_NE(base, nullptr);
  PubValue arg = static_cast<Published*>(&s);
  EXPECT_EQ(ResultChar((*base)(odd, PubArgs(&arg, 1))), 'P');
  EXPECT_EQ(FindPublished(odd, "GetBetAmount"), CommonBet::StaticClass().FindOwn("getbetamount"));
  EXPECT_EQ(FindPublished(odd, "Suspend"), nullptr);
  // An argument of the wrong kind is refused by name.
  EXPECT_THROW(CallPublished(odd, "GetBetAmount", {1}), PublishedError);
  PublishedCall call("GetPredict");
  EXPECT_EQ(ResultChar(call(s, {'P'})), 'P');
  EXPECT_THROW(call(odd, {'P'}), PublishedError);
}

TEST(StrategyAbandon, ARunEndedByAnErrorShowsEveryTableAgain) {
  struct Failing : CommonAdditionalSetup {
    void AfterGetBet(Strategy&) override { throw std::runtime_error("setup failed"); }
  };
  Strategy s;
  s.SelectBetMethod(BetMethod::kPattern);
  s.SelectBetAmount(BetAmount::kLevel);
  s.AddSetupPlugIn({"failing", [](AdditionalSetup&) { return std::make_unique<Failing>(); }});
  s.CreateSetup().ComboBoxSelectChange(4);
  auto* pattern = dynamic_cast<BetMethodPattern*>(s.FrameBetMethod.CurrentComponent());
  auto* level = dynamic_cast<BetAmountLevel*>(s.FrameBetAmount.CurrentComponent());
  ASSERT_TRUE(pattern && level);
  s.PrepareAnalysis();
  EXPECT_TRUE(pattern->Table().ControlsDisabled());
  EXPECT_THROW(s.AnalysisShoe("BBPPB"), std::runtime_error);
  s.AbandonAnalysis();  // what every run does when an error ends it
  EXPECT_FALSE(s.ClientDataSetAnalysis.ControlsDisabled());
  EXPECT_FALSE(pattern->Table().ControlsDisabled());
  EXPECT_FALSE(level->Table().ControlsDisabled());
}
