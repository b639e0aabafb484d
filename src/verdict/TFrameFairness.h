// The fair-shoe check "理論與實際" of the statistics page: the observed banker, player
// and tie shares with their 95 % intervals next to the 8-deck probabilities, the
// chi-square p-value and its sentence.
#pragma once

#include <QGroupBox>

#include "verdict/Fairness.h"

class QLabel;
class QLineEdit;

namespace zavuv {

class TFrameFairness : public QGroupBox {
  Q_OBJECT

 public:
  explicit TFrameFairness(QWidget* parent = nullptr);

  void ShowFairness(const Fairness& fairness);

  // Banker, player, tie.
  QLineEdit* EditObserved[3] = {};
  QLineEdit* EditInterval[3] = {};
  QLineEdit* EditExpected[3] = {};
  QLineEdit* EditChiSquareP = nullptr;
  QLabel* LabelFairness = nullptr;   // Fairness::Text()
};

}  // namespace zavuv
