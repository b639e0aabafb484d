// The rooms' texts in the window as it opens: every label shows the server's text as
// plain text, and every text a label, button or list of the rooms can show fits in it.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <map>

#include "app/TFormDaruvedaZizeveva.h"
#include "net/CommaText.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRoomClientPractice.h"
#include "rooms/TFrameGameRooms.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

namespace {

// The texts that labels and buttons show besides the one they start with: what the
// server's rooms send (the longest of each kind).
const std::map<QString, QStringList>& ChangingTexts() {
  static const std::map<QString, QStringList> texts = {
      {QStringLiteral("LabelGameStatus"),
       {QStringLiteral("剩餘下注時間:99秒"), QStringLiteral("停止下注"), QStringLiteral("本局已完, 下一局即將開始"),
        QStringLiteral("本靴最後一局已完"), QStringLiteral("洗牌中, 新一靴即將開始")}},
      {QStringLiteral("LabelGameResult"), {QStringLiteral("莊勝"), QStringLiteral("閒勝"), QStringLiteral("和")}},
      {QStringLiteral("LabelBankerBet"), {QStringLiteral("40000")}},
      {QStringLiteral("LabelPlayerBet"), {QStringLiteral("40000")}},
      {QStringLiteral("LabelTieBet"), {QStringLiteral("5000")}},
      {QStringLiteral("LabelGuessWin"), {QStringLiteral("100")}},
      {QStringLiteral("LabelGuessLost"), {QStringLiteral("100")}},
      {QStringLiteral("BtnAnnounceScore"), {QStringLiteral("成績:-12,345,678.95")}},
  };
  return texts;
}

// A full shoe's cards left, as the server lists them.
std::string CardLeftLine() {
  net::StringList items;
  for (const char* rank : {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"})
    items.push_back(std::string(rank) + ": 32");
  items.push_back("合計: 416");
  return "UTF8CARDLEFT:" + net::EncodeCommaText(items);
}

QWidget* RoomFrame(TFrameGameRooms& rooms, int tab) {
  if (tab == 0) return rooms.FrameGameRoomClientPractice;
  return rooms.FrameGameRoomClientBattle[tab - 1];
}

}  // namespace

class RoomTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The program's fonts.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans CJK TC")});
    QApplication::setFont(font);
    SetMessageHook([](MessageKind, const QString&) { return false; });
  }
  void cleanupTestCase() { SetMessageHook(nullptr); }

