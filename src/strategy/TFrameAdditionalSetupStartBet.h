// The panel of "每靴入路設定": no settings, only what it does.
#pragma once

#include <QWidget>

#include "strategy/AdditionalSetupStartBet.h"

namespace zavuv {

class TFrameAdditionalSetupStartBet : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAdditionalSetupStartBet(AdditionalSetupStartBet& setup, QWidget* parent = nullptr);
};

}  // namespace zavuv
