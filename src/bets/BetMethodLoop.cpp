#include "bets/BetMethodLoop.h"

#include <algorithm>

#include "contracts/BaseStrategy.h"

namespace zavuv {

std::string BetMethodLoop::Normalise(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c == 'B' || c == 'P' || c == 'X') out += c;
  }
  return out;
}

void BetMethodLoop::Prepare() {
  LoopString = Normalise(LoopText);
  LoopText = LoopString;
  history_.SetResult({});
  // One slot per bead row on a bead road, read from the owning strategy's road choice.
  int slots = OwnerStrategy ? OwnerStrategy->SlotCount() : 1;
  Positions.assign(static_cast<std::size_t>(slots), 1);
  Slot = 1;
}

void BetMethodLoop::Restart() {
  history_.SetResult({});
  Slot = 1;
  std::fill(Positions.begin(), Positions.end(), 1);
}

char BetMethodLoop::GetBet(BaseStrategy& strategy) {
  if (LoopString.empty() || Positions.empty()) return ' ';
  Advance = true;
  std::int32_t& position = Positions[Slot - 1];
  if (position > static_cast<std::int32_t>(LoopString.size())) position = 1;
  char letter = LoopString[position - 1];
  int road = strategy.RoadIndex;
  if (road < 1 || road > 3) return letter == 'X' ? ' ' : letter;
  // On a derived road the letter is a colour; the walk waits while the road cannot
  // predict yet.
  char side = history_.PredictFromDerived(road, letter == 'X' ? 'B' : letter);
  if (side == ' ') Advance = false;
  return letter == 'X' ? ' ' : side;
}

void BetMethodLoop::AddGameResult(char result) {
  history_.AddResult(result);
  if (Positions.empty()) return;
  if (Advance && !(result == 'T' && UnchangeNextToTie)) ++Positions[Slot - 1];
  Slot = Slot >= static_cast<std::int32_t>(Positions.size()) ? 1 : Slot + 1;
}

const PublishedClass& BetMethodLoop::StaticClass() {
  static PublishedClass info("BetMethodLoop", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetMethodLoop>(info, {.Prepare = true, .Restart = true, .GetBet = true,
                                                 .AddGameResult = true}), true);
  (void)published;
  return info;
}

}  // namespace zavuv
