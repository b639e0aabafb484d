#include "table/QtTableModel.h"

#include <QDateTime>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTimer>

#include "stats/Format.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

namespace zavuv {

namespace {

const QDateTime& Epoch() {
  static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
  return epoch;
}

bool IsNumeric(FieldType type) { return type == FieldType::Integer || type == FieldType::Float; }

}  // namespace

QtTableModel::QtTableModel(Table* table, QObject* parent) : QAbstractTableModel(parent) { SetTable(table); }

QtTableModel::~QtTableModel() { Detach(); }

void QtTableModel::Detach() {
  if (table_) table_->RemoveObserver(this);
  table_ = nullptr;
}

void QtTableModel::SetTable(Table* table) {
  beginResetModel();
  Detach();
  table_ = table;
  if (table_) table_->AddObserver(this);
  ComputeColumns();
  rows_ = table_ ? table_->RecordCount() : 0;
  indicatorRow_ = table_ ? table_->CurrentRow() : -1;
  endResetModel();
  emit currentRowChanged(indicatorRow_);
}

ClientDataSet* QtTableModel::DataSet() const { return dynamic_cast<ClientDataSet*>(table_); }

void QtTableModel::SetColumns(const std::vector<std::string>& names) {
  beginResetModel();
  columnNames_ = names;
  ComputeColumns();
  endResetModel();
}

void QtTableModel::ComputeColumns() {
  columns_.clear();
  if (!table_) return;
  if (columnNames_.empty()) {
    for (int f = 0; f < table_->FieldCount(); ++f) columns_.push_back(f);
  } else {
    for (const std::string& name : columnNames_) columns_.push_back(table_->FieldIndex(name));
  }
}

int QtTableModel::TableRow(int row) const {
  if (pendingCount_ > 0 && row >= pendingFirst_) return row + pendingCount_;
  if (pendingCount_ < 0 && row >= pendingFirst_) {
    if (row < pendingFirst_ - pendingCount_) return -1;   // already gone from the table
    return row + pendingCount_;
  }
  return row;
}

int QtTableModel::FieldOfColumn(int column) const {
  return column >= 0 && column < static_cast<int>(columns_.size()) ? columns_[column] : -1;
}

int QtTableModel::ColumnOfField(const std::string& name) const {
  if (!table_) return -1;
  int field = table_->FindField(name);
  for (std::size_t c = 0; c < columns_.size(); ++c)
    if (columns_[c] == field) return static_cast<int>(c);
  return -1;
}

QVariant QtTableModel::ToVariant(const FieldDef& field, const Value& value) {
  if (IsNull(value)) return {};
  switch (field.type) {
    case FieldType::Integer: return AsInteger(value);
    case FieldType::Float: return AsFloat(value);
    case FieldType::Boolean: return AsBoolean(value);
    case FieldType::DateTime:
      return Epoch().addMSecs(static_cast<qint64>(std::llround(AsFloat(value) * 86400000.0)));
    case FieldType::String:
    case FieldType::Memo: return QString::fromStdString(Big5ToUtf8(AsString(value)));
  }
  return {};
}

Value QtTableModel::FromVariant(const FieldDef& field, const QVariant& value) {
  if (!value.isValid() || value.isNull()) return Value{};
  switch (field.type) {
    case FieldType::String:
    case FieldType::Memo: return Utf8ToBig5(value.toString().toStdString());
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::Boolean:
      if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty()) return Value{};
      if (field.type == FieldType::Integer) return static_cast<std::int32_t>(value.toInt());
      if (field.type == FieldType::Float) return value.toDouble();
      return value.toBool();
    case FieldType::DateTime: {
      QDateTime when = value.toDateTime();
      if (!when.isValid()) return Value{};
      return static_cast<double>(Epoch().msecsTo(when)) / 86400000.0;
    }
  }
  return Value{};
}

int QtTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int QtTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant QtTableModel::data(const QModelIndex& index, int role) const {
  if (!table_ || !index.isValid() || index.row() >= rows_) return {};
  // While rows are announced the views still count the old rows; the table has them
  // already, so the old numbering is mapped onto it.
  int row = TableRow(index.row());
  if (row < 0 || row >= table_->RecordCount()) return {};
  int field = FieldOfColumn(index.column());
  if (field < 0) return {};
  const FieldDef& def = table_->Fields()[field];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
      QVariant v = ToVariant(def, table_->GetValue(row, field));
      if (role == Qt::DisplayRole && !def.displayFormat.empty() && IsNumeric(def.type) && v.isValid())
        return QString::fromStdString(FormatFloat(v.toDouble(), def.displayFormat));
      if (role == Qt::DisplayRole && def.type == FieldType::DateTime && v.isValid()) {
        QDateTime when = v.toDateTime();
        return when.time() == QTime(0, 0) ? when.toString(QStringLiteral("yyyy/MM/dd"))
                                          : when.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
      }
      return v;
    }
    case Qt::ForegroundRole: {
      if (!TextColour) return {};
      QColor colour = TextColour(row, field, table_->GetValue(row, field));
      return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::TextAlignmentRole:
      return IsNumeric(def.type) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
  }
}

QVariant QtTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // Column titles stand at the left, as in every grid of the program, so that the
  // title of a wide column (a shoe's results) is in sight.
  if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  if (role != Qt::DisplayRole || !table_) return {};
  if (orientation == Qt::Horizontal) {
    int field = FieldOfColumn(section);
    if (field < 0) return {};
    const FieldDef& def = table_->Fields()[field];
    return QString::fromStdString(def.label.empty() ? def.name : def.label);
  }
  if (section != table_->CurrentRow()) return QString();
  switch (table_->State()) {
    case DataSetState::Edit: return QStringLiteral("I");
    case DataSetState::Insert: return QStringLiteral("*");
    default: return QStringLiteral("▶");
  }
}

