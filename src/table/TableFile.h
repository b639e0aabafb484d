// The program's own file container for a whole table: the column schema, every row
// in order with its null values, and a checksum. See docs/file-formats.md.
// Files are written to a temporary name and renamed into place.
#pragma once

#include <string>

#include "table/ClientDataSet.h"

namespace zavuv {

// Writes every row of the table. Throws TableError when the file cannot be written;
// an existing file of that name is then left as it was.
void SaveTableToFile(const Table& table, const std::string& path);

// Replaces the rows of the table by the file's rows. The file's columns must match
// the table's by name and type. A file that cannot be opened, is not ours, is
// truncated or damaged is refused with a TableError that says why; the table is
// then left as it was.
void LoadTableFromFile(ClientDataSet& table, const std::string& path);

}  // namespace zavuv
