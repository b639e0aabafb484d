// The shoe table: every recorded shoe (name, result string, note) in order, with a
// cursor, the normalisation that every posted result goes through, the two guard
// flags, and the file operations (read, merge, save, text export, JSON lists).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "table/ClientDataSet.h"

namespace zavuv {

// One shoe as 8-bit Big5 text.
struct ShoeRecord {
  std::string name;
  std::string result;
  std::string info;
  bool operator==(const ShoeRecord&) const = default;
};

// The text export's layout options, with the export dialog's defaults. Texts are
// 8-bit Big5.
struct ExportOptions {
  bool includeName = true;        // begin each line with the name, padded to 20 bytes
  bool nameDelimited = true;      // delimiter between the name and the results
  bool gameDelimited = true;      // delimiter between two games
  std::string delimiter = ", ";
  std::string banker = "B";
  std::string player = "P";
  std::string tie = "T";
};

class ShoesData {
 public:
  static constexpr int kNameWidth = 20;
  static constexpr int kResultWidth = 100;

  ShoesData();

  // Fields ShoesName (20 bytes), ShoesResult (100 bytes), ShoesInfo (memo).
  ClientDataSet& Table() { return table_; }
  const ClientDataSet& Table() const { return table_; }

  // Guards owned by the operations that walk the whole table. While either is set
  // the current-shoe refresh does not run.
  bool ShoesLoading = false;
  bool BatchRunning = false;
  bool RefreshSuppressed() const { return ShoesLoading || BatchRunning; }

  // The current-shoe refresh: run after every move of the cursor (including the
  // start of an append or insert and after a delete) and after every post, unless a
  // guard is set. The main window sets it.
  std::function<void()> OnRefresh;

  // Upper-cases a to z and keeps only the bytes "B", "P" and "T".
  static std::string NormaliseResult(std::string_view text);

  // Current record (empty strings on an empty table).
  std::string CurrentName() const;
  std::string CurrentResult() const;   // upper-cased
  std::string CurrentInfo() const;

  // Appends a shoe and posts it (through the normalisation and the width cuts).
  void AppendShoe(const ShoeRecord& shoe);
  std::vector<ShoeRecord> Shoes() const;

  // Replaces the shoes by a data file's shoes; the cursor ends on the first shoe and
  // one refresh runs. A file that cannot be read leaves the shoes as they were.
  void ReadData(const std::string& path);
  // Appends a data file's shoes after the current ones; the cursor ends on the
  // first shoe of the whole table.
  void MergeData(const std::string& path);
  // Writes every shoe to a data file (temporary file renamed into place); the cursor
  // returns to the shoe it was on.
  void SaveData(const std::string& path);
  // Writes one line per shoe laid out by the options, CR LF line ends (temporary
  // file renamed into place). Refused with kEditingMessage while a change is pending.
  // The cursor does not move, so no refresh runs.
  void ExportText(const std::string& path, const ExportOptions& options);
  // One exported line (without the line end).
  static std::string ExportLine(const ShoeRecord& shoe, const ExportOptions& options);

  // JSON lists of {"name","result","info"} in UTF-8, read and written like data files:
  // the same cuts and normalisation on reading, the shoes left as they were when the
  // file is refused. SaveJson is refused with kEditingMessage while a change is pending.
  void ReadJson(const std::string& path);
  void MergeJson(const std::string& path);
  void SaveJson(const std::string& path) const;
  // The JSON text of the shoes, and the shoes of a JSON text (UTF-8 in, Big5 out;
  // `source` names the text in messages).
  static std::string ShoesToJson(const std::vector<ShoeRecord>& shoes);
  static std::vector<ShoeRecord> ShoesFromJson(std::string_view text, const std::string& source);

  // Messages the views show: an action that needs the browse state, and a failed
  // text export.
  static constexpr const char* kEditingMessage = "資料更改中";
  static constexpr const char* kExportFailedMessage = "發生錯誤, 可能資料太多, 請試用windows XP或減少資料後重試";

 private:
  void Refresh();
  // Replaces (replace) or extends the shoes by what fill appends, with ShoesLoading
  // set and the view detached; the cursor then goes to the first shoe, which runs
  // the one refresh.
  void Fill(bool replace, const std::function<void()>& fill);
  // An empty table of the shoe fields that posts as this one does.
  std::unique_ptr<ClientDataSet> StagingTable() const;
  ClientDataSet table_;
};

}  // namespace zavuv
