// The common part of the two selectors (bet method and bet amount): the choice of
// component that every selector of a strategy has, and the forwarding of the
// contract to the component chosen. A selector is itself a bet component; the
// strategy only ever talks to its two selectors.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bets/CommonBet.h"
#include "contracts/ComponentChoice.h"

namespace zavuv {

class BetSelector;

// One plug-in component offered by a bet selector.
using BetPlugIn = ChoicePlugIn<CommonBet, BetSelector>;

class BetSelector : public CommonBet, public ComponentChoice<CommonBet, BetSelector> {
 public:
  ~BetSelector() override;

  bool Modified() const override { return CurrentComponent() && CurrentComponent()->Modified(); }
  void MarkUnchanged() override {
    if (CommonBet* c = CurrentComponent()) c->MarkUnchanged();
  }

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
  friend class ComponentChoice<CommonBet, BetSelector>;
  virtual const std::vector<std::string>& BuiltInItems() const = 0;
  virtual std::unique_ptr<CommonBet> MakeBuiltIn(int index) = 0;
  // A new component works for the selector's strategy and window.
  void ComponentSwitched();
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
  // The component's class, read once when it is made (an object's class never changes).
  const PublishedClass* currentClass_ = nullptr;
  // The owning strategy, once seen to be a BaseStrategy to the published calls.
  const BaseStrategy* checkedOwner_ = nullptr;
  PublishedCall prepare_{"Prepare"};
  PublishedCall restart_{"Restart"};
  PublishedCall finish_{"Finish"};
};

}  // namespace zavuv
