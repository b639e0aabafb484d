#include "app/TFrameCombinedResults.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <cmath>
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
#include "verdict/TFrameRisk.h"
#include "verdict/TFrameVerdict.h"
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

  // The verdicts: the combined bet's, each page's with its Holm-adjusted p-value, and
  // the chance that the best of the pages looks this good with no edge at all.
  auto* verdictScroll = Named(new QScrollArea, "TabSheetVerdict");
  verdictScroll->setWidgetResizable(true);
  verdictScroll->setFrameShape(QFrame::NoFrame);
  QVBoxLayout* verdictLayout = nullptr;
  QWidget* verdict = Page("ScrollBoxVerdictContents", &verdictLayout);
  verdictScroll->setWidget(verdict);
  FrameVerdict = new TFrameVerdict(verdict);
  FrameVerdict->setTitle(QStringLiteral("綜合投注的勝負判定"));
  GridPageVerdicts = Named(new QTableWidget(0, 6, verdict), "GridPageVerdicts");
  GridPageVerdicts->setHorizontalHeaderLabels({QStringLiteral("策略"), QStringLiteral("每單位投注回報"),
                                               QStringLiteral("所下注的莊家優勢"), QStringLiteral("p 值 (對莊家優勢)"),
                                               QStringLiteral("Holm 校正 p 值"), QStringLiteral("判定")});
  GridPageVerdicts->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridPageVerdicts->verticalHeader()->hide();
  GridPageVerdicts->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  GridPageVerdicts->horizontalHeader()->setStretchLastSection(true);
  GridPageVerdicts->setMinimumHeight(100);
  LabelPagesVerdict = Label(verdict, "LabelPagesVerdict", "");
  LabelPagesVerdict->setWordWrap(true);
  auto* verdictRow = new QHBoxLayout;
  verdictRow->addWidget(FrameVerdict);
  verdictRow->addStretch(1);
  verdictLayout->addLayout(verdictRow);
  verdictLayout->addWidget(Label(verdict, "LabelPageVerdicts", "各策略的勝負判定"));
  verdictLayout->addWidget(GridPageVerdicts, 1);
  verdictLayout->addWidget(LabelPagesVerdict);
  pages->addTab(verdictScroll, QStringLiteral("勝負判定"));
  FrameRisk = new TFrameRisk(bench_);
  pages->addTab(FrameRisk, QStringLiteral("資金風險"));
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

void TFrameCombinedResults::ShowVerdicts(const VerdictReport& report) {
  FrameVerdict->ShowVerdict(report.Combined, NAN);
  const std::vector<Strategy*> strategies = bench_.Strategies();
  const int rows = static_cast<int>(std::min(strategies.size(), report.Strategies.size()));
  GridPageVerdicts->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const Verdict& v = report.Strategies[static_cast<std::size_t>(r)];
    const double holm = static_cast<std::size_t>(r) < report.Pages.HolmP.size()
                            ? report.Pages.HolmP[static_cast<std::size_t>(r)]
                            : NAN;
    const bool bets = v.Kind != VerdictKind::NoBets;
    QString name = QString::fromStdString(strategies[static_cast<std::size_t>(r)]->StrategyName);
    if (!strategies[static_cast<std::size_t>(r)]->Use) name += QStringLiteral(" (未使用)");
    const QString cells[] = {name,
                             bets ? PercentText(v.ReturnPerUnit) : QStringLiteral("—"),
                             bets ? PercentText(v.HouseEdge) : QStringLiteral("—"),
                             v.HasInterval ? PValueText(v.PVsHouseEdge) : QStringLiteral("—"),
                             PValueText(holm),
                             QString::fromStdString(v.Text())};
    for (int c = 0; c < 6; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c > 0 && c < 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      GridPageVerdicts->setItem(r, c, item);
    }
  }
  const std::string pagesLine = report.Pages.Text();
  LabelPagesVerdict->setText(pagesLine.empty() ? QStringLiteral("沒有足夠樣本的使用中策略可一併判定")
                                               : QString::fromStdString(pagesLine));
}

void TFrameCombinedResults::BtnExportCombinedCsvClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kCsvFilter), QStringLiteral("CSV"));
  if (!path.isEmpty()) ExportCombinedCsv(path);
}

}  // namespace zavuv
