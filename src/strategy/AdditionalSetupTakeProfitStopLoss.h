// "風險管理": stops betting when the profit since the last reset reaches a take-profit
// or stop-loss amount, or rises or falls by a set amount from its low or high. A
// threshold of 0 is not set. Each shoe on its own, or the whole run at once.
#pragma once

#include <cstdint>

#include "strategy/CommonAdditionalSetup.h"

namespace zavuv {

class AdditionalSetupTakeProfitStopLoss : public CommonAdditionalSetup {
 public:
  enum Apply { kEachShoe = 0, kWhole = 1 };

  // Settings, read at each use.
  int RadioGroupApply = kEachShoe;    // "風險管理應用範圍"
  std::int32_t TakeProfit = 40000;    // 0 to 10000000
  std::int32_t StopLoss = -40000;     // -10000000 to 0
  std::int32_t Rise = 50000;          // 0 to 10000000
  std::int32_t Fall = 50000;          // 0 to 10000000
  bool RestartBetAmount = false;      // restart the bet amount method on a stop
  // The restart box is only enabled in each-shoe mode (a tick left on still counts).
  bool RestartBetAmountEnabled() const { return RadioGroupApply == kEachShoe; }

  // State.
  double ShoeProfit = 0;
  double HighProfit = 0;
  double LowProfit = 0;
  bool Stopped = false;

  void Prepare() override;
  void NewShoe(Strategy& strategy) override;
  void AfterGetBet(Strategy&) override {}
  void AfterCalProfit(Strategy& strategy) override;
  bool CarriesAcrossShoes() const override { return RadioGroupApply != kEachShoe; }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
