#include "strategy/MultiStrategyAnalysis.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <exception>
#include <limits>
#include <thread>

#include "contracts/StrategyHost.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"
#include "strategy/Strategy.h"
#include "strategy/StrategyPlugIns.h"

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

namespace {

// A strategy's part of the combined bet: banker stakes count up, player stakes down.
std::int64_t Stake(const Strategy& s) {
  return s.Bet == 'B' ? s.BetAmount : s.Bet == 'P' ? -static_cast<std::int64_t>(s.BetAmount) : 0;
}

}  // namespace

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
    net += Stake(*s);
  }
  BookCombined(result, net);
}

void MultiStrategyAnalysis::BookCombined(char result, std::int64_t net) {
  char side = net > 0 ? 'B' : net < 0 ? 'P' : ' ';
  std::int64_t amount = net < 0 ? -net : net;
  if (side != ' ') ++CombinedBets;
  double profit = 0;
  if (result != 'T') {
    if (side == result) profit = side == 'P' ? static_cast<double>(amount) : amount * BankerWinRatio;
    else profit = -static_cast<double>(amount);
  }
  AccProfit += profit;
  if (amount != 0) Sums.AddBet(side, static_cast<double>(amount), profit);
  if (!ClientDataSetAnalysis.KeepRows) return;
  auto shown = static_cast<std::int32_t>(std::min<std::int64_t>(amount, std::numeric_limits<std::int32_t>::max()));
  ClientDataSetAnalysis.Append(CurrentShoesName, CurrentGameNo, side, shown, result, profit, AccProfit);
}

void MultiStrategyAnalysis::StartCombined(bool keepRows, bool keepStrategyRows) {
  if (!detached_) {
    ClientDataSetAnalysis.DisableControls();
    detached_ = true;
  }
  ClientDataSetAnalysis.Clear();
  ClientDataSetAnalysis.KeepRows = keepRows;
  Sums.Clear();
  Sums.Enabled = CollectSums;
  AccProfit = 0;
  CombinedBets = 0;
  BankerWinRatio = 0.95;
  RebuildStrategies();
  for (Strategy* s : Strategies) {
    s->ClientDataSetAnalysis.KeepRows = keepRows && keepStrategyRows;
    s->Sums.Enabled = CollectSums;
    s->PrepareAnalysis();
  }
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

std::int64_t MultiStrategyAnalysis::GamesInRange() const {
  const ShoesData* shoes = MainForm ? MainForm->Shoes : nullptr;
  if (!shoes) return 0;
  const ClientDataSet& table = shoes->Table();
  const int count = table.RecordCount();
  const int name = table.FieldIndex("ShoesName");
  const int result = table.FieldIndex("ShoesResult");
  int first = 0;
  if (!EditShoeFrom.empty())
    while (first < count && AsString(table.GetValue(first, name)) != EditShoeFrom) ++first;
  std::int64_t games = 0;
  for (int r = first; r < count; ++r) {
    games += static_cast<std::int64_t>(AsString(table.GetValue(r, result)).size());
    if (!EditShoeTo.empty() && AsString(table.GetValue(r, name)) == EditShoeTo) break;
  }
  return games;
}

std::int64_t MultiStrategyAnalysis::RowBytesInRange() {
  RebuildStrategies();
  std::int64_t tables = 1;
  for (const Strategy* s : Strategies) tables += s->Use ? 1 : 0;
  return GamesInRange() * tables * static_cast<std::int64_t>(sizeof(ResultTable::Row));
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
    StartCombined(KeepRows, KeepStrategyRows);
    if (shoes) {
      ClientDataSet& table = shoes->Table();
      table.First();
      if (!EditShoeFrom.empty())
        while (!table.Eof() && shoes->CurrentName() != EditShoeFrom) table.Next();
      int threads = Threads > 0 ? Threads : static_cast<int>(std::thread::hardware_concurrency());
      if (!table.Eof()) {
        if (threads > 1 && Strategies.size() > 1) RunParallel(*shoes, total, threads);
        else RunSerial(*shoes, total);
      }
    }
    FinishCombined();
  } catch (...) {
    Abandon();
    throw;
  }
}

