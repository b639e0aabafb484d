// The common part of the two selectors (bet method and bet amount): a choice list of
// the built-in components followed by the plug-in components, the component chosen
// in it, and the forwarding of the contract to that component. A selector is itself
// a bet component; the strategy only ever talks to its two selectors.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bets/CommonBet.h"

namespace zavuv {

class BetSelector;

// One plug-in component offered by a selector: its caption (UTF-8) and the factory
// that makes it, given the selector that asks. A factory may give nothing; the
// selector then has no component and answers the contract's defaults.
struct BetPlugIn {
  std::string Description;
  std::function<std::unique_ptr<CommonBet>(BetSelector& owner)> MakeIt;
};

class BetSelector : public CommonBet {
 public:
  ~BetSelector() override;

  // The captions of the choice list (UTF-8): the built-in items, then one per plug-in.
  std::vector<std::string> Items() const;
  int BuiltInCount() const { return static_cast<int>(BuiltInItems().size()); }
  bool IsPlugInItem(int index) const { return index >= BuiltInCount(); }
  // The chosen item, -1 before the first choice.
  int ItemIndex() const { return itemIndex_; }

  // Switches to the item: the old component goes with its settings, a new one is made
  // with its defaults. An index outside the list is refused (std::out_of_range).
  void ComboBoxSelectChange(int index);
  // Appends a plug-in item after the others.
  void AddPlugIn(BetPlugIn plugIn);
  const std::vector<BetPlugIn>& PlugIns() const { return plugIns_; }
  // Frees the chosen component, if any.
  void ReleaseComponent();

  CommonBet* CurrentComponent() const { return current_.get(); }
  bool Modified() const override { return current_ && current_->Modified(); }
  void MarkUnchanged() override {
    if (current_) current_->MarkUnchanged();
  }
  // Told before the chosen component goes (views let go of it and its tables), and
  // after every switch of component (views put the new one on show).
  std::function<void()> OnComponentChanging;
  std::function<void()> OnComponentChanged;

  // The per-shoe restart box of this kind ("多靴分析時每靴重新開始投注法" or
  // "...注碼法"): the one setting behind both copies of the box.
  bool CheckBoxEach = true;

  // Forwarded to the chosen component by published name.
  void Prepare() override;
  void Restart() override;
  void Finish() override;
  // Forwarded directly, as the sixth operation of the contract.
  void AddGameResult(char result) override;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 protected:
  virtual const std::vector<std::string>& BuiltInItems() const = 0;
  virtual std::unique_ptr<CommonBet> MakeBuiltIn(int index) = 0;
  // Calls the component's operation of that name, if it has one.
  PubValue Forward(PublishedCall& call, std::initializer_list<PubValue> args = {});
  // The plain function of the component's operation of that name, when it has one
  // and the strategy can be handed to it (the published call would accept it as a
  // BaseStrategy); null otherwise.
  PubDirect DirectFor(PublishedCall& call, BaseStrategy& strategy) {
    // The usual case, the owning strategy already checked, without a call.
    if (&strategy == OwnerStrategy && checkedOwner_ == OwnerStrategy && currentClass_) {
      call.Resolve(*currentClass_);
      return call.Direct();
    }
    return CheckedDirectFor(call, strategy);
  }
  PubDirect CheckedDirectFor(PublishedCall& call, BaseStrategy& strategy);

 private:
  std::unique_ptr<CommonBet> current_;
  // The component's class, read once when it is made (an object's class never changes).
  const PublishedClass* currentClass_ = nullptr;
  // The owning strategy, once seen to be a BaseStrategy to the published calls.
  const BaseStrategy* checkedOwner_ = nullptr;
  int itemIndex_ = -1;
  std::vector<BetPlugIn> plugIns_;
  PublishedCall prepare_{"Prepare"};
  PublishedCall restart_{"Restart"};
  PublishedCall finish_{"Finish"};
};

}  // namespace zavuv
