#include "table/TableFile.h"

#include <array>
#include <cstring>

namespace zavuv {

namespace {

// "ZVTBL" CR LF SUB: a text-mode copy or a stray type command shows up at once.
constexpr std::array<char, 8> kMagic = {'Z', 'V', 'T', 'B', 'L', '\r', '\n', '\x1A'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;
constexpr std::uint32_t kMaxColumns = 4096;
constexpr std::uint32_t kMaxNameBytes = 255;

// Type codes in the file; 0 is left unused so that a zeroed area is caught.
std::uint8_t TypeCode(FieldType type) {
  switch (type) {
    case FieldType::Integer: return 1;
    case FieldType::Float: return 2;
    case FieldType::String: return 3;
    case FieldType::Memo: return 4;
    case FieldType::DateTime: return 5;
    case FieldType::Boolean: return 6;
  }
  return 0;
}

const char* TypeName(FieldType type) {
  switch (type) {
    case FieldType::Integer: return "Integer";
    case FieldType::Float: return "Float";
    case FieldType::String: return "String";
    case FieldType::Memo: return "Memo";
    case FieldType::DateTime: return "DateTime";
    case FieldType::Boolean: return "Boolean";
  }
  return "?";
}

bool TypeFromCode(std::uint8_t code, FieldType& type) {
  switch (code) {
    case 1: type = FieldType::Integer; return true;
    case 2: type = FieldType::Float; return true;
    case 3: type = FieldType::String; return true;
    case 4: type = FieldType::Memo; return true;
    case 5: type = FieldType::DateTime; return true;
    case 6: type = FieldType::Boolean; return true;
    default: return false;
  }
}

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}
constexpr auto kCrcTable = MakeCrcTable();

class Writer {
 public:
  void Bytes(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void F64(double d) {
    std::uint64_t v;
    std::memcpy(&v, &d, sizeof v);
    for (int i = 0; i < 8; ++i) out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void Text(std::string_view s) {
    U32(static_cast<std::uint32_t>(s.size()));
    out_.append(s);
  }
  std::string& Out() { return out_; }

 private:
  std::string out_;
};

// Reads the container with every length checked against what is left, so that a
// damaged length field can neither read past the end nor ask for a huge buffer.
class Reader {
 public:
  Reader(std::string_view data, const std::string& path) : data_(data), path_(path) {}

  std::size_t Left() const { return data_.size() - pos_; }
  std::size_t Pos() const { return pos_; }
  // Names the place being read, for messages ("the column schema", "row 12").
  void SetPlace(std::string place) { place_ = std::move(place); }

  [[noreturn]] void Damaged(const std::string& what) const {
    throw TableError("檔案 " + path_ + " 已損壞: " + what);
  }
  // Running out of bytes: the file was cut off, or a length in it is damaged.
  [[noreturn]] void Short(const std::string& what) const {
    throw TableError("檔案 " + path_ + " 不完整或已損壞: " + what);
  }
  void Need(std::size_t n) const {
    if (n > Left()) Short("讀取" + place_ + "時已到檔尾");
  }
  // A length read from the file must fit in what is left of it.
  void CheckLength(std::uint64_t n, std::size_t unit, const std::string& what) const {
    if (n * unit > Left())
      Short(place_ + "的" + what + " " + std::to_string(n) +
            (unit > 1 ? " (至少需 " + std::to_string(n * unit) + " 位元組)" : std::string()) + " 超出檔案剩餘的 " +
            std::to_string(Left()) + " 位元組");
  }

  std::uint8_t U8() {
    Need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  std::uint32_t U32() {
    Need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<std::uint8_t>(data_[pos_ + i])} << (8 * i);
    pos_ += 4;
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  double F64() {
    Need(8);
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= std::uint64_t{static_cast<std::uint8_t>(data_[pos_ + i])} << (8 * i);
    pos_ += 8;
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
  }
  std::string Text(const std::string& what) {
    std::uint32_t n = U32();
    CheckLength(n, 1, what + "長度");
    std::string s(data_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  std::string_view Raw(std::size_t n) {
    Need(n);
    auto s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::string_view data_;
  const std::string& path_;
  std::size_t pos_ = 0;
  std::string place_ = "檔頭";
};

std::string Describe(const std::string& name, FieldType type, int size) {
  std::string s = name + " (" + TypeName(type);
  if (type == FieldType::String) s += " " + std::to_string(size);
  return s + ")";
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
  crc = ~crc;
  for (char ch : bytes) crc = kCrcTable[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::string EncodeTable(const Table& table) {
  Writer w;
  w.Bytes(kMagic.data(), kMagic.size());
  w.U32(kVersion);
  const auto& fields = table.Fields();
  w.U32(static_cast<std::uint32_t>(fields.size()));
  for (const FieldDef& f : fields) {
    w.Text(f.name);
    w.U8(TypeCode(f.type));
    w.I32(f.size);
  }
  const int rows = table.RecordCount();
  const std::size_t bitmapBytes = (fields.size() + 7) / 8;
  w.U32(static_cast<std::uint32_t>(rows));
  std::string bitmap;
  for (int r = 0; r < rows; ++r) {
    bitmap.assign(bitmapBytes, '\0');
    for (std::size_t c = 0; c < fields.size(); ++c)
      if (IsNull(table.GetValue(r, static_cast<int>(c)))) bitmap[c / 8] |= static_cast<char>(1u << (c % 8));
    w.Bytes(bitmap.data(), bitmap.size());
    for (std::size_t c = 0; c < fields.size(); ++c) {
      Value v = table.GetValue(r, static_cast<int>(c));
      if (IsNull(v)) continue;
      switch (fields[c].type) {
        case FieldType::Integer: w.I32(AsInteger(v)); break;
        case FieldType::Float:
        case FieldType::DateTime: w.F64(AsFloat(v)); break;
        case FieldType::String:
        case FieldType::Memo: w.Text(AsString(v)); break;
        case FieldType::Boolean: w.U8(AsBoolean(v) ? 1 : 0); break;
      }
    }
  }
  w.U32(Crc32(w.Out()));
  return std::move(w.Out());
}

std::vector<std::vector<Value>> DecodeTable(const Table& table, std::string_view bytes,
                                            const std::string& path) {
  std::vector<std::vector<Value>> rows;
  DecodeTableRows(table, bytes, path, [&](std::vector<Value>& row, std::uint32_t count) {
    if (rows.empty()) rows.reserve(count);
    rows.push_back(std::move(row));
  });
  return rows;
}

void DecodeTableRows(const Table& table, std::string_view bytes, const std::string& path,
                     const std::function<void(std::vector<Value>& row, std::uint32_t count)>& onRow) {
  Reader r(bytes, path);
  if (bytes.size() < kMagic.size() || bytes.substr(0, kMagic.size()) != std::string_view(kMagic.data(), kMagic.size()))
    throw TableError("檔案 " + path + " 不是本程式的資料表檔案 (檔頭不符)");
  r.Raw(kMagic.size());
  r.SetPlace("格式版本");
  std::uint32_t version = r.U32();
  if (version != kVersion)
    throw TableError("檔案 " + path + " 的格式版本 " + std::to_string(version) + " 不受支援 (本程式讀取版本 " +
                     std::to_string(kVersion) + ")");

  // The column schema must be the table's: same names, types and widths, in order.
  r.SetPlace("欄位定義");
  std::uint32_t columns = r.U32();
  if (columns > kMaxColumns) r.Damaged("欄位數 " + std::to_string(columns) + " 不合理");
  r.CheckLength(columns, 9, "欄位數");  // each definition takes at least 9 bytes
  const auto& fields = table.Fields();
  struct Column {
    std::string name;
    FieldType type;
    int size;
  };
  std::vector<Column> schema;
  for (std::uint32_t c = 0; c < columns; ++c) {
    r.SetPlace("第 " + std::to_string(c + 1) + " 欄的定義");
    std::string name = r.Text("名稱");
    if (name.size() > kMaxNameBytes) r.Damaged("欄位名稱長度 " + std::to_string(name.size()) + " 不合理");
    std::uint8_t code = r.U8();
    FieldType type;
    if (!TypeFromCode(code, type)) r.Damaged("欄位 " + name + " 的型別代碼 " + std::to_string(code) + " 不明");
    std::int32_t size = r.I32();
    if (size < 0) r.Damaged("欄位 " + name + " 的寬度 " + std::to_string(size) + " 不合理");
    schema.push_back({std::move(name), type, size});
  }
  auto mismatch = [&](const std::string& detail) {
    throw TableError("檔案 " + path + " 的欄位與資料表不符: " + detail);
  };
  if (schema.size() != fields.size())
    mismatch("檔案有 " + std::to_string(schema.size()) + " 個欄位, 資料表有 " + std::to_string(fields.size()) + " 個");
  for (std::size_t c = 0; c < fields.size(); ++c) {
    const FieldDef& f = fields[c];
    const Column& s = schema[c];
    int tableSize = f.type == FieldType::String ? f.size : 0;
    int fileSize = s.type == FieldType::String ? s.size : 0;
    if (s.name != f.name || s.type != f.type || fileSize != tableSize)
      mismatch("第 " + std::to_string(c + 1) + " 欄在檔案中為 " + Describe(s.name, s.type, s.size) + ", 資料表為 " +
               Describe(f.name, f.type, f.size));
  }

  r.SetPlace("列數");
  std::uint32_t count = r.U32();
  const std::size_t bitmapBytes = (fields.size() + 7) / 8;
  // Every row takes at least its null bitmap; a table without columns has no rows.
  if (fields.empty() && count != 0) r.Damaged("沒有欄位的資料表不能有 " + std::to_string(count) + " 列");
  r.CheckLength(count, bitmapBytes, "列數");
  for (std::uint32_t i = 0; i < count; ++i) {
    r.SetPlace("第 " + std::to_string(i + 1) + " 列");
    std::string_view bitmap = r.Raw(bitmapBytes);
    std::vector<Value> row(fields.size());
    for (std::size_t c = 0; c < fields.size(); ++c) {
      if (static_cast<std::uint8_t>(bitmap[c / 8]) & (1u << (c % 8))) continue;  // null
      switch (fields[c].type) {
        case FieldType::Integer: row[c] = r.I32(); break;
        case FieldType::Float:
        case FieldType::DateTime: row[c] = r.F64(); break;
        case FieldType::String:
        case FieldType::Memo: row[c] = r.Text(fields[c].name + " 的文字"); break;
        case FieldType::Boolean: {
          std::uint8_t b = r.U8();
          if (b > 1) r.Damaged(fields[c].name + " 的布林值 " + std::to_string(b) + " 不合理");
          row[c] = b == 1;
          break;
        }
      }
    }
    onRow(row, count);
  }

  r.SetPlace("校驗碼");
  std::size_t end = r.Pos();
  std::uint32_t stored = r.U32();
  if (r.Left() != 0) r.Damaged("校驗碼之後還有 " + std::to_string(r.Left()) + " 位元組多餘資料");
  if (stored != Crc32(bytes.substr(0, end))) r.Damaged("校驗碼不符");
}

std::string ReadTableFile(const std::string& path) { return ReadWholeFile(path, kMaxFileBytes); }

void SaveTableToFile(const Table& table, const std::string& path) {
  WriteFileReplacing(path, EncodeTable(table));
}

void LoadTableFromFile(ClientDataSet& table, const std::string& path) {
  // Everything is read and checked before the table is touched.
  std::string bytes = ReadWholeFile(path, kMaxFileBytes);
  auto rows = DecodeTable(table, bytes, path);
  table.DisableControls();
  try {
    table.EmptyDataSet();
    for (auto& row : rows) table.AppendRow(std::move(row));
  } catch (...) {
    table.EnableControls();
    throw;
  }
  table.EnableControls();
}

}  // namespace zavuv
