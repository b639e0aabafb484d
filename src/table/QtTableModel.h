// The one Qt model over the program's tables. It follows the table through the
// observer interface (inserts, removes, changed rows, resets after a batch), shows
// 8-bit Big5 text as Unicode, takes its column titles from the field labels and
// writes edits back through the table's own states: opening a cell editor starts
// Edit on that record, and the typed text is stored as Big5. The vertical header is
// the record indicator: "▶" on the current record, "I" while it is edited and "*"
// while a new record is filled in. Numbers of a field with a display format are
// shown in it.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>
#include <functional>
#include <string>
#include <vector>

#include "table/ClientDataSet.h"

class QAbstractItemView;
class QTableView;

namespace zavuv {

class QtTableModel : public QAbstractTableModel, public TableObserver {
  Q_OBJECT

 public:
  explicit QtTableModel(Table* table = nullptr, QObject* parent = nullptr);
  ~QtTableModel() override;

  void SetTable(Table* table);
  Table* GetTable() const { return table_; }
  // The table as an editable data set; null for a read-only store.
  ClientDataSet* DataSet() const;

  // The fields shown, by name, in this order; empty shows every field.
  void SetColumns(const std::vector<std::string>& names);
  int FieldOfColumn(int column) const;
  int ColumnOfField(const std::string& name) const;

  // The colour of a cell's text (an invalid colour: the view's own), asked for every
  // cell drawn; given the row, the field and the value.
  std::function<QColor(int row, int field, const Value& value)> TextColour;

  // A read-only model never edits its table.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }

  // Moves the cursor to the row and starts editing it: what opening a cell editor
  // does. False (after showing the error) when the table refused.
  bool BeginEdit(int row);

  // Shows the model in a view: the view's current row follows the table's cursor and
  // the cursor follows the user's choice of row; cell editors start Edit and take at
  // most the field width. Column widths come from the fields' display widths.
  void BindView(QTableView* view);

  // A value as shown (Unicode text, numbers, dates) and the value an edit stores.
  static QVariant ToVariant(const FieldDef& field, const Value& value);
  static Value FromVariant(const FieldDef& field, const QVariant& value);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  // The table's cursor is on this row now (-1 on an empty table).
  void currentRowChanged(int row);
  // The table moved between browse, edit and insert.
  void stateChanged();

 private:
  void TableReset() override;
  void RowsInserted(int first, int count) override;
  void RowsRemoved(int first, int count) override;
  void RowChanged(int row) override;
  void CursorMoved(int row) override;
  void StateChanged() override;
  void Detach();
  void ComputeColumns();
  int TableRow(int row) const;

  Table* table_ = nullptr;
  std::vector<std::string> columnNames_;
  std::vector<int> columns_;   // field index of each column
  int rows_ = 0;               // the row count the views know
  int indicatorRow_ = -1;
  int pendingFirst_ = 0;      // rows being announced: where, and how many (removed < 0)
  int pendingCount_ = 0;
  int changing_ = 0;          // inside a structural change of the rows
  bool readOnly_ = false;
};

// The cell editor of a bound view: it starts Edit on the record before the editor
// opens and limits text to the field's width.
class QtTableDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
};

}  // namespace zavuv