void MultiStrategyAnalysis::RunSerial(ShoesData& shoes, int total) {
  ClientDataSet& table = shoes.Table();
  while (!table.Eof()) {
    CurrentShoesName = shoes.CurrentName();
    const std::string results = shoes.CurrentResult();
    for (Strategy* s : Strategies) s->NewShoe();
    Sums.StartShoe();
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

// The parallel range run. The calling thread reads a block of shoes off the shoe
// table; then every strategy goes through the whole block on its own (strategies
// share nothing while they play: each has its components, its road models and its
// tables), the calling thread and the workers taking strategies in turn; each
// strategy in use writes its stake of every game into a column of its own. When all
// are through, the calling thread nets the columns game by game in game order,
// exactly as AnalysisCombinedGame would have, and books the combined rows.
void MultiStrategyAnalysis::RunParallel(ShoesData& shoes, int total, int threads) {
  ClientDataSet& table = shoes.Table();
  const std::size_t count = Strategies.size();

  std::vector<Strategy*> serial, parallel;
  for (Strategy* s : Strategies) (s->ParallelSafe() ? parallel : serial).push_back(s);
  // The serial strategies take one thread together.
  threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), parallel.size() + (serial.empty() ? 0 : 1)));
  if (threads < 2) return RunSerial(shoes, total);

  // Each parallel strategy fills a road model of its own while the run lasts.
  struct PrivateRoads {
    std::vector<Strategy*>& strategies;
    explicit PrivateRoads(std::vector<Strategy*>& s) : strategies(s) {
      for (Strategy* p : strategies) p->PrivateAnalysisRoad = true;
    }
    ~PrivateRoads() {
      for (Strategy* p : strategies) p->PrivateAnalysisRoad = false;
    }
  } privateRoads(parallel);

  std::vector<std::string> names;
  std::string games;                       // the block's results, shoe after shoe
  std::vector<std::size_t> starts;         // where each shoe's results begin in games
  std::vector<std::vector<std::int64_t>> stakes(count);
  std::vector<std::exception_ptr> errors(count);
  std::atomic<std::size_t> next{0};

  // One strategy through the whole block.
  auto play = [&](std::size_t j) {
    Strategy& s = *Strategies[j];
    try {
      std::vector<std::int64_t>& column = stakes[j];
      column.clear();
      for (std::size_t i = 0; i < names.size(); ++i) {
        s.NewShoe(names[i]);
        if (!s.Use) continue;
        const std::size_t end = starts[i + 1];
        for (std::size_t g = starts[i]; g < end; ++g) {
          s.GameNo = static_cast<std::int32_t>(g - starts[i] + 1);
          s.AnalysisGame(games[g]);
          column.push_back(Stake(s));
        }
      }
    } catch (...) {
      errors[j] = std::current_exception();
    }
  };
  // The strategies that must stay on one thread may share state through their
  // modules, so they play together on this thread, game by game in page order, making
  // exactly the calls, in exactly the order, of the run on one thread.
  std::vector<std::size_t> parallelIndex, serialIndex;
  for (std::size_t j = 0; j < count; ++j) (Strategies[j]->ParallelSafe() ? parallelIndex : serialIndex).push_back(j);
  auto playSerial = [&] {
    if (serialIndex.empty()) return;
    const std::size_t first = serialIndex.front();
    try {
      for (std::size_t j : serialIndex) stakes[j].clear();
      for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j : serialIndex) Strategies[j]->NewShoe(names[i]);
        for (std::size_t g = starts[i]; g < starts[i + 1]; ++g)
          for (std::size_t j : serialIndex) {
            Strategy& s = *Strategies[j];
            if (!s.Use) continue;
            s.GameNo = static_cast<std::int32_t>(g - starts[i] + 1);
            s.AnalysisGame(games[g]);
            stakes[j].push_back(Stake(s));
          }
      }
    } catch (...) {
      errors[first] = std::current_exception();
    }
  };
  auto takeTurns = [&] {
    for (std::size_t k; (k = next.fetch_add(1)) < parallelIndex.size();) play(parallelIndex[k]);
  };

  // Workers wait at the barrier for a block, play, and meet again when it is done.
  bool stop = false;
  std::barrier sync(threads);
  std::vector<std::thread> workers;
  auto stopWorkers = [&] {
    stop = true;
    sync.arrive_and_wait();
    for (std::thread& w : workers) w.join();
    workers.clear();
  };
  for (int t = 1; t < threads; ++t)
    workers.emplace_back([&] {
      for (;;) {
        sync.arrive_and_wait();
        if (stop) return;
        takeTurns();
        sync.arrive_and_wait();
      }
    });

  try {
    bool last = false;
    bool started = false;
    while (!last) {
      // Read the block. The cursor stays on the block's last shoe, as the serial run
      // leaves it on the shoe it analysed last.
      names.clear();
      games.clear();
      starts.assign(1, 0);
      while (names.size() < static_cast<std::size_t>(std::max(BlockShoes, 1))) {
        if (started) table.Next();
        started = true;
        names.push_back(shoes.CurrentName());
        games += shoes.CurrentResult();
        starts.push_back(games.size());
        if ((!EditShoeTo.empty() && names.back() == EditShoeTo) || table.CurrentRow() >= table.RecordCount() - 1) {
          last = true;
          break;
        }
      }

      next = 0;
      sync.arrive_and_wait();                      // the workers start
      playSerial();
      takeTurns();
      sync.arrive_and_wait();                      // every strategy is through
      for (std::size_t j = 0; j < count; ++j)
        if (errors[j]) std::rethrow_exception(errors[j]);

      // Net the block, game by game.
      std::vector<const std::vector<std::int64_t>*> inUse;
      for (std::size_t j = 0; j < count; ++j)
        if (Strategies[j]->Use) inUse.push_back(&stakes[j]);
      for (std::size_t i = 0; i < names.size(); ++i) {
        CurrentShoesName = names[i];
        Sums.StartShoe();
        for (std::size_t g = starts[i]; g < starts[i + 1]; ++g) {
          CurrentGameNo = static_cast<std::int32_t>(g - starts[i] + 1);
          std::int64_t net = 0;
          for (const auto* column : inUse) net += (*column)[g];
          BookCombined(games[g], net);
        }
      }
      ShoesAnalysed += static_cast<int>(names.size());
      if (!last && Progress && !Progress(ShoesAnalysed, std::max(total, ShoesAnalysed))) {
        Cancelled = true;
        break;
      }
    }
  } catch (...) {
    stopWorkers();
    throw;
  }
  stopWorkers();
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
    StartCombined(true, true);
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
                                                                const StrategyPlugIns* plugIns) {
  auto strategy = std::make_unique<Strategy>(mainForm, name);
  if (plugIns) plugIns->AddTo(*strategy);
  strategy->SelectBetMethod(betMethod);
  strategy->SelectBetAmount(betAmount);
  return strategy;
}

}  // namespace zavuv
