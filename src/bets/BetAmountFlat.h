// "平注": the same stake for every bet.
#pragma once

#include "bets/CommonBet.h"

namespace zavuv {

class BetAmountFlat : public CommonBet {
 public:
  std::int32_t FlatBet = 300;   // "平注注碼"; a negative value stakes 0

  std::int32_t GetBetAmount(BaseStrategy&) override { return FlatBet < 0 ? 0 : FlatBet; }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
