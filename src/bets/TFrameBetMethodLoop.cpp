#include "bets/TFrameBetMethodLoop.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "table/Big5.h"

namespace zavuv {

using namespace kit;

TFrameBetMethodLoop::TFrameBetMethodLoop(BetMethodLoop& method, QWidget* parent)
    : TFrameCommonBet(parent), method_(method) {
  setObjectName(QStringLiteral("TFrameBetMethodLoop"));
  auto* label = Label(this, "LabelBetMethodLoop", "循環形式");
  EditBetMethodLoop = Named(new QLineEdit(this), "EditBetMethodLoop");
  EditBetMethodLoop->setToolTip(QStringLiteral("可以輸入B, P, X\nX代表不下注"));
  EditBetMethodLoop->setMinimumWidth(160);
  label->setBuddy(EditBetMethodLoop);
  CheckBoxBetMethodLoopUnchangeNextToTie = CheckBox(this, "CheckBoxBetMethodLoopUnchangeNextToTie",
                                                    "遇和時下局投注不變", method_.UnchangeNextToTie);
  connect(EditBetMethodLoop, &QLineEdit::textChanged, this,
          [this](const QString& text) { method_.LoopText = Utf8ToBig5(text.toStdString()); });
  connect(CheckBoxBetMethodLoopUnchangeNextToTie, &QCheckBox::toggled, this,
          [this](bool on) { method_.UnchangeNextToTie = on; });

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(EditBetMethodLoop);
  row->addSpacing(12);
  row->addWidget(CheckBoxBetMethodLoopUnchangeNextToTie);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addStretch(1);
  LoadSettings();
}

void TFrameBetMethodLoop::LoadSettings() {
  const QString text = QString::fromStdString(Big5ToUtf8(method_.LoopText));
  if (EditBetMethodLoop->text() != text) EditBetMethodLoop->setText(text);
  CheckBoxBetMethodLoopUnchangeNextToTie->setChecked(method_.UnchangeNextToTie);
}

}  // namespace zavuv
