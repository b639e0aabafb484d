// The statistics page: the counts of the current shoe or of a range of shoes, the
// banker/player ratios, the banker and player run tables of a ShoeStats, and the
// fair-shoe check "理論與實際" of the same counts.
#pragma once

#include <QWidget>

#include "stats/ShoeStats.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zavuv {

class TFrameContinuous;
class TFrameFairness;

class TFrameShoeStats : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameShoeStats(ShoeStats& stats, QWidget* parent = nullptr);

  // Writes the counters and ratios into the fields (the run tables follow their
  // tables on their own).
  void ShowShoeStats();

  QLineEdit* EditNoOfBanker = nullptr;
  QLineEdit* EditNoOfPlayer = nullptr;
  QLineEdit* EditNoOfTie = nullptr;
  QLineEdit* EditB_Ratio = nullptr;
  QLineEdit* EditP_Ratio = nullptr;
  QLineEdit* EditNoOfSame = nullptr;
  QLineEdit* EditNoOfDiff = nullptr;
  TFrameContinuous* ConBanker = nullptr;
  TFrameContinuous* ConPlayer = nullptr;
  QCheckBox* CheckBoxStatEach = nullptr;
  QPushButton* BtnStatAll = nullptr;
  TFrameFairness* FrameFairness = nullptr;   // "理論與實際"

 private:
  ShoeStats& stats_;
};

}  // namespace zavuv
