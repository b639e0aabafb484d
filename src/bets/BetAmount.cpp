#include "bets/BetAmount.h"

#include "bets/BetAmountAntiCancel.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetAmountDouble.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetAmountLevel.h"
#include "contracts/BaseStrategy.h"

namespace zavuv {

const std::vector<std::string>& BetAmount::BuiltInItems() const {
  static const std::vector<std::string> items = {"一般級數變動的注碼法", "平注", "消數纜", "反消數纜",
                                                 "孖寶纜"};
  return items;
}

std::unique_ptr<CommonBet> BetAmount::MakeBuiltIn(int index) {
  switch (index) {
    case kLevel: return std::make_unique<BetAmountLevel>();
    case kFlat: return std::make_unique<BetAmountFlat>();
    case kCancel: return std::make_unique<BetAmountCancel>();
    case kAntiCancel: return std::make_unique<BetAmountAntiCancel>();
    default: return std::make_unique<BetAmountDouble>();
  }
}

std::int32_t BetAmount::GetBetAmount(BaseStrategy& strategy) {
  if (PubDirect direct = DirectFor(getBetAmount_, strategy))
    return reinterpret_cast<DirectGetBetAmount>(direct)(*CurrentComponent(), strategy);
  return ResultInt(Forward(getBetAmount_, {PubValue(static_cast<Published*>(&strategy))}));
}

const PublishedClass& BetAmount::StaticClass() {
  static PublishedClass info("BetAmount", &BetSelector::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetAmount>(info, {.GetBetAmount = true}), true);
  (void)published;
  return info;
}

}  // namespace zavuv
