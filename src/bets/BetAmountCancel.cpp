#include "bets/BetAmountCancel.h"

#include <limits>

#include "bets/BetAmountAntiCancel.h"
#include "contracts/BaseStrategy.h"

namespace zavuv {

BetAmountCancel::BetAmountCancel() : table_({{"BetAmount", FieldType::Integer, 0, "預設消數注碼"}}) {
  for (std::int32_t amount : {300, 300}) table_.AppendRow({amount});
  table_.First();
}

char BetAmountCancel::LastWinOf(const BaseStrategy& strategy) { return strategy.LastWin; }

bool BetAmountCancel::Unplaceable(std::int64_t stake) const {
  if (stake > std::numeric_limits<std::int32_t>::max() || stake < std::numeric_limits<std::int32_t>::min())
    return true;
  return UpperLimit > 0 && stake > UpperLimit;
}

void BetAmountCancel::Prepare() {
  table_.Post();
  BaseLine.clear();
  for (int r = 0; r < table_.RecordCount(); ++r) BaseLine.push_back(AsInteger(table_.GetValue(r, 0)));
  Restart();
  OverLimit = Unplaceable(CalcStake());
  Restart();
}

void BetAmountCancel::Restart() {
  FirstBet = true;
  Line.assign(BaseLine.begin(), BaseLine.end());
  FirstIndex = SecondIndex = -1;
  LastStake = 0;
}

std::int64_t BetAmountCancel::CalcStake() {
  if (BaseLine.empty() || Line.empty()) return 0;
  FirstIndex = 0;
  if (Line.size() == 1) SecondIndex = -1;
  else SecondIndex = BetAmountNoType == kFirstAndSecond ? 1 : static_cast<std::int32_t>(Line.size()) - 1;
  std::int64_t stake = Line[FirstIndex];
  if (SecondIndex >= 0) stake += Line[SecondIndex];
  return stake;
}

void BetAmountCancel::UpdateLine(BaseStrategy& strategy) {
  if (IsCancelOutcome(strategy)) {
    // The second index is never 0, so removing it first leaves the first in place.
    if (SecondIndex >= 0 && SecondIndex < static_cast<std::int32_t>(Line.size()))
      Line.erase(Line.begin() + SecondIndex);
    if (FirstIndex >= 0 && FirstIndex < static_cast<std::int32_t>(Line.size()))
      Line.erase(Line.begin() + FirstIndex);
    if (Line.empty()) Restart();   // the line is won
  } else if (IsAppendOutcome(strategy) && LastStake != 0) {
    if (Largest > 0 && LastStake >= Largest) Restart();   // the line is broken
    else Line.push_back(LastStake);
  }
}

std::int32_t BetAmountCancel::GetBetAmount(BaseStrategy& strategy) {
  if (OverLimit) return 0;
  if (FirstBet) FirstBet = false;
  else UpdateLine(strategy);
  std::int64_t stake = CalcStake();
  if (Unplaceable(stake)) {
    Restart();   // broken by the table limit, or by a stake 32 bits cannot hold
    stake = CalcStake();
  }
  LastStake = static_cast<std::int32_t>(stake);
  return LastStake;
}

const PublishedClass& BetAmountCancel::StaticClass() {
  static PublishedClass info("BetAmountCancel", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetAmountCancel>(info, {.Prepare = true, .Restart = true, .GetBetAmount = true}), true);
  (void)published;
  return info;
}

const PublishedClass& BetAmountAntiCancel::StaticClass() {
  static const PublishedClass info("BetAmountAntiCancel", &BetAmountCancel::StaticClass());
  return info;
}

}  // namespace zavuv
