// The points of a strategy's two charts. Values are collected while a run goes on
// and handed to the chart series once, when the run finishes (ShowChart).
//
// WinLostChart ("上下風圖"): won bets minus lost bets, one point per decided bet.
// ChartProfit ("利潤走勢圖"): the accumulated profit after each settled bet.
// Both start with one point at 0.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace zavuv {

class WinLostChart {
 public:
  WinLostChart() { Reset(); }

  std::int32_t Level = 0;
  std::vector<std::int32_t> Points;
  // True after ShowChart, until the next Reset: the series shows the points.
  bool SeriesActive = false;
  std::function<void()> OnShowChart;   // the view draws Points

  void Reset() {
    SeriesActive = false;
    Points.clear();
    Level = 0;
    Points.push_back(0);
  }
  void AddWin() { Points.push_back(++Level); }
  void AddLose() { Points.push_back(--Level); }
  void ShowChart() {
    Points.shrink_to_fit();
    SeriesActive = true;
    if (OnShowChart) OnShowChart();
  }
};

class ChartProfit {
 public:
  ChartProfit() { Reset(); }

  double Total = 0;
  std::vector<double> Points;
  bool SeriesActive = false;
  std::function<void()> OnShowChart;

  void Reset() {
    SeriesActive = false;
    Points.clear();
    Total = 0;
    Points.push_back(0);
  }
  void AddProfit(double profit) {
    Total += profit;
    Points.push_back(Total);
  }
  void ShowChart() {
    Points.shrink_to_fit();
    SeriesActive = true;
    if (OnShowChart) OnShowChart();
  }
};

}  // namespace zavuv
