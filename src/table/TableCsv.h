// A table as comma-separated text for spreadsheets: UTF-8 with a byte-order mark (so
// that spreadsheet programs read the Chinese right), a header row of the field
// labels, then one line per row. Text fields are converted from Big5; numbers are
// written in plain notation without thousands separators; a null is an empty field.
// Fields holding a comma, a quote or a line break are quoted, quotes doubled.
#pragma once

#include <string>

#include "table/Table.h"

namespace zavuv {

std::string TableToCsv(const Table& table);
// Writes the text to a temporary file renamed into place; a TableError names the
// file when it cannot be written.
void WriteTableCsv(const Table& table, const std::string& path);

}  // namespace zavuv
