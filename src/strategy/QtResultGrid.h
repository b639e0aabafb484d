// How every grid of result rows looks (a strategy's "分析結果", the combined
// "綜合分析結果" and the side-by-side views): read-only, the fields in their order
// and display formats, and the cells of Profit and AccProfit below 0 in red text.
#pragma once

#include <QColor>

#include "table/Table.h"

class QTableView;

namespace zavuv {

class QtTableModel;

// The text colour of a result cell (DBGridAnalysisDrawColumnCell): red for a
// negative Profit or AccProfit, the grid's own otherwise.
QColor ResultCellColour(int row, int field, const Value& value);

// Binds the model to the grid as a result grid.
void ShowResultGrid(QtTableModel* model, QTableView* grid);

}  // namespace zavuv
