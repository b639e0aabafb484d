// The workbench: everything the program works on, without a window. It owns the
// shoe table, the display and analysis roads, the bead road settings, the strategy
// host, the plug-in registry, the strategies in page order, the combined analysis
// and the shoe statistics, and it runs every step over them in its order: the
// current-shoe refresh, the range run, the range statistics and the automatic
// betting of the game rooms. The main window, zavuv-cli, the rooms and the tests
// drive this one object; views hold references into it.
//
// A room reaches it through the main window (TFormDaruvedaZizeveva::Bench()) or is
// handed a Workbench& when it is made. Every call runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "contracts/StrategyHost.h"
#include "plugins/PlugInRegistry.h"
#include "roads/RoadSettings.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"
#include "stats/ShoeStats.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/Strategy.h"
#include "verdict/Fairness.h"
#include "verdict/RiskSimulation.h"
#include "verdict/Verdict.h"

namespace zavuv {

// Why automatic betting cannot start.
enum class AutoBetCheck {
  Ok,
  NotConnected,   // "未連線"
  Occupied,       // "已有其他遊戲室佔用自動下注": another room bets automatically
};
// The message a room shows for a refusal (UTF-8); empty for Ok.
const char* AutoBetMessage(AutoBetCheck check);

// The net bet of the strategies in use for one game: side 'B', 'P' or ' ' (no bet)
// and the amount (0 with no bet).
struct AutoBet {
  char Side = ' ';
  std::int64_t Amount = 0;
};

// How a range run ended.
struct RangeRun {
  bool Cancelled = false;   // the progress callback asked it to stop
  int ShoesAnalysed = 0;
  int ShoesInRange = 0;
  std::int64_t Bets = 0;    // games in which the combined bet staked anything
};

class Workbench {
 public:
  Workbench();
  ~Workbench();
  Workbench(const Workbench&) = delete;
  Workbench& operator=(const Workbench&) = delete;

  // ---- the parts ----
  ShoesData& Shoes() { return shoes_; }
  TRoad& DisplayRoad() { return displayRoad_; }
  TRoad& AnalysisRoad() { return analysisRoad_; }
  RoadSettings& Roads() { return roads_; }
  StrategyHost& Host() { return host_; }
  PlugInRegistry& PlugIns() { return plugIns_; }
  const PlugInRegistry& PlugIns() const { return plugIns_; }
  MultiStrategyAnalysis& Combined() { return multi_; }
  ShoeStats& Stats() { return stats_; }

  // ---- the strategies, in page order ----
  std::size_t StrategyCount() const { return strategies_.size(); }
  Strategy& StrategyAt(std::size_t index) { return *strategies_.at(index); }
  std::vector<Strategy*> Strategies() const;
  // The name of a new strategy: "策略" and the smallest number no strategy's name has.
  std::string NextStrategyName() const;
  // Appends a strategy with the registered plug-ins offered and the two choices made.
  Strategy& CreateStrategy(const std::string& name, int betMethod, int betAmount);
  // Appends a strategy made elsewhere (read from a file); the workbench becomes its host.
  Strategy& AddStrategy(std::unique_ptr<Strategy> strategy);
  // ReleaseComponents, then the strategy goes. An index outside the list does nothing.
  void RemoveStrategy(std::size_t index);
  void MoveStrategy(std::size_t from, std::size_t to);
  // Told after a strategy joins (with its index) and before one goes.
  std::function<void(Strategy&, std::size_t index)> OnStrategyAdded;
  std::function<void(Strategy&, std::size_t index)> OnStrategyRemoving;

  // ---- strategy sets ----
  // Writes the bead road settings and every strategy as a strategy set.
  void SaveStrategies(const std::string& path);
  // Replaces the strategies and the bead road settings by those of a set. The file is
  // read whole first: on an error nothing changes. Afterwards the current shoe is
  // analysed again (unless a guard holds the refresh); an error there goes to OnError.
  void ReadStrategies(const std::string& path);
  // What changed since the set was last read or saved (or since MarkStrategiesUnchanged,
  // which the window calls once its first page exists): the set as a whole (pages
  // added, removed, reordered or edited, the bead road settings) and each strategy by
  // itself (a new strategy counts from its state when it joined).
  bool StrategySetChanged() const;
  bool StrategyChanged(std::size_t index) const;
  // The names of the strategies that changed (UTF-8), in page order.
  std::vector<std::string> ChangedStrategies() const;
  void MarkStrategiesUnchanged();
  // Told after the bead road settings changed other than by the road settings page.
  std::function<void()> OnRoadSettingsChanged;

  // ---- the current shoe ----
  // The current-shoe refresh, run by the shoe table after every move and post: the
  // display road takes the current result, the strategies analyse it, the shoe
  // statistics count it. An analysis error goes to OnError (after the statistics);
  // OnCurrentShoeShown is told at the end either way.
  void RefreshCurrentShoe();
  // The analysis step alone (errors are thrown; the strategies show their tables again).
  void AnalyseCurrentShoe();
  std::function<void(std::exception_ptr)> OnError;
  std::function<void()> OnCurrentShoeShown;
  // Told after every analysis by the strategies together: the current shoe's and the
  // range run's (also a cancelled one). The window judges the results then, once.
  std::function<void()> OnAnalysed;

