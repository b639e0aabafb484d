// "以數局為一組分析": cuts each shoe into groups of a set number of games; at the start
// of each new group the bet method and/or the bet amount method restart and an empty
// row separates the groups in the result table.
#pragma once

#include <cstdint>

#include "strategy/CommonAdditionalSetup.h"

namespace zavuv {

class AdditionalSetupGroup : public CommonAdditionalSetup {
 public:
  // Settings, read at each use.
  std::int32_t UnitNoOfGame = 5;    // "每一小組的局數", 1 to 20
  bool IncludeTie = false;          // "局數的計算包括和"
  bool RestartBetMethod = false;    // "每次完成上面所設局數後重設投注法"
  bool RestartBetAmount = true;     // "每次完成上面所設局數後重設注碼法"

  std::int32_t GameCount = 0;

  void Prepare() override { GameCount = 0; }
  void NewShoe(Strategy&) override { GameCount = 0; }
  void BeforeAnalysisGame(Strategy& strategy) override;
  void AfterCalProfit(Strategy& strategy) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
