#include "app/QtRangeRun.h"

#include <QProgressDialog>
#include <QWidget>

#include "app/QtStatusLine.h"
#include "app/Workbench.h"
#include "stats/Format.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

namespace zavuv {

QtRangeRun::QtRangeRun(Workbench& bench, QWidget* window) : QObject(window), bench_(bench), window_(window) {}

bool QtRangeRun::AnalysisProgress(int done, int total) {
  emit analysisProgress(done, total);
  const qint64 elapsed = runClock_.elapsed();
  if (!ProgressAnalysis && elapsed >= 500 && !cancelRequested_) {
    ProgressAnalysis =
        new QProgressDialog(QStringLiteral("分析分段資料中..."), QStringLiteral("取消"), 0, total, window_);
    ProgressAnalysis->setObjectName(QStringLiteral("ProgressAnalysis"));
    ProgressAnalysis->setWindowTitle(QStringLiteral("分析分段資料"));
    ProgressAnalysis->setWindowModality(Qt::WindowModal);
    ProgressAnalysis->setMinimumDuration(0);
    ProgressAnalysis->setAutoClose(false);
    ProgressAnalysis->setAutoReset(false);
    connect(ProgressAnalysis, &QProgressDialog::canceled, this, &QtRangeRun::CancelAnalysis);
    ProgressAnalysis->show();
  }
  if (ProgressAnalysis && (elapsed - progressShown_ >= 50 || done == total)) {
    progressShown_ = elapsed;
    ProgressAnalysis->setMaximum(total);
    ProgressAnalysis->setLabelText(QStringLiteral("分析分段資料中... 第 %1 靴, 共 %2 靴").arg(done).arg(total));
    ProgressAnalysis->setValue(done);   // lets the dialog take a click on "取消"
  }
  return !cancelRequested_;
}

void QtRangeRun::CancelAnalysis() { cancelRequested_ = true; }

bool QtRangeRun::Run(const QString& fromText, const QString& toText, bool goFirst) {
  bench_.Combined().AnalysisGoFirst = goFirst;
  const std::string from = Utf8ToBig5(fromText.toStdString());
  const std::string to = Utf8ToBig5(toText.toStdString());
  // A range whose rows would not fit (a million shoes and more) is offered as a
  // figures-only run: every figure, run table and chart, no rows.
  bool keepRows = true;
  const std::int64_t rowBytes = bench_.RangeRowBytes(from, to);
  if (rowBytes > RowBytesWithoutAsking)
    keepRows = !AskYesNo(window_, QStringLiteral("分析範圍的每局分析結果約需 %1 MB 記憶體。\n"
                                                 "按「是」只計算各策略的統計、連羸連輸統計及圖表, 不保留每局結果"
                                                 " (分析結果表格會是空的);\n按「否」保留每局結果。")
                                      .arg(rowBytes >> 20));
  bench_.Combined().KeepRows = keepRows;
  cancelRequested_ = false;
  progressShown_ = 0;
  runClock_.start();
  RangeRun run;
  const bool done = Guarded(window_, [&] {
    run = bench_.AnalyseRange(from, to, [this](int done, int total) { return AnalysisProgress(done, total); });
  });
  bench_.Combined().KeepRows = true;
  delete ProgressAnalysis;
  ProgressAnalysis = nullptr;
  const QString seconds = QString::fromStdString(FormatDecimal(runClock_.elapsed() / 1000.0, 2, true));
  if (OnDone) {
    if (!done)
      OnDone(QStringLiteral("分析未完成"));
    else if (run.Cancelled)
      OnDone(QStringLiteral("分析已取消: 已分析 %1 靴 (共 %2 靴) · %3 注 · %4 秒")
                 .arg(QtStatusLine::Count(run.ShoesAnalysed), QtStatusLine::Count(run.ShoesInRange),
                      QtStatusLine::Count(run.Bets), seconds));
    else
      OnDone(QStringLiteral("已分析 %1 靴 · %2 注 · %3 秒")
                 .arg(QtStatusLine::Count(run.ShoesAnalysed), QtStatusLine::Count(run.Bets), seconds));
  }
  if (done && run.Cancelled)
    ShowMessage(window_, QStringLiteral("分析已取消: 各策略及綜合分析結果只包括已分析的 %1 靴 (共 %2 靴)")
                             .arg(run.ShoesAnalysed)
                             .arg(run.ShoesInRange));
  return done;
}

}  // namespace zavuv
