// The panel of "平注": one stake for every bet.
#pragma once

#include "bets/BetAmountFlat.h"
#include "bets/TFrameCommonBet.h"

class QSpinBox;

namespace zavuv {

class TFrameBetAmountFlat : public TFrameCommonBet {
  Q_OBJECT

 public:
  explicit TFrameBetAmountFlat(BetAmountFlat& amount, QWidget* parent = nullptr);
  void LoadSettings() override;

  QSpinBox* SpinEditFlatBet = nullptr;

 private:
  BetAmountFlat& amount_;
};

}  // namespace zavuv
