// The two result charts: the points a run hands over, zooming, dragging and the
// drawing with and without depth.
#include <QChartView>
#include <QCheckBox>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QRegularExpression>
#include <QTest>
#include <QValueAxis>

#include "stats/Continuous.h"
#include "stats/TFrameContinuous.h"
#include "strategy/TFrameChartProfit.h"
#include "strategy/TFrameWinLostChart.h"

using namespace zavuv;

namespace {

QList<QPointF> Points(std::initializer_list<double> ys) {
  QList<QPointF> out;
  for (double y : ys) out.append(QPointF(out.size(), y));
  return out;
}

// Pixels of the chart in the colour of the line's depth (a dark red).
int RibbonPixels(TFrameChart& chart) {
  const QImage image = chart.Chart->grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() >= 90 && c.red() <= 170 && c.green() < 40 && c.blue() < 40) ++n;
    }
  return n;
}

int RedPixels(TFrameChart& chart) {
  const QImage image = chart.Chart->grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 60 && c.blue() < 60) ++n;
    }
  return n;
}

}  // namespace

class ChartTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    points.Reset();
    frame = std::make_unique<TFrameWinLostChart>(points);
    frame->resize(600, 320);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
  }
  void cleanup() { frame.reset(); }

  void pointsAreHandedOverAtTheEnd() {
    QCOMPARE(frame->CheckBox3D->text(), QStringLiteral("3D顯示"));
    QVERIFY(frame->CheckBox3D->isChecked());
    QVERIFY(frame->BtnMove->isCheckable());
    QVERIFY(!frame->BtnMove->isChecked());
    QCOMPARE(frame->BtnMove->toolTip(), QStringLiteral("按下本按鈕後, 便可在圖表上按滑鼠左鍵隨意移動圖表"));
    QCOMPARE(frame->Series()->pen().color(), QColor(Qt::red));
    QVERIFY(!frame->Series()->pointsVisible());
    QVERIFY(!frame->Chart->chart()->legend()->isVisible());

    // A run: won, won, lost, (tie: nothing), won. Nothing is drawn before the end.
    points.Reset();
    frame->Reset();
    points.AddWin();
    points.AddWin();
    points.AddLose();
    points.AddWin();
    QVERIFY(!frame->Series()->isVisible());
    QCOMPARE(frame->Series()->count(), 0);
    points.ShowChart();
    QVERIFY(frame->Series()->isVisible());
    QCOMPARE(frame->Series()->points(), Points({0, 1, 2, 1, 2}));
    QCOMPARE(frame->AxisX()->min(), 0.0);
    QCOMPARE(frame->AxisX()->max(), 4.0);
    QVERIFY(frame->AxisY()->min() <= 0 && frame->AxisY()->max() >= 2);
    QVERIFY(RedPixels(*frame) > 50);

    // A run without a bet: one point at 0.
    points.Reset();
    frame->Reset();
    QVERIFY(!frame->Series()->isVisible());
    points.ShowChart();
    QCOMPARE(frame->Series()->points(), Points({0}));

    // The profit chart the same way, ties repeating the level.
    ChartProfit profit;
    TFrameChartProfit profitFrame(profit);
    profit.AddProfit(95);
    profit.AddProfit(0);
    profit.AddProfit(-100);
    profit.ShowChart();
    QCOMPARE(profitFrame.Series()->points(), Points({0, 95, 95, -5}));
    QCOMPARE(profitFrame.Points().size(), 4);

    // The value axis groups thousands: "-40,000", not "-40000".
    profit.Reset();
    profitFrame.Reset();
    profit.AddProfit(-40000);
    profit.AddProfit(10000);
    profit.ShowChart();
    profitFrame.resize(600, 320);
    profitFrame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&profitFrame));
    QStringList labels;
    for (QGraphicsItem* item : profitFrame.Chart->scene()->items())
      if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) labels << text->toPlainText();
    const QString all = labels.join(QLatin1Char(' '));
    QVERIFY2(all.contains(QRegularExpression(QStringLiteral("-\\d{1,2},000\\b"))), qPrintable(all));
    QVERIFY2(!all.contains(QRegularExpression(QStringLiteral("\\d{5}"))), qPrintable(all));
  }

  // The run tables show their counts whole, however large.
  void runTablesFitTheirFigures() {
    Continuous runs;
    TFrameContinuous table;
    table.SetContinuous(&runs);
    table.resize(160, 300);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    const int narrow = table.DBGrid1->columnWidth(1);
    for (int i = 0; i < 46711; ++i) runs.AddRun(1);
    runs.ShowTable();
    QString figure = table.DBGrid1->model()->index(0, 1).data().toString();
    QCOMPARE(figure.remove(QLatin1Char(',')), QStringLiteral("46711"));
    QVERIFY(table.DBGrid1->columnWidth(1) > narrow);
    QVERIFY(table.DBGrid1->columnWidth(1) >=
            table.DBGrid1->fontMetrics().horizontalAdvance(table.DBGrid1->model()->index(0, 1).data().toString()));
  }

  void zoomAndUnzoom() {
    for (int i = 0; i < 100; ++i) (i % 3 ? points.AddWin() : points.AddLose());
    points.ShowChart();
    const double x0 = frame->AxisX()->min(), x1 = frame->AxisX()->max();
    const double y0 = frame->AxisY()->min(), y1 = frame->AxisY()->max();
    QCOMPARE(x1, 100.0);
    QTest::mouseClick(frame->BtnZoomIn, Qt::LeftButton);
    QCOMPARE(frame->AxisX()->min(), x0 + (x1 - x0) * 0.1875);
    QCOMPARE(frame->AxisX()->max() - frame->AxisX()->min(), (x1 - x0) * 0.625);
    QCOMPARE(frame->AxisY()->max() - frame->AxisY()->min(), (y1 - y0) * 0.625);
    QTest::mouseClick(frame->BtnZoomIn, Qt::LeftButton);
    QVERIFY(qAbs(frame->AxisX()->max() - frame->AxisX()->min() - (x1 - x0) * 0.625 * 0.625) < 1e-9);
    QTest::mouseClick(frame->BtnUnZoom, Qt::LeftButton);
    QCOMPARE(frame->AxisX()->min(), x0);
    QCOMPARE(frame->AxisX()->max(), x1);
    QCOMPARE(frame->AxisY()->min(), y0);
    QCOMPARE(frame->AxisY()->max(), y1);
    QTest::mouseClick(frame->BtnZoomOut, Qt::LeftButton);
    QVERIFY(qAbs(frame->AxisX()->max() - frame->AxisX()->min() - (x1 - x0) * 1.6) < 1e-9);
    QCOMPARE((frame->AxisX()->min() + frame->AxisX()->max()) / 2, (x0 + x1) / 2);
  }

  void dragOnlyInMoveMode() {
    for (int i = 0; i < 50; ++i) points.AddWin();
    points.ShowChart();
    QWidget* surface = frame->Chart->viewport();
    const QPoint from = surface->rect().center();
    auto drag = [&] {
      QTest::mousePress(surface, Qt::LeftButton, {}, from);
      QTest::mouseMove(surface, from + QPoint(-60, 0));
      QTest::mouseRelease(surface, Qt::LeftButton, {}, from + QPoint(-60, 0));
    };
    const double before = frame->AxisX()->min();
    drag();
    QCOMPARE(frame->AxisX()->min(), before);
    QTest::mouseClick(frame->BtnMove, Qt::LeftButton);
    QVERIFY(frame->Panning());
    drag();
    QVERIFY(frame->AxisX()->min() > before);   // dragged to the left: later points come in
    QTest::mouseClick(frame->BtnMove, Qt::LeftButton);
    QVERIFY(!frame->Panning());
  }

  void depthIsDrawnOnlyWhenTicked() {
    for (int i = 0; i < 40; ++i) (i % 4 ? points.AddWin() : points.AddLose());
    points.ShowChart();
    QVERIFY(frame->Depth());
    const int deep = RibbonPixels(*frame);
    QVERIFY2(deep > 200, qPrintable(QString::number(deep)));
    QTest::mouseClick(frame->CheckBox3D, Qt::LeftButton, {}, QPoint(8, frame->CheckBox3D->height() / 2));
    QVERIFY(!frame->Depth());
    QCOMPARE(RibbonPixels(*frame), 0);
    QVERIFY(RedPixels(*frame) > 50);   // the same line, flat
  }

  void aLongRunFeedsTheVisiblePoints() {
    // 200,000 points: the line gets at most four per pixel column, the extremes kept.
    for (int i = 0; i < 200000; ++i) (i % 7 < 4 ? points.AddWin() : points.AddLose());
    points.AddLose();
    points.ShowChart();
    QCOMPARE(frame->Points().size(), qsizetype(200002));
    const int width = static_cast<int>(frame->Chart->chart()->plotArea().width());
    QVERIFY(frame->Series()->count() <= 4 * std::max(width, 200) + 2);
    QCOMPARE(frame->Series()->points().first(), QPointF(0, 0));
    QCOMPARE(frame->Series()->points().last(), frame->Points().last());
    double high = 0;
    for (const QPointF& p : frame->Points()) high = std::max(high, p.y());
    double shownHigh = 0;
    for (const QPointF& p : frame->Series()->points()) shownHigh = std::max(shownHigh, p.y());
    QCOMPARE(shownHigh, high);
    // Zoomed in far enough, every point of the visible part is on the line.
    frame->AxisX()->setRange(1000, 1100);
    QTRY_VERIFY(frame->Series()->count() >= 101 && frame->Series()->count() <= 103);
    QCOMPARE(frame->Series()->points()[1], frame->Points()[1000]);
  }

 private:
  WinLostChart points;
  std::unique_ptr<TFrameWinLostChart> frame;
};

QTEST_MAIN(ChartTest)
#include "TFrameChart_test.moc"
