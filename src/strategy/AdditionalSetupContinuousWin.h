// "連羸的附加設定": restarts the bet amount method after a set number of won bets in
// a row ("每連羸 n 局後便重新開始注碼法"). Ties neither count nor break the streak.
#pragma once

#include <cstdint>

#include "strategy/CommonAdditionalSetup.h"

namespace zavuv {

class AdditionalSetupContinuousWin : public CommonAdditionalSetup {
 public:
  std::int32_t ConWin = 2;    // 2 to 20
  std::int32_t WinCount = 0;

  void Prepare() override { WinCount = 0; }
  void NewShoe(Strategy& strategy) override;
  void AfterCalProfit(Strategy& strategy) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
