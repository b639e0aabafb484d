#include "bets/TFrameBetMethod.h"

#include <QFrame>

#include "bets/TFrameBetMethodLoop.h"
#include "bets/TFrameBetMethodPattern.h"

namespace zavuv {

TFrameBetMethod::TFrameBetMethod(BetMethod& selector, QWidget* parent)
    : TFrameBetSelector(selector, "投注法", "CheckBoxBetMethodEach", "多靴分析時每靴重新開始投注法", parent) {
  setObjectName(QStringLiteral("FrameBetMethod"));
  if (selector.ItemIndex() >= 0) ComponentChanged();
}

TFrameBetMethod::~TFrameBetMethod() = default;

TFrameCommonBet* TFrameBetMethod::MakeView(CommonBet& component) {
  if (auto* pattern = dynamic_cast<BetMethodPattern*>(&component)) return new TFrameBetMethodPattern(*pattern, Panel1);
  if (auto* loop = dynamic_cast<BetMethodLoop*>(&component)) return new TFrameBetMethodLoop(*loop, Panel1);
  return nullptr;
}

}  // namespace zavuv
