#include "shoes/ShoesData.h"

#include <nlohmann/json.hpp>

#include <algorithm>

#include "shoes/RecordTable.h"
#include "table/Big5.h"
#include "table/Guards.h"
#include "table/TableFile.h"

namespace zavuv {

namespace {

enum ShoeField { kName, kResult, kInfo };
constexpr const char* kFieldNames[] = {"ShoesName", "ShoesResult", "ShoesInfo"};
constexpr std::size_t kMaxDataFile = std::size_t{256} << 20;

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Reads a shoe data file into a table of the shoe fields. The file's rows are
// rebuilt one record at a time as they are decoded, so a file of a million shoes is
// never held as a record table (three rows of seven values per shoe). Every row must
// name one of the shoe fields, and the whole file is checked (down to its checksum)
// before the caller takes anything from the staged table.
void ReadShoeRows(ClientDataSet& staged, const std::string& path) {
  const std::string bytes = ReadTableFile(path);
  RecordTable record;   // the rows of one record
  std::int32_t recordNo = 0;
  std::uint32_t index = 0;
  auto flush = [&] {
    if (record.IsEmpty()) return;
    record.Rebuild(staged);
    record.EmptyDataSet();
  };
  DecodeTableRows(record, bytes, path, [&](std::vector<Value>& row, std::uint32_t) {
    ++index;
    const std::string name = AsString(row[1]);
    if (RecordTable::AssignsValue(AsString(row[2])) && staged.FindField(name) < 0)
      throw TableError("檔案 " + path + " 第 " + std::to_string(index) + " 列: 找不到欄位: " + name +
                       " (靴資料只有 ShoesName, ShoesResult, ShoesInfo)");
    // A new record starts exactly where RecordNo changes from one row to the next.
    const std::int32_t no = AsInteger(row[0]);
    if (!record.IsEmpty() && no != recordNo) flush();
    recordNo = no;
    record.AppendRow(std::move(row));
  });
  flush();
}

// The rows of a shoe data file (three per shoe, as RecordTable::AppendRecords lays
// out ShoesName, ShoesResult and ShoesInfo as memos), read off the shoe table while
// the file is written, so that saving a million shoes copies none of them.
class ShoeFileRows : public Table {
 public:
  explicit ShoeFileRows(const ClientDataSet& shoes) : Table(RecordTable().Fields()), shoes_(shoes) {}
  int RecordCount() const override { return shoes_.RecordCount() * 3; }
  Value GetValue(int row, int field) const override {
    const int shoe = row / 3;
    const int shoeField = row % 3;
    switch (field) {
      case 0: return shoe + 1;                                      // RecordNo
      case 1: return std::string(kFieldNames[shoeField]);           // FieldName
      case 2: return std::string("M");                              // FieldType
      case 5: return AsString(shoes_.GetValue(shoe, shoeField));    // Memo
      default: return Value{};
    }
  }

 private:
  const ClientDataSet& shoes_;
};

}  // namespace

ShoesData::ShoesData()
    : table_({{kFieldNames[kName], FieldType::String, kNameWidth, "靴名", 15},
              {kFieldNames[kResult], FieldType::String, kResultWidth, "開出結果", 80},
              {kFieldNames[kInfo], FieldType::Memo}}) {
  // Every posted result is normalised, whoever posts it.
  table_.BeforePost = [](ClientDataSet& t) {
    t.SetFieldValue(kResult, NormaliseResult(AsString(t.FieldValue(kResult))));
  };
  table_.AfterScroll = [this] { Refresh(); };
  table_.AfterPost = [this] {
    ++revision_;
    Refresh();
  };
  MarkUnchanged();
}

std::uint64_t ShoesData::Fingerprint() const {
  // FNV-1a over every field, each ended by a byte no Big5 text holds.
  std::uint64_t h = 1469598103934665603ull;
  auto add = [&h](std::string_view text) {
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    h = (h ^ 0xFFu) * 1099511628211ull;
  };
  const int count = table_.RecordCount();
  for (int r = 0; r < count; ++r)
    for (int f = 0; f < 3; ++f) add(AsString(table_.GetValue(r, f)));
  add(std::to_string(count));
  return h;
}

bool ShoesData::Changed() const {
  return table_.State() != DataSetState::Browse || Fingerprint() != saved_;
}

void ShoesData::MarkUnchanged() const { saved_ = Fingerprint(); }

void ShoesData::Refresh() {
  if (RefreshSuppressed() || !OnRefresh) return;
  OnRefresh();
}

std::string ShoesData::NormaliseResult(std::string_view text) {
  // Byte by byte: the bytes of a double-byte character go too, unless one of them
  // reads as b, p or t.
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == 'B' || c == 'P' || c == 'T') out.push_back(c);
  }
  return out;
}

