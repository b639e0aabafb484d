#include "shoes/RecordTable.h"

#include "table/TableFile.h"

namespace zavuv {

namespace {

enum Column { kRecordNo, kFieldName, kFieldType, kInteger, kFloat, kMemo, kDateTime };

// The value column a type letter names; -1 for any other letter (the comparison is
// exact: "i" or "M " mean nothing).
int ValueColumn(std::string_view type) {
  if (type == "I") return kInteger;
  if (type == "F") return kFloat;
  if (type == "M") return kMemo;
  if (type == "D") return kDateTime;
  return -1;
}

// A value taken as the type letter says. Text never stays null (an empty field gives
// empty text); a missing number or date stays null rather than becoming 0.
Value TakeAs(int column, const Value& v) {
  switch (column) {
    case kInteger: return IsNull(v) ? Value{} : Value(AsInteger(v));
    case kFloat:
    case kDateTime: return IsNull(v) ? Value{} : Value(AsFloat(v));
    case kMemo: return AsString(v);
    default: return Value{};
  }
}

}  // namespace

RecordTable::RecordTable()
    : ClientDataSet({{"RecordNo", FieldType::Integer},
                     {"FieldName", FieldType::String, 20},
                     {"FieldType", FieldType::String, 10},
                     {"Integer", FieldType::Integer},
                     {"Float", FieldType::Float},
                     {"Memo", FieldType::Memo},
                     {"DateTime", FieldType::DateTime}}) {}

void RecordTable::AppendTempData(const Table& source, std::int32_t recordNo, std::string_view type,
                                 std::string_view fieldName) {
  AppendValue(source, source.CurrentRow(), recordNo, type, fieldName);
}

void RecordTable::AppendRecords(const Table& source, std::initializer_list<TypedField> fields) {
  for (int r = 0; r < source.RecordCount(); ++r)
    for (const TypedField& f : fields) AppendValue(source, r, r + 1, f.type, f.name);
}

void RecordTable::AppendValue(const Table& source, int sourceRow, std::int32_t recordNo, std::string_view type,
                              std::string_view fieldName) {
  std::vector<Value> row(kDateTime + 1);
  row[kRecordNo] = recordNo;
  row[kFieldName] = std::string(fieldName);
  row[kFieldType] = std::string(type);
  // A missing field is an error naming it; a row with an unknown letter carries no
  // value and so needs no field.
  int column = ValueColumn(type);
  if (column >= 0) {
    int field = source.FieldIndex(fieldName);
    row[column] = TakeAs(column, sourceRow < 0 ? Value{} : source.GetValue(sourceRow, field));
  }
  Post();
  AppendRow(std::move(row));
}

void RecordTable::AppendSetting(std::string_view fieldName, std::string_view type, const Value& value) {
  std::vector<Value> row(kDateTime + 1);
  row[kRecordNo] = 0;
  row[kFieldName] = std::string(fieldName);
  row[kFieldType] = std::string(type);
  int column = ValueColumn(type);
  if (column >= 0) row[column] = TakeAs(column, value);
  Post();
  AppendRow(std::move(row));
}

Value RecordTable::RowValue() const {
  int column = ValueColumn(AsString(FieldValue(kFieldType)));
  if (column < 0 || IsEmpty()) return Value{};
  return FieldValue(column);
}

void RecordTable::ReadTempData(ClientDataSet& destination) const {
  // The type letter first: a row that assigns nothing needs no field.
  int column = ValueColumn(AsString(FieldValue(kFieldType)));
  if (column < 0) return;
  int field = destination.FieldIndex(AsString(FieldValue(kFieldName)));
  destination.SetFieldValue(field, TakeAs(column, FieldValue(column)));
}

bool RecordTable::AssignsValue(std::string_view type) { return ValueColumn(type) >= 0; }

void RecordTable::Rebuild(ClientDataSet& destination, const std::function<void(const RecordTable&)>& onSetting) {
  bool first = true;
  std::int32_t previous = -1;
  for (First(); !Eof(); Next()) {
    std::int32_t recordNo = AsInteger(FieldValue(kRecordNo));
    bool setting = onSetting && recordNo == 0;
    // A new record starts exactly where RecordNo changes from one row to the next.
    if (first || recordNo != previous) {
      if (destination.State() == DataSetState::Insert) destination.Post();
      if (!setting) destination.Append();
      previous = recordNo;
      first = false;
    }
    if (setting)
      onSetting(*this);
    else
      ReadTempData(destination);
  }
  if (destination.State() == DataSetState::Insert) destination.Post();
}

void RecordTable::SaveToFile(const std::string& path) const { SaveTableToFile(*this, path); }

void RecordTable::LoadFromFile(const std::string& path) {
  LoadTableFromFile(*this, path);
  First();
}

}  // namespace zavuv
