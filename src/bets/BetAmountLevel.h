// "一般級數變動的注碼法": stakes from a table of levels. The first bet after a start
// or restart stakes level 1; every later bet first moves the level by a signed step
// chosen by the outcome of the bet before it, and a level outside the table starts
// over at 1. The table, the two steps and the description go to .AMT files.
#pragma once

#include <string>

#include "bets/CommonBet.h"
#include "table/ClientDataSet.h"

namespace zavuv {

class BetAmountLevel : public CommonBet {
 public:
  BetAmountLevel();

  // Settings, read at each use.
  std::int32_t WinLevelMove = 1;    // "羸時注碼級數變動"
  std::int32_t LoseLevelMove = -5;  // "輸時注碼級數變動"
  std::string Info;                 // "注碼法說明" (Big5), "過3關的過關纜" at first

  // The levels: one BetAmount field ("投注金額") per row; 300, 600, 1200 at first.
  ClientDataSet& Table() { return table_; }
  const ClientDataSet& Table() const { return table_; }

  // The row of the last stake, from 1; 0 when nothing was staked since the last
  // Prepare or Restart.
  std::int32_t CurrentLevel = 0;
  std::string LastFileName;

  void Prepare() override;
  void Restart() override { CurrentLevel = 0; }
  void Finish() override;
  std::int32_t GetBetAmount(BaseStrategy& strategy) override;

  // Reads an .AMT file: the levels, the two steps and the description. A file that
  // cannot be read, or that names a field other than BetAmount in a level row, is
  // refused with a TableError and changes nothing.
  void ReadAmt(const std::string& path);
  // Writes the .AMT file (a pending edit of the table is posted first).
  void SaveAmt(const std::string& path);

  // The table (a pending edit counts) or the description differs from the last read
  // or save, or from the defaults.
  bool Modified() const override;
  void MarkUnchanged() override { baseline_ = Contents(); }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  std::string Contents() const;
  ClientDataSet table_;
  std::string baseline_;   // Contents() as last read or saved, or at first
  bool detached_ = false;
};

}  // namespace zavuv
