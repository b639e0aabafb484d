// The panel of "循環形式下注": the loop text and the tie box.
#pragma once

#include "bets/BetMethodLoop.h"
#include "bets/TFrameCommonBet.h"

class QCheckBox;
class QLineEdit;

namespace zavuv {

class TFrameBetMethodLoop : public TFrameCommonBet {
  Q_OBJECT

 public:
  explicit TFrameBetMethodLoop(BetMethodLoop& method, QWidget* parent = nullptr);

  BetMethodLoop& Method() { return method_; }
  void LoadSettings() override;

  QLineEdit* EditBetMethodLoop = nullptr;
  QCheckBox* CheckBoxBetMethodLoopUnchangeNextToTie = nullptr;

 private:
  BetMethodLoop& method_;
};

}  // namespace zavuv
