// The panel of "依形態下注": the pattern table with its navigator and grid on the
// left; on the right the buttons that read and save .MED files, the (inactive)
// server button and the description memo.
#pragma once

#include "bets/BetMethodPattern.h"
#include "bets/QtTableFilePanel.h"
#include "bets/TFrameCommonBet.h"

#include <memory>

class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace zavuv {

class QtNavigator;
class QtTableModel;

class TFrameBetMethodPattern : public TFrameCommonBet {
  Q_OBJECT

 public:
  explicit TFrameBetMethodPattern(BetMethodPattern& method, QWidget* parent = nullptr);
  ~TFrameBetMethodPattern() override;

  BetMethodPattern& Method() { return method_; }
  void LoadSettings() override;

  QtNavigator* DBNavigatorBet = nullptr;
  QtTableModel* DataSourceBetMethod = nullptr;
  QTableView* DBGridBet = nullptr;
  QPushButton* BtnReadBet = nullptr;
  QPushButton* BtnSaveBet = nullptr;
  QPushButton* BtnSaveBetToServer = nullptr;
  QPlainTextEdit* MemoBetInfo = nullptr;

 public slots:
  void BtnReadBetClick();
  void BtnSaveBetClick();

 private:
  BetMethodPattern& method_;
  std::unique_ptr<QtTableFilePanel> files_;
};

}  // namespace zavuv
