#include "stats/TFrameContinuous.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "table/QtTableModel.h"

namespace zavuv {

TFrameContinuous::TFrameContinuous(QWidget* parent) : QWidget(parent) {
  LabelName = new QLabel(this);
  LabelName->setObjectName(QStringLiteral("LabelName"));
  DBGrid1 = new QTableView(this);
  DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
  DataSource1 = new QtTableModel(nullptr, this);
  DataSource1->setObjectName(QStringLiteral("DataSource1"));
  DataSource1->SetReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(LabelName);
  layout->addWidget(DBGrid1, 1);
  SetContinuous(&own_);
  connect(DataSource1, &QAbstractItemModel::modelReset, this, &TFrameContinuous::FitColumns);
  connect(DataSource1, &QAbstractItemModel::dataChanged, this, &TFrameContinuous::FitColumns);
  connect(DataSource1, &QAbstractItemModel::rowsInserted, this, &TFrameContinuous::FitColumns);
}

TFrameContinuous::~TFrameContinuous() {
  // The grid lets go of the table before a table owned elsewhere may go.
  DataSource1->SetTable(nullptr);
}

void TFrameContinuous::SetContinuous(Continuous* continuous) {
  continuous_ = continuous ? continuous : &own_;
  DataSource1->SetTable(&continuous_->Table());
  DataSource1->BindView(DBGrid1);
  DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGrid1->setColumnWidth(0, 34);
  DBGrid1->setColumnWidth(1, 32);
  DBGrid1->setColumnWidth(2, 34);
  DBGrid1->horizontalHeader()->setMinimumSectionSize(20);
  DBGrid1->horizontalHeader()->setStretchLastSection(true);
  FitColumns();
}

void TFrameContinuous::FitColumns() {
  // The start widths, or wider where a figure needs it (a count of 46,711 shows whole).
  const int widths[] = {34, 32, 34};
  for (int c = 0; c < 3 && c < DataSource1->columnCount(); ++c)
    DBGrid1->setColumnWidth(c, std::max(widths[c], static_cast<QAbstractItemView*>(DBGrid1)->sizeHintForColumn(c)));
}

void TFrameContinuous::SetCaption(const QString& caption) { LabelName->setText(caption); }

}  // namespace zavuv
