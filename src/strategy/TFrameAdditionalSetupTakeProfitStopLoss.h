// The panel of "風險管理": where the thresholds apply (each shoe, or all the data
// together), the four thresholds with their hints, and the restart of the bet amount
// method after a stop, which only each-shoe mode offers.
#pragma once

#include <QWidget>

#include "strategy/AdditionalSetupTakeProfitStopLoss.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;
class QSpinBox;

namespace zavuv {

class TFrameAdditionalSetupTakeProfitStopLoss : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAdditionalSetupTakeProfitStopLoss(AdditionalSetupTakeProfitStopLoss& setup,
                                                   QWidget* parent = nullptr);

  QGroupBox* RadioGroupApply = nullptr;
  QRadioButton* RadioEachShoe = nullptr;
  QRadioButton* RadioWhole = nullptr;
  QSpinBox* SpinEditTakeProfit = nullptr;
  QSpinBox* SpinEditStopLoss = nullptr;
  QSpinBox* SpinEditRise = nullptr;
  QSpinBox* SpinEditFall = nullptr;
  QCheckBox* CheckBoxRestartBetAmount = nullptr;

 public slots:
  void RadioGroupApplyClick();

 private:
  AdditionalSetupTakeProfitStopLoss& setup_;
};

}  // namespace zavuv
