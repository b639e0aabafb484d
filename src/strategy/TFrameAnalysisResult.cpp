#include "strategy/TFrameAnalysisResult.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "strategy/QtResultGrid.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"

namespace zavuv {

using namespace kit;

TFrameAnalysisResult::TFrameAnalysisResult(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TFrameAnalysisResult"));
  LabelStrategy = Label(this, "LabelStrategy", "");
  QFont bold = LabelStrategy->font();
  bold.setBold(true);
  LabelStrategy->setFont(bold);
  ScrollBar1 = Named(new QScrollBar(Qt::Horizontal, this), "ScrollBar1");
  ScrollBar1->setRange(240, 450);
  ScrollBar1->setValue(320);
  ScrollBar1->setPageStep(8);
  ScrollBar1->setToolTip(QStringLiteral("調整寬度"));
  const std::pair<QCheckBox**, std::pair<const char*, const char*>> boxes[] = {
      {&CheckBoxShoesName, {"CheckBoxShoesName", "靴名"}},   {&CheckBoxGameNo, {"CheckBoxGameNo", "局數"}},
      {&CheckBoxBet, {"CheckBoxBet", "投注"}},               {&CheckBoxBetAmount, {"CheckBoxBetAmount", "投注金額"}},
      {&CheckBoxGameResult, {"CheckBoxGameResult", "開出結果"}}, {&CheckBoxProfit, {"CheckBoxProfit", "損益"}},
      {&CheckBoxAccProfit, {"CheckBoxAccProfit", "損益累積"}}};
  auto* boxGrid = new QGridLayout;
  boxGrid->setHorizontalSpacing(4);
  boxGrid->setVerticalSpacing(0);
  int i = 0;
  for (const auto& [box, names] : boxes) {
    *box = CheckBox(this, names.first, names.second, true);
    connect(*box, &QCheckBox::clicked, this, &TFrameAnalysisResult::CheckBoxShoesNameClick);
    boxGrid->addWidget(*box, i / 4, i % 4);
    ++i;
  }
  DBNavigatorAnalysis = Named(new QtNavigator(this), "DBNavigatorAnalysis");
  DBNavigatorAnalysis->SetVisibleButtons({QtNavigator::First, QtNavigator::Prior, QtNavigator::Next, QtNavigator::Last});
  DBNavigatorAnalysis->SetTable(&ClientDataSetAnalysis);
  DBGridAnalysis = Named(new QTableView(this), "DBGridAnalysis");
  DataSourceAnalysis = Named(new QtTableModel(&ClientDataSetAnalysis, this), "DataSourceAnalysis");
  ShowResultGrid(DataSourceAnalysis, DBGridAnalysis);
  ClientDataSetAnalysis.AfterScroll = [this] { ClientDataSetAnalysisAfterScroll(); };
  connect(ScrollBar1, &QScrollBar::valueChanged, this, &TFrameAnalysisResult::ScrollBar1Change);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(LabelStrategy);
  layout->addWidget(ScrollBar1);
  layout->addLayout(boxGrid);
  layout->addWidget(DBNavigatorAnalysis);
  layout->addWidget(DBGridAnalysis, 1);
  resize(320, 240);
  ScrollBar1Change(ScrollBar1->value());
  SetColumnWidths();
}

TFrameAnalysisResult::~TFrameAnalysisResult() {
  ClientDataSetAnalysis.AfterScroll = nullptr;
  DataSourceAnalysis->SetTable(nullptr);
  DBNavigatorAnalysis->SetTable(nullptr);
  ClientDataSetAnalysis.CloneCursor(nullptr);
}

void TFrameAnalysisResult::SetColumnWidths() {
  const int widths[] = {64, 40, 34, 59, 56, 39, 64};
  for (int c = 0; c < DataSourceAnalysis->columnCount() && c < 7; ++c) DBGridAnalysis->setColumnWidth(c, widths[c]);
}

void TFrameAnalysisResult::CloneCursor(Table* results) {
  Syncing = true;
  ClientDataSetAnalysis.CloneCursor(results);
  Syncing = false;
  SetColumnWidths();
  CheckBoxShoesNameClick();
}

void TFrameAnalysisResult::SetStrategyName(const QString& name) { LabelStrategy->setText(name); }

void TFrameAnalysisResult::BeginRun() {
  if (!detached_) {
    ClientDataSetAnalysis.DisableControls();
    detached_ = true;
  }
  Syncing = true;
}

void TFrameAnalysisResult::EndRun(Table* results) {
  if (detached_) {
    detached_ = false;
    ClientDataSetAnalysis.EnableControls();
  }
  CloneCursor(results);
}

void TFrameAnalysisResult::ScrollBar1Change(int position) { setFixedWidth(position); }

void TFrameAnalysisResult::CheckBoxShoesNameClick() {
  // Every column whose title is a box's caption shows while the box is ticked.
  for (QCheckBox* box : findChildren<QCheckBox*>()) {
    for (int c = 0; c < DataSourceAnalysis->columnCount(); ++c)
      if (DataSourceAnalysis->headerData(c, Qt::Horizontal).toString() == box->text())
        DBGridAnalysis->setColumnHidden(c, !box->isChecked());
  }
}

void TFrameAnalysisResult::ClientDataSetAnalysisAfterScroll() {
  if (Syncing) return;
  Syncing = true;
  if (ClientDataSetAnalysis.RecNo() != 0 && parentWidget()) {
    for (TFrameAnalysisResult* view : parentWidget()->findChildren<TFrameAnalysisResult*>(Qt::FindDirectChildrenOnly))
      view->SyncTo(ClientDataSetAnalysis);
  }
  Syncing = false;
}

void TFrameAnalysisResult::SyncTo(const Table& other) {
  if (Syncing) return;
  Syncing = true;
  if (ClientDataSetAnalysis.Active()) ClientDataSetAnalysis.MoveBy(other.RecNo() - ClientDataSetAnalysis.RecNo());
  Syncing = false;
}

}  // namespace zavuv
