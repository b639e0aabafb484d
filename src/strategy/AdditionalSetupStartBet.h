// "每靴入路設定": in each shoe the strategy bets for real only after one of its
// would-be bets has won ("正式入局前須先中一局").
#pragma once

#include "strategy/CommonAdditionalSetup.h"

namespace zavuv {

class AdditionalSetupStartBet : public CommonAdditionalSetup {
 public:
  bool Entered = false;
  char VirtualBet = ' ';

  void Prepare() override { Entered = false; }
  void NewShoe(Strategy&) override { Entered = false; }
  void AfterGetBet(Strategy& strategy) override;
  void AfterCalProfit(Strategy& strategy) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
