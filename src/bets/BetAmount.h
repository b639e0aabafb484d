// The bet amount selector (page "注碼法"): "一般級數變動的注碼法", "平注", "消數纜",
// "反消數纜", "孖寶纜", then the bet-amount plug-ins. It answers GetBetAmount with
// the chosen component's answer.
#pragma once

#include "bets/BetSelector.h"

namespace zavuv {

class BetAmount : public BetSelector {
 public:
  enum Item { kLevel = 0, kFlat = 1, kCancel = 2, kAntiCancel = 3, kDouble = 4 };

  std::int32_t GetBetAmount(BaseStrategy& strategy) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 protected:
  const std::vector<std::string>& BuiltInItems() const override;
  std::unique_ptr<CommonBet> MakeBuiltIn(int index) override;

 private:
  PublishedCall getBetAmount_{"GetBetAmount"};
};

}  // namespace zavuv
