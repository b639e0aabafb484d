#include "strategy/Strategy.h"

#include "contracts/StrategyHost.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"
#include "strategy/StrategyPlugIns.h"
#include "table/Big5.h"

namespace zavuv {

namespace {

// The road captions as they go into the rows' labels (Big5).
const std::string& RoadCaptionBig5(int road) {
  static const std::vector<std::string> captions = [] {
    std::vector<std::string> out;
    for (std::string_view caption : BaseStrategy::RoadCaptions()) out.push_back(Utf8ToBig5(caption));
    return out;
  }();
  return captions.at(static_cast<std::size_t>(road));
}

}  // namespace

Strategy::Strategy(StrategyHost* mainForm, std::string name)
    : BaseStrategy(mainForm), StrategyName(std::move(name)) {
  FrameBetMethod.OwnerStrategy = this;
  FrameBetAmount.OwnerStrategy = this;
  FrameBetMethod.SetMainForm(mainForm);
  FrameBetAmount.SetMainForm(mainForm);
}

Strategy::~Strategy() = default;

void Strategy::SetMainForm(StrategyHost* mainForm) {
  MainForm = mainForm;
  FrameBetMethod.SetMainForm(mainForm);
  FrameBetAmount.SetMainForm(mainForm);
  if (CommonBet* c = FrameBetMethod.CurrentComponent()) c->SetMainForm(mainForm);
  if (CommonBet* c = FrameBetAmount.CurrentComponent()) c->SetMainForm(mainForm);
}

std::string Strategy::ShoesLabel(std::string_view shoeName) const {
  std::string label(shoeName);
  if (RoadIndex >= 1 && RoadIndex < kRoadCount) label += "-" + RoadCaptionBig5(RoadIndex);
  return label;
}

void Strategy::UpdateShoesName() {
  std::string name = (MainForm && MainForm->Shoes) ? MainForm->Shoes->CurrentName() : std::string();
  ShoesName = ShoesLabel(name);
}

void Strategy::ClearStats() {
  MaxProfit = MaxLoss = 0;
  NoOfBet = 0;
  TotalBetAmount = 0;
  WinGame = LoseGame = 0;
  TotalWinAmount = TotalLoseAmount = 0;
  ConWin.Clear();
  ConLose.Clear();
}

void Strategy::ShowStats() {
  ConWin.ShowTable();
  ConLose.ShowTable();
}

void Strategy::PrepareAnalysis() {
  if (!detached_) {
    ClientDataSetAnalysis.DisableControls();
    detached_ = true;
  }
  FrameBetMethod.Prepare();
  FrameBetAmount.Prepare();
  FrameWinLostChart.Reset();
  FrameChartProfit.Reset();
  ClientDataSetAnalysis.Clear();
  Sums.Clear();
  Bet = ' ';
  AccProfit = 0;
  BankerWinRatio = 0.95;
  ClearStats();
  LastWin = 'T';
  ForgetPredictRoad();
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->Prepare();
  if (OnPrepareAnalysis) OnPrepareAnalysis();
  // Last, so that no setup can leave the strategy suspended from one run to the next.
  SuspendCount = 0;
}

void Strategy::NewShoe() {
  NewShoe((MainForm && MainForm->Shoes) ? MainForm->Shoes->CurrentName() : std::string());
}

void Strategy::NewShoe(std::string_view shoeName) {
  if (BetMethodEach()) FrameBetMethod.Restart();
  if (BetAmountEach()) FrameBetAmount.Restart();
  ShoesName = ShoesLabel(shoeName);
  Sums.StartShoe();
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->NewShoe(*this);
}

void Strategy::AnalysisGame(char result) {
  PlaceBet();
  CalProfit(result);
  MakeRecord();
}

void Strategy::PlaceBet() {
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->BeforeAnalysisGame(*this);
  Bet = FrameBetMethod.GetBet(*this);
  // A prediction is only good within the bet method's own call.
  ForgetPredictRoad();
  if (SuspendCount > 0) Bet = ' ';
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->AfterGetBet(*this);
  // A side is "B" or "P"; whatever else a component or a plug-in left is no bet.
  if (Bet == 'b' || Bet == 'p') Bet = static_cast<char>(Bet - 32);
  if (Bet != 'B' && Bet != 'P') Bet = ' ';
  if (Bet == ' ') {
    BetAmount = 0;
    return;
  }
  BetAmount = FrameBetAmount.GetBetAmount(*this);
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->AfterGetBetAmount(*this);
  NoOfBet += 1;
  TotalBetAmount += BetAmount;
}

void Strategy::CalProfit(char result) {
  GameResult = result;
  FrameBetMethod.AddGameResult(result);
  FrameBetAmount.AddGameResult(result);
  GameProfit = 0;
  if (Bet != ' ') {
    if (result == 'T') {
      LastWin = 'T';
    } else if (result == Bet) {
      LastWin = 'W';
      GameProfit = Bet == 'P' ? static_cast<double>(BetAmount) : BetAmount * BankerWinRatio;
      WinGame += 1;
      TotalWinAmount += GameProfit;
      ConWin.Add(true);
      ConLose.Add(false);
      FrameWinLostChart.AddWin();
    } else {
      LastWin = 'L';
      GameProfit = -static_cast<double>(BetAmount);
      LoseGame += 1;
      TotalLoseAmount += BetAmount;
      ConWin.Add(false);
      ConLose.Add(true);
      FrameWinLostChart.AddLose();
    }
    FrameChartProfit.AddProfit(GameProfit);
    Sums.AddBet(Bet, BetAmount, GameProfit);
    AccProfit += GameProfit;
    if (AccProfit > MaxProfit) MaxProfit = AccProfit;
    else if (AccProfit < MaxLoss) MaxLoss = AccProfit;
  }
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->AfterCalProfit(*this);
}

void Strategy::MakeRecord() {
  ClientDataSetAnalysis.Append(ShoesName, GameNo, Bet, BetAmount, GameResult, GameProfit, AccProfit);
  for (std::size_t i = 0; i < AdditionalSetups.size(); ++i) AdditionalSetups[i]->AfterMakeRecord(*this);
}

void Strategy::FinishAnalysis() {
  FrameBetMethod.Finish();
  FrameBetAmount.Finish();
  FrameWinLostChart.ShowChart();
  FrameChartProfit.ShowChart();
  ShowStats();
  if (AnalysisGoFirst && !ClientDataSetAnalysis.IsEmpty()) ClientDataSetAnalysis.First();
  if (detached_) {
    detached_ = false;
    ClientDataSetAnalysis.EnableControls();
  }
  if (OnFinishAnalysis) OnFinishAnalysis();
}

void Strategy::AbandonAnalysis() {
  // The components get their Finish too, so that the pattern and level tables are
  // shown again; an error there must not hide the one that ended the run.
  for (BetSelector* selector : {static_cast<BetSelector*>(&FrameBetMethod), static_cast<BetSelector*>(&FrameBetAmount)}) {
    try {
      selector->Finish();
    } catch (...) {
    }
  }
  if (detached_) {
    detached_ = false;
    ClientDataSetAnalysis.EnableControls();
  }
}

void Strategy::AnalysisShoe(std::string_view results) {
  // A copy: the text may live in a road model that a plug-in could refill.
  const std::string games(results);
  const auto length = static_cast<std::int64_t>(games.size());
  GameNo = 1;
  while (GameNo <= length) {
    AnalysisGame(games[static_cast<std::size_t>(GameNo - 1)]);
    // A plug-in may move the loop by writing GameNo; a position before the first game
    // goes on from the first game rather than reading outside the shoe.
    if (GameNo < 0) GameNo = 0;
    GameNo += 1;
  }
}

void Strategy::AnalysisCurrentShoe() {
  try {
    ClientDataSetAnalysis.KeepRows = true;
    PrepareAnalysis();
    bool browsing = MainForm && MainForm->Shoes && MainForm->Shoes->Table().State() == DataSetState::Browse;
    if (Use && browsing) {
      UpdateShoesName();
      AnalysisShoe(MainForm->DisplayRoad ? MainForm->DisplayRoad->Result() : std::string_view());
    }
    FinishAnalysis();
  } catch (...) {
    AbandonAnalysis();
    throw;
  }
}

AdditionalSetup& Strategy::CreateSetup() {
  auto setup = std::make_unique<AdditionalSetup>();
  setup->ComboBoxSelectChange(AdditionalSetup::kStartBet);
  AdditionalSetup& added = *setup;
  AdditionalSetups.push_back(std::move(setup));
  for (const SetupPlugIn& p : SetupPlugIns) added.AddPlugIn(p);
  return added;
}

void Strategy::DestroySetup(int index) {
  if (index < 0 || index >= static_cast<int>(AdditionalSetups.size())) return;
  AdditionalSetups.erase(AdditionalSetups.begin() + index);
}

void Strategy::ReleaseComponents() {
  FrameBetMethod.ReleaseComponent();
  FrameBetAmount.ReleaseComponent();
  for (auto& setup : AdditionalSetups) setup->ReleaseComponent();
}

bool Strategy::KeepsStateAcrossShoes() const {
  if (!BetMethodEach() || !BetAmountEach()) return true;
  for (const auto& setup : AdditionalSetups)
    if (setup->CarriesAcrossShoes()) return true;
  return false;
}

bool Strategy::ParallelSafe() const {
  auto serial = [](Published* component) {
    const PlugInPart* plugIn = PlugInPartOf(component);
    return plugIn && plugIn->SerialOnly();
  };
  for (const BetSelector* selector : {static_cast<const BetSelector*>(&FrameBetMethod),
                                      static_cast<const BetSelector*>(&FrameBetAmount)})
    if (serial(selector->CurrentComponent())) return false;
  for (const auto& setup : AdditionalSetups)
    if (serial(setup->CurrentSetup())) return false;
  return true;
}

const PublishedClass& Strategy::StaticClass() {
  static const PublishedClass info("Strategy", &BaseStrategy::StaticClass());
  return info;
}

}  // namespace zavuv
