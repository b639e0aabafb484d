#include "strategy/TFrameChartProfit.h"

namespace zavuv {

TFrameChartProfit::TFrameChartProfit(ChartProfit& points, QWidget* parent) : TFrameChart(parent), points_(points) {
  setObjectName(QStringLiteral("FrameChartProfit"));
  SetAxisTitles(QStringLiteral("下注次數"), QStringLiteral("累積利潤"));
  points_.OnShowChart = [this] { ShowPoints(); };
  if (points_.SeriesActive) ShowPoints();
}

TFrameChartProfit::~TFrameChartProfit() { points_.OnShowChart = nullptr; }

void TFrameChartProfit::ShowPoints() {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(points_.Points.size()));
  // A thinned line carries the x of each point.
  const bool thinned = !points_.Positions.empty();
  for (std::size_t i = 0; i < points_.Points.size(); ++i)
    points.append(QPointF(thinned ? static_cast<double>(points_.Positions[i]) : static_cast<double>(i), points_.Points[i]));
  ShowChart(points);
}

}  // namespace zavuv
