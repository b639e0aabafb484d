#include "bets/BetAmountFlat.h"

#include "bets/BetAmountDouble.h"
#include "contracts/BaseStrategy.h"

namespace zavuv {

const PublishedClass& BetAmountFlat::StaticClass() {
  static PublishedClass info("BetAmountFlat", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetAmountFlat>(info, {.GetBetAmount = true}), true);
  (void)published;
  return info;
}

const PublishedClass& BetAmountDouble::StaticClass() {
  static const PublishedClass info("BetAmountDouble", &CommonBet::StaticClass());
  return info;
}

}  // namespace zavuv
