// The program's one table facility: typed columns, ordered rows, null values and a
// cursor. Every small table of the program (shoes, patterns, levels, run counts,
// boards) is a ClientDataSet; long result tables use a compact store that derives
// from Table directly. Views show any Table through one Qt model.
//
// Text values (String and Memo fields) are 8-bit Big5 bytes, as stored in files and
// sent to the server. Field labels are UTF-8, since only views show them.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zavuv {

enum class FieldType { Integer, Float, String, Memo, DateTime, Boolean };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Integer;
  int size = 0;             // byte width of a String field; 0 means unbounded
  std::string label;        // column title shown by views (UTF-8); empty: the name
  int displayWidth = 0;     // width in characters for views; 0: the view decides
  // How views show a number, as a pattern such as "#.##" or "###,###,##0.##" (see
  // FormatFloat); empty: the plain value.
  std::string displayFormat;
  // Hidden fields are kept but not shown as columns; computed fields are filled by
  // the table, not from data. Loaders that fill rows from lists skip both.
  bool visible = true;
  bool computed = false;
};

// A null, a 32-bit integer, a double (also DateTime, as days since 1899-12-30), a
// byte string or a boolean.
using Value = std::variant<std::monostate, std::int32_t, double, std::string, bool>;

inline bool IsNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }
std::int32_t AsInteger(const Value& v);   // null and text that is no number give 0
double AsFloat(const Value& v);
std::string AsString(const Value& v);     // null gives ""; numbers in plain notation
bool AsBoolean(const Value& v);

class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Told of every change so that a view can follow the table.
class TableObserver {
 public:
  virtual ~TableObserver() = default;
  virtual void TableReset() = 0;                      // anything may have changed
  virtual void RowsInserted(int first, int count) = 0;
  virtual void RowsRemoved(int first, int count) = 0;
  virtual void RowChanged(int row) = 0;
  virtual void CursorMoved(int row) = 0;              // row is 0-based, -1 when empty
  virtual void StateChanged() {}
};

enum class DataSetState { Browse, Edit, Insert };

class Table {
 public:
  explicit Table(std::vector<FieldDef> fields = {});
  virtual ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const std::vector<FieldDef>& Fields() const { return fields_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // Index of the field of that name, letter case ignored; -1 when there is none.
  int FindField(std::string_view name) const;
  // As FindField, but a missing field is an error naming it.
  int FieldIndex(std::string_view name) const;

  virtual int RecordCount() const = 0;
  virtual Value GetValue(int row, int field) const = 0;   // row is 0-based
  virtual DataSetState State() const { return DataSetState::Browse; }
  bool IsEmpty() const { return RecordCount() == 0; }

  // The cursor. RecNo is 1-based and 0 when the table is empty. Eof is true after a
  // Next that found no next row and on an empty table; Bof likewise for Prior.
  int RecNo() const { return IsEmpty() ? 0 : row_ + 1; }
  int CurrentRow() const { return IsEmpty() ? -1 : row_; }
  bool Eof() const { return eof_ || IsEmpty(); }
  bool Bof() const { return bof_ || IsEmpty(); }
  void First();
  void Last();
  void Next();
  void Prior();
  // Moves by a signed number of rows, stopping at either end; returns the rows moved.
  int MoveBy(int distance);
  // Moves to the 0-based row (clamped into the table).
  void GotoRow(int row);

  // Values of the current row.
  Value FieldValue(std::string_view name) const;
  Value FieldValue(int field) const;

  // After-scroll hook: runs after every move of the cursor.
  std::function<void()> AfterScroll;

  // Views: observers are told of every change unless controls are disabled.
  // DisableControls nests; the last EnableControls tells every observer to reset.
  void AddObserver(TableObserver* observer);
  void RemoveObserver(TableObserver* observer);
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disabled_ > 0; }

 protected:
  // Called before the cursor moves; a ClientDataSet posts a pending change here.
  virtual void BeforeMove() {}
  // Sets the cursor row without hooks (for subclasses keeping it in range).
  void SetRow(int row) { row_ = row; eof_ = bof_ = false; }
  void ClearEnds() { eof_ = bof_ = false; }
  void DoAfterScroll();
  void NotifyReset();
  void NotifyInserted(int first, int count);
  void NotifyRemoved(int first, int count);
  void NotifyChanged(int row);
  void NotifyCursor();
  void NotifyState();
  std::vector<FieldDef> fields_;

 private:
  int row_ = 0;
  bool eof_ = false;
  bool bof_ = false;
  int disabled_ = 0;
  std::vector<TableObserver*> observers_;
};

// A second cursor over the rows of a table, independent of the table's own cursor.
class TableCursor {
 public:
  explicit TableCursor(const Table& table) : table_(&table) {}
  void First() { row_ = 0; }
  void Next() { ++row_; }
  bool Eof() const { return row_ >= table_->RecordCount(); }
  int Row() const { return row_; }
  void GotoRow(int row) { row_ = row; }
  Value FieldValue(std::string_view name) const { return table_->GetValue(row_, table_->FieldIndex(name)); }
  Value FieldValue(int field) const { return table_->GetValue(row_, field); }

 private:
  const Table* table_;
  int row_ = 0;
};

// Compares two names with the letters a to z taken as A to Z.
bool EqualNoCase(std::string_view a, std::string_view b);

// Cuts 8-bit Big5 text to at most max bytes without leaving the first byte of a
// double-byte character behind.
std::string CutBig5(std::string_view text, std::size_t max);

}  // namespace zavuv
