// The win/lose chart "上下風圖": won bets minus lost bets after each decided bet.
#pragma once

#include "strategy/TFrameChart.h"
#include "strategy/WinLostChart.h"

namespace zavuv {

class TFrameWinLostChart : public TFrameChart {
  Q_OBJECT

 public:
  explicit TFrameWinLostChart(WinLostChart& points, QWidget* parent = nullptr);
  ~TFrameWinLostChart() override;
  // Draws the points of the run that finished.
  void ShowPoints();

 private:
  WinLostChart& points_;
};

}  // namespace zavuv
