// The road sheet's drawing, checked on the painted pixels.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include "roads/TFrameRoadSheet.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

namespace {

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
bool IsBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80; }
bool IsWhite(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }
bool IsGrid(QRgb c) { return qRed(c) == 192 && qGreen(c) == 192 && qBlue(c) == 192; }
bool IsDark(QRgb c) { return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100; }

// Dark (tie stroke) pixels inside the cell at column cx, row cy.
int DarkPixels(const QImage& image, int s, int cx, int cy) {
  int n = 0;
  for (int y = cy * s + 1; y < (cy + 1) * s - 1; ++y)
    for (int x = cx * s + 1; x < (cx + 1) * s - 1; ++x)
      if (IsDark(image.pixel(x, y))) ++n;
  return n;
}

// The ring's left edge and its centre.
QRgb RingEdge(const QImage& image, int s, int cx, int cy) {
  return image.pixel(cx * s + 2, cy * s + s / 2);
}
QRgb CellCentre(const QImage& image, int s, int cx, int cy) {
  return image.pixel(cx * s + s / 2, cy * s + s / 2);
}

}  // namespace

class TFrameRoadSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    road = std::make_unique<TRoad>();
    road->SetAutoRedraw(true);
    sheet = std::make_unique<TFrameRoadSheet>();
    sheet->SetZoom(5, 30, 18);
    sheet->SetRoad(road.get());
  }
  void cleanup() {
    sheet.reset();
    road.reset();
  }

  void emptyRoadIsTheBareGrid() {
    road->SetResult("");
    const QImage& image = sheet->Picture();
    QCOMPARE(image.size(), QSize(800, 500));
    QCOMPARE(sheet->RoadData(), std::string());
    QVERIFY(IsWhite(image.pixel(9, 9)));
    QVERIFY(IsGrid(image.pixel(5, 18)));     // horizontal line y = s
    QVERIFY(IsGrid(image.pixel(18, 5)));     // vertical line x = s
    // Every sixth line is two pixels wide, the others one.
    int thick = 0, thin = 0;
    for (int y = 6 * 18 - 2; y <= 6 * 18 + 2; ++y) thick += IsGrid(image.pixel(5, y));
    for (int y = 5 * 18 - 2; y <= 5 * 18 + 2; ++y) thin += IsGrid(image.pixel(5, y));
    QCOMPARE(thick, 2);
    QCOMPARE(thin, 1);
    for (int x = 0; x < image.width(); x += 7)
      for (int y = 0; y < image.height(); y += 5) QVERIFY(IsWhite(image.pixel(x, y)) || IsGrid(image.pixel(x, y)));
  }

  void bigRoadRingsAndTieStrokes() {
    const int s = 18;
    road->SetResult("BTTTTB");
    QImage fourTies = sheet->Picture();
    QVERIFY(sheet->IsBigRoad());
    QVERIFY(IsRed(RingEdge(fourTies, s, 0, 0)));
    QVERIFY(IsRed(RingEdge(fourTies, s, 0, 1)));
    QVERIFY(IsWhite(CellCentre(fourTies, s, 0, 1)));   // a ring, white inside
    QVERIFY(DarkPixels(fourTies, s, 0, 0) > 0);
    QCOMPARE(DarkPixels(fourTies, s, 0, 1), 0);
    QVERIFY(IsWhite(CellCentre(fourTies, s, 1, 0)));   // one column only
    // Strokes stack up to three; the fourth tie adds nothing.
    road->SetResult("BTTTB");
    QCOMPARE(sheet->Picture(), fourTies);
    road->SetResult("BTTB");
    int two = DarkPixels(sheet->Picture(), s, 0, 0);
    road->SetResult("BTB");
    int one = DarkPixels(sheet->Picture(), s, 0, 0);
    QVERIFY(one > 0);
    QVERIFY(two > one);
    QVERIFY(DarkPixels(fourTies, s, 0, 0) > two);

    // Ties before the first result are not shown.
    road->SetResult("TTB");
    QImage ttb = sheet->Picture();
    road->SetResult("B");
    QCOMPARE(ttb, sheet->Picture());
    QVERIFY(IsRed(RingEdge(ttb, s, 0, 0)));

    // A change of side opens a new column; player rings are blue.
    road->SetResult("BPPB");
    QImage image = sheet->Picture();
    QVERIFY(IsBlue(RingEdge(image, s, 1, 0)));
    QVERIFY(IsBlue(RingEdge(image, s, 1, 1)));
    QVERIFY(IsRed(RingEdge(image, s, 2, 0)));
  }

  void longRunGrowsTheSurface() {
    const int s = 18;
    road->SetResult(std::string(40, 'B'));
    const QImage& image = sheet->Picture();
    QVERIFY(image.height() >= 40 * s);
    QCOMPARE(image.width(), 800);
    for (int row = 0; row < 40; ++row) {
      QVERIFY2(IsRed(RingEdge(image, s, 0, row)), qPrintable(QString::number(row)));
      QVERIFY(IsWhite(CellCentre(image, s, 0, row)));
    }
    // The whole lowest ring fits: its bottom edge is drawn.
    QVERIFY(IsRed(image.pixel(s / 2, 39 * s + s - 2)));
    road->SetResult("B");
    QCOMPARE(sheet->Picture().size(), QSize(800, 500));
  }

  void derivedRoadDiscs() {
    const int s = 12;
    sheet->SetZoom(5, 30, s);
    road->SetResult("BBPPBPPPB");   // big eye boy BBPPBP
    sheet->ComboBoxRoad->setCurrentText(QStringLiteral("大眼仔"));
    QCOMPARE(sheet->RoadData(), std::string("BBPPBP"));
    QVERIFY(!sheet->IsBigRoad());
    const QImage& image = sheet->Picture();
    QVERIFY(IsRed(CellCentre(image, s, 0, 0)));   // discs are filled
    QVERIFY(IsRed(CellCentre(image, s, 0, 1)));
    QVERIFY(IsBlue(CellCentre(image, s, 1, 0)));
    QVERIFY(IsBlue(CellCentre(image, s, 1, 1)));
    QVERIFY(IsRed(CellCentre(image, s, 2, 0)));
    QVERIFY(IsBlue(CellCentre(image, s, 3, 0)));
    QVERIFY(IsWhite(CellCentre(image, s, 4, 0)));
  }

  void beadRoadUsesItsSettings() {
    const int s = 18;
    RoadSettings settings;
    settings.beads[1] = 2;
    sheet->SetRoadSettings(&settings);
    road->SetResult("BTPP");
    sheet->ComboBoxRoad->setCurrentText(QStringLiteral("珠路2"));
    QVERIFY(sheet->IsBeadRoad());
    QCOMPARE(sheet->RoadData(), std::string("BT/PP"));
    QImage image = sheet->Picture();
    QVERIFY(IsRed(RingEdge(image, s, 0, 0)));
    QVERIFY(IsWhite(CellCentre(image, s, 0, 0)));
    QVERIFY(IsDark(CellCentre(image, s, 0, 1)));      // the tie's diagonal
    QVERIFY(IsBlue(RingEdge(image, s, 1, 0)));
    QVERIFY(IsBlue(RingEdge(image, s, 1, 1)));
    settings.ignoreTies[1] = true;
    sheet->RefreshIfShowing(QStringLiteral("珠路1"));   // not shown: nothing changes
    QCOMPARE(sheet->RoadData(), std::string("BT/PP"));
    sheet->RefreshIfShowing(QStringLiteral("珠路2"));
    QCOMPARE(sheet->RoadData(), std::string("BP/P"));
  }

  void zoomRedrawsWithoutAskingTheRoad() {
    road->SetResult("BBP");
    road->SetAutoRedraw(false);
    road->SetResult("PPPPP");                        // the sheet is not told
    sheet->TrackBar->setValue(25);
    QCOMPARE(sheet->CellSize(), 25);
    QCOMPARE(sheet->RoadData(), std::string("BBP"));
    QVERIFY(IsRed(RingEdge(sheet->Picture(), 25, 0, 1)));
    QVERIFY(IsBlue(RingEdge(sheet->Picture(), 25, 1, 0)));
    // Changing the selector asks the road again.
    sheet->ComboBoxRoad->setCurrentIndex(4);
    sheet->ComboBoxRoad->setCurrentIndex(0);
    QCOMPARE(sheet->RoadData(), std::string("PPPPP"));
  }

  void attachingAndTheDefaultRoad() {
    TRoad other;
    sheet->SetRoad(&other);
    QCOMPARE(road->Sheets().size(), std::size_t(0));
    QCOMPARE(other.Sheets().size(), std::size_t(1));
    sheet->SetRoad(nullptr);
    QCOMPARE(other.Sheets().size(), std::size_t(0));
    TFrameRoadSheet::SetDefaultRoad(road.get());
    QCOMPARE(sheet->GetRoad(), road.get());
    road->SetAutoRedraw(false);
    road->SetResult("PB");
    sheet->Refresh();
    QCOMPARE(sheet->RoadData(), std::string("PB"));
    TFrameRoadSheet::SetDefaultRoad(nullptr);
  }

  void doubleClickCopies() {
    QStringList messages;
    SetMessageHook([&](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    road->SetResult("BP");
    QApplication::clipboard()->clear();
    QTest::mouseDClick(sheet->Image, Qt::LeftButton);
    QCOMPARE(messages, QStringList{QStringLiteral("已複製")});
    QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.size(), sheet->Picture().size());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), sheet->Picture());
    SetMessageHook(nullptr);
  }

 private:
  std::unique_ptr<TRoad> road;
  std::unique_ptr<TFrameRoadSheet> sheet;
};

QTEST_MAIN(TFrameRoadSheetTest)
#include "TFrameRoadSheet_test.moc"
