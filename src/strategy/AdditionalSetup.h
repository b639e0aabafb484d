// The additional setup selector, one per page of a strategy's "附加設定" tab: the
// choice of the four built-in kinds followed by the setup plug-ins, the setup of the
// chosen kind (CurrentSetup), and the seven hooks forwarded to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "contracts/ComponentChoice.h"
#include "strategy/CommonAdditionalSetup.h"

namespace zavuv {

class AdditionalSetup;

// One setup plug-in offered by an additional setup page.
using SetupPlugIn = ChoicePlugIn<CommonAdditionalSetup, AdditionalSetup>;

class AdditionalSetup : public CommonAdditionalSetup,
                        public ComponentChoice<CommonAdditionalSetup, AdditionalSetup> {
 public:
  enum Item { kStartBet = 0, kTakeProfitStopLoss = 1, kGroup = 2, kContinuousWin = 3 };
  static const std::vector<std::string>& BuiltInItems();
  static std::unique_ptr<CommonAdditionalSetup> MakeBuiltIn(int index);

  ~AdditionalSetup() override;

  // The page caption: the text of the chosen item.
  std::string Caption() const { return ItemCaption(); }
  CommonAdditionalSetup* CurrentSetup() const { return CurrentComponent(); }
  const std::vector<SetupPlugIn>& SetupPlugIns() const { return PlugIns(); }

  void Prepare() override;
  void NewShoe(Strategy& strategy) override;
  void BeforeAnalysisGame(Strategy& strategy) override;
  void AfterGetBet(Strategy& strategy) override;
  void AfterGetBetAmount(Strategy& strategy) override;
  void AfterCalProfit(Strategy& strategy) override;
  void AfterMakeRecord(Strategy& strategy) override;
  bool CarriesAcrossShoes() const override { return CurrentSetup() && CurrentSetup()->CarriesAcrossShoes(); }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
