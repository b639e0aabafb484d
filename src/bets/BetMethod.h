// The bet method selector (page "投注法"): "依形態下注", "循環形式下注", then the
// bet-method plug-ins. It answers GetBet with the chosen component's answer.
#pragma once

#include "bets/BetSelector.h"

namespace zavuv {

class BetMethod : public BetSelector {
 public:
  enum Item { kPattern = 0, kLoop = 1 };

  char GetBet(BaseStrategy& strategy) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 protected:
  const std::vector<std::string>& BuiltInItems() const override;
  std::unique_ptr<CommonBet> MakeBuiltIn(int index) override;

 private:
  PublishedCall getBet_{"GetBet"};
};

}  // namespace zavuv
