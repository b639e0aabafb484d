// A second cursor over another table's rows that views show like any table: the same
// fields and rows, but its own current row and after-scroll hook. While attached it
// passes the source's row changes and resets on to its own views. The source must
// outlive the clone or be let go of first (CloneCursor(nullptr)).
#pragma once

#include "table/Table.h"

namespace zavuv {

class TableClone : public Table, private TableObserver {
 public:
  TableClone() = default;
  explicit TableClone(Table& source) { CloneCursor(&source); }
  ~TableClone() override;

  // Becomes a new cursor over the source (or over nothing): its views are told to
  // reset and the cursor goes to the source's current row, without the after-scroll
  // hook.
  void CloneCursor(Table* source);
  Table* Source() const { return source_; }
  bool Active() const { return source_ != nullptr; }

  int RecordCount() const override { return source_ ? source_->RecordCount() : 0; }
  Value GetValue(int row, int field) const override;

 private:
  void TableReset() override;
  void RowsInserted(int first, int count) override { NotifyInserted(first, count); }
  void RowsRemoved(int first, int count) override;
  void RowChanged(int row) override { NotifyChanged(row); }
  void CursorMoved(int) override {}
  void KeepRowInRange();

  Table* source_ = nullptr;
};

}  // namespace zavuv
