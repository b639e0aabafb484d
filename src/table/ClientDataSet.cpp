#include "table/ClientDataSet.h"

#include <algorithm>

namespace zavuv {

ClientDataSet::ClientDataSet(std::vector<FieldDef> fields) : Table(std::move(fields)) {}

Value ClientDataSet::Coerce(const FieldDef& field, const Value& value) {
  if (IsNull(value)) return value;
  switch (field.type) {
    case FieldType::Integer: return AsInteger(value);
    case FieldType::Float:
    case FieldType::DateTime: return AsFloat(value);
    case FieldType::Boolean: return AsBoolean(value);
    case FieldType::String:
      return field.size > 0 ? Value(CutBig5(AsString(value), static_cast<std::size_t>(field.size)))
                            : Value(AsString(value));
    case FieldType::Memo: return AsString(value);
  }
  return value;
}

void ClientDataSet::BeforeMove() {
  if (state_ != DataSetState::Browse) Post();
}

void ClientDataSet::Append() {
  BeforeMove();
  rows_.emplace_back(fields_.size());
  SetRow(RecordCount() - 1);
  state_ = DataSetState::Insert;
  NotifyInserted(RecordCount() - 1, 1);
  NotifyState();
  NotifyCursor();
  DoAfterScroll();
}

void ClientDataSet::Insert() {
  BeforeMove();
  int at = IsEmpty() ? 0 : CurrentRow();
  rows_.insert(rows_.begin() + at, std::vector<Value>(fields_.size()));
  SetRow(at);
  state_ = DataSetState::Insert;
  NotifyInserted(at, 1);
  NotifyState();
  NotifyCursor();
  DoAfterScroll();
}

void ClientDataSet::Delete() {
  if (state_ == DataSetState::Insert) {
    Cancel();
    return;
  }
  if (state_ == DataSetState::Edit) {  // the record goes, edits and all
    rows_[CurrentRow()] = std::move(saved_);
    saved_.clear();
    state_ = DataSetState::Browse;
    NotifyState();
  }
  if (IsEmpty()) return;
  int at = CurrentRow();
  rows_.erase(rows_.begin() + at);
  SetRow(std::min(at, std::max(0, RecordCount() - 1)));
  NotifyRemoved(at, 1);
  NotifyCursor();
  DoAfterScroll();
}

void ClientDataSet::Edit() {
  if (state_ != DataSetState::Browse) return;
  if (IsEmpty()) {
    Append();
    return;
  }
  saved_ = rows_[CurrentRow()];
  state_ = DataSetState::Edit;
  NotifyState();
}

void ClientDataSet::Post() {
  if (state_ == DataSetState::Browse) return;
  if (BeforePost) BeforePost(*this);
  state_ = DataSetState::Browse;
  saved_.clear();
  NotifyChanged(CurrentRow());
  NotifyState();
  if (AfterPost) AfterPost();
}

void ClientDataSet::Cancel() {
  if (state_ == DataSetState::Browse) return;
  int at = CurrentRow();
  if (state_ == DataSetState::Insert) {
    rows_.erase(rows_.begin() + at);
    state_ = DataSetState::Browse;
    SetRow(std::min(at, std::max(0, RecordCount() - 1)));
    NotifyRemoved(at, 1);
  } else {
    rows_[at] = std::move(saved_);
    saved_.clear();
    state_ = DataSetState::Browse;
    NotifyChanged(at);
  }
  NotifyState();
  NotifyCursor();
  DoAfterScroll();
}

void ClientDataSet::EmptyDataSet() {
  rows_.clear();
  saved_.clear();
  bool stateChanged = state_ != DataSetState::Browse;
  state_ = DataSetState::Browse;
  SetRow(0);
  NotifyReset();
  if (stateChanged) NotifyState();
}

void ClientDataSet::CheckEditing() const {
  if (state_ == DataSetState::Browse) throw TableError("資料表不在編輯或新增狀態");
}

void ClientDataSet::SetFieldValue(std::string_view name, const Value& value) {
  SetFieldValue(FieldIndex(name), value);
}

void ClientDataSet::SetFieldValue(int field, const Value& value) {
  CheckEditing();
  rows_.at(CurrentRow()).at(field) = Coerce(fields_.at(field), value);
  NotifyChanged(CurrentRow());
}

void ClientDataSet::SetValueAt(int row, int field, const Value& value) {
  rows_.at(row).at(field) = Coerce(fields_.at(field), value);
  NotifyChanged(row);
}

void ClientDataSet::AppendRow(std::vector<Value> row) {
  row.resize(fields_.size());
  for (std::size_t i = 0; i < row.size(); ++i) row[i] = Coerce(fields_[i], row[i]);
  bool wasEmpty = IsEmpty();
  rows_.push_back(std::move(row));
  if (wasEmpty) SetRow(0);
  NotifyInserted(RecordCount() - 1, 1);
}

std::vector<std::vector<Value>> ClientDataSet::TakeRows() {
  if (state_ != DataSetState::Browse) Cancel();
  std::vector<std::vector<Value>> rows = std::move(rows_);
  rows_.clear();
  SetRow(0);
  NotifyReset();
  return rows;
}

}  // namespace zavuv
