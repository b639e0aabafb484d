// The panel of "消數纜": the initial line with its navigator and grid on the left; on
// the right the choice of the two numbers, the break amount and the table limit,
// each spin field with a two-line hint. TFrameBetAmountAntiCancel shows the same
// with its own notice and hint.
#pragma once

#include "bets/BetAmountCancel.h"
#include "bets/TFrameCommonBet.h"

class QGroupBox;
class QRadioButton;
class QSpinBox;
class QTableView;
class QVBoxLayout;

namespace zavuv {

class QtNavigator;
class QtTableModel;

class TFrameBetAmountCancel : public TFrameCommonBet {
  Q_OBJECT

 public:
  explicit TFrameBetAmountCancel(BetAmountCancel& amount, QWidget* parent = nullptr);
  ~TFrameBetAmountCancel() override;

  BetAmountCancel& Amount() { return amount_; }
  void LoadSettings() override;

  QtNavigator* DBNavigatorBetAmount = nullptr;
  QtTableModel* DataSourceBetAmount = nullptr;
  QTableView* DBGridBetAmount = nullptr;
  QGroupBox* RadioGroupBetAmountNoType = nullptr;
  QRadioButton* RadioFirstAndLast = nullptr;
  QRadioButton* RadioFirstAndSecond = nullptr;
  QSpinBox* SpinEditLargest = nullptr;
  QSpinBox* SpinEditUpperLimit = nullptr;

 protected:
  // The panel's column of controls, where a derived panel adds its notice on top.
  QVBoxLayout* MainLayout() const { return main_; }

 private:
  BetAmountCancel& amount_;
  QVBoxLayout* main_ = nullptr;
};

}  // namespace zavuv
