// The panel of "連羸的附加設定": "每連羸 n 局後便重新開始注碼法".
#pragma once

#include <QWidget>

#include "strategy/AdditionalSetupContinuousWin.h"

class QSpinBox;

namespace zavuv {

class TFrameAdditionalSetupContinuousWin : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAdditionalSetupContinuousWin(AdditionalSetupContinuousWin& setup, QWidget* parent = nullptr);

  QSpinBox* SpinEditConWin = nullptr;

 private:
  AdditionalSetupContinuousWin& setup_;
};

}  // namespace zavuv
