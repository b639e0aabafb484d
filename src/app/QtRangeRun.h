// "分析分段資料" in the window: the range run over the workbench with its progress
// dialog (after half a second, with "取消"), the question that offers a figures-only
// run when the rows would not fit, and the message of a cancelled run.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QProgressDialog;
class QWidget;

namespace zavuv {

class Workbench;

class QtRangeRun : public QObject {
  Q_OBJECT

 public:
  // window: the parent of the dialogs.
  QtRangeRun(Workbench& bench, QWidget* window);

  // Runs the range from the shoe named `from` to the one named `to` (as typed); the
  // answer is false when an error ended it (the error has been shown).
  bool Run(const QString& from, const QString& to, bool goFirst);
  // What a run did, for the window's status line ("已分析 37 靴 · 1,438 注 · 0.3 秒").
  std::function<void(const QString& text)> OnDone;

  // Shown while a range run takes longer than half a second.
  QProgressDialog* ProgressAnalysis = nullptr;
  // Asks first whether to run figures-only when the rows of the range would take more
  // than this (2 GB: 100,000 shoes with four strategies take 1.3 GB and keep their
  // rows; a million shoes ask).
  std::int64_t RowBytesWithoutAsking = std::int64_t{2} << 30;

 public slots:
  // Asks a running range analysis to stop after the shoe it is on.
  void CancelAnalysis();

 signals:
  // A range run has analysed `done` of its `total` shoes.
  void analysisProgress(int done, int total);

 private:
  // The range run's report after each shoe; false asks it to stop.
  bool AnalysisProgress(int done, int total);

  Workbench& bench_;
  QWidget* window_;
  bool cancelRequested_ = false;
  QElapsedTimer runClock_;     // since the range run began
  qint64 progressShown_ = 0;   // when the progress dialog was last brought up to date
};

}  // namespace zavuv
