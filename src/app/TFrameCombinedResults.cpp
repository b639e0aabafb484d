#include "app/TFrameCombinedResults.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/QtStatusLine.h"
#include "app/Workbench.h"
#include "strategy/QtResultGrid.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "table/TableCsv.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

namespace {
const char* const kCsvFilter = "CSV 檔|*.CSV";
}

TFrameCombinedResults::TFrameCombinedResults(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName(QStringLiteral("TabSheetMutliStrategy"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* pages = Named(new QTabWidget(this), "PageControlMultiStrategy");
  QVBoxLayout* analysisLayout = nullptr;
  QWidget* analysis = Page("TabSheetAnalysis", &analysisLayout);
  ResultTable& combined = bench_.Combined().ClientDataSetAnalysis;
  DBNavigatorAnalysis = Named(new QtNavigator(analysis), "DBNavigatorAnalysis");
  DBNavigatorAnalysis->SetVisibleButtons({QtNavigator::First, QtNavigator::Prior, QtNavigator::Next, QtNavigator::Last});
  DBNavigatorAnalysis->setFixedWidth(4 * 26);
  DBNavigatorAnalysis->SetTable(&combined);
  CheckBoxAnalysisGoFirst = Named(new QCheckBox(QStringLiteral("分析後資料置頂"), analysis), "CheckBoxAnalysisGoFirst");
  connect(CheckBoxAnalysisGoFirst, &QCheckBox::toggled, this, [this](bool on) { bench_.Combined().AnalysisGoFirst = on; });
  BtnExportCombinedCsv = Button(analysis, "BtnExportCsv", "匯出CSV", "將綜合分析結果存成CSV檔 (可用試算表開啟)");
  connect(BtnExportCombinedCsv, &QPushButton::clicked, this, [this] { BtnExportCombinedCsvClick(); });
  DBGridAnalysis = Named(new QTableView(analysis), "DBGridAnalysis");
  DataSourceAnalysis = Named(new QtTableModel(&combined, this), "DataSourceAnalysis");
  ShowResultGrid(DataSourceAnalysis, DBGridAnalysis);
  auto* row = new QHBoxLayout;
  row->addWidget(DBNavigatorAnalysis);
  row->addWidget(CheckBoxAnalysisGoFirst);
  row->addStretch(1);
  row->addWidget(BtnExportCombinedCsv);
  analysisLayout->addLayout(row);
  analysisLayout->addWidget(DBGridAnalysis, 1);
  QVBoxLayout* viewLayout = nullptr;
  QWidget* view = Page("TabSheetViewResults", &viewLayout);
  ScrollBoxViewResults = Named(new QScrollArea(view), "ScrollBoxViewResults");
  ScrollBoxViewResults->setWidgetResizable(true);
  ScrollBoxViewResultsContents = Named(new QWidget, "ScrollBoxViewResultsContents");
  auto* strip = new QHBoxLayout(ScrollBoxViewResultsContents);
  strip->setContentsMargins(1, 1, 1, 1);
  strip->setSpacing(2);
  strip->addStretch(1);   // each new view goes before it, right of those before
  ScrollBoxViewResults->setWidget(ScrollBoxViewResultsContents);
  viewLayout->addWidget(ScrollBoxViewResults);
  pages->addTab(analysis, QStringLiteral("綜合分析結果"));
  pages->addTab(view, QStringLiteral("並排觀看分析結果"));
  layout->addWidget(pages);
}

bool TFrameCombinedResults::ExportCombinedCsv(const QString& path) {
  const ResultTable& table = bench_.Combined().ClientDataSetAnalysis;
  const QString file = QtStatusLine::FileOf(path);
  if (!Guarded(this, [&] { WriteTableCsv(table, FileName(path)); })) {
    if (OnDone) OnDone(QStringLiteral("未能匯出 ") + file);
    return false;
  }
  if (OnDone) OnDone(QStringLiteral("已匯出 %1 列 · %2").arg(QtStatusLine::Count(table.RecordCount()), file));
  return true;
}

void TFrameCombinedResults::BtnExportCombinedCsvClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kCsvFilter), QStringLiteral("CSV"));
  if (!path.isEmpty()) ExportCombinedCsv(path);
}

}  // namespace zavuv