std::string ShoesData::CurrentName() const { return AsString(table_.FieldValue(kName)); }
std::string ShoesData::CurrentResult() const { return UpperAscii(AsString(table_.FieldValue(kResult))); }
std::string ShoesData::CurrentInfo() const { return AsString(table_.FieldValue(kInfo)); }

void ShoesData::AppendShoe(const ShoeRecord& shoe) {
  table_.Append();
  table_.SetFieldValue(kName, shoe.name);
  table_.SetFieldValue(kResult, shoe.result);
  table_.SetFieldValue(kInfo, shoe.info);
  table_.Post();
}

std::vector<ShoeRecord> ShoesData::Shoes() const {
  std::vector<ShoeRecord> out;
  out.reserve(table_.RecordCount());
  for (int r = 0; r < table_.RecordCount(); ++r)
    out.push_back({AsString(table_.GetValue(r, kName)), AsString(table_.GetValue(r, kResult)),
                   AsString(table_.GetValue(r, kInfo))});
  return out;
}

void ShoesData::Fill(bool replace, const std::function<void()>& fill) {
  DetachedControls detached(table_);
  ++revision_;
  {
    FlagGuard loading(ShoesLoading);
    if (replace)
      table_.EmptyDataSet();  // an unposted change goes with the old shoes
    else
      table_.Post();  // an unposted change is committed before the first appended shoe
    fill();
  }
  table_.First();  // the one refresh, for the first shoe
}

void ShoesData::ReadData(const std::string& path) {
  // The file is read and checked completely before the shoes are emptied, so a file
  // that cannot be read (missing, not ours, truncated, damaged, naming a field the
  // shoes do not have) leaves the current shoes exactly as they were.
  auto staged = StagingTable();
  ReadShoeRows(*staged, path);
  Fill(true, [&] {
    for (std::vector<Value>& row : staged->TakeRows()) table_.AppendRow(std::move(row));
  });
  MarkUnchanged();
}

void ShoesData::MergeData(const std::string& path) {
  // As for ReadData: nothing is appended unless the whole file reads.
  auto staged = StagingTable();
  ReadShoeRows(*staged, path);
  Fill(false, [&] {
    for (std::vector<Value>& row : staged->TakeRows()) table_.AppendRow(std::move(row));
  });
}

std::unique_ptr<ClientDataSet> ShoesData::StagingTable() const {
  auto staged = std::make_unique<ClientDataSet>(table_.Fields());
  staged->BeforePost = table_.BeforePost;   // the same normalisation as a post here
  return staged;
}

void ShoesData::SaveData(const std::string& path) {
  // A pending change is saved too: it is posted first (with its refresh). The rows
  // are read in place, so the cursor never leaves the current shoe and the shoe
  // needs no second refresh.
  table_.Post();
  SaveTableToFile(ShoeFileRows(table_), path);
  MarkUnchanged();
}

std::string ShoesData::ExportLine(const ShoeRecord& shoe, const ExportOptions& options) {
  std::string line;
  if (options.includeName) {
    std::string name = CutBig5(shoe.name, kNameWidth);
    name.resize(kNameWidth, ' ');
    line = name;
    if (options.nameDelimited && !shoe.result.empty()) line += options.delimiter;
  }
  for (std::size_t i = 0; i < shoe.result.size(); ++i) {
    if (options.gameDelimited && i > 0) line += options.delimiter;
    switch (shoe.result[i]) {
      case 'B': line += options.banker; break;
      case 'P': line += options.player; break;
      case 'T': line += options.tie; break;
      default: break;
    }
  }
  return line;
}