Qt::ItemFlags QtTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
  if (!readOnly_ && DataSet()) f |= Qt::ItemIsEditable;
  return f;
}

bool QtTableModel::BeginEdit(int row) {
  ClientDataSet* set = DataSet();
  if (readOnly_ || !set || row < 0 || row >= set->RecordCount()) return false;
  return Guarded(nullptr, [&] {
    if (set->CurrentRow() != row) set->GotoRow(row);
    set->Edit();
  });
}

bool QtTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  ClientDataSet* set = DataSet();
  if (role != Qt::EditRole || readOnly_ || !set || !index.isValid() || index.row() >= set->RecordCount())
    return false;
  int field = FieldOfColumn(index.column());
  if (field < 0) return false;
  return Guarded(nullptr, [&] {
    if (set->CurrentRow() != index.row()) set->GotoRow(index.row());
    if (set->State() == DataSetState::Browse) set->Edit();
    set->SetFieldValue(field, FromVariant(set->Fields()[field], value));
  });
}

void QtTableModel::TableReset() {
  ++changing_;
  beginResetModel();
  ComputeColumns();
  rows_ = table_ ? table_->RecordCount() : 0;
  indicatorRow_ = table_ ? table_->CurrentRow() : -1;
  endResetModel();
  --changing_;
  emit currentRowChanged(indicatorRow_);
}

void QtTableModel::RowsInserted(int first, int count) {
  if (count <= 0) return;
  if (first < 0 || first > rows_) {
    TableReset();
    return;
  }
  ++changing_;
  pendingFirst_ = first;
  pendingCount_ = count;
  beginInsertRows(QModelIndex(), first, first + count - 1);
  rows_ += count;
  pendingCount_ = 0;
  endInsertRows();
  --changing_;
}

void QtTableModel::RowsRemoved(int first, int count) {
  if (count <= 0) return;
  if (first < 0 || first + count > rows_) {
    TableReset();
    return;
  }
  ++changing_;
  pendingFirst_ = first;
  pendingCount_ = -count;
  beginRemoveRows(QModelIndex(), first, first + count - 1);
  rows_ -= count;
  pendingCount_ = 0;
  endRemoveRows();
  --changing_;
}

void QtTableModel::RowChanged(int row) {
  if (row < 0 || row >= rows_ || columns_.empty()) return;
  emit dataChanged(index(row, 0), index(row, static_cast<int>(columns_.size()) - 1));
  emit headerDataChanged(Qt::Vertical, row, row);
}

void QtTableModel::CursorMoved(int row) {
  int old = indicatorRow_;
  indicatorRow_ = row;
  if (old >= 0 && old < rows_) emit headerDataChanged(Qt::Vertical, old, old);
  if (row >= 0 && row < rows_) emit headerDataChanged(Qt::Vertical, row, row);
  emit currentRowChanged(row);
}

void QtTableModel::StateChanged() {
  if (indicatorRow_ >= 0 && indicatorRow_ < rows_)
    emit headerDataChanged(Qt::Vertical, indicatorRow_, indicatorRow_);
  emit stateChanged();
}

void QtTableModel::BindView(QTableView* view) {
  view->setModel(this);
  view->setItemDelegate(new QtTableDelegate(view));
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectItems);
  view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
  QFontMetrics metrics(view->font());
  view->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("▶")) + 8);
  if (table_) {
    for (int c = 0; c < columnCount(); ++c) {
      const FieldDef& def = table_->Fields()[FieldOfColumn(c)];
      if (def.displayWidth > 0) view->setColumnWidth(c, def.displayWidth * metrics.averageCharWidth() + 8);
    }
  }

  QPointer<QTableView> guardedView(view);
  auto showCursor = [this, guardedView](int row) {
    if (!guardedView || row < 0 || row >= rows_) return;
    QModelIndex current = guardedView->currentIndex();
    if (current.isValid() && current.row() == row) return;
    int column = current.isValid() ? current.column() : 0;
    // A hidden column can be neither current nor scrolled to: the first shown one is.
    if (guardedView->isColumnHidden(column)) {
      column = 0;
      while (column < columnCount() - 1 && guardedView->isColumnHidden(column)) ++column;
    }
    guardedView->selectionModel()->setCurrentIndex(index(row, column), QItemSelectionModel::ClearAndSelect);
    guardedView->scrollTo(index(row, column));
  };
  connect(this, &QtTableModel::currentRowChanged, view, showCursor);
  connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
          [this, guardedView, showCursor](const QModelIndex& current, const QModelIndex&) {
            // Rows coming and going move the view's current row on their own; only
            // the user's choice moves the table.
            if (changing_ || !table_ || !current.isValid() || current.row() >= table_->RecordCount()) return;
            if (current.row() == table_->CurrentRow()) return;
            if (!Guarded(guardedView, [&] { table_->GotoRow(current.row()); })) {
              // The pending record was refused: the view goes back to it.
              int row = table_->CurrentRow();
              QTimer::singleShot(0, guardedView, [showCursor, row] { showCursor(row); });
            }
          });
  showCursor(table_ ? table_->CurrentRow() : -1);
}

QWidget* QtTableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
  auto* model = const_cast<QtTableModel*>(qobject_cast<const QtTableModel*>(index.model()));
  if (model && !model->BeginEdit(index.row())) return nullptr;
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (model && model->GetTable()) {
    int field = model->FieldOfColumn(index.column());
    if (field >= 0) {
      const FieldDef& def = model->GetTable()->Fields()[field];
      if (auto* line = qobject_cast<QLineEdit*>(editor); line && def.type == FieldType::String && def.size > 0)
        line->setMaxLength(def.size);
    }
  }
  return editor;
}

}  // namespace zavuv
