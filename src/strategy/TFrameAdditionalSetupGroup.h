// The panel of "以數局為一組分析": the games per group and what restarts after each.
#pragma once

#include <QWidget>

#include "strategy/AdditionalSetupGroup.h"

class QCheckBox;
class QSpinBox;

namespace zavuv {

class TFrameAdditionalSetupGroup : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAdditionalSetupGroup(AdditionalSetupGroup& setup, QWidget* parent = nullptr);

  QSpinBox* SpinEditUnitNoOfGame = nullptr;
  QCheckBox* CheckBoxIncludeTie = nullptr;
  QCheckBox* CheckBoxRestartBetMethod = nullptr;
  QCheckBox* CheckBoxRestartBetAmount = nullptr;

 private:
  AdditionalSetupGroup& setup_;
};

}  // namespace zavuv