  void everyRoomTextFitsAtTheStartSizeAndLarger() {
    TFormDaruvedaZizeveva window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize start = window.size();
    QCOMPARE(start, QSize(793, 533));
    window.PageControl1->setCurrentWidget(window.TabSheetGameRoom);
    TFrameGameRooms& rooms = *window.FrameGameRooms;
    for (const char* room : {"PRACTICE", "BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"})
      QVERIFY(rooms.HandleLine(room, CardLeftLine()));
    QStringList faults, markup;
    for (QSize size : {start, QSize(1600, 1000)}) {
      window.resize(size);
      for (int tab = 0; tab < rooms.PageControlGameRoom->count(); ++tab) {
        rooms.PageControlGameRoom->setCurrentIndex(tab);
        QTest::qWait(20);
        QWidget* frame = RoomFrame(rooms, tab);
        const QString where = QStringLiteral("%1x%2 %3 ").arg(size.width()).arg(size.height()).arg(frame->objectName());
        int measured = 0;
        for (QLabel* label : frame->findChildren<QLabel*>()) {
          if (!label->isVisible()) continue;
          QStringList texts = ChangingTexts().count(label->objectName()) ? ChangingTexts().at(label->objectName())
                                                                         : QStringList();
          if (!label->text().isEmpty()) texts << label->text();
          if (texts.isEmpty()) continue;   // a picture
          if (label->textFormat() != Qt::PlainText) markup << where + label->objectName() + QLatin1Char('"') + label->text() + QLatin1Char('"');
          const QFontMetrics metrics(label->font());
          for (const QString& text : texts) {
            ++measured;
            const int width = metrics.horizontalAdvance(text);
            if (width > label->contentsRect().width())
              faults << where + QStringLiteral("%1: \"%2\" needs %3 of %4")
                                    .arg(label->objectName(), text)
                                    .arg(width)
                                    .arg(label->contentsRect().width());
          }
        }
        for (QAbstractButton* button : frame->findChildren<QAbstractButton*>()) {
          if (!button->isVisible()) continue;
          const QString shown = button->text();
          QStringList texts{shown};
          if (ChangingTexts().count(button->objectName())) texts << ChangingTexts().at(button->objectName());
          for (const QString& text : texts) {
            ++measured;
            button->setText(text);
            if (button->sizeHint().width() > button->width())
              faults << where + QStringLiteral("%1: \"%2\" needs %3 of %4")
                                    .arg(button->objectName(), text)
                                    .arg(button->sizeHint().width())
                                    .arg(button->width());
          }
          button->setText(shown);
        }
        auto* cardLeft = frame->findChild<QListWidget*>(QStringLiteral("ListBoxCardLeft"));
        QCOMPARE(cardLeft->count(), 14);
        // All thirteen ranks and the total, whole, without scrolling the list.
        for (QScrollBar* bar : {cardLeft->horizontalScrollBar(), cardLeft->verticalScrollBar()})
          if (bar->maximum() > 0) faults << where + QStringLiteral("ListBoxCardLeft scrolls by %1").arg(bar->maximum());
        QVERIFY(measured > 10);
      }
    }
    for (const QString& fault : faults) qWarning().noquote() << "too narrow:" << fault;
    for (const QString& label : markup) qWarning().noquote() << "reads markup:" << label;
    QVERIFY(faults.isEmpty());
    QVERIFY(markup.isEmpty());
  }

  // Markup in a room text is shown as its characters, never read.
  void serverTextsAreShownExactlyAsSent() {
    TFormDaruvedaZizeveva window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl1->setCurrentWidget(window.TabSheetGameRoom);
    TFrameGameRooms& rooms = *window.FrameGameRooms;
    TFrameGameRoomClientBattle& battle = *rooms.FrameGameRoomClientBattle[0];
    TFrameGameRoomClientPractice& practice = *rooms.FrameGameRoomClientPractice;
    const QString fake = QStringLiteral("<font color=red size=7>系統訊息</font>");
    const QString image = QStringLiteral("<img src=\"file:///etc/hostname\">");
    rooms.HandleLine("BATTLE", "UTF8STATUS:" + fake.toStdString());
    rooms.HandleLine("BATTLE", "BET:<b>1</b>:<i>2</i>:" + image.toStdString());
    rooms.HandleLine("PRACTICE", "SCORE:&lt;:<");
    rooms.HandleLine("BATTLE", "UTF8SCORE:R&D");
    const std::vector<std::pair<QLabel*, QString>> shown = {
        {battle.LabelGameStatus, fake},           {battle.LabelBankerBet, QStringLiteral("<B>1</B>")},
        {battle.LabelPlayerBet, QStringLiteral("<I>2</I>")}, {battle.LabelTieBet, image},
        {practice.LabelGuessWin, QStringLiteral("&LT;")},    {practice.LabelGuessLost, QStringLiteral("<")}};
    for (const auto& [label, text] : shown) {
      QCOMPARE(label->text(), text);
      // Every character is laid out: a label that read the markup would need less room.
      QVERIFY2(label->sizeHint().width() >= QFontMetrics(label->font()).horizontalAdvance(text),
               qPrintable(label->objectName()));
    }
    // "&&" is how a button shows one "&".
    for (auto* b : rooms.FrameGameRoomClientBattle) QCOMPARE(b->BtnAnnounceScore->text(), QStringLiteral("成績:R&&D"));
  }
};

QTEST_MAIN(RoomTextsTest)
#include "RoomTexts_test.moc"
