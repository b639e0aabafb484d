// The room panels, the card pictures and the board dialogs, fed room lines as the
// dispatcher hands them over.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "../rooms/RoomTestKit.h"
#include "app/Workbench.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetMethodLoop.h"
#include "net/Board.h"
#include "net/CommaText.h"
#include "net/TFormBoard.h"
#include "roads/TFrameRoadSheet.h"
#include "rooms/GameRooms.h"
#include "rooms/QtCardPictures.h"
#include "rooms/QtCardTable.h"
#include "rooms/QtRoomHost.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRoomClientPractice.h"
#include "rooms/TFrameGameRooms.h"
#include "shoes/ShoesData.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

namespace {

QColor LampColour(QFrame* lamp) { return lamp->palette().color(QPalette::Window); }
QColor TextColour(QLabel* label) { return label->palette().color(QPalette::WindowText); }

QStringList Items(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Counts pixels that are clearly red and clearly dark.
std::pair<int, int> RedAndBlack(const QImage& image) {
  int red = 0, black = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (c.alpha() < 200) continue;
      if (c.red() > 150 && c.green() < 60 && c.blue() < 60) ++red;
      if (c.red() < 60 && c.green() < 60 && c.blue() < 60) ++black;
    }
  return {red, black};
}

std::string BoardReply(const std::vector<net::RecordFields>& rows) {
  net::StringList texts;
  for (const auto& row : rows) texts.push_back(net::EncodeRecord(row));
  return net::EncodeCommaText(texts);
}

}  // namespace

class GameRoomsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK TC"), 9)); }

  void init() {
    messages.clear();
    answer = true;
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return answer;
    });
    sent.clear();
    host = std::make_unique<QtRoomHost>();
    host->Connected = [this] { return connected; };
    host->Send = [this](const std::string& text) { sent.push_back(text); };
    host->Message = [this](const QString& text, const QColor& colour) { pane.emplace_back(text, colour); };
    strategies = std::make_unique<testing::FakeStrategies>(2);
    shoes = std::make_unique<ShoesData>();
    rooms = std::make_unique<GameRooms>(host.get(), strategies.get(), shoes.get());
    for (int i = 0; i < GameRooms::kBattleRooms; ++i)
      battle[i] = std::make_unique<TFrameGameRoomClientBattle>(rooms->Battle[i]);
    practice = std::make_unique<TFrameGameRoomClientPractice>(rooms->Practice);
    connected = true;
  }
  void cleanup() {
    practice.reset();
    for (auto& f : battle) f.reset();
    rooms.reset();
    SetMessageHook(nullptr);
  }

  void battleLinesReachLabelsListsLampAndRoads() {
    TFrameGameRoomClientBattle& f = *battle[0];
    Line("BATTLE", "TIMELEFT:12");
    QCOMPARE(f.LabelGameStatus->text(), QStringLiteral("剩餘下注時間:12秒"));
    QCOMPARE(LampColour(f.ShapeGameStatus), QColor(0, 0, 0));
    Line("BATTLE", "GAMESTATUS:GAMESTARTED");
    QCOMPARE(LampColour(f.ShapeGameStatus), QColor(0, 128, 0));
    Line("BATTLE", "GAMESTATUS:GAMEENDEDIN5SECOND");
    QCOMPARE(LampColour(f.ShapeGameStatus), QColor(255, 0, 0));
    Line("BATTLE", "GAMERESULT:B");
    QCOMPARE(f.LabelGameResult->text(), QStringLiteral("莊勝"));
    QCOMPARE(TextColour(f.LabelGameResult), QColor(255, 0, 0));
    Line("BATTLE", "GAMERESULT:P");
    QCOMPARE(TextColour(f.LabelGameResult), QColor(0, 0, 255));
    Line("BATTLE", "BANKERLIST:" + Utf8ToBig5("小明,阿華"));
    Line("BATTLE", "UTF8TIELIST:甲");
    Line("BATTLE", "CARDLEFT:A:31,B:30");
    QCOMPARE(Items(f.ListBoxBanker), (QStringList{QStringLiteral("小明"), QStringLiteral("阿華")}));
    QCOMPARE(Items(f.ListBoxTie), QStringList{QStringLiteral("甲")});
    QCOMPARE(f.ListBoxCardLeft->count(), 2);
    Line("BATTLE", "SHOERESULT:BBPPB");
    QCOMPARE(f.EditShoeResult->text(), QStringLiteral("BBPPB"));
    QCOMPARE(f.RoadSheet1->GetRoad(), &rooms->Battle[0].RoomRoad);
    QCOMPARE(f.RoadSheet2->GetRoad(), &rooms->Battle[0].RoomRoad);
    QVERIFY(!f.RoadSheet1->RoadData().empty());
    Line("BATTLE", "BET:600:0:300");
    QCOMPARE(f.LabelBankerBet->text(), QStringLiteral("600"));
    QCOMPARE(f.LabelTieBet->text(), QStringLiteral("300"));
    Line("BATTLE", "MESSAGE:" + Utf8ToBig5("公告"));
    QCOMPARE(pane.back().first, QStringLiteral("公告"));
    QCOMPARE(pane.back().second, QColor(255, 0, 255));
    // Another room's lines leave this one alone; UTF8SCORE reaches all five.
    Line("BATTLE2", "SCORE:7");
    QCOMPARE(battle[1]->BtnAnnounceScore->text(), QStringLiteral("成績:7"));
    QCOMPARE(f.BtnAnnounceScore->text(), QStringLiteral("成績:"));
    Line("BATTLE4", "UTF8SCORE:九");
    for (auto& b : battle) QCOMPARE(b->BtnAnnounceScore->text(), QStringLiteral("成績:九"));
  }

  void manualBetsAreValidatedFromTheAmountBoxes() {
    TFrameGameRoomClientBattle& f = *battle[2];
    Type(f.ComboBoxBankerBet, "310");
    QTest::mouseClick(f.BtnBet, Qt::LeftButton);
    QCOMPARE(messages, QStringList{QStringLiteral("下注莊的金額必須是20的倍數")});
    QVERIFY(sent.empty());
    Type(f.ComboBoxBankerBet, "0");
    Type(f.ComboBoxPlayerBet, "310");
    QTest::mouseClick(f.BtnBet, Qt::LeftButton);
    QCOMPARE(sent, std::vector<std::string>{"BATTLE3:BET:0:310:0"});
    // 250 and "abc": only the banker's message.
    Type(f.ComboBoxBankerBet, "250");
    Type(f.ComboBoxPlayerBet, "abc");
    QTest::mouseClick(f.BtnBet, Qt::LeftButton);
    QCOMPARE(messages.back(), QStringLiteral("下注莊的金額最少300"));
    // Cancel sends zeros and shows them; last bet brings back the 310.
    QTest::mouseClick(f.BtnCancelBet, Qt::LeftButton);
    QCOMPARE(sent.back(), std::string("BATTLE3:BET:0:0:0"));
    QCOMPARE(f.ComboBoxPlayerBet->currentText(), QStringLiteral("0"));
    QTest::mouseClick(f.BtnLastBet, Qt::LeftButton);
    QCOMPARE(f.ComboBoxPlayerBet->currentText(), QStringLiteral("0"));
    Line("BATTLE3", "RESETBET");
    QCOMPARE(f.ComboBoxBankerBet->currentText(), QStringLiteral("0"));
    // Logged out: nothing is sent.
    connected = false;
    std::size_t before = sent.size();
    QTest::mouseClick(f.BtnCancelBet, Qt::LeftButton);
    QTest::mouseClick(f.BtnBillboard, Qt::LeftButton);
    QCOMPARE(sent.size(), before);
  }

  void automaticBettingFromTheToggle() {
    TFrameGameRoomClientBattle& f = *battle[0];
    strategies->strategies[0].bets = {{'B', 400}, {'B', 300}};
    strategies->strategies[1].bets = {{'P', 100}, {'P', 300}};
    Line("BATTLE", "GAMESTATUS:GAMESTARTED");
    Line("BATTLE", "SHOERESULT:BPB");
    f.BtnAutoBet->click();
    QVERIFY(f.BtnAutoBet->isChecked());
    QVERIFY(!f.BtnBet->isEnabled());
    QCOMPARE(messages.size(), 1);   // the confirmation
    // Mid-shoe: B, P and B settled without bets, then the net 300 on the banker.
    QCOMPARE(strategies->strategies[0].settled, std::string("BPB"));
    QCOMPARE(sent, std::vector<std::string>{"BATTLE:BET:300:0:0"});
    // A second room is refused and its button pops up.
    battle[1]->BtnAutoBet->click();
    QVERIFY(!battle[1]->BtnAutoBet->isChecked());
    QCOMPARE(messages.back(), QStringLiteral("已有其他遊戲室佔用自動下注"));
    // Opposite bets: nothing sent, both settle.
    Line("BATTLE", "GAMERESULT:B");
    Line("BATTLE", "GAMESTATUS:GAMESTARTED");
    QCOMPARE(sent.size(), std::size_t{1});
    Line("BATTLE", "GAMERESULT:P");
    QCOMPARE(strategies->strategies[1].settledWithBet, std::string("BP"));
    // A net banker bet of 100 stops automatic betting.
    strategies->strategies[0].bets = {{'B', 400}};
    strategies->strategies[1].bets = {{'P', 300}};
    Line("BATTLE", "GAMESTATUS:GAMESTARTED");
    QCOMPARE(messages.back(), QStringLiteral("下注莊的金額最少300\n自動下注功能停止"));
    QVERIFY(!f.BtnAutoBet->isChecked());
    QVERIFY(f.BtnBet->isEnabled());
    QVERIFY(!strategies->held);
  }

  void cardsAreDealtEveryThirtyMilliseconds() {
    TFrameGameRoomClientBattle& f = *battle[0];
    Line("BATTLE", "CARDS:AB");
    QVERIFY(f.TimerShowCardAndResult->isActive());
    QCOMPARE(f.TimerShowCardAndResult->interval(), 30);
    for (int step = 0; step <= 3; ++step) f.TimerShowCardAndResultTimer();
    QCOMPARE(f.PanelCards->ImageCard[0]->pos(), QPoint(46, 84));
    QVERIFY(f.PanelCards->ImageCard[0]->isVisibleTo(&f));
    QVERIFY(!f.PanelCards->ImageCard[1]->isVisibleTo(&f));
    // The whole deal ends by itself at about 1.4 s.
    QTRY_VERIFY_WITH_TIMEOUT(!f.TimerShowCardAndResult->isActive(), 5000);
    QVERIFY(f.PanelCards->ImageCard[1]->isVisibleTo(&f));
    QCOMPARE(f.PanelCards->ImageCard[1]->pos(), QPoint(128, 104));
    QVERIFY(!f.PanelCards->ImageCard[2]->isVisibleTo(&f));
    QCOMPARE(f.PanelCards->ImageCard[0]->pixmap().toImage(), CardFacePicture(1).toImage());
    // A peek shows its card in the card window (here: recorded by a hook-less host).
    Line("BATTLE", "PEEK:");
    QVERIFY(messages.empty());
  }

  void cardPicturesAreLegibleAndColoured() {
    for (int n = 1; n <= 52; ++n) {
      QImage face = DrawCardFace(n);
      QCOMPARE(face.size(), QSize(71, 96));
      auto [red, black] = RedAndBlack(face);
      if (CardIsRed(n))
        QVERIFY2(red > 150, qPrintable(QString::number(n)));
      else
        QVERIFY2(black > 150 && red == 0, qPrintable(QString::number(n)));
    }
    QVERIFY(DrawCardFace(1) != DrawCardFace(2));
    QImage back = DrawCardBack();
    QCOMPARE(back.size(), QSize(71, 96));
    QColor middle = back.pixelColor(35, 48);
    QVERIFY(middle.blue() > middle.red());
  }

  void practiceRoomShowsGuessCounts() {
    TFrameGameRoomClientPractice& f = *practice;
    Line("PRACTICE", "SCORE:12:5");
    QCOMPARE(f.LabelGuessWin->text(), QStringLiteral("12"));
    QCOMPARE(f.LabelGuessLost->text(), QStringLiteral("5"));
    Line("PRACTICE", "BET:300:0:0");
    Line("PRACTICE", "MESSAGE:hi");
    QCOMPARE(pane.back().second, QColor(0, 128, 0));
    connected = false;
    QTest::mouseClick(f.BtnGuessBanker, Qt::LeftButton);
    QVERIFY(sent.empty());
    QVERIFY(messages.empty());
    connected = true;
    QTest::mouseClick(f.BtnGuessBanker, Qt::LeftButton);
    QTest::mouseClick(f.BtnGuessPlayer, Qt::LeftButton);
    QCOMPARE(sent, (std::vector<std::string>{"PRACTICE:GUESS:B", "PRACTICE:GUESS:P"}));
  }

  void boardDialogsShowTheirLists() {
    net::Boards boards;
    boards.HandleReply("BILLBOARD", BoardReply({{{"NickName", Utf8ToBig5("小明")}, {"Profit", "1500"}},
                                                {{"NickName", "Bob"}, {"Turnover", "9000"}}}));
    TFormBillboard dialog(boards.Billboard);
    dialog.ShowBoard();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("排行榜"));
    QCOMPARE(dialog.size(), QSize(698, 254));
    QCOMPARE(dialog.ListView->columnCount(), 8);
    QCOMPARE(dialog.ListView->headerItem()->text(1), QStringLiteral("名稱"));
    QCOMPARE(dialog.ListView->topLevelItemCount(), 2);
    QTreeWidgetItem* first = dialog.ListView->topLevelItem(0);
    QCOMPARE(first->text(0), QStringLiteral("1"));
    QCOMPARE(first->text(1), QStringLiteral("小明"));
    QCOMPARE(first->text(2), QStringLiteral("1500"));
    QVERIFY(first->textAlignment(2) & Qt::AlignRight);
    QVERIFY(first->textAlignment(1) & Qt::AlignLeft);
    QCOMPARE(dialog.ListView->topLevelItem(1)->text(2), QString());
    boards.HandleReply("UTF8LEVELBOARD", BoardReply({{{"UTF8NickName", "勇者"}, {"Lvl", "9"}, {"Exp", "10"}}}));
    TFormLevelboard level(boards.Levelboard);
    QCOMPARE(level.size(), QSize(365, 254));
    QCOMPARE(level.ListView->topLevelItem(0)->text(1), QStringLiteral("勇者"));
  }

  void gameRoomPageBetsOverTheWorkbench() {
    Workbench bench;
    Strategy& s = bench.CreateStrategy("s", BetMethod::kLoop, BetAmount::kFlat);
    static_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent())->LoopText = "P";
    static_cast<BetAmountFlat*>(s.FrameBetAmount.CurrentComponent())->FlatBet = 500;
    bool locked = false;
    bench.OnAutoBetLock = [&](bool on) { locked = on; };
    TFrameGameRooms page(bench);
    std::vector<std::string> lines;
    page.Host().Connected = [] { return true; };
    page.Host().Send = [&](const std::string& text) { lines.push_back(text); };
    QCOMPARE(page.PageControlGameRoom->count(), 6);
    QCOMPARE(page.PageControlGameRoom->tabText(page.PageControlGameRoom->currentIndex()), QStringLiteral("戰場"));
    QCOMPARE(page.FrameGameRoomClientBattle[2]->objectName(), QStringLiteral("FrameGameRoomClientBattle3"));

    QVERIFY(page.HandleLine("BATTLE2", "GAMESTATUS:SHOENOTSTARTED"));
    QVERIFY(!page.HandleLine("CHAT", "x"));
    page.FrameGameRoomClientBattle[1]->BtnAutoBet->click();
    QVERIFY(locked);
    QCOMPARE(bench.AutoBetHolder(), std::string("BATTLE2"));
    page.HandleLine("BATTLE2", "GAMESTATUS:GAMESTARTED");
    QCOMPARE(lines, std::vector<std::string>{"BATTLE2:BET:0:500:0"});
    page.HandleLine("BATTLE2", "GAMERESULT:P");
    QCOMPARE(s.AccProfit, 500.0);
    page.FrameGameRoomClientBattle[0]->BtnAutoBet->click();
    QCOMPARE(messages.back(), QStringLiteral("已有其他遊戲室佔用自動下注"));
    page.FrameGameRoomClientBattle[1]->BtnAutoBet->click();
    QVERIFY(!locked);
    QVERIFY(!bench.Shoes().BatchRunning);
    page.HandleLine("PRACTICE", "SCORE:3:1");
    QCOMPARE(page.FrameGameRoomClientPractice->LabelGuessWin->text(), QStringLiteral("3"));
  }

  // What fails behind a room's button or line is shown in the error box and the room
  // goes on; automatic betting that stops on a refused bet stops even when a strategy
  // fails to finish.
  void failuresAreShownAndAutomaticBettingStillStops() {
    host->Send = [](const std::string&) { throw std::runtime_error("連線中斷"); };
    TFrameGameRoomClientBattle& b = *battle[0];
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             b.BtnAnnounceScore, b.BtnBillboard, b.BtnVictor, b.BtnPeek1, practice->BtnGuessBanker,
             practice->BtnGuessPlayer, practice->BtnAnnounceScore, practice->btnPeek1})
      button->click();
    QCOMPARE(messages, QStringList(8, QStringLiteral("連線中斷")));
    messages.clear();

    Workbench bench;
    Strategy& s = bench.CreateStrategy("s", BetMethod::kLoop, BetAmount::kFlat);
    static_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent())->LoopText = "B";
    static_cast<BetAmountFlat*>(s.FrameBetAmount.CurrentComponent())->FlatBet = 100;
    s.OnFinishAnalysis = [] { throw std::runtime_error("策略無法完成"); };
    TFrameGameRooms page(bench);
    page.Host().Connected = [] { return true; };
    page.Host().Send = [](const std::string&) {};
    TFrameGameRoomClientBattle& room = *page.FrameGameRoomClientBattle[0];
    QVERIFY(page.HandleLine("BATTLE", "GAMESTATUS:SHOENOTSTARTED"));
    room.BtnAutoBet->click();
    QVERIFY(bench.AutoBetting());
    // The net bet of 100 on the banker is refused: the room stops, says so, and then
    // shows the strategy's error.
    QVERIFY(page.HandleLine("BATTLE", "GAMESTATUS:GAMESTARTED"));
    QCOMPARE(messages.mid(1), (QStringList{QStringLiteral("下注莊的金額最少300\n自動下注功能停止"),
                                           QStringLiteral("策略無法完成")}));
    QVERIFY(!room.BtnAutoBet->isChecked());
    QVERIFY(room.BtnBet->isEnabled());
    QVERIFY(!bench.AutoBetting());
    QVERIFY(!bench.Shoes().BatchRunning);
    // The next shoe is no longer followed, and the lines go on.
    QVERIFY(page.HandleLine("BATTLE", "GAMESTATUS:SHOENOTSTARTED"));
    QVERIFY(!room.Room().AutoBetActive);
    QVERIFY(page.HandleLine("BATTLE", "TIMELEFT:5"));
    QCOMPARE(room.LabelGameStatus->text(), QStringLiteral("剩餘下注時間:5秒"));
  }

  // The board pictures for the README when ZAVUV_SCREENSHOTS names a folder (the room
  // pictures come from a live game: RoomsEndToEnd_test).
  void screenshots() {
    QString dir = qEnvironmentVariable("ZAVUV_SCREENSHOTS");
    if (dir.isEmpty()) QSKIP("set ZAVUV_SCREENSHOTS to a folder to take the pictures");
    net::Boards boards;
    boards.HandleReply("UTF8BILLBOARD",
                       BoardReply({{{"UTF8NickName", "小明"}, {"Profit", "12500"}, {"Turnover", "310000"},
                                    {"TotalWin", "48"}, {"TotalLoss", "31"}, {"Peak", "15000"}, {"Valley", "-2400"}},
                                   {{"UTF8NickName", "阿華"}, {"Profit", "8200"}, {"Turnover", "150000"},
                                    {"TotalWin", "30"}, {"TotalLoss", "22"}, {"Peak", "9000"}, {"Valley", "-600"}},
                                   {{"UTF8NickName", "Kim"}, {"Profit", "-300"}, {"Turnover", "45000"},
                                    {"TotalWin", "12"}, {"TotalLoss", "14"}, {"Peak", "2000"}, {"Valley", "-3100"}}}));
    boards.HandleReply("UTF8LEVELBOARD", BoardReply({{{"UTF8NickName", "小明"}, {"Lvl", "12"}, {"Exp", "5400"}},
                                                     {{"UTF8NickName", "阿華"}, {"Lvl", "9"}, {"Exp", "3020"}},
                                                     {{"UTF8NickName", "Kim"}, {"Lvl", "4"}, {"Exp", "610"}}}));
    TFormBillboard billboard(boards.Billboard);
    billboard.show();
    TFormLevelboard levelboard(boards.Levelboard);
    levelboard.show();
    QTest::qWait(50);
    QVERIFY(billboard.grab().save(dir + "/ranking-board.png"));
    QVERIFY(levelboard.grab().save(dir + "/level-board.png"));
  }

 private:
  void Line(const char* room, const std::string& text) { QVERIFY(rooms->HandleLine(room, text)); }
  void Type(QComboBox* box, const char* text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QString::fromLatin1(text));
  }

  QStringList messages;
  bool answer = true;
  bool connected = true;
  std::vector<std::string> sent;
  std::vector<std::pair<QString, QColor>> pane;
  std::unique_ptr<QtRoomHost> host;
  std::unique_ptr<testing::FakeStrategies> strategies;
  std::unique_ptr<ShoesData> shoes;
  std::unique_ptr<GameRooms> rooms;
  std::unique_ptr<TFrameGameRoomClientBattle> battle[GameRooms::kBattleRooms];
  std::unique_ptr<TFrameGameRoomClientPractice> practice;
};

QTEST_MAIN(GameRoomsTest)
#include "GameRooms_test.moc"
