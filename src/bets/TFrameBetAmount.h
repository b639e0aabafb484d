// The bet amount selector's page "注碼法": "一般級數變動的注碼法", "平注", "消數纜",
// "反消數纜", "孖寶纜", then the bet-amount plug-ins, and the box
// "多靴分析時每靴重新開始注碼法".
#pragma once

#include "bets/BetAmount.h"
#include "bets/TFrameBetSelector.h"

namespace zavuv {

class TFrameBetAmount : public TFrameBetSelector {
  Q_OBJECT

 public:
  explicit TFrameBetAmount(zavuv::BetAmount& selector, QWidget* parent = nullptr);
  ~TFrameBetAmount() override;

  QCheckBox* CheckBoxBetAmountEach() const { return CheckBoxEach; }

 protected:
  TFrameCommonBet* MakeView(CommonBet& component) override;
};

}  // namespace zavuv
