// The combined analysis of the main window: every strategy in use plays each game,
// their bets are netted into one bet per game (banker stakes count up, player stakes
// down), and that bet is settled into the combined result table. It runs over a
// range of shoes ("分析分段資料") or over the current shoe (the current-shoe refresh).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "strategy/ResultTable.h"
#include "strategy/ShoeSums.h"

namespace zavuv {

class ShoesData;
class Strategy;
class StrategyPlugIns;
class TRoad;
struct StrategyHost;

// Sets BatchRunning and switches the display road's redraw off for the length of a
// walk over the shoes, and puts both back as they were however the walk ends (so a
// walk inside automatic betting leaves BatchRunning set). Either pointer may be null.
class BatchGuard {
 public:
  BatchGuard(ShoesData* shoes, TRoad* display);
  ~BatchGuard();
  BatchGuard(const BatchGuard&) = delete;
  BatchGuard& operator=(const BatchGuard&) = delete;

 private:
  ShoesData* shoes_;
  TRoad* display_;
  bool wasRunning_ = false;
  bool redraw_ = false;
};

class MultiStrategyAnalysis {
 public:
  explicit MultiStrategyAnalysis(StrategyHost* mainForm = nullptr) : MainForm(mainForm) {}

  StrategyHost* MainForm;   // the shoe table and the display road
  // The strategy pages in page order; Strategies is rebuilt from it at the start of
  // every run (without it, Strategies is used as it stands).
  std::function<std::vector<Strategy*>()> StrategyPages;

  // Range settings (Big5): "靴名由:" and "靴名至:", and "分析後資料置頂".
  std::string EditShoeFrom;
  std::string EditShoeTo;
  bool AnalysisGoFirst = false;

  // Told by the range run after each shoe: the shoes analysed so far and the shoes in
  // the range. Answering false stops the run there: every strategy is finished with
  // the games analysed so far, and Cancelled says so.
  std::function<bool(int done, int total)> Progress;
  bool Cancelled = false;     // the last range run was stopped by Progress

  // Threads of a range run: 0 for every core, 1 for this thread alone. With more than
  // one, the strategies go through blocks of shoes side by side and their bets are
  // netted game by game after each block, so every row and figure is the one a run
  // on one thread gives. Strategies with a component that must stay on one thread
  // (Strategy::ParallelSafe) run on the calling thread. Progress is then told after
  // each block rather than after each shoe.
  int Threads = 0;
  // Off: a figures-only range run. Neither the combined table nor any strategy's
  // table keeps a row (ResultTable::KeepRows); the combined profit, every figure, run
  // table and chart are computed as the run goes, so memory does not grow with the
  // number of games. The current-shoe refresh always keeps its rows.
  bool KeepRows = true;
  // Off (with KeepRows on): only the combined table keeps its rows; every strategy
  // still counts its figures, run tables and chart points, but its own table stays
  // empty, so a run that shows only the combined rows holds one row per game rather
  // than one per game and strategy. The current-shoe refresh always keeps them.
  bool KeepStrategyRows = true;
  // Off: neither the combined bet nor any strategy collects its per-shoe sums (a run
  // that will not be judged).
  bool CollectSums = true;
  // Shoes a block of the parallel run holds.
  int BlockShoes = 1024;
  int ShoesAnalysed = 0;      // shoes the last range run went through
  // Games of the last run (range or current shoe) in which the combined bet staked
  // anything.
  std::int64_t CombinedBets = 0;

  // Working state of a run.
  std::vector<Strategy*> Strategies;
  std::string CurrentShoesName;
  std::int32_t CurrentGameNo = 0;
  double AccProfit = 0;
  double BankerWinRatio = 0.95;
  ResultTable ClientDataSetAnalysis;
  // The combined bet's per-shoe sums.
  ShoeSums Sums;

  void RebuildStrategies();
  // One game of every strategy in use and one combined row.
  void AnalysisCombinedGame(char result);
  // "分析分段資料": the range run over the shoe table. From a non-empty EditShoeFrom
  // it starts at the first shoe of exactly that name (nothing is analysed when none
  // has it); it stops after the shoe named exactly EditShoeTo, or at the last shoe.
  void AnalysisAllShoes();
  // The shoes a range run would analyse with the present range settings.
  int ShoesInRange() const;
  // The games in that range, and the bytes the rows of a run over it would take (a
  // row per game in the combined table and in each strategy in use). Group separator
  // rows are not counted.
  std::int64_t GamesInRange() const;
  std::int64_t RowBytesInRange();
  // The analysis step of the current-shoe refresh: the combined table emptied, every
  // strategy prepared, the current shoe's games played when the shoe table is in
  // browse state, every strategy finished.
  void AnalysisCurrentShoe();

  // The name of a new strategy page: "策略" and the smallest number n from 1 that no
  // page caption has.
  static std::string NextStrategyName(const std::vector<std::string>& captions);
  // A new strategy with its host, every plug-in module of the given ones (if any)
  // added in load order, and the two choices made (the engine side of
  // CreateStrategy; a choice may be a plug-in item).
  static std::unique_ptr<Strategy> CreateStrategy(StrategyHost* mainForm, const std::string& name,
                                                  int betMethod, int betAmount,
                                                  const StrategyPlugIns* plugIns = nullptr);

 private:
  void StartCombined(bool keepRows, bool keepStrategyRows);
  void FinishCombined();
  // Books the combined bet of one game, given its net stake (banker stakes up, player
  // stakes down).
  void BookCombined(char result, std::int64_t net);
  // The range run from the shoe table's current shoe: one shoe after the other on
  // this thread, or by blocks on several.
  void RunSerial(ShoesData& shoes, int total);
  void RunParallel(ShoesData& shoes, int total, int threads);
  void Abandon();
  bool detached_ = false;
};

}  // namespace zavuv
