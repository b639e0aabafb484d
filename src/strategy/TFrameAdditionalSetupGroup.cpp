#include "strategy/TFrameAdditionalSetupGroup.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameAdditionalSetupGroup::TFrameAdditionalSetupGroup(AdditionalSetupGroup& setup, QWidget* parent)
    : QWidget(parent), setup_(setup) {
  setObjectName(QStringLiteral("TFrameAdditionalSetupGroup"));
  auto* label = Label(this, "LabelUnitNoOfGame", "每一小組的局數");
  SpinEditUnitNoOfGame = Spin(this, "SpinEditUnitNoOfGame", setup_.UnitNoOfGame, 1, 20);
  SpinEditUnitNoOfGame->setToolTip(QStringLiteral("以某個局數為一單元分析\n每當完成該局數後投注法及/或注碼法便會重新開始"));
  label->setBuddy(SpinEditUnitNoOfGame);
  CheckBoxIncludeTie = CheckBox(this, "CheckBoxIncludeTie", "局數的計算包括和", setup_.IncludeTie);
  CheckBoxRestartBetMethod =
      CheckBox(this, "CheckBoxRestartBetMethod", "每次完成上面所設局數後重設投注法", setup_.RestartBetMethod);
  CheckBoxRestartBetAmount =
      CheckBox(this, "CheckBoxRestartBetAmount", "每次完成上面所設局數後重設注碼法", setup_.RestartBetAmount);
  connect(SpinEditUnitNoOfGame, &QSpinBox::valueChanged, this, [this](int v) { setup_.UnitNoOfGame = v; });
  connect(CheckBoxIncludeTie, &QCheckBox::toggled, this, [this](bool on) { setup_.IncludeTie = on; });
  connect(CheckBoxRestartBetMethod, &QCheckBox::toggled, this, [this](bool on) { setup_.RestartBetMethod = on; });
  connect(CheckBoxRestartBetAmount, &QCheckBox::toggled, this, [this](bool on) { setup_.RestartBetAmount = on; });

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(SpinEditUnitNoOfGame);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addWidget(CheckBoxIncludeTie);
  layout->addWidget(CheckBoxRestartBetMethod);
  layout->addWidget(CheckBoxRestartBetAmount);
  layout->addStretch(1);
}

}  // namespace zavuv
