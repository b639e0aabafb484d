// The bet method selector's page "投注法": "依形態下注", "循環形式下注", then the
// bet-method plug-ins, and the box "多靴分析時每靴重新開始投注法".
#pragma once

#include "bets/BetMethod.h"
#include "bets/TFrameBetSelector.h"

namespace zavuv {

class TFrameBetMethod : public TFrameBetSelector {
  Q_OBJECT

 public:
  explicit TFrameBetMethod(BetMethod& selector, QWidget* parent = nullptr);
  ~TFrameBetMethod() override;

  QCheckBox* CheckBoxBetMethodEach() const { return CheckBoxEach; }

 protected:
  TFrameCommonBet* MakeView(CommonBet& component) override;
};

}  // namespace zavuv
