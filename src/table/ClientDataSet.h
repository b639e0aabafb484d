// The editable in-memory table: rows of values with a cursor that moves between
// browse, edit and insert states, a before-post hook that may rewrite or refuse the
// pending record, and an after-post hook.
#pragma once

#include "table/Table.h"

namespace zavuv {

class ClientDataSet : public Table {
 public:
  explicit ClientDataSet(std::vector<FieldDef> fields = {});

  int RecordCount() const override { return static_cast<int>(rows_.size()); }
  Value GetValue(int row, int field) const override { return rows_.at(row).at(field); }
  DataSetState State() const override { return state_; }

  // Appends an empty record at the end / inserts one before the current record and
  // makes it current in insert state. A pending change is posted first.
  void Append();
  void Insert();
  // Deletes the current record (in insert state: cancels the new record).
  void Delete();
  // Starts editing the current record; on an empty table it appends one.
  void Edit();
  // Commits the pending record: BeforePost runs first and may change its fields or
  // throw, which leaves the record pending. Nothing happens in browse state.
  void Post();
  // Drops the pending change: an inserted record goes, an edited one is restored.
  void Cancel();
  // Removes every row and any pending change.
  void EmptyDataSet();

  // Writes a field of the current record, which must be in edit or insert state.
  // Text is cut to the field's width; numbers are converted to the field's type.
  void SetFieldValue(std::string_view name, const Value& value);
  void SetFieldValue(int field, const Value& value);
  // Writes a field of any row directly, outside the cursor's states (for views that
  // edit a cell and for loaders). No hooks run.
  void SetValueAt(int row, int field, const Value& value);
  // Appends a complete row in one step, with no hooks and no state change.
  void AppendRow(std::vector<Value> row);
  // Hands every row over and leaves the table empty (a staging table giving its rows
  // to another without copying them).
  std::vector<std::vector<Value>> TakeRows();

  std::function<void(ClientDataSet&)> BeforePost;
  std::function<void()> AfterPost;

  // Converts a value to what a field of the given definition stores.
  static Value Coerce(const FieldDef& field, const Value& value);

 protected:
  void BeforeMove() override;

 private:
  void CheckEditing() const;
  std::vector<std::vector<Value>> rows_;
  DataSetState state_ = DataSetState::Browse;
  std::vector<Value> saved_;   // the row as it was before Edit
};

}  // namespace zavuv
