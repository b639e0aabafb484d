// "循環形式下注": bets by walking a loop of letters ("B", "P", or "X" for no bet),
// one letter per game, starting again after the last. On a derived road the letter
// is the colour to predict; on a bead road every game goes in turn to one slot per
// bead row, and each slot walks the loop on its own.
#pragma once

#include <string>
#include <vector>

#include "bets/CommonBet.h"
#include "roads/TRoad.h"

namespace zavuv {

class BetMethodLoop : public CommonBet {
 public:
  // Settings.
  std::string LoopText = "BBPP";      // "循環形式" (normalised into it at Prepare)
  bool UnchangeNextToTie = true;      // "遇和時下局投注不變"

  // State.
  std::string LoopString;
  std::int32_t Slot = 1;
  std::vector<std::int32_t> Positions;   // per slot, the 1-based position of its next letter
  bool Advance = false;

  BetMethodLoop() { history_.SetHistoryLimit(kHistoryKept); }

  // The results since the last Restart (the last kHistoryKept at least: only the ends
  // of the derived roads are read, so a history that runs on across shoes keeps a
  // bounded tail).
  static constexpr std::size_t kHistoryKept = 4096;
  std::string_view History() const { return history_.Result(); }

  // Upper-cases the text and keeps only "B", "P" and "X".
  static std::string Normalise(std::string_view text);

  void Prepare() override;
  void Restart() override;
  char GetBet(BaseStrategy& strategy) override;
  void AddGameResult(char result) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  TRoad history_;
};

}  // namespace zavuv
