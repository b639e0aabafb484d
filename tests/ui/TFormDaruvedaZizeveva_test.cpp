// The main window driven through its real widgets on the offscreen platform.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "app/QtUiDump.h"
#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFormExportShoesData.h"
#include "app/QtServerClient.h"
#include "app/TFrameAccount.h"
#include "net/CommaText.h"
#include "net/TFormBoard.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRoomClientPractice.h"
#include "rooms/TFrameGameRooms.h"
#include <QLabel>
#include <QTreeWidget>
#include "roads/TFrameRoadSheet.h"
#include "stats/TFrameContinuous.h"
#include "stats/TFrameShoeStats.h"
#include "table/Big5.h"
#include "table/QtDBMemo.h"
#include "widgets/QtMessages.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"

using namespace zavuv;

namespace {

// Whether the sheet's view shows its newest entry whole.
bool ShowsNewest(const TFrameRoadSheet* sheet) {
  const QScrollArea* box = sheet->ScrollBox;
  const QRect view(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value(),
                   box->viewport()->width(), box->viewport()->height());
  return view.contains(sheet->NewestCell());
}

void Find(const QJsonObject& o, const QString& name, QList<QJsonObject>& out) {
  if (o[QStringLiteral("objectName")].toString() == name) out << o;
  for (const QJsonValue& c : o[QStringLiteral("children")].toArray()) Find(c.toObject(), name, out);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The program's own font, so that sizes come out as the user sees them.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans CJK TC")});
    QApplication::setFont(font);
  }
  void init() {
    messages.clear();
    nextFile.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    SetFileHook([this](bool, const QString& filter, const QString&) {
      filters << filter;
      return nextFile;
    });
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() {
    window.reset();
    SetMessageHook(nullptr);
    SetFileHook(nullptr);
  }

  void startUpState() {
    QCOMPARE(window->windowTitle(), QStringLiteral("zavuv"));
    QCOMPARE(window->PageControl1->currentWidget(), window->TabSheetForum);
    QCOMPARE(window->PageControlGameRoom->tabText(window->PageControlGameRoom->currentIndex()), QStringLiteral("戰場"));
    QVERIFY(!window->PageControl1->isTabVisible(window->PageControl1->indexOf(window->TabSheetShare)));
    QStringList captions;
    for (int i = 0; i < window->PageControl1->count(); ++i) captions << window->PageControl1->tabText(i);
    QCOMPARE(captions, (QStringList{"路紙", "統計", "策略", "多重策略分析結果", "分享下載", "討論區", "遊樂場", "系統設定"}));
    QVERIFY(window->Shoes().Table().IsEmpty());
    QCOMPARE(window->FrameShoeStrip->DBGridShoesData->model()->rowCount(), 0);
    QVERIFY(window->DisplayRoad().AutoRedraw());
    QCOMPARE(window->MainRoadSheet->ComboBoxRoad->count(), 1);
    QCOMPARE(window->MainRoadSheet->CellSize(), 18);
    QCOMPARE(window->MinorRoadSheet1->ComboBoxRoad->currentText(), QStringLiteral("大眼仔"));
    QCOMPARE(window->MinorRoadSheet2->ComboBoxRoad->currentText(), QStringLiteral("小路"));
    QCOMPARE(window->MinorRoadSheet3->ComboBoxRoad->currentText(), QStringLiteral("蟑螂路"));
    QCOMPARE(window->MinorRoadSheet1->ComboBoxRoad->count(), 6);
    QCOMPARE(window->MinorRoadSheet2->CellSize(), 12);
    for (TFrameRoadSheet* sheet : {window->MainRoadSheet, window->MinorRoadSheet1, window->MinorRoadSheet2,
                                   window->MinorRoadSheet3})
      QCOMPARE(sheet->RoadData(), std::string());
    QCOMPARE(window->FrameShoeStats->EditNoOfBanker->text(), QStringLiteral("0"));
    QCOMPARE(window->FrameShoeStats->EditB_Ratio->text(), QString());
    QVERIFY(window->FrameShoeStats->CheckBoxStatEach->isChecked());
    QCOMPARE(window->FrameShoeStrip->DBNavigatorShoesData->ButtonOf(QtNavigator::Insert)->toolTip(), QStringLiteral("插入新靴記錄"));
    QCOMPARE(window->FrameShoeStrip->DBNavigatorShoesData->ButtonOf(QtNavigator::Cancel)->toolTip(), QStringLiteral("取消編輯中記錄"));
    QCOMPARE(window->FrameShoeStrip->BtnMergeData->toolTip(), QStringLiteral("讀入靴資料, 合併到現時資料之後面"));
    QCOMPARE(window->PanelConnectServer->width(), 169);
    // The start size holds: no page asks for more room than the window has.
    QCOMPARE(window->size(), QSize(793, 533));
    QVERIFY(window->minimumSizeHint().width() <= 793);
    QCOMPARE(window->PanelShoesData->height(), 125);
    QVERIFY(window->BtnConnect->isEnabled());
    QVERIFY(window->EditMessage->isEnabled());
    QVERIFY(window->TimerGetMessage->isActive());
    QCOMPARE(window->TimerGetMessage->interval(), 500);
  }

  void insertBlanksRoadsAndStatsUntilPost() {
    ShoesData& shoes = window->Shoes();
    shoes.AppendShoe({"S1", "BBPTB", ""});
    shoes.Table().First();
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string("BBPTB"));
    QCOMPARE(window->FrameShoeStats->EditNoOfBanker->text(), QStringLiteral("3"));
    QCOMPARE(window->FrameShoeStats->EditNoOfTie->text(), QStringLiteral("1"));
    QCOMPARE(window->FrameShoeStats->EditB_Ratio->text(), QStringLiteral("75%"));

    QTest::mouseClick(window->FrameShoeStrip->DBNavigatorShoesData->ButtonOf(QtNavigator::Insert), Qt::LeftButton);
    QCOMPARE(shoes.Table().State(), DataSetState::Insert);
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string());
    QCOMPARE(window->MinorRoadSheet1->RoadData(), std::string());
    QCOMPARE(window->FrameShoeStats->EditNoOfBanker->text(), QStringLiteral("0"));
    QCOMPARE(window->FrameShoeStats->EditB_Ratio->text(), QString());

