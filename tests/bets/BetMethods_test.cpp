#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "../strategy/StrategyTestKit.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodLoop.h"
#include "bets/BetMethodPattern.h"
#include "shoes/RecordTable.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::testkit;

namespace {

std::unique_ptr<Strategy> PatternStrategy(Host& h, int road = 0) {
  auto s = std::make_unique<Strategy>(&h.host, "p");
  s->SelectBetMethod(BetMethod::kPattern);
  s->SelectBetAmount(BetAmount::kFlat);
  s->RoadIndex = road;
  return s;
}

std::unique_ptr<Strategy> LoopStrategy(Host& h, const std::string& text, bool unchangedOnTie, int road = 0) {
  auto s = std::make_unique<Strategy>(&h.host, "l");
  s->SelectBetMethod(BetMethod::kLoop);
  s->SelectBetAmount(BetAmount::kFlat);
  s->RoadIndex = road;
  auto& loop = MethodOf<BetMethodLoop>(*s);
  loop.LoopText = text;
  loop.UnchangeNextToTie = unchangedOnTie;
  return s;
}

void SetPatterns(BetMethodPattern& m, std::initializer_list<std::pair<const char*, const char*>> rows) {
  ClientDataSet& t = m.Table();
  t.EmptyDataSet();
  for (auto [pattern, bet] : rows) {
    t.Append();
    t.SetFieldValue("Pattern", pattern);
    t.SetFieldValue("Bet", bet);
    t.Post();
  }
}

}  // namespace

TEST(BetMethodPattern, TheLastMatchingRowDecides) {
  Host h;
  auto s = PatternStrategy(h);
  // Default table: PPP bets B; ties are not on the big road; BPPP (row 2, no bet) is
  // found before PPP (row 1).
  RunShoe(*s, "PPPB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   B");
  RunShoe(*s, "PTPPB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "    B");
  RunShoe(*s, "BPPPB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "     ");
  EXPECT_EQ(MethodOf<BetMethodPattern>(*s).History(), "BPPPB");

  // Letters other than B and P are dropped when a row is posted: "bpx p" is BPP, a bet
  // "x" is none, and a pattern typed as "xy" is empty and matches every game.
  auto& m = MethodOf<BetMethodPattern>(*s);
  SetPatterns(m, {{"bpx p", "p"}, {"B", "x"}});
  EXPECT_EQ(AsString(m.Table().GetValue(0, 0)), "BPP");
  EXPECT_EQ(AsString(m.Table().GetValue(0, 1)), "P");
  EXPECT_EQ(AsString(m.Table().GetValue(1, 1)), "");
  RunShoe(*s, "BPPB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   P");
  SetPatterns(m, {{"P", "B"}, {"xy", "P"}});
  RunShoe(*s, "BPP");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "PPP");   // the empty pattern, last, decides
  SetPatterns(m, {{"xy", "P"}, {"P", ""}});
  RunShoe(*s, "BPP");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "PP ");   // a row without a bet stops betting

  m.Table().EmptyDataSet();
  RunShoe(*s, "BPP");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   ");
}

TEST(BetMethodPattern, ARowLeftBeingEditedIsPostedWhenARunIsPrepared) {
  Host h;
  auto s = PatternStrategy(h);
  auto& m = MethodOf<BetMethodPattern>(*s);
  SetPatterns(m, {{"PP", "B"}});
  // Typed into the grid and not yet posted: lower case, with a stray letter.
  m.Table().Append();
  m.Table().SetFieldValue("Pattern", std::string("bbx"));
  m.Table().SetFieldValue("Bet", std::string("p"));
  RunShoe(*s, "BBB");
  EXPECT_EQ(m.Table().State(), DataSetState::Browse);
  EXPECT_EQ(AsString(m.Table().GetValue(1, 0)), "BB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "  P");
  // An untouched new row is dropped rather than posted as a blank pattern.
  m.Table().Append();
  RunShoe(*s, "BBB");
  EXPECT_EQ(m.Table().RecordCount(), 2);
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "  P");
}

TEST(BetMethodPattern, DerivedRoadsBetThroughThePrediction) {
  Host h;
  auto s = PatternStrategy(h, /*大眼仔*/ 1);
  auto& m = MethodOf<BetMethodPattern>(*s);
  // While the big road has one column the big eye boy is empty: only an empty pattern
  // matches, and even that gives no bet because nothing can be predicted.
  SetPatterns(m, {{"", "B"}});
  RunShoe(*s, "BBB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   ");
  // BBP has two columns: red (B) on the big eye boy comes from repeating P, since the
  // second row of the P column would face the first column's second row.
  RunShoe(*s, "BBPP");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   P");
}

