// The record table: the generic row layout into which every data file (shoes, pattern
// bet methods, level bet amounts) is flattened. Each row carries one value of one
// field of one record: RecordNo, FieldName, FieldType ("I", "F", "M", "D"; any other
// letter carries no value) and the value in Integer, Float, Memo or DateTime.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "table/ClientDataSet.h"

namespace zavuv {

class RecordTable : public ClientDataSet {
 public:
  RecordTable();

  // Appends one row carrying the named field of the source table's current record,
  // taken as the type letter says.
  void AppendTempData(const Table& source, std::int32_t recordNo, std::string_view type,
                      std::string_view fieldName);
  // Flattens every record of the source table, in order, without moving its cursor:
  // for record r (1-based) one row per (type letter, field name) pair, in that order.
  struct TypedField {
    const char* type;
    const char* name;
  };
  void AppendRecords(const Table& source, std::initializer_list<TypedField> fields);
  // Appends a settings row (RecordNo 0) with a value given directly.
  void AppendSetting(std::string_view fieldName, std::string_view type, const Value& value);
  // Assigns the current row's value to the destination's field that FieldName names;
  // the destination record must be in edit or insert state. A missing field is a
  // TableError naming it; an unknown type letter ("X") assigns nothing, whatever
  // field the row names.
  void ReadTempData(ClientDataSet& destination) const;
  // Whether a type letter names a value column (I, F, M or D).
  static bool AssignsValue(std::string_view type);

  // The value of the current row, read from the column its type letter names (null
  // for an unknown letter).
  Value RowValue() const;

  // Rebuilds records into the destination from the current contents, from the first
  // row: every change of RecordNo posts the pending record and appends a new one.
  // With a settings handler, rows with RecordNo 0 go to it instead of to a record.
  // On an error the records already appended stay and the pending one stays in
  // insert state.
  void Rebuild(ClientDataSet& destination,
               const std::function<void(const RecordTable&)>& onSetting = nullptr);

  void SaveToFile(const std::string& path) const;

 private:
  // One row for a field of the source's row (-1: an empty table, no value).
  void AppendValue(const Table& source, int sourceRow, std::int32_t recordNo, std::string_view type,
                   std::string_view fieldName);
 public:
  void LoadFromFile(const std::string& path);
};

}  // namespace zavuv
