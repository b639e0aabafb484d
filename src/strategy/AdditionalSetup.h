// The additional setup selector, one per page of a strategy's "附加設定" tab: a
// choice list of the four built-in kinds followed by the setup plug-ins, the setup
// of the chosen kind, and the seven hooks forwarded to it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "strategy/CommonAdditionalSetup.h"

namespace zavuv {

class AdditionalSetup;

// One setup plug-in: its caption (UTF-8) and the factory that makes its setup, given
// the selector that asks. A factory may give nothing; the selector then forwards
// nothing.
struct SetupPlugIn {
  std::string Description;
  std::function<std::unique_ptr<CommonAdditionalSetup>(AdditionalSetup& owner)> MakeIt;
};

class AdditionalSetup : public CommonAdditionalSetup {
 public:
  enum Item { kStartBet = 0, kTakeProfitStopLoss = 1, kGroup = 2, kContinuousWin = 3 };
  static const std::vector<std::string>& BuiltInItems();

  ~AdditionalSetup() override;

  std::vector<std::string> Items() const;
  bool IsPlugInItem(int index) const { return index >= static_cast<int>(BuiltInItems().size()); }
  int ItemIndex() const { return itemIndex_; }
  // The page caption: the text of the chosen item.
  std::string Caption() const;

  // Switches the kind: the old setup goes with its settings, a new one is made with
  // its defaults. An index outside the list is refused (std::out_of_range).
  void ComboBoxSelectChange(int index);
  void AddPlugIn(SetupPlugIn plugIn);
  const std::vector<SetupPlugIn>& SetupPlugIns() const { return plugIns_; }
  void ReleaseSetup() { current_.reset(); }

  CommonAdditionalSetup* CurrentSetup() const { return current_.get(); }
  // The current setup as a built-in kind, or null.
  template <class T>
  T* SetupAs() const { return dynamic_cast<T*>(current_.get()); }
  std::function<void()> OnSetupChanged;   // views put the new setup on show

  void Prepare() override;
  void NewShoe(Strategy& strategy) override;
  void BeforeAnalysisGame(Strategy& strategy) override;
  void AfterGetBet(Strategy& strategy) override;
  void AfterGetBetAmount(Strategy& strategy) override;
  void AfterCalProfit(Strategy& strategy) override;
  void AfterMakeRecord(Strategy& strategy) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  std::unique_ptr<CommonAdditionalSetup> current_;
  int itemIndex_ = -1;
  std::vector<SetupPlugIn> plugIns_;
};

}  // namespace zavuv
