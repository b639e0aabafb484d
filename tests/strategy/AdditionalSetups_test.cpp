#include <gtest/gtest.h>

#include "StrategyTestKit.h"
#include "bets/BetAmountLevel.h"
#include "strategy/AdditionalSetupContinuousWin.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupStartBet.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"

using namespace zavuv;
using namespace zavuv::testkit;

namespace {

template <class T>
T& AddSetup(Strategy& s, int item) {
  AdditionalSetup& setup = s.CreateSetup();
  setup.ComboBoxSelectChange(item);
  return *setup.ComponentAs<T>();
}

// Runs the shoes one after another as a multi-shoe run does.
void RunShoes(Strategy& s, std::initializer_list<const char*> shoes) {
  s.PrepareAnalysis();
  for (const char* shoe : shoes) {
    s.NewShoe();
    s.AnalysisShoe(shoe);
  }
  s.FinishAnalysis();
}

std::vector<std::int32_t> Stakes(const ResultTable& t) {
  std::vector<std::int32_t> out;
  for (int r = 0; r < t.RecordCount(); ++r)
    if (!t.IsNullRow(r) && t.At(r).bet != ' ') out.push_back(t.At(r).betAmount);
  return out;
}

}  // namespace

TEST(AdditionalSetupStartBet, WaitsForOneWouldBeWinPerShoe) {
  Host h;
  auto s = Scripted(h, "B");
  AddSetup<AdditionalSetupStartBet>(*s, AdditionalSetup::kStartBet);
  RunShoe(*s, "PTBB");   // the tie does not enter; game 3 is the would-be win
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "   B");
  EXPECT_EQ(s->NoOfBet, 1);

  // The hooks are published too, on the selector and on the setup it holds.
  AdditionalSetup& page = *s->AdditionalSetups[0];
  CallPublished(page, "prepare");
  EXPECT_FALSE(page.ComponentAs<AdditionalSetupStartBet>()->Entered);
  s->Bet = 'B';
  s->GameResult = 'B';
  CallPublished(page, "AfterGetBet", {static_cast<Published*>(s.get())});
  CallPublished(*page.CurrentSetup(), "AFTERCALPROFIT", {static_cast<Published*>(s.get())});
  EXPECT_TRUE(page.ComponentAs<AdditionalSetupStartBet>()->Entered);

  RunShoes(*s, {"PBB", "BB"});   // each new shoe waits again
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "  B B");

  // A run over the current shoe alone waits once, at the start.
  h.shoes.AppendShoe({"S", "PBB", ""});
  h.display.SetResult("PBB");
  s->AnalysisCurrentShoe();
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "  B");

  // A blank would-be bet never enters.
  auto x = Scripted(h, "XB");
  AddSetup<AdditionalSetupStartBet>(*x, AdditionalSetup::kStartBet);
  RunShoe(*x, "BBBB");
  EXPECT_EQ(Bets(x->ClientDataSetAnalysis), "   B");
}

TEST(AdditionalSetupTakeProfitStopLoss, StopsAtEachThreshold) {
  Host h;
  auto s = Scripted(h, "B", 1000);
  auto& risk = AddSetup<AdditionalSetupTakeProfitStopLoss>(*s, AdditionalSetup::kTakeProfitStopLoss);
  risk.TakeProfit = 1000;
  RunShoes(*s, {"BBB", "BB"});   // 950, then 1900 stops the shoe; the next shoe bets again
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BB BB");
  EXPECT_EQ(s->SuspendCount, 1);   // stopped again at the end of the second shoe
  EXPECT_DOUBLE_EQ(risk.ShoeProfit, 1900);

  risk.RadioGroupApply = AdditionalSetupTakeProfitStopLoss::kWhole;
  RunShoes(*s, {"BBB", "BB"});
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BB   ");
  EXPECT_FALSE(risk.RestartBetAmountEnabled());

  risk.TakeProfit = risk.StopLoss = risk.Rise = risk.Fall = 0;
  RunShoe(*s, "BBBBBBPPPPPPP");
  EXPECT_EQ(s->NoOfBet, 13);

  // Falling 150 from the high: +95, -5, then -105 is 200 below the high of 95.
  auto f = Scripted(h, "B", 100);
  auto& fall = AddSetup<AdditionalSetupTakeProfitStopLoss>(*f, AdditionalSetup::kTakeProfitStopLoss);
  fall.TakeProfit = fall.StopLoss = fall.Rise = 0;
  fall.Fall = 150;
  RunShoe(*f, "BPPBB");
  EXPECT_EQ(Bets(f->ClientDataSetAnalysis), "BBB  ");
  // Rising 150 from the low; stop loss at -200.
  fall.Fall = 0;
  fall.Rise = 150;
  RunShoe(*f, "PBBBB");
  EXPECT_EQ(Bets(f->ClientDataSetAnalysis), "BBB  ");   // -100, -5, +90: 190 above the low
  fall.Rise = 0;
  fall.StopLoss = -200;
  RunShoe(*f, "PPPB");
  EXPECT_EQ(Bets(f->ClientDataSetAnalysis), "BB  ");

  // A stop with the restart box restarts the bet amount method at once.
  auto l = Scripted(h, "B");
  l->SelectBetAmount(BetAmount::kLevel);
  auto& r = AddSetup<AdditionalSetupTakeProfitStopLoss>(*l, AdditionalSetup::kTakeProfitStopLoss);
  r.TakeProfit = 500;
  r.RestartBetAmount = true;
  RunShoe(*l, "BB");
  EXPECT_EQ(AmountOf<BetAmountLevel>(*l).CurrentLevel, 0);
  r.RestartBetAmount = false;
  RunShoe(*l, "BB");
  EXPECT_EQ(AmountOf<BetAmountLevel>(*l).CurrentLevel, 2);
}

