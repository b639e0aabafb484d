#include "strategy/TFrameChart.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QLocale>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "widgets/QtPanelKit.h"
#include "stats/Format.h"

namespace zavuv {

using namespace kit;

namespace {

const QColor kLine(255, 0, 0);
const QColor kRibbon(150, 0, 0);
const QColor kBackEdge(110, 0, 0);

}  // namespace

// The chart's view: drags the chart while panning is on, and draws the line with
// depth (a ribbon going back and up from the line, and the back wall of the plot
// area) while depth is on.
class QtDepthChartView : public QChartView {
 public:
  QtDepthChartView(QChart* chart, QLineSeries* series, QWidget* parent)
      : QChartView(chart, parent), series_(series) {
    setRubberBand(QChartView::NoRubberBand);
    setRenderHint(QPainter::Antialiasing);
  }

  bool depth = true;
  bool panning = false;

  // How far back the line's depth reaches, in pixels.
  QPointF DepthOffset() const {
    const QRectF plot = chart()->plotArea();
    const double d = std::clamp(std::min(plot.width(), plot.height()) * 0.04, 4.0, 16.0);
    return {d, -d};
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (panning && event->button() == Qt::LeftButton) {
      dragging_ = true;
      last_ = event->position();
      setCursor(Qt::ClosedHandCursor);
      event->accept();
      return;
    }
    QChartView::mousePressEvent(event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (dragging_) {
      const QPointF delta = event->position() - last_;
      last_ = event->position();
      chart()->scroll(-delta.x(), delta.y());
      event->accept();
      return;
    }
    QChartView::mouseMoveEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (dragging_ && event->button() == Qt::LeftButton) {
      dragging_ = false;
      unsetCursor();
      event->accept();
      return;
    }
    QChartView::mouseReleaseEvent(event);
  }

  void drawForeground(QPainter* painter, const QRectF& rect) override {
    QChartView::drawForeground(painter, rect);
    if (!depth || !series_->isVisible() || series_->count() == 0) return;
    const QRectF plot = chart()->mapRectToScene(chart()->plotArea());
    const QPointF off = DepthOffset();
    painter->save();
    // The back wall and the edges that join it to the plot area.
    painter->setPen(QPen(QColor(160, 160, 160), 1));
    const QRectF back = plot.translated(off);
    painter->drawRect(back);
    painter->drawLine(plot.topLeft(), back.topLeft());
    painter->drawLine(plot.topRight(), back.topRight());
    painter->drawLine(plot.bottomRight(), back.bottomRight());
    painter->setClipRect(plot.united(back));

    QList<QPointF> line;
    line.reserve(series_->count());
    for (const QPointF& p : series_->points()) line.append(chart()->mapToScene(chart()->mapToPosition(p, series_)));
    painter->setPen(Qt::NoPen);
    painter->setBrush(kRibbon);
    for (qsizetype i = 1; i < line.size(); ++i) {
      const QPointF polygon[4] = {line[i - 1], line[i], line[i] + off, line[i - 1] + off};
      painter->drawPolygon(polygon, 4);
    }
    QPolygonF front(line);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(kBackEdge, 1));
    painter->drawPolyline(front.translated(off));
    painter->setPen(QPen(kLine, 2));
    painter->drawPolyline(front);
    if (line.size() == 1) painter->drawPoint(line[0]);
    painter->restore();
  }

