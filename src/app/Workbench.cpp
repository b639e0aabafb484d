#include "app/Workbench.h"

#include <algorithm>
#include <stdexcept>

#include "strategy/StrategyFile.h"
#include "table/Guards.h"

namespace zavuv {

const char* AutoBetMessage(AutoBetCheck check) {
  switch (check) {
    case AutoBetCheck::NotConnected:
      return "未連線";
    case AutoBetCheck::Occupied:
      return "已有其他遊戲室佔用自動下注";
    case AutoBetCheck::Ok:
      break;
  }
  return "";
}

Workbench::Workbench() : host_{&shoes_, &displayRoad_, &analysisRoad_, &roads_}, multi_(&host_) {
  shoes_.OnRefresh = [this] { RefreshCurrentShoe(); };
  multi_.StrategyPages = [this] { return Strategies(); };
}

Workbench::~Workbench() {
  // The views are gone by now: nobody is told of what follows.
  shoes_.OnRefresh = nullptr;
  OnStrategyAdded = nullptr;
  OnStrategyRemoving = nullptr;
  OnAutoBetLock = nullptr;
  autoBetHolder_.clear();
  multi_.Strategies.clear();
  autoBetStrategies_.clear();
  // Every strategy goes the way the delete button sends it.
  while (!strategies_.empty()) RemoveStrategy(strategies_.size() - 1);
}

// ---------------------------------------------------------------- strategies

std::vector<Strategy*> Workbench::Strategies() const {
  std::vector<Strategy*> list;
  list.reserve(strategies_.size());
  for (const auto& s : strategies_) list.push_back(s.get());
  return list;
}

std::string Workbench::NextStrategyName() const {
  std::vector<std::string> names;
  for (const auto& s : strategies_) names.push_back(s->StrategyName);
  return MultiStrategyAnalysis::NextStrategyName(names);
}

void Workbench::RequireUnlocked() const {
  if (AutoBetting()) throw std::runtime_error(AutoBetMessage(AutoBetCheck::Occupied));
}

Strategy& Workbench::CreateStrategy(const std::string& name, int betMethod, int betAmount) {
  RequireUnlocked();
  auto strategy = std::make_unique<Strategy>(&host_, name);
  plugIns_.AddTo(*strategy);
  // The page is there before the choices, so that it follows them.
  Strategy& added = AddStrategy(std::move(strategy));
  // Each choice is made even when the other fails; the first error is thrown.
  std::exception_ptr error;
  try {
    added.SelectBetMethod(betMethod);
  } catch (...) {
    error = std::current_exception();
  }
  try {
    added.SelectBetAmount(betAmount);
  } catch (...) {
    if (!error) error = std::current_exception();
  }
  strategyBaseline_[&added] = StrategyText(added);
  if (error) std::rethrow_exception(error);
  return added;
}

Strategy& Workbench::AddStrategy(std::unique_ptr<Strategy> strategy) {
  RequireUnlocked();
  strategy->SetMainForm(&host_);
  strategies_.push_back(std::move(strategy));
  Strategy& added = *strategies_.back();
  strategyBaseline_[&added] = StrategyText(added);
  if (OnStrategyAdded) OnStrategyAdded(added, strategies_.size() - 1);
  return added;
}

void Workbench::RemoveStrategy(std::size_t index) {
  RequireUnlocked();
  if (index >= strategies_.size()) return;
  multi_.Strategies.clear();   // rebuilt at the start of every run
  Strategy& strategy = *strategies_[index];
  strategy.ReleaseComponents();
  if (OnStrategyRemoving) OnStrategyRemoving(strategy, index);
  strategyBaseline_.erase(&strategy);
  strategies_.erase(strategies_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Workbench::MoveStrategy(std::size_t from, std::size_t to) {
  RequireUnlocked();
  if (from >= strategies_.size() || to >= strategies_.size() || from == to) return;
  auto moved = std::move(strategies_[from]);
  strategies_.erase(strategies_.begin() + static_cast<std::ptrdiff_t>(from));
  strategies_.insert(strategies_.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
}

void Workbench::SaveStrategies(const std::string& path) {
  std::vector<const Strategy*> list;
  for (const auto& s : strategies_) list.push_back(s.get());
  WriteStrategySet(path, roads_, list);
  MarkStrategiesUnchanged();
}

namespace {

// The text of a set as it would be saved; a strategy that cannot be written yet (its
// components still being chosen) gives the reason, compared like any text.
std::string SetTextOf(const RoadSettings& roads, const std::vector<const Strategy*>& list) {
  try {
    return FormatStrategySet(roads, list);
  } catch (const std::exception& e) {
    return std::string("\x01") + e.what();
  }
}

}  // namespace

std::string Workbench::StrategyText(const Strategy& strategy) const { return SetTextOf(RoadSettings{}, {&strategy}); }

std::string Workbench::SetText() const {
  std::vector<const Strategy*> list;
  for (const auto& s : strategies_) list.push_back(s.get());
  return SetTextOf(roads_, list);
}

bool Workbench::StrategyChanged(std::size_t index) const {
  if (index >= strategies_.size()) return false;
  const Strategy& strategy = *strategies_[index];
  if (strategy.FrameBetMethod.Modified() || strategy.FrameBetAmount.Modified()) return true;
  auto found = strategyBaseline_.find(&strategy);
  return found == strategyBaseline_.end() || found->second != StrategyText(strategy);
}

std::vector<std::string> Workbench::ChangedStrategies() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < strategies_.size(); ++i)
    if (StrategyChanged(i)) names.push_back(strategies_[i]->StrategyName);
  return names;
}

bool Workbench::StrategySetChanged() const {
  if (SetText() != setBaseline_) return true;
  for (std::size_t i = 0; i < strategies_.size(); ++i)
    if (StrategyChanged(i)) return true;
  return false;
}

void Workbench::MarkStrategiesUnchanged() {
  for (auto& s : strategies_) {
    s->FrameBetMethod.MarkUnchanged();
    s->FrameBetAmount.MarkUnchanged();
    strategyBaseline_[s.get()] = StrategyText(*s);
  }
  setBaseline_ = SetText();
}

void Workbench::ReadStrategies(const std::string& path) {
  RequireUnlocked();
  StrategySet set = ReadStrategySet(path, &host_, &plugIns_);
  // Read whole: only now do the strategies give way to those of the file.
  while (!strategies_.empty()) RemoveStrategy(strategies_.size() - 1);
  roads_ = set.Roads;
  for (int i = 0; i < 3; ++i) roads_.beads[i] = set.Roads.Beads(i);
  if (OnRoadSettingsChanged) OnRoadSettingsChanged();
  for (auto& strategy : set.Strategies) AddStrategy(std::move(strategy));
  MarkStrategiesUnchanged();
  rangeKept_ = false;
  if (shoes_.RefreshSuppressed()) return;
  // The set is in place; an error of the analysis is the refresh's, not the file's.
  try {
    AnalyseCurrentShoe();
  } catch (...) {
    if (!OnError) throw;
    OnError(std::current_exception());
  }
}

// ---------------------------------------------------------------- current shoe

void Workbench::AnalyseCurrentShoe() {
  multi_.AnalysisCurrentShoe();
  if (OnAnalysed) OnAnalysed();
}

void Workbench::RefreshCurrentShoe() {
  if (shoes_.RefreshSuppressed()) return;
  const std::string result = shoes_.CurrentResult();
  displayRoad_.SetResult(result);
  if (rangeKept_ && shoes_.Revision() != rangeRevision_) rangeKept_ = false;
  std::exception_ptr error;
  try {
    if (!rangeKept_) AnalyseCurrentShoe();
  } catch (...) {
    error = std::current_exception();
  }
  if (error && OnError) OnError(error);
  stats_.ClearShoeStats();
  stats_.AddShoeStats(result);
  stats_.ShowShoeStats();
  if (OnCurrentShoeShown) OnCurrentShoeShown();
}

// ---------------------------------------------------------------- ranges

RangeRun Workbench::AnalyseRange(const std::string& from, const std::string& to,
                                 std::function<bool(int done, int total)> progress) {
  RequireUnlocked();
  multi_.EditShoeFrom = from;
  multi_.EditShoeTo = to;
  multi_.Progress = std::move(progress);
  struct ProgressReset {
    MultiStrategyAnalysis& multi;
    ~ProgressReset() { multi.Progress = nullptr; }
  } reset{multi_};
  // The shoe grid stays still while the run walks the shoes.
  DetachedControls still(shoes_.Table());
  rangeKept_ = false;
  multi_.AnalysisAllShoes();
  rangeKept_ = true;
  rangeRevision_ = shoes_.Revision();
  if (OnAnalysed) OnAnalysed();
  return RangeRun{multi_.Cancelled, multi_.ShoesAnalysed, multi_.ShoesInRange(), multi_.CombinedBets};
}

std::int64_t Workbench::RangeRowBytes(const std::string& from, const std::string& to) {
  multi_.EditShoeFrom = from;
  multi_.EditShoeTo = to;
  return multi_.RowBytesInRange();
}

void Workbench::CountRangeStats(const ShoeRange& range) {
  displayRoad_.SetResult("");
  BatchGuard batch(&shoes_, &displayRoad_);
  DetachedControls still(shoes_.Table());
  stats_.CountRange(shoes_, range);
}

// ---------------------------------------------------------------- judging

VerdictReport Workbench::JudgeResults() const { return JudgeRun(Strategies(), multi_, verdictOptions_); }

Fairness Workbench::ShoeFairness() const {
  return CheckFairness(stats_.NoOfBanker, stats_.NoOfPlayer, stats_.NoOfTie);
}

std::unique_ptr<RiskSimulation> Workbench::MakeRiskSimulation() const {
  std::vector<const Strategy*> inUse;
  for (const auto& s : strategies_)
    if (s->Use) inUse.push_back(s.get());
  return RiskSimulation::CopyOf(roads_, inUse, &plugIns_);
}

std::vector<std::string> Workbench::ShoeResults(const std::string& from, const std::string& to) const {
  const ClientDataSet& table = shoes_.Table();
  const int count = table.RecordCount();
  const int name = table.FieldIndex("ShoesName");
  const int result = table.FieldIndex("ShoesResult");
  int first = 0;
  if (!from.empty())
    while (first < count && AsString(table.GetValue(first, name)) != from) ++first;
  std::vector<std::string> out;
  for (int r = first; r < count; ++r) {
    out.push_back(AsString(table.GetValue(r, result)));
    if (!to.empty() && AsString(table.GetValue(r, name)) == to) break;
  }
  return out;
}

// ---------------------------------------------------------------- automatic betting

AutoBetCheck Workbench::CanStartAutoBet(bool connected) const {
  if (!connected) return AutoBetCheck::NotConnected;
  if (AutoBetting()) return AutoBetCheck::Occupied;
  return AutoBetCheck::Ok;
}

bool Workbench::StartAutoBet(const std::string& holder) {
  if (AutoBetting() || holder.empty()) return false;
  autoBetHolder_ = holder;
  autoBetWasRunning_ = shoes_.BatchRunning;
  shoes_.BatchRunning = true;
  autoBetPlaced_ = false;
  autoBetGameNo_ = 0;
  autoBetStrategies_.clear();
  for (const auto& s : strategies_)
    if (s->Use) autoBetStrategies_.push_back(s.get());
  if (OnAutoBetLock) OnAutoBetLock(true);
  try {
    for (Strategy* s : autoBetStrategies_) s->PrepareAnalysis();
  } catch (...) {
    for (Strategy* s : autoBetStrategies_) s->AbandonAnalysis();
    ReleaseAutoBet();
    throw;
  }
  return true;
}

void Workbench::AutoBetNewShoe(const std::string& holder) {
  if (!Holds(holder)) return;
  autoBetPlaced_ = false;
  autoBetGameNo_ = 0;
  for (Strategy* s : autoBetStrategies_) s->NewShoe();
}

AutoBet Workbench::GetAutoBet(const std::string& holder) {
  if (!Holds(holder)) return {};
  std::int64_t net = 0;
  autoBetPlaced_ = true;
  for (Strategy* s : autoBetStrategies_) {
    s->GameNo = autoBetGameNo_ + 1;
    s->PlaceBet();
    if (s->Bet == 'B') net += s->BetAmount;
    else if (s->Bet == 'P') net -= s->BetAmount;
  }
  if (net > 0) return {'B', net};
  if (net < 0) return {'P', -net};
  return {};
}

void Workbench::AutoBetGameResult(const std::string& holder, char result) {
  if (!Holds(holder)) return;
  const bool placed = autoBetPlaced_;
  autoBetPlaced_ = false;
  ++autoBetGameNo_;
  for (Strategy* s : autoBetStrategies_) {
    // No bet was asked for this game: the last game's bet is not settled twice.
    if (!placed) {
      s->Bet = ' ';
      s->BetAmount = 0;
    }
    s->GameNo = autoBetGameNo_;
    s->CalProfit(result);
  }
}

void Workbench::StopAutoBet(const std::string& holder) {
  if (!Holds(holder)) return;
  std::exception_ptr error;
  for (Strategy* s : autoBetStrategies_) {
    try {
      if (error) s->AbandonAnalysis();
      else s->FinishAnalysis();
    } catch (...) {
      if (!error) error = std::current_exception();
      s->AbandonAnalysis();
    }
  }
  ReleaseAutoBet();
  if (error) std::rethrow_exception(error);
}

void Workbench::ReleaseAutoBet() {
  autoBetStrategies_.clear();
  autoBetHolder_.clear();
  shoes_.BatchRunning = autoBetWasRunning_;
  if (OnAutoBetLock) OnAutoBetLock(false);
}

}  // namespace zavuv
