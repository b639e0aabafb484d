#include "bets/TFrameBetAmount.h"

#include <QFrame>

#include "bets/TFrameBetAmountAntiCancel.h"
#include "bets/TFrameBetAmountCancel.h"
#include "bets/TFrameBetAmountDouble.h"
#include "bets/TFrameBetAmountFlat.h"
#include "bets/TFrameBetAmountLevel.h"

namespace zavuv {

TFrameBetAmount::TFrameBetAmount(zavuv::BetAmount& selector, QWidget* parent)
    : TFrameBetSelector(selector, "注碼法", "CheckBoxBetAmountEach", "多靴分析時每靴重新開始注碼法", parent) {
  setObjectName(QStringLiteral("FrameBetAmount"));
  if (selector.ItemIndex() >= 0) ComponentChanged();
}

TFrameBetAmount::~TFrameBetAmount() = default;

TFrameCommonBet* TFrameBetAmount::MakeView(CommonBet& component) {
  // The anti-cancellation line derives from the cancellation line: asked first.
  if (auto* anti = dynamic_cast<BetAmountAntiCancel*>(&component)) return new TFrameBetAmountAntiCancel(*anti, Panel1);
  if (auto* cancel = dynamic_cast<BetAmountCancel*>(&component)) return new TFrameBetAmountCancel(*cancel, Panel1);
  if (auto* level = dynamic_cast<BetAmountLevel*>(&component)) return new TFrameBetAmountLevel(*level, Panel1);
  if (auto* flat = dynamic_cast<BetAmountFlat*>(&component)) return new TFrameBetAmountFlat(*flat, Panel1);
  if (auto* twin = dynamic_cast<BetAmountDouble*>(&component)) return new TFrameBetAmountDouble(*twin, Panel1);
  return nullptr;
}

}  // namespace zavuv
