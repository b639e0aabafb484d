#include "table/TableCsv.h"

#include "table/Big5.h"
#include "table/TableFile.h"

namespace zavuv {

namespace {

void AppendField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string TableToCsv(const Table& table) {
  std::string out = "\xEF\xBB\xBF";
  const auto& fields = table.Fields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (f) out += ',';
    AppendField(out, fields[f].label.empty() ? fields[f].name : fields[f].label);
  }
  out += "\r\n";
  const int rows = table.RecordCount();
  for (int r = 0; r < rows; ++r) {
    for (int f = 0; f < table.FieldCount(); ++f) {
      if (f) out += ',';
      const Value v = table.GetValue(r, f);
      if (IsNull(v)) continue;
      const FieldType type = fields[static_cast<std::size_t>(f)].type;
      // A text of blanks alone (the bet of a game without one) is an empty field, so
      // that a spreadsheet sees no value rather than a space.
      if (type == FieldType::String && AsString(v).find_first_not_of(' ') == std::string::npos) continue;
      if (type == FieldType::String || type == FieldType::Memo) AppendField(out, Big5ToUtf8(AsString(v)));
      else AppendField(out, AsString(v));
    }
    out += "\r\n";
  }
  return out;
}

void WriteTableCsv(const Table& table, const std::string& path) { WriteFileReplacing(path, TableToCsv(table)); }

}  // namespace zavuv
