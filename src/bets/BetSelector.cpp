#include "bets/BetSelector.h"

#include <stdexcept>

#include "contracts/BaseStrategy.h"

namespace zavuv {

BetSelector::~BetSelector() = default;

std::vector<std::string> BetSelector::Items() const {
  std::vector<std::string> items = BuiltInItems();
  for (const BetPlugIn& p : plugIns_) items.push_back(p.Description);
  return items;
}

void BetSelector::ComboBoxSelectChange(int index) {
  int builtIns = BuiltInCount();
  if (index < 0 || index >= builtIns + static_cast<int>(plugIns_.size()))
    throw std::out_of_range("no choice " + std::to_string(index) + " in the list");
  ReleaseComponent();
  itemIndex_ = index;
  std::unique_ptr<CommonBet> made;
  if (index < builtIns) {
    made = MakeBuiltIn(index);
  } else if (const BetPlugIn& p = plugIns_[index - builtIns]; p.MakeIt) {
    made = p.MakeIt(*this);
  }
  if (made) {
    made->OwnerStrategy = OwnerStrategy;
    made->SetMainForm(MainForm);
  }
  current_ = std::move(made);
  currentClass_ = current_ ? &current_->ClassInfo() : nullptr;
  if (OnComponentChanged) OnComponentChanged();
}

void BetSelector::AddPlugIn(BetPlugIn plugIn) { plugIns_.push_back(std::move(plugIn)); }

void BetSelector::ReleaseComponent() {
  if (!current_) return;
  if (OnComponentChanging) OnComponentChanging();
  current_.reset();
  currentClass_ = nullptr;
}

PubValue BetSelector::Forward(PublishedCall& call, std::initializer_list<PubValue> args) {
  if (!current_) return {};
  const PubOperation* op = call.Resolve(*currentClass_);
  if (!op) return {};   // a component without the operation answers the default
  return (*op)(*current_, PubArgs(args.begin(), args.size()));
}

PubDirect BetSelector::CheckedDirectFor(PublishedCall& call, BaseStrategy& strategy) {
  if (!current_ || !call.Resolve(*currentClass_) || !call.Direct()) return nullptr;
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
  if (current_) current_->AddGameResult(result);
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
