#include "strategy/MultiStrategyAnalysis.h"

#include <algorithm>
#include <limits>

#include "plugins/PlugInRegistry.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"
#include "strategy/Strategy.h"
#include "strategy/StrategyHost.h"

namespace zavuv {

BatchGuard::BatchGuard(ShoesData* shoes, TRoad* display) : shoes_(shoes), display_(display) {
  if (shoes_) {
    wasRunning_ = shoes_->BatchRunning;
    shoes_->BatchRunning = true;
  }
  if (display_) {
    redraw_ = display_->AutoRedraw();
    display_->SetAutoRedraw(false);
  }
}

BatchGuard::~BatchGuard() {
  if (shoes_) shoes_->BatchRunning = wasRunning_;
  if (display_) display_->SetAutoRedraw(redraw_);
}

void MultiStrategyAnalysis::RebuildStrategies() {
  if (StrategyPages) Strategies = StrategyPages();
}

void MultiStrategyAnalysis::AnalysisCombinedGame(char result) {
  // Netted wide: many stakes of 32 bits may sum beyond 32 bits.
  std::int64_t net = 0;
  for (Strategy* s : Strategies) {
    if (!s->Use) continue;
    s->GameNo = CurrentGameNo;
    s->AnalysisGame(result);
    if (s->Bet == 'B') net += s->BetAmount;
    else if (s->Bet == 'P') net -= s->BetAmount;
  }
  char side = net > 0 ? 'B' : net < 0 ? 'P' : ' ';
  std::int64_t amount = net < 0 ? -net : net;
  double profit = 0;
  if (result != 'T') {
    if (side == result) profit = side == 'P' ? static_cast<double>(amount) : amount * BankerWinRatio;
    else profit = -static_cast<double>(amount);
  }
  AccProfit += profit;
  auto shown = static_cast<std::int32_t>(std::min<std::int64_t>(amount, std::numeric_limits<std::int32_t>::max()));
  ClientDataSetAnalysis.Append(CurrentShoesName, CurrentGameNo, side, shown, result, profit, AccProfit);
}

void MultiStrategyAnalysis::StartCombined() {
  if (!detached_) {
    ClientDataSetAnalysis.DisableControls();
    detached_ = true;
  }
  ClientDataSetAnalysis.Clear();
  AccProfit = 0;
  BankerWinRatio = 0.95;
  RebuildStrategies();
  for (Strategy* s : Strategies) s->PrepareAnalysis();
}

void MultiStrategyAnalysis::FinishCombined() {
  for (Strategy* s : Strategies) s->FinishAnalysis();
  if (AnalysisGoFirst && !ClientDataSetAnalysis.IsEmpty()) ClientDataSetAnalysis.First();
  if (detached_) {
    detached_ = false;
    ClientDataSetAnalysis.EnableControls();
  }
}

int MultiStrategyAnalysis::ShoesInRange() const {
  const ShoesData* shoes = MainForm ? MainForm->Shoes : nullptr;
  if (!shoes) return 0;
  const ClientDataSet& table = shoes->Table();
  const int count = table.RecordCount();
  const int name = table.FieldIndex("ShoesName");
  int first = 0;
  if (!EditShoeFrom.empty())
    while (first < count && AsString(table.GetValue(first, name)) != EditShoeFrom) ++first;
  int last = first;
  if (EditShoeTo.empty()) {
    last = count - 1;
  } else {
    while (last < count - 1 && AsString(table.GetValue(last, name)) != EditShoeTo) ++last;
  }
  return first < count ? last - first + 1 : 0;
}

void MultiStrategyAnalysis::AnalysisAllShoes() {
  ShoesData* shoes = MainForm ? MainForm->Shoes : nullptr;
  TRoad* display = MainForm ? MainForm->DisplayRoad : nullptr;
  Cancelled = false;
  ShoesAnalysed = 0;
  const int total = Progress ? ShoesInRange() : 0;
  if (display) display->SetResult({});
  BatchGuard guard(shoes, display);
  try {
    StartCombined();
    if (shoes) {
      ClientDataSet& table = shoes->Table();
      table.First();
      if (!EditShoeFrom.empty())
        while (!table.Eof() && shoes->CurrentName() != EditShoeFrom) table.Next();
      while (!table.Eof()) {
        CurrentShoesName = shoes->CurrentName();
        const std::string results = shoes->CurrentResult();
        for (Strategy* s : Strategies) s->NewShoe();
        for (std::size_t g = 0; g < results.size(); ++g) {
          CurrentGameNo = static_cast<std::int32_t>(g + 1);
          AnalysisCombinedGame(results[g]);
        }
        ++ShoesAnalysed;
        if (!EditShoeTo.empty() && CurrentShoesName == EditShoeTo) break;
        const bool more = table.CurrentRow() < table.RecordCount() - 1;
        if (more && Progress && !Progress(ShoesAnalysed, std::max(total, ShoesAnalysed))) {
          Cancelled = true;
          break;
        }
        table.Next();
      }
    }
    FinishCombined();
  } catch (...) {
    Abandon();
    throw;
  }
}

void MultiStrategyAnalysis::Abandon() {
  // The run ended by an error: the tables are shown again with what they hold.
  for (Strategy* s : Strategies) s->AbandonAnalysis();
  if (detached_) {
    detached_ = false;
    ClientDataSetAnalysis.EnableControls();
  }
}

void MultiStrategyAnalysis::AnalysisCurrentShoe() {
  ShoesData* shoes = MainForm ? MainForm->Shoes : nullptr;
  try {
    StartCombined();
    bool browsing = shoes && shoes->Table().State() == DataSetState::Browse;
    if (browsing) {
      for (Strategy* s : Strategies)
        if (s->Use) s->UpdateShoesName();
      CurrentShoesName = shoes->CurrentName();
      const std::string results = shoes->CurrentResult();
      for (std::size_t g = 0; g < results.size(); ++g) {
        CurrentGameNo = static_cast<std::int32_t>(g + 1);
        AnalysisCombinedGame(results[g]);
      }
    }
    FinishCombined();
  } catch (...) {
    Abandon();
    throw;
  }
}

std::string MultiStrategyAnalysis::NextStrategyName(const std::vector<std::string>& captions) {
  for (int n = 1;; ++n) {
    std::string name = "策略" + std::to_string(n);
    if (std::find(captions.begin(), captions.end(), name) == captions.end()) return name;
  }
}

std::unique_ptr<Strategy> MultiStrategyAnalysis::CreateStrategy(StrategyHost* mainForm, const std::string& name,
                                                                int betMethod, int betAmount,
                                                                const PlugInRegistry* plugIns) {
  auto strategy = std::make_unique<Strategy>(mainForm, name);
  if (plugIns) plugIns->AddTo(*strategy);
  strategy->SelectBetMethod(betMethod);
  strategy->SelectBetAmount(betAmount);
  return strategy;
}

}  // namespace zavuv
