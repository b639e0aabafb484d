// The panel of "反消數纜": the cancellation panel under a red notice that says this
// line is the anti-cancellation one, with the break amount's hint for a won stake.
#pragma once

#include "bets/BetAmountAntiCancel.h"
#include "bets/TFrameBetAmountCancel.h"

class QLabel;

namespace zavuv {

class TFrameBetAmountAntiCancel : public TFrameBetAmountCancel {
  Q_OBJECT

 public:
  explicit TFrameBetAmountAntiCancel(BetAmountAntiCancel& amount, QWidget* parent = nullptr);

  QLabel* LabelNotice = nullptr;
};

}  // namespace zavuv
