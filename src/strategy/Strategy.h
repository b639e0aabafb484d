// A strategy: a bet method, a bet amount method, the road its bet method reads and
// any number of additional setups, fed game by game. It bets, settles each bet,
// appends a row to its result table and keeps its figures, its win and lose run
// tables and the points of its two charts. Its page (TFrameStrategy) only shows it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bets/BetAmount.h"
#include "bets/BetMethod.h"
#include "contracts/BaseStrategy.h"
#include "stats/Continuous.h"
#include "strategy/AdditionalSetup.h"
#include "strategy/ResultTable.h"
#include "strategy/ShoeSums.h"
#include "strategy/WinLostChart.h"

namespace zavuv {

class Strategy : public BaseStrategy {
 public:
  explicit Strategy(StrategyHost* mainForm = nullptr, std::string name = {});
  ~Strategy() override;
  Strategy(const Strategy&) = delete;
  Strategy& operator=(const Strategy&) = delete;

  // ---- settings (page "快速設定"), read at each use ----
  std::string StrategyName;      // "EditStrategyName" (UTF-8)
  bool Use = true;               // "使用本策略分析"
  bool AnalysisGoFirst = false;  // "分析後資料置頂"
  bool ViewResults = false;      // "放到「並排觀看分析結果」"
  int TabPosition = 1;           // "Tab 的位置": 0 top, 1 left, 2 bottom, 3 right
  // "多靴分析時每靴重新開始投注法/注碼法": one setting each, shared with the selector.
  bool BetMethodEach() const { return FrameBetMethod.CheckBoxEach; }
  void SetBetMethodEach(bool on) { FrameBetMethod.CheckBoxEach = on; }
  bool BetAmountEach() const { return FrameBetAmount.CheckBoxEach; }
  void SetBetAmountEach(bool on) { FrameBetAmount.CheckBoxEach = on; }
  // Hands the main window to the strategy and its two selectors.
  void SetMainForm(StrategyHost* mainForm);

  // ---- owned parts ----
  BetMethod FrameBetMethod;
  zavuv::BetAmount FrameBetAmount;   // qualified: BetAmount is also the stake
  std::vector<std::unique_ptr<AdditionalSetup>> AdditionalSetups;   // in page order
  std::vector<SetupPlugIn> SetupPlugIns;
  Continuous ConWin;     // "連羸統計"
  Continuous ConLose;    // "連輸統計"
  WinLostChart FrameWinLostChart;
  ChartProfit FrameChartProfit;
  ResultTable ClientDataSetAnalysis;
  // What each shoe of the run staked and booked, for judging the result.
  ShoeSums Sums;

  // Views follow a run through these (the side-by-side view's Syncing flag).
  std::function<void()> OnPrepareAnalysis;
  std::function<void()> OnFinishAnalysis;

  // ---- the analysis ----
  void PrepareAnalysis();
  void NewShoe();
  // NewShoe for a shoe of that name (a range run that reads its shoes ahead of the
  // shoe table's cursor).
  void NewShoe(std::string_view shoeName);
  void AnalysisGame(char result);
  void PlaceBet();
  void CalProfit(char result);
  void MakeRecord();
  void FinishAnalysis();
  void AnalysisShoe(std::string_view results);
  void AnalysisCurrentShoe();
  // After a run that an error ended: the result table is shown again with the rows it
  // got (FinishAnalysis was not reached).
  void AbandonAnalysis();
  void UpdateShoesName();
  void ClearStats();
  void ShowStats();

  // ---- components ----
  void SelectBetMethod(int index) { FrameBetMethod.ComboBoxSelectChange(index); }
  void SelectBetAmount(int index) { FrameBetAmount.ComboBoxSelectChange(index); }
  void AddBetMethodPlugIn(BetPlugIn plugIn) { FrameBetMethod.AddPlugIn(std::move(plugIn)); }
  void AddBetAmountPlugIn(BetPlugIn plugIn) { FrameBetAmount.AddPlugIn(std::move(plugIn)); }
  void AddSetupPlugIn(SetupPlugIn plugIn) { SetupPlugIns.push_back(std::move(plugIn)); }
  // "新增設定": a new setup selector at the end, on "每靴入路設定", offering the
  // strategy's setup plug-ins.
  AdditionalSetup& CreateSetup();
  // "刪除設定": removes the setup of that page; an index outside the list does nothing.
  void DestroySetup(int index);
  void ReleaseComponents();

  // False when a component of the strategy comes from a plug-in module that must run
  // on one thread: a range run then keeps the strategy on the thread that started it.
  bool ParallelSafe() const;

  // True when a shoe's bets can depend on the shoes before it: a restart box off,
  // or a setup that carries its state from shoe to shoe.
  bool KeepsStateAcrossShoes() const;

  // The label written into the rows: the shoe name and, off the big road, "-" and the
  // road's caption (Big5).
  std::string ShoesLabel(std::string_view shoeName) const;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  bool detached_ = false;
};

}  // namespace zavuv
