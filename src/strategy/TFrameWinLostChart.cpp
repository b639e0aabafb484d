#include "strategy/TFrameWinLostChart.h"

namespace zavuv {

TFrameWinLostChart::TFrameWinLostChart(WinLostChart& points, QWidget* parent) : TFrameChart(parent), points_(points) {
  setObjectName(QStringLiteral("FrameWinLostChart"));
  SetAxisTitles(QStringLiteral("下注次數"), QStringLiteral("羸注減輸注"));
  points_.OnShowChart = [this] { ShowPoints(); };
  if (points_.SeriesActive) ShowPoints();
}

TFrameWinLostChart::~TFrameWinLostChart() { points_.OnShowChart = nullptr; }

void TFrameWinLostChart::ShowPoints() {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(points_.Points.size()));
  // A thinned line carries the x of each point.
  const bool thinned = !points_.Positions.empty();
  for (std::size_t i = 0; i < points_.Points.size(); ++i)
    points.append(QPointF(thinned ? static_cast<double>(points_.Positions[i]) : static_cast<double>(i), points_.Points[i]));
  ShowChart(points);
}

}  // namespace zavuv