  // ---- ranges ----
  // "分析分段資料" from the shoe named `from` to the one named `to` (Big5; empty: the
  // first or the last shoe). progress(done, total) is told after each shoe; false stops
  // the run there. Errors are thrown, with every guard put back.
  RangeRun AnalyseRange(const std::string& from, const std::string& to,
                        std::function<bool(int done, int total)> progress = {});
  // After a range run its results stay on the strategy pages while the user only moves
  // through the shoes; the current-shoe analysis takes over again once a shoe is
  // posted, the shoes are read or merged, or a strategy set is read.
  bool RangeResultsKept() const { return rangeKept_; }
  // The bytes the result rows of that range run would take with the strategies in use
  // (Combined().KeepRows off runs it figures-only, keeping none).
  std::int64_t RangeRowBytes(const std::string& from, const std::string& to);
  // "統計" over a range: the display road is emptied and the statistics counted.
  void CountRangeStats(const ShoeRange& range);

  // ---- judging the results ----
  // The resampling settings of the verdicts (2,000 resamples, a fixed seed).
  VerdictOptions& VerdictSettings() { return verdictOptions_; }
  // The verdict of every strategy page, of the combined bet and of the pages together,
  // for what the strategies hold now: the last range run, or the current shoe.
  // Computed afresh at each call (a range of 10,000 shoes takes a few tenths of a
  // second); call it once a run has finished.
  VerdictReport JudgeResults() const;
  // The fair-shoe check of what the statistics page counts: the current shoe, or the
  // range after CountRangeStats.
  Fairness ShoeFairness() const;
  // Copies of the strategies in use, for a risk simulation that may run on another
  // thread; nothing of the pages is touched by it. A strategy set with no strategy in
  // use gives a simulation whose Run refuses to start.
  std::unique_ptr<RiskSimulation> MakeRiskSimulation() const;
  // The result strings of the shoes from the one named `from` to the one named `to`
  // (Big5; empty: the first or the last shoe), for sessions drawn from the record.
  std::vector<std::string> ShoeResults(const std::string& from, const std::string& to) const;

  // ---- automatic betting of the game rooms ----
  // One holder (a room, named by its room name) bets at a time. While one does,
  // BatchRunning is set, the strategies cannot be added, removed, reordered or
  // replaced, and the range run is refused.
  AutoBetCheck CanStartAutoBet(bool connected) const;
  // Takes the lock for `holder`, sets BatchRunning, and prepares the strategies in use
  // (in page order). False, with nothing changed, when another holder has the lock.
  // An error in preparing releases the lock, puts BatchRunning back and is thrown.
  bool StartAutoBet(const std::string& holder);
  // A new shoe begins for the strategies.
  void AutoBetNewShoe(const std::string& holder);
  // Every strategy places its bet; the bets are netted (banker up, player down).
  AutoBet GetAutoBet(const std::string& holder);
  // Every strategy settles the game. A game for which no bet was asked (the games of
  // a shoe under way when betting starts) is settled without a bet.
  void AutoBetGameResult(const std::string& holder, char result);
  // Finishes the strategies, clears the lock and puts BatchRunning back, also when
  // finishing fails (the error is thrown afterwards).
  void StopAutoBet(const std::string& holder);
  bool AutoBetting() const { return !autoBetHolder_.empty(); }
  const std::string& AutoBetHolder() const { return autoBetHolder_; }
  // Told when the lock is taken (true) or released (false): the strategy tab follows.
  std::function<void(bool locked)> OnAutoBetLock;

 private:
  void RequireUnlocked() const;
  bool Holds(const std::string& holder) const { return AutoBetting() && holder == autoBetHolder_; }
  void ReleaseAutoBet();

  ShoesData shoes_;
  TRoad displayRoad_;
  TRoad analysisRoad_;
  RoadSettings roads_;
  StrategyHost host_;
  PlugInRegistry plugIns_;
  std::vector<std::unique_ptr<Strategy>> strategies_;
  MultiStrategyAnalysis multi_;
  ShoeStats stats_;
  VerdictOptions verdictOptions_;

  // A strategy as a one-strategy set, pending component edits included.
  std::string StrategyText(const Strategy& strategy) const;
  std::string SetText() const;
  std::map<const Strategy*, std::string> strategyBaseline_;
  std::string setBaseline_;

  bool rangeKept_ = false;
  std::uint64_t rangeRevision_ = 0;   // the shoes' revision when the range run ended

  std::string autoBetHolder_;
  std::vector<Strategy*> autoBetStrategies_;
  bool autoBetWasRunning_ = false;
  bool autoBetPlaced_ = false;   // a bet was asked for the game under way
  std::int32_t autoBetGameNo_ = 0;
};

}  // namespace zavuv