TEST(AdditionalSetupGroup, SeparatorsAndRestartsBetweenGroups) {
  Host h;
  auto s = Scripted(h, "B");
  s->SelectBetAmount(BetAmount::kLevel);
  auto& group = AddSetup<AdditionalSetupGroup>(*s, AdditionalSetup::kGroup);
  RunShoe(*s, "BBTBBBP");   // the tie is not counted: the separator comes before game 7
  EXPECT_EQ(Bets(s->ClientDataSetAnalysis), "BBBBBB|B");
  const ResultTable& t = s->ClientDataSetAnalysis;
  for (int f = 0; f < t.FieldCount(); ++f) EXPECT_TRUE(IsNull(t.GetValue(6, f)));
  // The tied 1200 is staked again; the level restarts with the new group.
  EXPECT_EQ(Stakes(t), (std::vector<std::int32_t>{300, 600, 1200, 1200, 300, 600, 300}));

  group.IncludeTie = true;
  RunShoe(*s, "BBTBBBP");
  EXPECT_EQ(Bets(t), "BBBBB|BB");

  // No separator between shoes: the count starts again at each shoe.
  group.UnitNoOfGame = 2;
  RunShoes(*s, {"BB", "BBB"});
  EXPECT_EQ(Bets(t), "BBBB|B");

  // Without a bet placed the games still count; in automatic betting (no rows of
  // games) the separators are still written.
  s->PrepareAnalysis();
  for (char r : std::string("BBBBB")) {
    s->PlaceBet();
    s->CalProfit(r);
  }
  s->FinishAnalysis();
  EXPECT_EQ(Bets(t), "||");
}

TEST(AdditionalSetupContinuousWin, RestartsTheAmountAfterAStreak) {
  Host h;
  auto s = Scripted(h, "B");
  s->SelectBetAmount(BetAmount::kLevel);
  auto& win = AddSetup<AdditionalSetupContinuousWin>(*s, AdditionalSetup::kContinuousWin);
  RunShoe(*s, "BBB");   // two wins restart the level
  EXPECT_EQ(Stakes(s->ClientDataSetAnalysis), (std::vector<std::int32_t>{300, 600, 300}));
  RunShoe(*s, "BTBB");   // a tie neither counts nor breaks the streak
  EXPECT_EQ(Stakes(s->ClientDataSetAnalysis), (std::vector<std::int32_t>{300, 600, 600, 300}));
  RunShoe(*s, "BPB");    // a loss sets the count back
  EXPECT_EQ(win.WinCount, 1);

  // Across shoes the count goes on unless the amount restarts each shoe.
  s->SetBetAmountEach(false);
  RunShoes(*s, {"B", "B"});
  EXPECT_EQ(win.WinCount, 0);   // the second win completed the streak
  s->SetBetAmountEach(true);
  RunShoes(*s, {"B", "B"});
  EXPECT_EQ(win.WinCount, 1);
}

