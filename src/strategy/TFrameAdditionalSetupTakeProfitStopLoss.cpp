#include "strategy/TFrameAdditionalSetupTakeProfitStopLoss.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameAdditionalSetupTakeProfitStopLoss::TFrameAdditionalSetupTakeProfitStopLoss(
    AdditionalSetupTakeProfitStopLoss& setup, QWidget* parent)
    : QWidget(parent), setup_(setup) {
  setObjectName(QStringLiteral("TFrameAdditionalSetupTakeProfitStopLoss"));
  RadioGroupApply = Named(new QGroupBox(QStringLiteral("風險管理應用範圍"), this), "RadioGroupApply");
  RadioEachShoe = Named(new QRadioButton(QStringLiteral("每一靴獨立"), RadioGroupApply), "RadioEachShoe");
  RadioWhole = Named(new QRadioButton(QStringLiteral("整體所有資料"), RadioGroupApply), "RadioWhole");
  (setup_.RadioGroupApply == AdditionalSetupTakeProfitStopLoss::kWhole ? RadioWhole : RadioEachShoe)->setChecked(true);
  auto* radios = new QHBoxLayout(RadioGroupApply);
  radios->addWidget(RadioEachShoe);
  radios->addWidget(RadioWhole);
  radios->addStretch(1);

  SpinEditTakeProfit = Spin(this, "SpinEditTakeProfit", setup_.TakeProfit, 0, 10000000);
  SpinEditTakeProfit->setToolTip(QStringLiteral("輸入0即表示不設定止賺點"));
  SpinEditStopLoss = Spin(this, "SpinEditStopLoss", setup_.StopLoss, -10000000, 0);
  SpinEditStopLoss->setToolTip(QStringLiteral("輸入0即表示不設定止蝕點"));
  SpinEditRise = Spin(this, "SpinEditRise", setup_.Rise, 0, 10000000);
  SpinEditRise->setToolTip(QStringLiteral("輸入0即表示不設定回升點"));
  SpinEditFall = Spin(this, "SpinEditFall", setup_.Fall, 0, 10000000);
  SpinEditFall->setToolTip(QStringLiteral("輸入0即表示不設定回落點"));
  CheckBoxRestartBetAmount = CheckBox(this, "CheckBoxRestartBetAmount",
                                      "遇到以上停止下注情況後, 在下一靴便重新開始注碼法", setup_.RestartBetAmount);

  auto* fields = new QGridLayout;
  const std::pair<const char*, QSpinBox*> rows[] = {
      {"止賺管理: 當每靴利潤於此金額或以上時便停止下注", SpinEditTakeProfit},
      {"止蝕管理: 當每靴虧損於此金額或以下時便停止下注", SpinEditStopLoss},
      {"回升管理: 當每靴利潤/虧損由低位回升此金額或以上時便停止下注", SpinEditRise},
      {"回落管理: 當每靴利潤/虧損由高位回落此金額或以上時便停止下注", SpinEditFall}};
  int r = 0;
  for (const auto& [caption, spin] : rows) {
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QStringLiteral("Label") + spin->objectName().mid(8));
    label->setBuddy(spin);
    fields->addWidget(label, r, 0);
    fields->addWidget(spin, r, 1);
    ++r;
  }
  fields->setColumnStretch(2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(RadioGroupApply);
  layout->addLayout(fields);
  layout->addWidget(CheckBoxRestartBetAmount);
  layout->addStretch(1);

  connect(RadioEachShoe, &QRadioButton::clicked, this, &TFrameAdditionalSetupTakeProfitStopLoss::RadioGroupApplyClick);
  connect(RadioWhole, &QRadioButton::clicked, this, &TFrameAdditionalSetupTakeProfitStopLoss::RadioGroupApplyClick);
  connect(SpinEditTakeProfit, &QSpinBox::valueChanged, this, [this](int v) { setup_.TakeProfit = v; });
  connect(SpinEditStopLoss, &QSpinBox::valueChanged, this, [this](int v) { setup_.StopLoss = v; });
  connect(SpinEditRise, &QSpinBox::valueChanged, this, [this](int v) { setup_.Rise = v; });
  connect(SpinEditFall, &QSpinBox::valueChanged, this, [this](int v) { setup_.Fall = v; });
  connect(CheckBoxRestartBetAmount, &QCheckBox::toggled, this, [this](bool on) { setup_.RestartBetAmount = on; });
  CheckBoxRestartBetAmount->setEnabled(setup_.RestartBetAmountEnabled());
}

void TFrameAdditionalSetupTakeProfitStopLoss::RadioGroupApplyClick() {
  setup_.RadioGroupApply = RadioWhole->isChecked() ? AdditionalSetupTakeProfitStopLoss::kWhole
                                                   : AdditionalSetupTakeProfitStopLoss::kEachShoe;
  // A tick left on the disabled box still counts.
  CheckBoxRestartBetAmount->setEnabled(setup_.RestartBetAmountEnabled());
}

}  // namespace zavuv
