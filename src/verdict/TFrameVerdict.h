// The verdict box of a figures page ("勝負判定"): staked total, profit, return per
// unit staked with its 95 % interval, the house edge of the bets placed, the two
// p-values, the Holm-adjusted p-value when several pages are judged together, and
// the one-line verdict. It shows what the workbench judged; it computes nothing.
#pragma once

#include <QGroupBox>

#include "verdict/Verdict.h"

class QLabel;
class QLineEdit;

namespace zavuv {

// Number texts shared by the judging views.
QString PercentText(double fraction, int decimals = 3);   // "-1.058%"
QString PValueText(double p);                            // "0.0312", "3.1e-09"; "—" for NaN

class TFrameVerdict : public QGroupBox {
  Q_OBJECT

 public:
  explicit TFrameVerdict(QWidget* parent = nullptr);

  // holmP: the page's Holm-adjusted p-value, NaN when it is outside the family or
  // judged alone (the field is then empty).
  void ShowVerdict(const Verdict& verdict, double holmP);
  void Clear();

  QLineEdit* EditStaked = nullptr;
  QLineEdit* EditProfit = nullptr;
  QLineEdit* EditReturn = nullptr;
  QLineEdit* EditInterval = nullptr;
  QLineEdit* EditHouseEdge = nullptr;
  QLineEdit* EditPHouseEdge = nullptr;
  QLineEdit* EditPBreakEven = nullptr;
  QLineEdit* EditHolmP = nullptr;
  QLabel* LabelVerdict = nullptr;   // Verdict::Text()
};

}  // namespace zavuv
