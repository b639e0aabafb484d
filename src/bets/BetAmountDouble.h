// "孖寶纜": not finished; it has no settings and stakes 0 in every bet, so its bets
// are counted but win and lose nothing.
#pragma once

#include "bets/CommonBet.h"

namespace zavuv {

class BetAmountDouble : public CommonBet {
 public:
  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
