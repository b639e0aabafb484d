#include "stats/TFrameContinuous.h"

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
}

void TFrameContinuous::SetCaption(const QString& caption) { LabelName->setText(caption); }

}  // namespace zavuv
