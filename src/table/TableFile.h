// The program's own file container for a whole table: the column schema, every row
// in order with its null values, and a checksum. See docs/file-formats.md.
// Files are written through WriteFileReplacing (table/FileIo.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "table/ClientDataSet.h"
#include "table/FileIo.h"

namespace zavuv {

// Writes every row of the table. Throws TableError when the file cannot be written;
// an existing file of that name is then left as it was.
void SaveTableToFile(const Table& table, const std::string& path);

// Replaces the rows of the table by the file's rows. The file's columns must match
// the table's by name and type. A file that cannot be opened, is not ours, is
// truncated or damaged is refused with a TableError that says why; the table is
// then left as it was.
void LoadTableFromFile(ClientDataSet& table, const std::string& path);

// The container's bytes for a table, and the rows decoded from such bytes (checked
// against the table's columns; `path` only names the source in messages).
std::string EncodeTable(const Table& table);
std::vector<std::vector<Value>> DecodeTable(const Table& table, std::string_view bytes,
                                            const std::string& path);
// The same rows handed over one at a time, as they are decoded (with the file's row
// count), so that a large file need not be held twice. The checksum is checked after
// the last row: nothing taken from the rows may be committed before this returns.
void DecodeTableRows(const Table& table, std::string_view bytes, const std::string& path,
                     const std::function<void(std::vector<Value>& row, std::uint32_t count)>& onRow);
// The bytes of a table file, read whole (within the size every table file keeps to).
std::string ReadTableFile(const std::string& path);

// CRC-32 as used by zip and PNG (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

}  // namespace zavuv
