// The panel of "一般級數變動的注碼法": the level table with its navigator and grid on
// the left; on the right the buttons that read and save .AMT files, the two level
// steps, the (inactive) server button and the description memo.
#pragma once

#include "bets/BetAmountLevel.h"
#include "bets/QtTableFilePanel.h"
#include "bets/TFrameCommonBet.h"

#include <memory>

class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace zavuv {

class QtNavigator;
class QtTableModel;

class TFrameBetAmountLevel : public TFrameCommonBet {
  Q_OBJECT

 public:
  explicit TFrameBetAmountLevel(BetAmountLevel& amount, QWidget* parent = nullptr);
  ~TFrameBetAmountLevel() override;

  BetAmountLevel& Amount() { return amount_; }
  void LoadSettings() override;

  QtNavigator* DBNavigatorBetAmount = nullptr;
  QtTableModel* DataSourceBetAmount = nullptr;
  QTableView* DBGridBetAmount = nullptr;
  QPushButton* BtnReadAmt = nullptr;
  QPushButton* BtnSaveAmt = nullptr;
  QSpinBox* SpinEditWinlevelMove = nullptr;
  QSpinBox* SpinEditLoseLevelMove = nullptr;
  QPushButton* BtnSaveBetAmountToServer = nullptr;
  QPlainTextEdit* MemoBetAmountInfo = nullptr;

 public slots:
  void BtnReadAmtClick();
  void BtnSaveAmtClick();

 private:
  BetAmountLevel& amount_;
  std::unique_ptr<QtTableFilePanel> files_;
};

}  // namespace zavuv
