// Comma text, line lists and record text, and AppendRecord filling a row of a table
// with fields of every type from the decoded items.
#include <cstdint>

#include "FuzzKit.h"
#include "net/CommaText.h"
#include "table/ClientDataSet.h"

using namespace zavuv;
using namespace zavuv::net;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const StringList items = DecodeCommaText(text);
  // What reads writes back and reads again to the same items (a NUL ends the text,
  // so items holding one cannot travel).
  bool hasNul = false;
  for (const auto& item : items) hasNul = hasNul || item.find('\0') != std::string::npos;
  if (!hasNul && DecodeCommaText(EncodeCommaText(items)) != items) fuzz::Broken("comma text reads back differently");

  const std::string lines = DecodeLines(text);
  (void)EncodeLines(lines);
  (void)RecordText(items, "Name");

  ClientDataSet table({{"Name", FieldType::String, 20},
                       {"Count", FieldType::Integer},
                       {"Ratio", FieldType::Float},
                       {"When", FieldType::DateTime},
                       {"Flag", FieldType::Boolean},
                       {"Note", FieldType::Memo}});
  try {
    AppendRecord(table, items);
  } catch (const std::exception&) {
    if (table.RecordCount() != 0) fuzz::Broken("a refused row stayed");
    return 0;
  }
  if (table.RecordCount() != 1) fuzz::Broken("AppendRecord did not append one row");
  if (AsString(table.GetValue(0, 0)).size() > 20) fuzz::Broken("text longer than its field");
  // The row as record text: each value reads back as it was (line breaks come back
  // as CR LF, so only values without them are compared).
  RecordFields fields;
  for (int f = 0; f < table.FieldCount(); ++f)
    fields.push_back({table.Fields()[f].name, AsString(table.GetValue(0, f))});
  const StringList record = DecodeCommaText(EncodeRecord(fields));
  for (const auto& [name, value] : fields) {
    if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
        value.find("\xE2\x80\xA8") != std::string::npos)
      continue;
    if (RecordText(record, name) != value) fuzz::Broken("record text reads back differently: " + name);
  }
  return 0;
}
