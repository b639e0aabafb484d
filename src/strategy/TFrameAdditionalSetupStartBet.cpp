#include "strategy/TFrameAdditionalSetupStartBet.h"

#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

TFrameAdditionalSetupStartBet::TFrameAdditionalSetupStartBet(AdditionalSetupStartBet&, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QStringLiteral("TFrameAdditionalSetupStartBet"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(kit::Label(this, "Label1", "正式入局前須先中一局"));
  layout->addStretch(1);
}

}  // namespace zavuv
