#include "bets/TFrameBetAmountDouble.h"

#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

TFrameBetAmountDouble::TFrameBetAmountDouble(BetAmountDouble&, QWidget* parent) : TFrameCommonBet(parent) {
  setObjectName(QStringLiteral("TFrameBetAmountDouble"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(kit::Label(this, "Label1", "未完成"));
  layout->addStretch(1);
}

}  // namespace zavuv
