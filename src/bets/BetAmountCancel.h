// "消數纜", the cancellation line: each stake is the sum of two numbers of a line
// (the first and the last, or the first and the second). A won bet crosses the two
// off, a lost bet writes its stake at the end; a line crossed off completely starts
// again from the table's numbers, and so does a line broken by a lost stake at or
// above the break amount or by a stake above the table limit.
//
// Stakes are 32-bit. A line that keeps growing (break and limit off) would reach a
// sum that 32 bits cannot hold; such a stake cannot be placed, so it breaks the line
// exactly as the table limit does, and a first stake that is already out of range
// makes every stake of the run 0, as a first stake above the limit does.
#pragma once

#include <vector>

#include "bets/CommonBet.h"
#include "table/ClientDataSet.h"

namespace zavuv {

class BetAmountCancel : public CommonBet {
 public:
  BetAmountCancel();

  // Settings, read at each use.
  enum NoType { kFirstAndLast = 0, kFirstAndSecond = 1 };
  int BetAmountNoType = kFirstAndLast;   // "選擇注碼方式"
  std::int32_t Largest = 30000;          // "斷纜注碼"; 0 or less: no break amount
  std::int32_t UpperLimit = 40000;       // "限紅注碼"; 0 or less: no table limit

  // The initial line: one BetAmount field ("預設消數注碼") per row; 300, 300 at first.
  ClientDataSet& Table() { return table_; }
  const ClientDataSet& Table() const { return table_; }

  // State.
  std::vector<std::int32_t> BaseLine;
  std::vector<std::int32_t> Line;   // a few numbers: crossing off the first is a short move
  std::int32_t FirstIndex = -1;
  std::int32_t SecondIndex = -1;
  std::int32_t LastStake = 0;
  bool FirstBet = true;
  bool OverLimit = false;

  void Prepare() override;
  void Restart() override;
  std::int32_t GetBetAmount(BaseStrategy& strategy) override;

  // The outcome tests: the bet before this one crossed numbers off / is written down.
  virtual bool IsCancelOutcome(BaseStrategy& strategy) { return LastWinOf(strategy) == 'W'; }
  virtual bool IsAppendOutcome(BaseStrategy& strategy) { return LastWinOf(strategy) == 'L'; }

  // Chooses the two numbers of the stake and answers their sum, taken wide (0 for an
  // empty line).
  std::int64_t CalcStake();
  // Applies the outcome of the last bet to the line.
  void UpdateLine(BaseStrategy& strategy);

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 protected:
  static char LastWinOf(const BaseStrategy& strategy);
  // True when the stake cannot be placed: above the table limit, or outside 32 bits.
  bool Unplaceable(std::int64_t stake) const;

 private:
  ClientDataSet table_;
};

}  // namespace zavuv
