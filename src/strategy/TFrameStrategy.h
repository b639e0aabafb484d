// A strategy page: the tabs "快速設定" (every setting, with the bet method and bet
// amount lists mirroring the selectors' own), "投注法" and "注碼法" (the selectors),
// "分析結果" (the result grid), "分析統計" (eight figures and the win and lose run
// tables), "附加設定" (one page per additional setup), "上下風圖" and "其他圖表"
// ("利潤走勢圖"). The page shows a Strategy that it does not own (the workbench
// does; the page goes before its strategy): every control writes
// straight into the strategy's settings, and the strategy's runs fill the grid, the
// figures, the run tables and the charts.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "strategy/Strategy.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace zavuv {

class QtNavigator;
class QtPlugInComboBox;
class QtTableModel;
class TFrameAdditionalSetup;
class TFrameAnalysisResult;
class TFrameBetAmount;
class TFrameBetMethod;
class TFrameChartProfit;
class TFrameContinuous;
class TFrameVerdict;
class TFrameWinLostChart;
struct Verdict;

class TFrameStrategy : public QWidget {
  Q_OBJECT

 public:
  // A page showing the strategy, which outlives the page. resultViews is where the
  // side-by-side view goes when it is asked for.
  TFrameStrategy(Strategy& strategy, QWidget* resultViews, QWidget* parent = nullptr);
  ~TFrameStrategy() override;

  Strategy& GetStrategy() { return *strategy_; }
  const Strategy& GetStrategy() const { return *strategy_; }
  QString StrategyName() const;

  // Engine operations with the page following them.
  void SelectBetMethod(int index);
  void SelectBetAmount(int index);
  void AddBetMethodPlugIn(BetPlugIn plugIn);
  void AddBetAmountPlugIn(BetPlugIn plugIn);
  void AddSetupPlugIn(SetupPlugIn plugIn);
  // Runs ReleaseComponents: the components and setups go before the page does.
  void ReleaseComponents();
  // The strategy alone over the current shoe (an error is shown, not thrown).
  void AnalysisCurrentShoe();
  // Shows the tables and figures again after a run that an error ended.
  void RunAbandoned();
  // The verdict the workbench judged for this page; holmP NaN outside the family.
  void ShowVerdict(const Verdict& verdict, double holmP);

  TFrameAnalysisResult* ResultView() const;
  TFrameAdditionalSetup* SetupFrame(int index) const;

  QTabWidget* PageControl1 = nullptr;
  QTimer* Timer1 = nullptr;
  // "快速設定"
  QLineEdit* EditStrategyName = nullptr;
  QtPlugInComboBox* ComboBoxBetMethod = nullptr;
  QtPlugInComboBox* ComboBoxBetAmount = nullptr;
  QCheckBox* CheckBoxBetMethodEach = nullptr;
  QCheckBox* CheckBoxBetAmountEach = nullptr;
  QComboBox* ComboBoxRoad = nullptr;
  QCheckBox* CheckBoxUse = nullptr;
  QCheckBox* CheckBoxAnalysisGoFirst1 = nullptr;
  QCheckBox* CheckBoxViewResults = nullptr;
  QComboBox* ComboBoxTabPostion = nullptr;
  // "投注法", "注碼法"
  TFrameBetMethod* FrameBetMethod = nullptr;
  TFrameBetAmount* FrameBetAmount = nullptr;
  // "分析結果"
  QtNavigator* DBNavigatorAnalysis = nullptr;
  QCheckBox* CheckBoxAnalysisGoFirst2 = nullptr;
  QPushButton* BtnExportCsv = nullptr;
  // What "匯出CSV" did, for the window's status line ("已匯出 2,858 列 · a.CSV").
  std::function<void(const QString& text)> OnDone;
  QTableView* DBGridAnalysis = nullptr;
  QtTableModel* DataSourceAnalysis = nullptr;
  // "分析統計"
  QLineEdit* EditMaxProfit = nullptr;
  QLineEdit* EditMaxLoss = nullptr;
  QLineEdit* EditNoOfBet = nullptr;
  QLineEdit* EditTotalBetAmount = nullptr;
  QLineEdit* EditWinGame = nullptr;
  QLineEdit* EditLoseGame = nullptr;
  QLineEdit* EditTotalWinAmount = nullptr;
  QLineEdit* EditTotalLoseAmount = nullptr;
  TFrameContinuous* ConWin = nullptr;
  TFrameContinuous* ConLose = nullptr;
  TFrameVerdict* FrameVerdict = nullptr;   // the verdict of the last analysis
  // "附加設定"
  QPushButton* BtnCreateSetup = nullptr;
  QPushButton* BtnDestroySetup = nullptr;
  QTabWidget* PageControlAdditionalSetup = nullptr;
  // "上下風圖", "其他圖表"
  TFrameWinLostChart* FrameWinLostChart = nullptr;
  QTabWidget* PageControlOtherChart = nullptr;
  TFrameChartProfit* FrameChartProfit = nullptr;

 signals:
  // The name changed: the page holding the strategy takes it as its caption.
  void nameChanged(const QString& name);

 public slots:
  void EditStrategyNameChange(const QString& text);
  void ComboBoxBetMethodChange(int index);
  void ComboBoxBetAmountChange(int index);
  void FrameBetMethodComboBoxSelectChange(int index);
  void FrameBetAmountComboBoxSelectChange(int index);
  void CheckBoxBetMethodEachClick(bool checked);
  void CheckBoxBetAmountEachClick(bool checked);
  void CheckBoxAnalysisGoFirst1Click(bool checked);
  void CheckBoxUseClick();
  void ComboBoxRoadChange(int index);
  void CheckBoxViewResultsClick();
  void BtnCreateSetupClick();
  void BtnDestroySetupClick();
  void ComboBoxTabPostionChange(int index);
  void Timer1Timer();
  void BtnExportCsvClick();

 private:
  QWidget* BuildQuickSetup();
  QWidget* BuildResultPage();
  QWidget* BuildStatsPage();
  QWidget* BuildSetupPage();
  void AddSetupPage(AdditionalSetup& setup);
  void PrepareViews();
  void FinishViews();
  void ShowStats();
  void LoadSettings();

  Strategy* strategy_;
  QWidget* resultViews_;
  QPointer<TFrameAnalysisResult> resultView_;
};

}  // namespace zavuv
