// "依形態下注": bets by finding the end of the analysed road in a table of patterns.
// Each row pairs a pattern of "B" and "P" with a bet ("B", "P" or nothing); the scan
// runs from the last row up, and the first row whose pattern equals the end of the
// road decides. The table and a description go to .MED files.
//
// The history is kept in a road model of its own that grows by one result per game,
// so the road the strategy reads from it is never rebuilt, however many shoes the
// history spans.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bets/CommonBet.h"
#include "roads/TRoad.h"
#include "table/ClientDataSet.h"

namespace zavuv {

class BetMethodPattern : public CommonBet {
 public:
  static constexpr int kPatternWidth = 20;
  // Entries of each road that the history keeps at least (the rest is let go).
  static constexpr std::size_t kHistoryKept = 4096;

  BetMethodPattern();
  ~BetMethodPattern() override;

  // The patterns: Pattern ("形態", up to 20) and Bet ("下注", up to 1). Every posted
  // row is upper-cased and keeps only "B" and "P" in both fields.
  ClientDataSet& Table() { return table_; }
  const ClientDataSet& Table() const { return table_; }
  std::string Info;           // "投注法說明" (Big5)
  std::string LastFileName;

  // The results since the last Restart, ties included (the last kHistoryKept at least).
  std::string_view History() const { return history_.Result(); }

  void Prepare() override;
  void Restart() override;
  void Finish() override;
  char GetBet(BaseStrategy& strategy) override;
  void AddGameResult(char result) override { history_.AddResult(result); }

  // Reads a .MED file: the patterns and the description. A file that cannot be read,
  // or that names a field other than Pattern or Bet in a pattern row, is refused with
  // a TableError and changes nothing.
  void ReadBet(const std::string& path);
  // Writes the .MED file (a pending edit is posted first; an untouched new row is
  // dropped).
  void SaveBet(const std::string& path);

  // Upper-cases the text and keeps only "B" and "P".
  static std::string Normalise(std::string_view text);

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  struct Row {
    std::string pattern;
    char bet;
  };
  class Watcher;
  void BuildRows();

  ClientDataSet table_;
  TRoad history_;
  std::vector<Row> rows_;   // the table as the scan reads it
  bool rowsValid_ = false;
  std::unique_ptr<Watcher> watcher_;
  bool detached_ = false;
  PublishedCall getAnalysisRoad_{"GetAnalysisRoad"};
  PublishedCall getPredict_{"GetPredict"};
};

}  // namespace zavuv
