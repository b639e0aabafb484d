// A result table: one row per analysed game (ShoesName, GameNo, Bet, BetAmount,
// GameResult, Profit, AccProfit), or an all-null row that the group setup writes
// between groups. A run over thousands of shoes appends millions of rows, so they
// are kept compactly: 32 bytes a row in blocks, the shoe label as an index into a
// list of the labels seen (one copy per label, not per row). Views read it through
// the generic Table interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "table/Table.h"

namespace zavuv {

class ResultTable : public Table {
 public:
  enum Field { kShoesName, kGameNo, kBet, kBetAmount, kGameResult, kProfit, kAccProfit };
  static constexpr int kShoesNameWidth = 30;

  struct Row {
    std::int32_t shoe;        // index into the labels; -1 in a separator row
    std::int32_t gameNo;
    std::int32_t betAmount;
    char bet;                 // "B", "P" or " "
    char gameResult;          // "B", "P" or "T"
    bool isNull;              // every field null (a group separator)
    double profit;
    double accProfit;
  };

  ResultTable();
  ~ResultTable() override;

  // Off: a figures-only run. Append and AppendNull keep nothing, so a run over
  // millions of games holds no rows; the figures, run tables and charts are computed
  // as the run goes all the same.
  bool KeepRows = true;

  int RecordCount() const override { return static_cast<int>(count_); }
  Value GetValue(int row, int field) const override;

  // Empties the table (it is re-created without rows); views are told.
  void Clear();
  // Appends a game's row (the label is cut to 30 bytes) or a separator row, and
  // leaves the cursor on it.
  // With KeepRows off both return at once, without a call (they are called for every
  // game of every strategy).
  void Append(std::string_view shoesName, std::int32_t gameNo, char bet, std::int32_t betAmount,
              char gameResult, double profit, double accProfit) {
    if (KeepRows) AppendRow(shoesName, gameNo, bet, betAmount, gameResult, profit, accProfit);
  }
  void AppendNull() {
    if (KeepRows) AppendNullRow();
  }

  const Row& At(int row) const { return blocks_[row >> kBlockBits][row & (kBlockSize - 1)]; }
  bool IsNullRow(int row) const { return At(row).isNull; }
  std::string_view ShoesNameAt(int row) const;
  // The labels, one per distinct label, indexed by Row::shoe.
  const std::vector<std::string>& Labels() const { return labels_; }

  // Bytes held for the rows and the labels.
  std::size_t StorageBytes() const;

 private:
  static constexpr int kBlockBits = 12;
  static constexpr int kBlockSize = 1 << kBlockBits;
  Row& NewRow();
  void AppendRow(std::string_view shoesName, std::int32_t gameNo, char bet, std::int32_t betAmount,
                 char gameResult, double profit, double accProfit);
  void AppendNullRow();
  std::int32_t LabelIndex(std::string_view label);

  std::vector<std::unique_ptr<Row[]>> blocks_;
  std::size_t count_ = 0;
  std::vector<std::string> labels_;
  std::unordered_map<std::string, std::int32_t> labelIndex_;
};

}  // namespace zavuv