TEST(BetMethodPattern, MedFilesRoundTripAndBadFilesChangeNothing) {
  std::string path = TempPath("patterns.MED");
  BetMethodPattern m;
  SetPatterns(m, {{"BBP", "P"}, {"", ""}, {"PPPP", "B"}});
  m.Info = Utf8ToBig5("說明\r\n第二行");
  m.SaveBet(path);
  BetMethodPattern back;
  back.ReadBet(path);
  ASSERT_EQ(back.Table().RecordCount(), 3);
  for (int r = 0; r < 3; ++r)
    for (int f = 0; f < 2; ++f) EXPECT_EQ(AsString(back.Table().GetValue(r, f)), AsString(m.Table().GetValue(r, f)));
  EXPECT_EQ(Big5ToUtf8(back.Info), "說明\r\n第二行");
  EXPECT_EQ(back.LastFileName, path);

  // An untouched new row is not saved.
  m.Table().Append();
  m.SaveBet(path);
  back.ReadBet(path);
  EXPECT_EQ(back.Table().RecordCount(), 3);

  std::string junk = TempPath("junk.MED");
  std::ofstream(junk) << "junk";
  EXPECT_THROW(back.ReadBet(junk), std::exception);
  EXPECT_EQ(back.Table().RecordCount(), 3);

  RecordTable records;
  records.AppendSetting("Info", "M", std::string("x"));
  ClientDataSet source({{"Pattern", FieldType::Memo}, {"Colour", FieldType::Memo}});
  source.AppendRow({std::string("BB"), std::string("B")});
  source.First();
  records.AppendTempData(source, 1, "M", "Pattern");
  records.AppendTempData(source, 1, "M", "Colour");
  std::string wrong = TempPath("wrong.MED");
  records.SaveToFile(wrong);
  EXPECT_THROW(back.ReadBet(wrong), TableError);
  EXPECT_EQ(back.Table().RecordCount(), 3);
  EXPECT_EQ(Big5ToUtf8(back.Info), "說明\r\n第二行");
  EXPECT_EQ(back.LastFileName, path);
  std::remove(path.c_str());
  std::remove(junk.c_str());
  std::remove(wrong.c_str());
}

