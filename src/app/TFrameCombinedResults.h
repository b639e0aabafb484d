// The page "多重策略分析結果" (TabSheetMutliStrategy): the combined result table
// ("綜合分析結果") with its navigator, "分析後資料置頂" and the CSV export, and the
// strip of side-by-side views ("並排觀看分析結果"). The class declares no signals of
// its own (the widget dump shows it as the page it is).
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QCheckBox;
class QPushButton;
class QLabel;
class QScrollArea;
class QTableView;
class QTableWidget;

namespace zavuv {

class QtNavigator;
class QtTableModel;
class TFrameRisk;
class TFrameVerdict;
class Workbench;
struct VerdictReport;

class TFrameCombinedResults : public QWidget {
 public:
  explicit TFrameCombinedResults(Workbench& bench, QWidget* parent = nullptr);

  // The combined result table exported as comma-separated text (errors are shown).
  bool ExportCombinedCsv(const QString& path);
  // The verdict of the combined bet, of every page and of the pages together, as
  // the workbench judged them after its last analysis.
  void ShowVerdicts(const VerdictReport& report);
  // What an export did, for the window's status line ("已匯出 2,858 列 · a.csv").
  std::function<void(const QString& text)> OnDone;
  void BtnExportCombinedCsvClick();

  QTableView* DBGridAnalysis = nullptr;
  QtTableModel* DataSourceAnalysis = nullptr;
  QtNavigator* DBNavigatorAnalysis = nullptr;
  QCheckBox* CheckBoxAnalysisGoFirst = nullptr;
  QPushButton* BtnExportCombinedCsv = nullptr;
  QScrollArea* ScrollBoxViewResults = nullptr;
  QWidget* ScrollBoxViewResultsContents = nullptr;   // the strip of side-by-side views
  // "勝負判定": the combined bet's verdict, one row per page, the pages' line.
  TFrameVerdict* FrameVerdict = nullptr;
  QTableWidget* GridPageVerdicts = nullptr;
  QLabel* LabelPagesVerdict = nullptr;
  // "資金風險"
  TFrameRisk* FrameRisk = nullptr;

 private:
  Workbench& bench_;
};

}  // namespace zavuv
