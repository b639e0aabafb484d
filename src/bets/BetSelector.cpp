#include "bets/BetSelector.h"

#include "contracts/BaseStrategy.h"

namespace zavuv {

BetSelector::~BetSelector() = default;

void BetSelector::ComponentSwitched() {
  CommonBet* made = CurrentComponent();
  if (made) {
    made->OwnerStrategy = OwnerStrategy;
    made->SetMainForm(MainForm);
  }
  currentClass_ = made ? &made->ClassInfo() : nullptr;
}

PubValue BetSelector::Forward(PublishedCall& call, std::initializer_list<PubValue> args) {
  CommonBet* current = CurrentComponent();
  if (!current) return {};
  const PubOperation* op = call.Resolve(*currentClass_);
  if (!op) return {};   // a component without the operation answers the default
  return (*op)(*current, PubArgs(args.begin(), args.size()));
}

PubDirect BetSelector::CheckedDirectFor(PublishedCall& call, BaseStrategy& strategy) {
  if (!CurrentComponent() || !call.Resolve(*currentClass_) || !call.Direct()) return nullptr;
  if (&strategy != OwnerStrategy || checkedOwner_ != OwnerStrategy) {
    if (!strategy.ClassInfo().InheritsFrom(BaseStrategy::StaticClass())) return nullptr;
    if (&strategy == OwnerStrategy) checkedOwner_ = OwnerStrategy;
  }
  return call.Direct();
}

void BetSelector::Prepare() { Forward(prepare_); }
void BetSelector::Restart() { Forward(restart_); }
void BetSelector::Finish() { Forward(finish_); }

void BetSelector::AddGameResult(char result) {
  if (CommonBet* current = CurrentComponent()) current->AddGameResult(result);
}

const PublishedClass& BetSelector::StaticClass() {
  static PublishedClass info("BetSelector", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetSelector>(info, {.Prepare = true, .Restart = true, .Finish = true,
                                               .AddGameResult = true}), true);
  (void)published;
  return info;
}

}  // namespace zavuv
