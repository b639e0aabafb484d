// The panel of "孖寶纜", which is not finished: it says so and has no settings.
#pragma once

#include "bets/BetAmountDouble.h"
#include "bets/TFrameCommonBet.h"

namespace zavuv {

class TFrameBetAmountDouble : public TFrameCommonBet {
  Q_OBJECT

 public:
  explicit TFrameBetAmountDouble(BetAmountDouble& amount, QWidget* parent = nullptr);
};

}  // namespace zavuv
