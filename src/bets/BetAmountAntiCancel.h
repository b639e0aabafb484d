// "反消數纜": the cancellation line with win and loss exchanged. A lost bet crosses
// numbers off and a won bet is written at the end, so a completed line loses its sum
// and a broken line wins.
#pragma once

#include "bets/BetAmountCancel.h"

namespace zavuv {

class BetAmountAntiCancel : public BetAmountCancel {
 public:
  bool IsCancelOutcome(BaseStrategy& strategy) override { return LastWinOf(strategy) == 'L'; }
  bool IsAppendOutcome(BaseStrategy& strategy) override { return LastWinOf(strategy) == 'W'; }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
