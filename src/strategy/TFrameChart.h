// The common panel of a strategy's two result charts (TFrameWinLostChart,
// TFrameChartProfit): one red line without legend or point markers, and the buttons
// "放大" (the visible range of every axis shrinks to 62.5 % around its centre),
// "縮小" (grows to 160 %), "還原" (back to the range of all points), the toggle
// "移動" (while down, the chart is dragged with the left mouse button) and the box
// "3D顯示" (the line is drawn as a ribbon with depth, or flat).
//
// The points are handed over once, when a run finishes (ShowChart); between Reset
// and ShowChart the line is empty and off. A run over thousands of shoes gives
// hundreds of thousands of points, more than the chart can lay out quickly, so the
// line is fed the visible part of the points with at most four per pixel column
// (the first, lowest, highest and last of the column): the same picture, drawn
// from a few thousand points, fed again whenever the visible range or the width
// changes.
#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>

class QCheckBox;
class QPushButton;

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace zavuv {

class QtDepthChartView;

class TFrameChart : public QWidget {
  Q_OBJECT

 public:
  ~TFrameChart() override;

  // Empties the line and switches it off.
  void Reset();
  // Draws the points (x is the position from 0) and switches the line on.
  void ShowChart(const QList<QPointF>& points);

  QLineSeries* Series() const { return series_; }
  // Every point of the last run, as handed over.
  const QList<QPointF>& Points() const { return all_; }
  QValueAxis* AxisX() const { return axisX_; }
  QValueAxis* AxisY() const { return axisY_; }
  bool Depth() const;
  bool Panning() const;
  // The range that covers every point (x, then y), as "還原" shows it.
  QPointF FullXRange() const { return fullX_; }
  QPointF FullYRange() const { return fullY_; }

  QChartView* Chart = nullptr;
  QCheckBox* CheckBox3D = nullptr;
  QPushButton* BtnZoomIn = nullptr;
  QPushButton* BtnZoomOut = nullptr;
  QPushButton* BtnMove = nullptr;
  QPushButton* BtnUnZoom = nullptr;

 public slots:
  void CheckBox3DClick();
  void BtnZoomInClick();
  void BtnZoomOutClick();
  void BtnUnZoomClick();
  void BtnMoveClick();

 protected:
  explicit TFrameChart(QWidget* parent = nullptr);
  // What the axes count, written beside them.
  void SetAxisTitles(const QString& x, const QString& y);

 private:
  // Moves both ends of every axis towards the centre by that part of its width.
  void ZoomAxes(double part);
  void UpdateLabelFormats();
  // Feeds the line the visible points (now, or once the present event is done).
  void Refeed();
  void RefeedLater();

  QtDepthChartView* view_ = nullptr;
  QChart* chart_ = nullptr;
  QLineSeries* series_ = nullptr;
  QValueAxis* axisX_ = nullptr;
  QValueAxis* axisY_ = nullptr;
  QList<QPointF> all_;
  bool refeedPending_ = false;
  QPointF fullX_{0, 1};
  QPointF fullY_{-1, 1};
};

}  // namespace zavuv