void ShoesData::ExportText(const std::string& path, const ExportOptions& options) {
  if (table_.State() != DataSetState::Browse) throw TableError(kEditingMessage);
  FlagGuard batch(BatchRunning);
  // The shoes are read by row, so the cursor stays where the user left it.
  std::string text;
  for (const ShoeRecord& shoe : Shoes()) {
    text += ExportLine(shoe, options);
    text += "\r\n";
  }
  WriteFileReplacing(path, text);
}

std::string ShoesData::ShoesToJson(const std::vector<ShoeRecord>& shoes) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ShoeRecord& s : shoes)
    list.push_back({{"name", Big5ToUtf8(s.name)}, {"result", Big5ToUtf8(s.result)}, {"info", Big5ToUtf8(s.info)}});
  return list.dump(2) + "\n";
}

std::vector<ShoeRecord> ShoesData::ShoesFromJson(std::string_view text, const std::string& source) {
  nlohmann::json doc;
  try {
    doc = nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    // The line of the fault, counted as an editor shows it.
    const std::size_t end = std::min<std::size_t>(e.byte, text.size());
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
    throw TableError(source + ": JSON 格式錯誤, 第 " + std::to_string(line) + " 行");
  } catch (const nlohmann::json::exception&) {  // a number too large for any value
    throw TableError(source + ": JSON 格式錯誤: 數字太大");
  }
  // A strategy set is the likely mix-up.
  if (doc.is_object() && (doc.contains("strategies") || doc.contains("road_settings")))
    throw TableError(source + ": 此檔案不是靴資料 (它是策略組合)");
  if (!doc.is_array()) throw TableError(source + ": 靴清單必須是 JSON 陣列 [{\"name\", \"result\", \"info\"}, ...]");
  std::vector<ShoeRecord> shoes;
  shoes.reserve(doc.size());
  for (std::size_t i = 0; i < doc.size(); ++i) {
    const auto& item = doc[i];
    std::string place = source + ": 第 " + std::to_string(i + 1) + " 項";
    if (!item.is_object()) throw TableError(place + " 不是物件");
    // "name" and "result" must be there; "info" may be left out. null counts as empty.
    auto field = [&](const char* key, bool required) -> std::string {
      auto it = item.find(key);
      if (it == item.end()) {
        if (required) throw TableError(place + ": 缺少 " + key);
        return {};
      }
      if (it->is_null()) return {};
      if (!it->is_string()) throw TableError(place + ": " + key + " 不是字串");
      return Utf8ToBig5(it->get_ref<const std::string&>());
    };
    ShoeRecord shoe;
    shoe.name = field("name", true);
    shoe.result = field("result", true);
    shoe.info = field("info", false);
    shoes.push_back(std::move(shoe));
  }
  return shoes;
}

void ShoesData::ReadJson(const std::string& path) {
  // Parsed and checked completely before the shoes are emptied.
  auto shoes = ShoesFromJson(ReadWholeFile(path, kMaxDataFile), path);
  Fill(true, [&] {
    for (const ShoeRecord& s : shoes) AppendShoe(s);
  });
  MarkUnchanged();
}

void ShoesData::MergeJson(const std::string& path) {
  auto shoes = ShoesFromJson(ReadWholeFile(path, kMaxDataFile), path);
  Fill(false, [&] {
    for (const ShoeRecord& s : shoes) AppendShoe(s);
  });
}

void ShoesData::SaveJson(const std::string& path) const {
  if (table_.State() != DataSetState::Browse) throw TableError(kEditingMessage);
  WriteFileReplacing(path, ShoesToJson(Shoes()));
  MarkUnchanged();
}

}  // namespace zavuv
