#include "table/TableClone.h"

#include <algorithm>

namespace zavuv {

TableClone::~TableClone() {
  if (source_) source_->RemoveObserver(this);
}

void TableClone::CloneCursor(Table* source) {
  if (source_) source_->RemoveObserver(this);
  source_ = source;
  fields_ = source_ ? source_->Fields() : std::vector<FieldDef>{};
  if (source_) source_->AddObserver(this);
  SetRow(source_ ? std::max(0, source_->CurrentRow()) : 0);
  NotifyReset();
  NotifyCursor();
}

Value TableClone::GetValue(int row, int field) const {
  if (!source_) throw TableError("資料表未開啟");
  return source_->GetValue(row, field);
}

void TableClone::KeepRowInRange() {
  const int count = RecordCount();
  if (CurrentRow() >= count) SetRow(std::max(0, count - 1));
}

void TableClone::TableReset() {
  KeepRowInRange();
  NotifyReset();
}

void TableClone::RowsRemoved(int first, int count) {
  KeepRowInRange();
  NotifyRemoved(first, count);
}

}  // namespace zavuv
