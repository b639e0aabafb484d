// The points of a strategy's two charts. Values are collected while a run goes on
// and handed to the chart series once, when the run finishes (ShowChart).
//
// WinLostChart ("上下風圖"): won bets minus lost bets, one point per decided bet.
// ChartProfit ("利潤走勢圖"): the accumulated profit after each settled bet.
// Both start with one point at 0.
//
// A long run is thinned as it goes (ChartThinning): up to 262,144 points every point
// is kept and Positions is empty; beyond that Points holds the thinned line and
// Positions the x of each of its points.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "strategy/ChartThinning.h"

namespace zavuv {

class WinLostChart {
 public:
  WinLostChart() { Reset(); }

  std::int32_t Level = 0;
  std::vector<std::int32_t> Points;
  std::vector<std::int64_t> Positions;   // empty: point i stands at x = i
  // True after ShowChart, until the next Reset: the series shows the points.
  bool SeriesActive = false;
  std::function<void()> OnShowChart;   // the view draws Points

  void Reset() {
    SeriesActive = false;
    Points.clear();
    Positions.clear();
    thinning_.Reset();
    Level = 0;
    Add(0);
  }
  void AddWin() { Add(++Level); }
  void AddLose() { Add(--Level); }
  // Points added since Reset, the starting 0 included.
  std::int64_t PointCount() const { return thinning_.Count(); }
  void ShowChart() {
    thinning_.Finish(Points, Positions);
    Points.shrink_to_fit();
    SeriesActive = true;
    if (OnShowChart) OnShowChart();
  }

 private:
  void Add(std::int32_t value) {
    Points.push_back(value);
    thinning_.AfterAppend(Points, Positions);
  }
  ChartThinning<std::int32_t> thinning_;
};

class ChartProfit {
 public:
  ChartProfit() { Reset(); }

  double Total = 0;
  std::vector<double> Points;
  std::vector<std::int64_t> Positions;
  bool SeriesActive = false;
  std::function<void()> OnShowChart;

  void Reset() {
    SeriesActive = false;
    Points.clear();
    Positions.clear();
    thinning_.Reset();
    Total = 0;
    Add(0);
  }
  void AddProfit(double profit) {
    Total += profit;
    Add(Total);
  }
  std::int64_t PointCount() const { return thinning_.Count(); }
  void ShowChart() {
    thinning_.Finish(Points, Positions);
    Points.shrink_to_fit();
    SeriesActive = true;
    if (OnShowChart) OnShowChart();
  }

 private:
  void Add(double value) {
    Points.push_back(value);
    thinning_.AfterAppend(Points, Positions);
  }
  ChartThinning<double> thinning_;
};

}  // namespace zavuv
