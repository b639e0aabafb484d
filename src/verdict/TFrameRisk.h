// The page "資金風險": sessions of a few shoes each played by copies of the strategies
// in use from a bankroll, from freshly dealt shoes or from shoes drawn out of the
// loaded record. Bad settings are refused with the engine's message, which names the
// field, and nothing runs. A run goes on a worker thread with a progress bar and
// "取消" (strategies with a module that must stay on one thread run on this thread,
// the page kept alive by processing events between sessions). The outcome of each
// strategy and of the combined bet goes into the table; the charts show the row
// chosen there: a histogram of the sessions' final results and a fan chart of the
// bankroll shoe by shoe.
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "verdict/RiskSimulation.h"

class QComboBox;
class QChart;
class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

namespace zavuv {

class Workbench;

class TFrameRisk : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameRisk(Workbench& bench, QWidget* parent = nullptr);
  ~TFrameRisk() override;

  // The settings as typed; throws std::invalid_argument naming the field.
  RiskSettings Settings() const;
  // "開始模擬": false when the settings or the strategies were refused (shown).
  bool Start();
  // "取消": the run stops before its next session.
  void CancelRun();
  // Cancels and waits for the worker, before what the copies use (the plug-in
  // modules) goes away.
  void StopRun();
  bool Running() const { return running_; }
  const RiskReport& Report() const { return report_; }
  // Draws the charts for a row of the table (the strategies, then the combined bet).
  void ShowCharts(int row);

  // The shoes drawn from for "由已載入的牌靴抽取": the names of the first and the last
  // (Big5; empty: the first or the last shoe). Unset: every loaded shoe.
  std::function<std::pair<std::string, std::string>()> RecordRange;

  QLineEdit* EditBankroll = nullptr;
  QLineEdit* EditShoesPerSession = nullptr;
  QLineEdit* EditStopLoss = nullptr;
  QLineEdit* EditStopWin = nullptr;
  QLineEdit* EditSessions = nullptr;
  QComboBox* ComboBoxSource = nullptr;   // 0: freshly dealt shoes, 1: drawn from the record
  QLineEdit* EditSeed = nullptr;
  QPushButton* BtnRun = nullptr;
  QPushButton* BtnCancel = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QLabel* LabelStatus = nullptr;
  QTableWidget* GridResults = nullptr;
  QChartView* ChartHistogram = nullptr;
  QChartView* ChartFan = nullptr;

 signals:
  // A run ended (finished or cancelled); Report() holds what it played.
  void finished();

 private:
  void Finish(RiskReport report);
  void ShowProgress(int done, int total);
  void ShowReport();

  Workbench& bench_;
  RiskReport report_;
  bool running_ = false;
  std::atomic<bool> cancel_{false};
  QThread* worker_ = nullptr;
};

}  // namespace zavuv