 private:
  QLineSeries* series_;
  bool dragging_ = false;
  QPointF last_;
};

namespace {

// The points between x = from and x = to (and one more on either side), with at most
// four per column when there are more than four per column: each column keeps its
// first, lowest, highest and last point, in their order.
QList<QPointF> VisiblePoints(const QList<QPointF>& all, double from, double to, int columns) {
  QList<QPointF> kept;
  const qsizetype n = all.size();
  if (n == 0) return kept;
  const qsizetype first = std::clamp<qsizetype>(static_cast<qsizetype>(std::floor(from)) - 1, 0, n - 1);
  const qsizetype last = std::clamp<qsizetype>(static_cast<qsizetype>(std::ceil(to)) + 1, 0, n - 1);
  const qsizetype count = last - first + 1;
  columns = std::max(columns, 1);
  if (count <= 4 * static_cast<qsizetype>(columns)) return all.mid(first, count);
  kept.reserve(4 * columns);
  for (qsizetype c = 0; c < columns; ++c) {
    const qsizetype begin = first + count * c / columns;
    const qsizetype end = first + count * (c + 1) / columns - 1;
    if (end < begin) continue;
    qsizetype low = begin, high = begin;
    for (qsizetype i = begin; i <= end; ++i) {
      if (all[i].y() < all[low].y()) low = i;
      if (all[i].y() > all[high].y()) high = i;
    }
    const qsizetype picks[4] = {begin, std::min(low, high), std::max(low, high), end};
    for (int k = 0; k < 4; ++k)
      if (k == 0 || picks[k] != picks[k - 1]) kept.append(all[picks[k]]);
  }
  return kept;
}

}  // namespace

TFrameChart::TFrameChart(QWidget* parent) : QWidget(parent) {
  series_ = new QLineSeries;
  series_->setName(QStringLiteral("Series"));
  QPen pen(kLine);
  pen.setWidth(2);
  series_->setPen(pen);
  series_->setPointsVisible(false);
  series_->setVisible(false);
  chart_ = new QChart;
  chart_->addSeries(series_);
  chart_->legend()->hide();
  chart_->setTitle(QString());
  chart_->setMargins(QMargins(4, 20, 20, 4));
  chart_->setBackgroundRoundness(0);
  // Axis figures grouped by thousands ("-40,000"), whatever the desktop's language.
  QLocale figures(QLocale::English, QLocale::UnitedStates);
  figures.setNumberOptions(QLocale::DefaultNumberOptions);
  chart_->setLocale(figures);
  chart_->setLocalizeNumbers(true);
  axisX_ = new QValueAxis;
  axisY_ = new QValueAxis;
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  series_->attachAxis(axisX_);
  series_->attachAxis(axisY_);
  axisX_->setRange(0, 1);
  axisY_->setRange(-1, 1);
  view_ = new QtDepthChartView(chart_, series_, this);
  Chart = Named(static_cast<QChartView*>(view_), "Chart");

  CheckBox3D = CheckBox(this, "CheckBox3D", "3D顯示", true);
  BtnZoomIn = Button(this, "BtnZoomIn", "放大");
  BtnZoomOut = Button(this, "BtnZoomOut", "縮小");
  BtnMove = Button(this, "BtnMove", "移動");
  BtnMove->setCheckable(true);
  BtnMove->setToolTip(QStringLiteral("按下本按鈕後, 便可在圖表上按滑鼠左鍵隨意移動圖表"));
  BtnUnZoom = Button(this, "BtnUnZoom", "還原");
  connect(CheckBox3D, &QCheckBox::clicked, this, &TFrameChart::CheckBox3DClick);
  connect(BtnZoomIn, &QPushButton::clicked, this, &TFrameChart::BtnZoomInClick);
  connect(BtnZoomOut, &QPushButton::clicked, this, &TFrameChart::BtnZoomOutClick);
  connect(BtnUnZoom, &QPushButton::clicked, this, &TFrameChart::BtnUnZoomClick);
  connect(BtnMove, &QPushButton::clicked, this, &TFrameChart::BtnMoveClick);
  connect(axisY_, &QValueAxis::rangeChanged, this, &TFrameChart::UpdateLabelFormats);
  connect(axisX_, &QValueAxis::rangeChanged, this, &TFrameChart::UpdateLabelFormats);
  connect(axisX_, &QValueAxis::rangeChanged, this, &TFrameChart::RefeedLater);
  connect(chart_, &QChart::plotAreaChanged, this, &TFrameChart::RefeedLater);
  connect(series_, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
    if (!state) return;
    QToolTip::showText(QCursor::pos(), QStringLiteral("%1: %2")
                                          .arg(std::llround(point.x()))
                                          .arg(QString::fromStdString(FormatFloat(point.y(), "#,###0.###"))));
  });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CheckBox3D);
  buttons->addSpacing(8);
  for (QPushButton* b : {BtnZoomIn, BtnZoomOut, BtnMove, BtnUnZoom}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Chart, 1);
  layout->addLayout(buttons);
  UpdateLabelFormats();
}

TFrameChart::~TFrameChart() = default;

bool TFrameChart::Depth() const { return view_->depth; }
bool TFrameChart::Panning() const { return view_->panning; }

void TFrameChart::Reset() {
  all_.clear();
  series_->clear();
  series_->setVisible(false);
  view_->viewport()->update();
}

void TFrameChart::Refeed() {
  refeedPending_ = false;
  const int columns = static_cast<int>(std::max(chart_->plotArea().width(), 200.0));
  series_->replace(VisiblePoints(all_, axisX_->min(), axisX_->max(), columns));
}

void TFrameChart::RefeedLater() {
  if (refeedPending_ || all_.isEmpty()) return;
  refeedPending_ = true;
  QMetaObject::invokeMethod(this, &TFrameChart::Refeed, Qt::QueuedConnection);
}

void TFrameChart::ShowChart(const QList<QPointF>& points) {
  double low = 0, high = 0;
  for (const QPointF& p : points) {
    low = std::min(low, p.y());
    high = std::max(high, p.y());
  }
  if (high - low < 1) {
    low -= 1;
    high += 1;
  }
  fullX_ = QPointF(0, std::max<qsizetype>(1, points.size() - 1));
  axisY_->setRange(low, high);
  axisY_->applyNiceNumbers();
  fullY_ = QPointF(axisY_->min(), axisY_->max());
  all_ = points;
  BtnUnZoomClick();
  Refeed();
  series_->setVisible(true);
}

void TFrameChart::UpdateLabelFormats() {
  // Whole numbers once the axis spans more than a few units.
  axisY_->setLabelFormat(axisY_->max() - axisY_->min() >= 10 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
  axisX_->setLabelFormat(axisX_->max() - axisX_->min() >= 10 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
}

void TFrameChart::ZoomAxes(double part) {
  for (QValueAxis* axis : {axisX_, axisY_}) {
    const double min = axis->min(), max = axis->max();
    const double d = (max - min) * part;
    axis->setRange(min + d, max - d);
  }
  view_->viewport()->update();
}

void TFrameChart::BtnZoomInClick() { ZoomAxes(0.1875); }
void TFrameChart::BtnZoomOutClick() { ZoomAxes(-0.30); }

void TFrameChart::BtnUnZoomClick() {
  axisX_->setRange(fullX_.x(), fullX_.y());
  axisY_->setRange(fullY_.x(), fullY_.y());
  view_->viewport()->update();
}

void TFrameChart::BtnMoveClick() { view_->panning = BtnMove->isChecked(); }

void TFrameChart::SetAxisTitles(const QString& x, const QString& y) {
  axisX_->setTitleText(x);
  axisY_->setTitleText(y);
}

void TFrameChart::CheckBox3DClick() {
  view_->depth = CheckBox3D->isChecked();
  view_->viewport()->update();
}

}  // namespace zavuv
