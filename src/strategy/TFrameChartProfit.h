// The profit chart "利潤走勢圖": the accumulated profit after each settled bet.
#pragma once

#include "strategy/TFrameChart.h"
#include "strategy/WinLostChart.h"

namespace zavuv {

class TFrameChartProfit : public TFrameChart {
  Q_OBJECT

 public:
  explicit TFrameChartProfit(ChartProfit& points, QWidget* parent = nullptr);
  ~TFrameChartProfit() override;
  void ShowPoints();

 private:
  ChartProfit& points_;
};

}  // namespace zavuv
