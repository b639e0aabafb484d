// 問路 beside the main road sheet follows the current shoe.
#include <QTabWidget>
#include <QTest>

#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFrameRoads.h"
#include "roads/QtAskRoad.h"
#include "table/QtNavigator.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

class AskRoadTest : public QObject {
  Q_OBJECT

 private slots:
  void followsTheCurrentShoe() {
    SetMessageHook([](MessageKind, const QString&) { return true; });
    TFormDaruvedaZizeveva window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl1->setCurrentWidget(window.TabSheetRoad);
    QtAskRoad* ask = window.FrameRoads->PanelAskRoad;
    QVERIFY(ask->isVisibleTo(&window));
    QCOMPARE(ask->Marks(), AskRoadMarks{});
    // B P BB P, worked out by hand: banker blue, red, red; player red, blue, blue.
    window.Shoes().AppendShoe({"S1", "BPBBP", ""});
    QCOMPARE(ask->Marks().Banker, (std::array<char, 3>{'P', 'B', 'B'}));
    QCOMPARE(ask->Marks().Player, (std::array<char, 3>{'B', 'P', 'P'}));
    // Another shoe, another road.
    window.Shoes().AppendShoe({"S2", "BBPP", ""});
    QCOMPARE(ask->Marks().Banker, (std::array<char, 3>{'B', ' ', ' '}));
    window.Shoes().Table().First();
    QCOMPARE(ask->Marks().Player, (std::array<char, 3>{'B', 'P', 'P'}));
    // Red and blue are drawn.
    const QImage image = ask->grab().toImage();
    int red = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        blue += c.blue() > 180 && c.red() < 80 && c.green() < 80;
      }
    QVERIFY(red > 20);
    QVERIFY(blue > 20);
    // The window closes without a question here: discard.
    SetMessageHook(nullptr);
    window.Shoes().MarkUnchanged();
  }
};

QTEST_MAIN(AskRoadTest)
#include "AskRoad_test.moc"
