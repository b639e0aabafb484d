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

  // The table (a pending edit counts) or the description differs from the last read
  // or save, or from the defaults.
  bool Modified() const override;
  void MarkUnchanged() override { baseline_ = Contents(); }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  struct Row {
    std::string pattern;
    char bet;
  };
  // The patterns read from the end backwards, as a tree of "B" and "P" branches:
  // walking the road from its last entry back reaches, at depth n, the node of the
  // patterns equal to the road's last n entries, so the last matching row is the
  // highest row met on the walk (at most 20 steps, whatever the number of rows).
  struct Node {
    std::int32_t next[2] = {-1, -1};   // "B", "P"
    std::int32_t row = -1;             // the last row whose pattern ends here
  };
  class Watcher;
  void BuildRows();
  // The last row whose pattern equals the end of the road, or -1.
  int MatchRow(std::string_view road) const;

  std::string Contents() const;
  ClientDataSet table_;
  std::string baseline_;   // Contents() as last read or saved, or at first
  TRoad history_;
  std::vector<Row> rows_;   // the table as the scan reads it
  std::vector<Node> tree_;  // empty when a pattern holds other letters: rows_ are scanned
  std::size_t depth_ = 0;   // the longest pattern
  bool rowsValid_ = false;
  std::unique_ptr<Watcher> watcher_;
  bool detached_ = false;
  PublishedCall getAnalysisRoad_{"GetAnalysisRoad"};
  PublishedCall getPredict_{"GetPredict"};
  // The owning strategy's plain GetAnalysisRoad and GetPredict, read once (its class
  // never changes); null when its class has none.
  bool DirectOn(const BaseStrategy& strategy) {
    if (!OwnerStrategy || &strategy != OwnerStrategy) return false;
    if (directOwner_ != OwnerStrategy) ReadDirect(strategy);
    return directRoad_ && directPredict_;
  }
  void ReadDirect(const BaseStrategy& strategy);
  const BaseStrategy* directOwner_ = nullptr;
  PubDirect directRoad_ = nullptr;
  PubDirect directPredict_ = nullptr;
};

}  // namespace zavuv
