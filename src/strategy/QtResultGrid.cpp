#include "strategy/QtResultGrid.h"

#include <QHeaderView>
#include <QTableView>

#include "strategy/ResultTable.h"
#include "table/QtTableModel.h"

namespace zavuv {

QColor ResultCellColour(int, int field, const Value& value) {
  if ((field == ResultTable::kProfit || field == ResultTable::kAccProfit) && !IsNull(value) && AsFloat(value) < 0)
    return QColor(Qt::red);
  return {};
}

void ShowResultGrid(QtTableModel* model, QTableView* grid) {
  model->SetReadOnly(true);
  model->TextColour = ResultCellColour;
  model->BindView(grid);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->horizontalHeader()->setMinimumSectionSize(24);
  // Thousands of rows: no per-row measuring.
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->setWordWrap(false);
}

}  // namespace zavuv