TEST(BetMethodLoop, WalksTheLoopOnTheBigRoad) {
  Host h;
  auto s = LoopStrategy(h, "BBPP", true);
  RunShoe(*s, "BPTPBB");   // the tie does not move the walk; it wraps after P, P
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BBPPPB");
  MethodOf<BetMethodLoop>(*s).UnchangeNextToTie = false;
  RunShoe(*s, "BPTPB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BBPPB");

  MethodOf<BetMethodLoop>(*s).LoopText = "BXP";
  RunShoe(*s, "BBBBBB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "B PB P");

  MethodOf<BetMethodLoop>(*s).LoopText = "bb p-p";
  RunShoe(*s, "B");
  EXPECT_EQ(MethodOf<BetMethodLoop>(*s).LoopString, "BBPP");
  EXPECT_EQ(MethodOf<BetMethodLoop>(*s).LoopText, "BBPP");

  MethodOf<BetMethodLoop>(*s).LoopText = "-?";
  RunShoe(*s, "BPB");
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   ");
  EXPECT_EQ(MethodOf<BetMethodLoop>(*s).LoopText, "");
}

TEST(BetMethodLoop, BeadRoadSlotsAndTheWaitOnDerivedRoads) {
  Host h;
  h.roads.beads[0] = 2;
  auto s = LoopStrategy(h, "BP", true, /*珠路1*/ 4);
  RunShoe(*s, "BPBPBP");   // odd games are slot 1, even games slot 2
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BBPPBB");
  EXPECT_EQ(MethodOf<BetMethodLoop>(*s).Positions.size(), 2u);

  // Slots run on across shoes when the method is not restarted per shoe.
  s->SetBetMethodEach(false);
  s->PrepareAnalysis();
  s->NewShoe();
  s->AnalysisShoe("BPB");
  s->NewShoe();
  s->AnalysisShoe("PBP");
  s->FinishAnalysis();
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BBPPBB");

  // 大眼仔: nothing can be predicted until the big road has two columns; the walk
  // waits meanwhile.
  auto d = LoopStrategy(h, "BP", true, 1);
  RunShoe(*d, "BBPB");
  std::string bets = Bets(d->ClientDataSetAnalysis);
  EXPECT_EQ(bets.substr(0, 3), "   ");
  EXPECT_NE(bets[3], ' ');
  EXPECT_EQ(MethodOf<BetMethodLoop>(*d).Positions[0], 2);   // one letter used

  // An "X" is not used up while the road cannot predict either.
  MethodOf<BetMethodLoop>(*d).LoopText = "XB";
  RunShoe(*d, "BBPBB");
  bets = Bets(d->ClientDataSetAnalysis);
  EXPECT_EQ(bets.substr(0, 4), "    ");
  EXPECT_NE(bets[4], ' ');
}

TEST(BetSelector, SwitchingChoicesAndPlugIns) {
  Host h;
  Strategy s(&h.host);
  EXPECT_EQ(s.FrameBetMethod.ItemIndex(), -1);
  EXPECT_EQ(s.FrameBetMethod.Items(), (std::vector<std::string>{"依形態下注", "循環形式下注"}));
  EXPECT_EQ(s.FrameBetAmount.Items().size(), 5u);
  s.SelectBetMethod(BetMethod::kPattern);
  MethodOf<BetMethodPattern>(s).Table().EmptyDataSet();
  s.SelectBetMethod(BetMethod::kLoop);
  s.SelectBetMethod(BetMethod::kPattern);
  EXPECT_EQ(MethodOf<BetMethodPattern>(s).Table().RecordCount(), 21);   // defaults again
  EXPECT_THROW(s.SelectBetMethod(2), std::out_of_range);

  // Plug-in items come after the built-ins; the factory is given the selector.
  int made = 0;
  BetSelector* asked = nullptr;
  struct Counting : CommonBet {
    int* results;
    explicit Counting(int* r) : results(r) {}
    std::int32_t GetBetAmount(BaseStrategy&) override { return 7; }
    void AddGameResult(char) override { ++*results; }
  };
  int results = 0;
  s.AddBetAmountPlugIn({"外掛注碼", [&](BetSelector& owner) -> std::unique_ptr<CommonBet> {
                          ++made;
                          asked = &owner;
                          return std::make_unique<Counting>(&results);
                        }});
  s.AddBetAmountPlugIn({"沒有元件", [](BetSelector&) { return std::unique_ptr<CommonBet>(); }});
  EXPECT_EQ(s.FrameBetAmount.Items()[5], "外掛注碼");
  EXPECT_TRUE(s.FrameBetAmount.IsPlugInItem(5));
  EXPECT_FALSE(s.FrameBetAmount.IsPlugInItem(4));
  s.SelectBetAmount(5);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(asked, &s.FrameBetAmount);
  EXPECT_EQ(s.FrameBetAmount.CurrentComponent()->MainForm, &h.host);

  // AddGameResult reaches the components in every game, with or without a bet.
  MethodOf<BetMethodPattern>(s).Table().EmptyDataSet();   // never bets
  RunShoe(s, "BTPB");
  EXPECT_EQ(results, 4);
  EXPECT_EQ(MethodOf<BetMethodPattern>(s).History(), "BTPB");
  // The plug-in's stake is used through the selector.
  s.SelectBetMethod(BetMethod::kLoop);
  RunShoe(s, "BB");
  EXPECT_EQ(s.ClientDataSetAnalysis.At(0).betAmount, 7);

  // A factory that gives nothing leaves the selector answering the defaults.
  s.SelectBetAmount(6);
  EXPECT_EQ(s.FrameBetAmount.CurrentComponent(), nullptr);
  RunShoe(s, "BB");
  EXPECT_EQ(s.ClientDataSetAnalysis.At(0).bet, 'B');
  EXPECT_EQ(s.ClientDataSetAnalysis.At(0).betAmount, 0);
  s.ReleaseComponents();
  EXPECT_EQ(s.FrameBetMethod.CurrentComponent(), nullptr);
}

TEST(BetSelector, ViewsAreToldBeforeTheComponentGoes) {
  Host h;
  Strategy s(&h.host);
  std::vector<std::string> told;
  const CommonBet* seenBefore = nullptr;
  s.FrameBetMethod.OnComponentChanging = [&] {
    told.push_back("changing");
    seenBefore = s.FrameBetMethod.CurrentComponent();   // still there
  };
  s.FrameBetMethod.OnComponentChanged = [&] { told.push_back("changed"); };
  s.SelectBetMethod(BetMethod::kPattern);   // nothing to let go of yet
  const CommonBet* pattern = s.FrameBetMethod.CurrentComponent();
  s.SelectBetMethod(BetMethod::kLoop);
  EXPECT_EQ(seenBefore, pattern);
  s.ReleaseComponents();
  s.ReleaseComponents();   // nothing left: not told again
  EXPECT_EQ(told, (std::vector<std::string>{"changed", "changing", "changed", "changing"}));
}
