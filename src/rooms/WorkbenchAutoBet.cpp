#include "rooms/WorkbenchAutoBet.h"

#include <stdexcept>

namespace zavuv {

void WorkbenchAutoBet::StartAutoBet() {
  if (!bench_.StartAutoBet(holder_)) throw std::runtime_error(AutoBetMessage(AutoBetCheck::Occupied));
}

NetBet WorkbenchAutoBet::GetAutoBet() {
  AutoBet bet = bench_.GetAutoBet(holder_);
  return {bet.Side, bet.Amount};
}

}  // namespace zavuv
