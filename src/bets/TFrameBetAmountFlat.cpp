#include "bets/TFrameBetAmountFlat.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameBetAmountFlat::TFrameBetAmountFlat(BetAmountFlat& amount, QWidget* parent)
    : TFrameCommonBet(parent), amount_(amount) {
  setObjectName(QStringLiteral("TFrameBetAmountFlat"));
  auto* label = Label(this, "LabelFlatBet", "平注注碼");
  SpinEditFlatBet = Spin(this, "SpinEditFlatBet", amount_.FlatBet);
  label->setBuddy(SpinEditFlatBet);
  connect(SpinEditFlatBet, &QSpinBox::valueChanged, this, [this](int v) { amount_.FlatBet = v; });
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(SpinEditFlatBet);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addStretch(1);
}

void TFrameBetAmountFlat::LoadSettings() { SpinEditFlatBet->setValue(amount_.FlatBet); }

}  // namespace zavuv