    // Typing into the grid changes nothing shown until the post, which normalises.
    QAbstractItemModel* model = window->FrameShoeStrip->DBGridShoesData->model();
    QVERIFY(model->setData(model->index(0, 1), QStringLiteral("p,p t b")));
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string());
    QTest::mouseClick(window->FrameShoeStrip->DBNavigatorShoesData->ButtonOf(QtNavigator::Post), Qt::LeftButton);
    QCOMPARE(shoes.CurrentResult(), std::string("PPTB"));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("PPTB"));
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string("PPTB"));
    QCOMPARE(window->FrameShoeStats->EditNoOfPlayer->text(), QStringLiteral("2"));
    QCOMPARE(window->FrameShoeStats->EditNoOfDiff->text(), QStringLiteral("1"));
    QCOMPARE(shoes.Table().RecordCount(), 2);

    // The note box edits the current shoe's note, in Big5.
    window->FrameShoeStrip->DBMemoShoesInfo->setPlainText(QStringLiteral("莊家連開"));
    QCOMPARE(shoes.Table().State(), DataSetState::Edit);
    shoes.Table().Post();
    QCOMPARE(shoes.CurrentInfo(), Utf8ToBig5("莊家連開"));
    shoes.Table().Next();
    QCOMPARE(window->FrameShoeStrip->DBMemoShoesInfo->toPlainText(), QString());
  }

  // Every sheet keeps its newest column in view: a long shoe shown at the start size,
  // results added, a live room's shoe growing; a user who scrolled away stays there
  // while the shoe grows, and the next shoe starts at its own newest column.
  void roadSheetsShowTheirNewestColumn() {
    window->PageControl1->setCurrentWidget(window->TabSheetRoad);
    ShoesData& shoes = window->Shoes();
    std::string sixty;
    for (int i = 0; i < 30; ++i) sixty += "BP";
    shoes.AppendShoe({"S1", sixty, ""});
    shoes.AppendShoe({"S2", "BBP", ""});
    shoes.Table().First();
    QApplication::processEvents();
    const std::vector<TFrameRoadSheet*> sheets = {window->MainRoadSheet, window->MinorRoadSheet1,
                                                  window->MinorRoadSheet2, window->MinorRoadSheet3};
    QCOMPARE(window->MainRoadSheet->NewestCell().x(), 59 * window->MainRoadSheet->CellSize());
    for (TFrameRoadSheet* sheet : sheets) QVERIFY2(ShowsNewest(sheet), qPrintable(sheet->objectName()));
    QScrollBar* bar = window->MainRoadSheet->ScrollBox->horizontalScrollBar();
    QVERIFY(bar->value() > 0);

    // The user looks at the start of the shoe; a result added leaves the view there.
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(bar->value(), 0);
    QAbstractItemModel* model = window->FrameShoeStrip->DBGridShoesData->model();
    QVERIFY(model->setData(model->index(0, 1), QString::fromStdString(sixty + "B")));
    QTest::mouseClick(window->FrameShoeStrip->DBNavigatorShoesData->ButtonOf(QtNavigator::Post), Qt::LeftButton);
    QCOMPARE(window->MainRoadSheet->RoadData(), sixty + "B");
    QCOMPARE(bar->value(), 0);
    // A short shoe shows from its start, and the long one again at its newest column.
    shoes.Table().Next();
    QCOMPARE(bar->value(), 0);
    QVERIFY(ShowsNewest(window->MainRoadSheet));
    shoes.Table().Prior();
    for (TFrameRoadSheet* sheet : sheets) QVERIFY2(ShowsNewest(sheet), qPrintable(sheet->objectName()));

    // A live room's shoe grows a result at a time; both its sheets follow.
    window->PageControl1->setCurrentWidget(window->TabSheetGameRoom);
    TFrameGameRoomClientBattle* room = window->FrameGameRooms->FrameGameRoomClientBattle[0];
    window->PageControlGameRoom->setCurrentWidget(room);
    net::Dispatcher& lines = window->FrameAccount->Client().Dispatcher();
    std::string shoe;
    for (int i = 0; i < 80; ++i) {
      shoe += i % 3 == 0 ? 'P' : 'B';
      QVERIFY(lines.HandleLine("BATTLE:SHOERESULT:" + shoe));
      QApplication::processEvents();
      QVERIFY2(ShowsNewest(room->RoadSheet1) && ShowsNewest(room->RoadSheet2), qPrintable(QString::number(i)));
    }
    QVERIFY(room->RoadSheet1->ScrollBox->horizontalScrollBar()->value() > 0);
  }

  // Typing a new shoe in the grid: what is typed into the wide result column stays in
  // sight, and another row's result shows from its start.
  void shoeGridKeepsTheCaretInView() {
    ShoesData& shoes = window->Shoes();
    shoes.AppendShoe({"S1", "BP", ""});
    shoes.Table().First();
    QTableView* grid = window->FrameShoeStrip->DBGridShoesData;
    QTest::mouseClick(window->FrameShoeStrip->DBNavigatorShoesData->ButtonOf(QtNavigator::Insert), Qt::LeftButton);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClicks(grid, QStringLiteral("S2"));
    QApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(grid->currentIndex().column(), 1);
    QVERIFY(grid->visualRect(grid->currentIndex()).left() >= 0);   // the result's start
    QString typed;
    for (int i = 0; i < 70; ++i) typed += i % 3 ? QLatin1Char('B') : QLatin1Char('P');
    const QString full = typed;
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor) {
      QTest::keyClicks(grid, typed.left(1));
      editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      typed.remove(0, 1);
    }
    QVERIFY(editor);
    for (const QChar c : typed) {
      QTest::keyClicks(editor, QString(c));
      const QRect at = editor->inputMethodQuery(Qt::ImCursorRectangle).toRect();
      const QRect caret(editor->mapTo(grid->viewport(), at.topLeft()), at.size());
      QVERIFY2(grid->viewport()->rect().contains(caret), qPrintable(editor->text()));
    }
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QCOMPARE(grid->currentIndex().data().toString(), full);
    // The other row shows its result from its start.
    grid->setCurrentIndex(grid->model()->index(1, 1));
    QApplication::processEvents();
    QCOMPARE(shoes.CurrentName(), std::string("S1"));
    QVERIFY(grid->visualRect(grid->currentIndex()).left() >= 0);
  }

  void readTriggersOneRefreshAndKeepsShoesOnFailure() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("three.DAT"));
    {
      ShoesData source;
      source.AppendShoe({"A", "BBB", "x"});
      source.AppendShoe({"B", "PP", ""});
      source.AppendShoe({"C", "T", ""});
      source.SaveData(file.toStdString());
    }
    int refreshes = 0;
    auto refresh = window->Shoes().OnRefresh;
    window->Shoes().OnRefresh = [&] {
      ++refreshes;
      refresh();
    };
    nextFile = file;
    QTest::mouseClick(window->FrameShoeStrip->BtnReadData, Qt::LeftButton);
    QCOMPARE(filters.last(), QStringLiteral("百家樂資料 (*.DAT *.dat)"));
    QCOMPARE(refreshes, 1);
    QCOMPARE(window->Shoes().Table().RecordCount(), 3);
    QCOMPARE(window->Shoes().Table().RecNo(), 1);
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string("BBB"));
    QCOMPARE(window->FrameShoeStrip->DBGridShoesData->model()->rowCount(), 3);
    QCOMPARE(window->FrameShoeStrip->DBGridShoesData->currentIndex().row(), 0);
    QCOMPARE(window->FrameShoeStrip->DBMemoShoesInfo->toPlainText(), QStringLiteral("x"));

    // A file that cannot be read leaves the shoes, the roads and the cursor alone.
    window->Shoes().Table().Next();
    const QString junk = dir.filePath(QStringLiteral("junk.DAT"));
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is no shoe file\n");
    f.close();
    refreshes = 0;
    window->ReadData(junk);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(refreshes, 0);
    QCOMPARE(window->Shoes().Table().RecordCount(), 3);
    QCOMPARE(window->Shoes().Table().RecNo(), 2);
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string("PP"));
    window->ReadData(dir.filePath(QStringLiteral("missing.DAT")));
    QCOMPARE(messages.size(), 2);
    QCOMPARE(window->Shoes().Table().RecordCount(), 3);

    // Merging keeps the shoes and ends on the first of them; Ctrl+O and Ctrl+S do
    // what the buttons do.
    nextFile = file;
    QTest::mouseClick(window->FrameShoeStrip->BtnMergeData, Qt::LeftButton);
    QCOMPARE(window->Shoes().Table().RecordCount(), 6);
    QCOMPARE(window->Shoes().Table().RecNo(), 1);
    const QString saved = dir.filePath(QStringLiteral("six.DAT"));
    nextFile = saved;
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(saved));
    window->Shoes().Table().EmptyDataSet();
    nextFile = saved;
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(window->Shoes().Table().RecordCount(), 6);
    // A cancelled choice does nothing.
    nextFile.clear();
    QTest::mouseClick(window->FrameShoeStrip->BtnReadData, Qt::LeftButton);
    QCOMPARE(window->Shoes().Table().RecordCount(), 6);
  }

  void exportRefusedWhileEditing() {
    window->Shoes().AppendShoe({"S1", "BPT", ""});
    window->Shoes().Table().Edit();
    QTest::mouseClick(window->FrameShoeStrip->BtnExportShoesData, Qt::LeftButton);
    QCOMPARE(messages, QStringList{QStringLiteral("資料更改中")});
    QVERIFY(!window->FormExportShoesData->isVisible());
  }

  void beadSettingRefreshesOnlyTheSheetsShowingIt() {
    window->Shoes().AppendShoe({"S1", "BPBPTBPB", ""});
    window->Shoes().Table().First();
    window->MinorRoadSheet1->ComboBoxRoad->setCurrentText(QStringLiteral("珠路1"));
    window->MinorRoadSheet2->ComboBoxRoad->setCurrentText(QStringLiteral("珠路2"));
    QCOMPARE(window->MinorRoadSheet2->RoadData(), std::string("BPBPTB/PB"));
    // The road changes behind the sheets' backs: only a refreshed sheet shows it.
    window->DisplayRoad().SetAutoRedraw(false);
    window->DisplayRoad().SetResult("PPPPP");
    window->SpinEditNoOfBall[1]->setValue(2);
    QCOMPARE(window->BeadSettings().beads[1], 2);
    QCOMPARE(window->MinorRoadSheet2->RoadData(), std::string("PP/PP/P"));
    QCOMPARE(window->MinorRoadSheet1->RoadData(), std::string("BPBPTB/PB"));
    QCOMPARE(window->MinorRoadSheet3->RoadData(), std::string("BBB"));   // cockroach road of BPBPTBPB
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string("BPBPTBPB"));
    window->CheckBoxBallRoadIgnoreTie[0]->setChecked(true);
    QVERIFY(window->BeadSettings().ignoreTies[0]);
    QCOMPARE(window->MinorRoadSheet1->RoadData(), std::string("PPPPP"));
    QCOMPARE(window->MinorRoadSheet2->RoadData(), std::string("PP/PP/P"));
    // The rooms' sheets draw their own roads with the same settings and follow them.
    TFrameGameRooms& rooms = *window->FrameGameRooms;
    TFrameRoadSheet* practice = rooms.FrameGameRoomClientPractice->RoadSheet;
    TFrameRoadSheet* battle = rooms.FrameGameRoomClientBattle[2]->RoadSheet2;
    rooms.HandleLine("PRACTICE", "SHOERESULT:BTPB");
    rooms.HandleLine("BATTLE3", "SHOERESULT:BTPB");
    practice->ComboBoxRoad->setCurrentText(QStringLiteral("珠路2"));
    battle->ComboBoxRoad->setCurrentText(QStringLiteral("珠路2"));
    QCOMPARE(practice->RoadData(), std::string("BT/PB"));
    window->SpinEditNoOfBall[1]->setValue(3);
    QCOMPARE(practice->RoadData(), std::string("BTP/B"));
    QCOMPARE(battle->RoadData(), std::string("BTP/B"));
    window->CheckBoxBallRoadIgnoreTie[1]->setChecked(true);
    QCOMPARE(practice->RoadData(), std::string("BPB"));
  }

  void rangeStatistics() {
    ShoesData& shoes = window->Shoes();
    shoes.AppendShoe({"S1", "BB", ""});
    shoes.AppendShoe({"S2", "BP", ""});
    shoes.AppendShoe({Utf8ToBig5("第三靴"), "PPPT", ""});
    shoes.Table().First();
    TFrameShoeStats* page = window->FrameShoeStats;
    window->EditShoeTo->setText(QStringLiteral("S2"));
    QTest::mouseClick(page->BtnStatAll, Qt::LeftButton);
    QCOMPARE(page->EditNoOfBanker->text(), QStringLiteral("3"));
    QCOMPARE(page->EditNoOfPlayer->text(), QStringLiteral("1"));
    QCOMPARE(page->EditNoOfSame->text(), QStringLiteral("1"));
    QCOMPARE(page->EditNoOfDiff->text(), QStringLiteral("1"));
    QCOMPARE(page->EditB_Ratio->text(), QStringLiteral("75%"));
    QAbstractItemModel* banker = page->ConBanker->DBGrid1->model();
    QCOMPARE(banker->rowCount(), 2);   // runs of 2 and 1, restarted at each shoe
    // The roads stay empty and the cursor on the last shoe counted.
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string());
    QCOMPARE(shoes.Table().RecNo(), 2);
    QVERIFY(window->DisplayRoad().AutoRedraw());
    QVERIFY(!shoes.BatchRunning);

    page->CheckBoxStatEach->setChecked(false);
    QTest::mouseClick(page->BtnStatAll, Qt::LeftButton);
    QCOMPARE(banker->rowCount(), 1);   // one run of 3
    QCOMPARE(banker->index(0, 0).data().toInt(), 3);

    window->EditShoeFrom->setText(QStringLiteral("第三靴"));
    window->EditShoeTo->clear();
    QTest::mouseClick(page->BtnStatAll, Qt::LeftButton);
    QCOMPARE(page->EditNoOfPlayer->text(), QStringLiteral("3"));
    QCOMPARE(page->EditNoOfTie->text(), QStringLiteral("1"));
    QCOMPARE(page->EditP_Ratio->text(), QStringLiteral("100%"));
    // Moving brings back the current shoe alone.
    shoes.Table().First();
    QCOMPARE(page->EditNoOfBanker->text(), QStringLiteral("2"));
    QCOMPARE(window->MainRoadSheet->RoadData(), std::string("BB"));
  }

  void minorSheetsResizeInProportion() {
    window->PageControl1->setCurrentWidget(window->TabSheetRoad);
    QApplication::processEvents();
    window->SplitterOtherRoad->setSizes({200, 300, 100});
    const QList<int> before = window->SplitterOtherRoad->sizes();
    const int oldWidth = window->SplitterOtherRoad->width();
    window->resize(window->width() + 200, window->height());
    QApplication::processEvents();
    const int newWidth = window->SplitterOtherRoad->width();
    QVERIFY(newWidth > oldWidth);
    const QList<int> after = window->SplitterOtherRoad->sizes();
    const double scale = double(newWidth) / oldWidth;
    QVERIFY(std::abs(after[0] - before[0] * scale) <= 1.0);
    QVERIFY(std::abs(after[2] - before[2] * scale) <= 1.0);
    QCOMPARE(after[0] + after[1] + after[2] + 2 * window->SplitterOtherRoad->handleWidth(), newWidth);
  }

  // The server's lines reach the boards, the rooms and the shoe table through the
  // account panel's dispatcher; the timer shows one board per tick.
  void serverLinesReachBoardsRoomsAndShoes() {
    QStringList shown;
    window->ShowBillboard = [&] { shown << "billboard"; };
    window->ShowVictor = [&] { shown << "victor"; };
    window->ShowLevelboard = [&] { shown << "levelboard"; };
    net::Dispatcher& lines = window->FrameAccount->Client().Dispatcher();
    auto row = [](const char* key, const char* name) {
      return net::EncodeCommaText({net::EncodeCommaText({std::string(key) + "=" + name, "Lvl=3"})});
    };
    QVERIFY(lines.HandleLine("UTF8LEVELBOARD:" + row("UTF8NickName", "勇者")));
    QVERIFY(lines.HandleLine("BILLBOARD:" + row("NickName", "Bob")));
    QVERIFY(window->Boards.LevelboardPending && window->Boards.BillboardPending);
    window->TimerGetMessageTimer();
    QCOMPARE(shown, QStringList{"billboard"});
    window->TimerGetMessageTimer();
    QCOMPARE(shown, (QStringList{"billboard", "levelboard"}));
    window->TimerGetMessageTimer();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(window->Boards.Levelboard.Entries().at(0).at(1), std::string("勇者"));
    // The real dialog shows the board's rows.
    window->FormLevelboard->ShowBoard();
    QCOMPARE(window->FormLevelboard->ListView->topLevelItem(0)->text(1), QStringLiteral("勇者"));

    QVERIFY(lines.HandleLine("PRACTICE:SCORE:3:1"));
    QCOMPARE(window->FrameGameRooms->FrameGameRoomClientPractice->LabelGuessWin->text(), QStringLiteral("3"));

    const int before = window->Shoes().Table().RecordCount();
    QVERIFY(lines.HandleLine("GETPRIVATEDATAOK:" +
                             net::EncodeCommaText({"ShoesName=" + Utf8ToBig5("下載"), "ShoesResult=BPPB", "ShoesInfo=x"})));
    QCOMPARE(window->Shoes().Table().RecordCount(), before + 1);
    QCOMPARE(window->Shoes().CurrentResult(), std::string("BPPB"));
    // Logged out, "英雄榜" sends nothing and says nothing.
    QTest::mouseClick(window->FrameAccount->BtnLevelboard, Qt::LeftButton);
  }

  void forumAndDump() {
    QList<QUrl> opened;
    SetUrlHook([&](const QUrl& url) { opened << url; });
    QTest::mouseClick(window->BtnForum, Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{QUrl(TFormDaruvedaZizeveva::ForumAddress())});
    SetUrlHook(nullptr);

    const QJsonObject tree = DumpWidget(window.get());
    for (const char* name : {"PanelShoesData", "DBNavigatorShoesData", "BtnReadData", "BtnSaveData", "BtnMergeData",
                             "BtnExportShoesData", "DBGridShoesData", "DBMemoShoesInfo", "BtnAbout", "Splitter4",
                             "PanelConnectServer", "BtnConnect", "EditMessage", "MemoMessage", "PageControl1",
                             "TabSheetRoad", "TabSheetDrawRoad", "TabSheetRoadSetting", "MainRoadSheet", "PanelOtherRoad",
                             "MinorRoadSheet1", "MinorRoadSheet2", "MinorRoadSheet3", "SpinEditNoOfBall1",
                             "CheckBoxBallRoadIgnoreTie3", "TabSheetStats", "EditNoOfBanker", "EditP_Ratio", "ConBanker",
                             "ConPlayer", "CheckBoxStatEach", "BtnStatAll", "TabSheetStrategy", "EditShoeFrom",
                             "EditShoeTo", "BtnCreateStrategy", "PageControlStrategy", "TabSheetMutliStrategy",
                             "DBGridAnalysis", "CheckBoxAnalysisGoFirst", "TabSheetShare", "TabSheetForum", "BtnForum",
                             "PanelForum", "WebBrowser1", "TabSheetGameRoom", "TabSheetPractice", "TabSheetBattle5",
                             "FrameGameRoomClientBattle3", "TabSheetSetup", "RBtnMainServer", "CheckBoxUseProxy",
                             "LabelProxyList", "TFormExportShoesData", "EditDelimitedChar", "TAboutBox"}) {
      QList<QJsonObject> found;
      Find(tree, QString::fromLatin1(name), found);
      QVERIFY2(!found.isEmpty(), name);
    }
    QList<QJsonObject> found;
    // A visible widget's place in the window: the account column at the right edge.
    Find(tree, QStringLiteral("PanelConnectServer"), found);
    const QJsonObject at = found[0][QStringLiteral("geometry")].toObject();
    QCOMPARE(at[QStringLiteral("width")].toInt(), 169);
    const int right = at[QStringLiteral("x")].toInt() + 169;
    QVERIFY(right <= window->width() && right >= window->width() - 4);
    QVERIFY(at[QStringLiteral("y")].toInt() > 125);
    found.clear();
    Find(tree, QStringLiteral("TabSheetShare"), found);
    QCOMPARE(found[0][QStringLiteral("tabVisible")].toBool(), false);
    QCOMPARE(found[0][QStringLiteral("text")].toString(), QStringLiteral("分享下載"));
    found.clear();
    Find(tree, QStringLiteral("EditShoeFrom"), found);
    QVERIFY(found[0][QStringLiteral("toolTip")].toString().startsWith(QStringLiteral("分析或統計部分資料時的第一靴牌的靴名")));
    found.clear();
    Find(tree, QStringLiteral("nbFirst"), found);
    QCOMPARE(found[0][QStringLiteral("toolTip")].toString(), QStringLiteral("移至第一靴記錄"));
  }

 private:
  std::unique_ptr<TFormDaruvedaZizeveva> window;
  QStringList messages;
  QStringList filters;
  QString nextFile;
};

QTEST_MAIN(MainWindowTest)
#include "TFormDaruvedaZizeveva_test.moc"
