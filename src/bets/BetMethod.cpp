#include "bets/BetMethod.h"

#include "bets/BetMethodLoop.h"
#include "bets/BetMethodPattern.h"
#include "contracts/BaseStrategy.h"

namespace zavuv {

const std::vector<std::string>& BetMethod::BuiltInItems() const {
  static const std::vector<std::string> items = {"依形態下注", "循環形式下注"};
  return items;
}

std::unique_ptr<CommonBet> BetMethod::MakeBuiltIn(int index) {
  if (index == kPattern) return std::make_unique<BetMethodPattern>();
  return std::make_unique<BetMethodLoop>();
}

char BetMethod::GetBet(BaseStrategy& strategy) {
  if (PubDirect direct = DirectFor(getBet_, strategy))
    return reinterpret_cast<DirectGetBet>(direct)(*CurrentComponent(), strategy);
  return ResultChar(Forward(getBet_, {PubValue(static_cast<Published*>(&strategy))}));
}

const PublishedClass& BetMethod::StaticClass() {
  static PublishedClass info("BetMethod", &BetSelector::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetMethod>(info, {.GetBet = true}), true);
  (void)published;
  return info;
}

}  // namespace zavuv