TEST(AdditionalSetup, PagesKindsAndPlugIns) {
  Host h;
  Strategy s(&h.host);
  AdditionalSetup& a = s.CreateSetup();
  EXPECT_EQ(a.Caption(), "每靴入路設定");
  AdditionalSetup& b = s.CreateSetup();
  AdditionalSetup& c = s.CreateSetup();
  b.ComboBoxSelectChange(AdditionalSetup::kGroup);
  b.ComponentAs<AdditionalSetupGroup>()->UnitNoOfGame = 9;
  EXPECT_EQ(b.Caption(), "以數局為一組分析");
  c.ComboBoxSelectChange(AdditionalSetup::kContinuousWin);
  s.DestroySetup(1);
  ASSERT_EQ(s.AdditionalSetups.size(), 2u);
  EXPECT_EQ(s.AdditionalSetups[0].get(), &a);
  EXPECT_EQ(s.AdditionalSetups[1].get(), &c);
  s.DestroySetup(5);   // no such page: nothing happens
  EXPECT_EQ(s.AdditionalSetups.size(), 2u);

  // Changing the kind discards the settings.
  a.ComboBoxSelectChange(AdditionalSetup::kGroup);
  a.ComponentAs<AdditionalSetupGroup>()->UnitNoOfGame = 9;
  a.ComboBoxSelectChange(AdditionalSetup::kStartBet);
  a.ComboBoxSelectChange(AdditionalSetup::kGroup);
  EXPECT_EQ(a.ComponentAs<AdditionalSetupGroup>()->UnitNoOfGame, 5);

  // Setup plug-ins are offered from item 4 by every selector made afterwards; one whose
  // factory gives nothing leaves the selector forwarding nothing.
  s.AddSetupPlugIn({"外掛設定", [](AdditionalSetup&) { return std::unique_ptr<CommonAdditionalSetup>(); }});
  AdditionalSetup& d = s.CreateSetup();
  EXPECT_EQ(d.Items().size(), 5u);
  EXPECT_TRUE(d.IsPlugInItem(4));
  d.ComboBoxSelectChange(4);
  EXPECT_EQ(d.CurrentSetup(), nullptr);
  EXPECT_EQ(d.Caption(), "外掛設定");
  s.SelectBetMethod(BetMethod::kLoop);
  s.SelectBetAmount(BetAmount::kFlat);
  s.AdditionalSetups.erase(s.AdditionalSetups.begin(), s.AdditionalSetups.begin() + 2);
  RunShoe(s, "BBPP");
  EXPECT_EQ(Bets(s.ClientDataSetAnalysis), "BBPP");
  EXPECT_THROW(d.ComboBoxSelectChange(5), std::out_of_range);
}

// A panel showing a setup (a plug-in's panel may read the setup's settings as it goes)
// is let go of while the setup still lives: on a change of kind and when the strategy
// releases its components.
TEST(AdditionalSetup, ViewsLetGoOfASetupBeforeItGoes) {
  struct Watched : CommonAdditionalSetup {
    explicit Watched(bool& alive) : alive(alive) { alive = true; }
    ~Watched() override { alive = false; }
    bool& alive;
  };
  Host h;
  Strategy s(&h.host);
  bool alive = false;
  s.AddSetupPlugIn({"看守", [&](AdditionalSetup&) { return std::make_unique<Watched>(alive); }});
  AdditionalSetup& page = s.CreateSetup();
  std::vector<std::string> seen;
  int watchedSeenAlive = 0;
  page.OnComponentChanging = [&] {
    seen.push_back(page.CurrentSetup() ? "changing" : "changing without a setup");
    if (dynamic_cast<Watched*>(page.CurrentSetup()) && alive) ++watchedSeenAlive;
  };
  page.OnComponentChanged = [&] { seen.push_back(page.CurrentSetup() ? "changed" : "changed to nothing"); };
  page.ComboBoxSelectChange(4);
  page.ComboBoxSelectChange(AdditionalSetup::kGroup);
  EXPECT_FALSE(alive);
  page.ComboBoxSelectChange(4);
  s.ReleaseComponents();
  EXPECT_FALSE(alive);
  EXPECT_EQ(watchedSeenAlive, 2);
  EXPECT_EQ(page.CurrentSetup(), nullptr);
  EXPECT_EQ(page.Caption(), "看守");   // the choice stays; only the setup went
  EXPECT_EQ(seen, (std::vector<std::string>{"changing", "changed", "changing", "changed", "changing", "changed",
                                            "changing"}));
}
