// The strategy tab and the combined results of the main window, driven through its
// widgets: naming and deleting pages, the combined rows, the side-by-side views,
// strategy files (checked against zavuv-cli backtest) and a range run over 10,000
// shoes with its progress dialog.
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include "app/QtUiDump.h"
#include "app/QtRangeRun.h"
#include "app/QtStatusLine.h"
#include "app/TFormExportShoesData.h"
#include "app/TFrameShoeStrip.h"
#include "app/TFrameStrategies.h"
#include "app/TFormDaruvedaZizeveva.h"
#include "bets/QtPlugInComboBox.h"
#include "bets/TFrameBetAmount.h"
#include "bets/TFrameBetAmountFlat.h"
#include "bets/TFrameBetMethod.h"
#include "bets/TFrameBetMethodLoop.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRooms.h"
#include "shoes/Dealer.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/TFrameAdditionalSetup.h"
#include "strategy/TFrameAdditionalSetupGroup.h"
#include "strategy/TFrameAnalysisResult.h"
#include "strategy/TFrameStrategy.h"
#include "strategy/TFrameWinLostChart.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"
#include "table/QtNavigator.h"

using namespace zavuv;

namespace {

void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

QStringList Captions(QTabWidget* tabs) {
  QStringList out;
  for (int i = 0; i < tabs->count(); ++i) out << tabs->tabText(i);
  return out;
}

// A page betting the letters of the loop with a flat stake, set up through its panels.
void LoopFlat(TFrameStrategy* page, const QString& loop, int stake) {
  page->SelectBetMethod(BetMethod::kLoop);
  page->SelectBetAmount(BetAmount::kFlat);
  static_cast<TFrameBetMethodLoop*>(page->FrameBetMethod->CurrentView())->EditBetMethodLoop->setText(loop);
  static_cast<TFrameBetAmountFlat*>(page->FrameBetAmount->CurrentView())->SpinEditFlatBet->setValue(stake);
}

void Find(const QJsonObject& o, const QString& name, QList<QJsonObject>& out) {
  if (o[QStringLiteral("objectName")].toString() == name) out << o;
  for (const QJsonValue& c : o[QStringLiteral("children")].toArray()) Find(c.toObject(), name, out);
}

// The rows of a result table as JSON arrays, as zavuv-cli prints them.
QJsonArray Rows(const ResultTable& t) {
  QJsonArray rows;
  for (int r = 0; r < t.RecordCount(); ++r) {
    const ResultTable::Row& row = t.At(r);
    rows.append(QJsonArray{QString::fromStdString(Big5ToUtf8(t.ShoesNameAt(r))), row.gameNo,
                           QString(QChar(row.bet)), row.betAmount, QString(QChar(row.gameResult)), row.profit,
                           row.accProfit});
  }
  return rows;
}

}  // namespace

class StrategyTabTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    messages.clear();
    nextFile.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    SetFileHook([this](bool, const QString&, const QString&) { return nextFile; });
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->PageControl1->setCurrentWidget(window->TabSheetStrategy);
  }
  void cleanup() {
    window.reset();
    SetMessageHook(nullptr);
    SetFileHook(nullptr);
  }

  void pagesAreNamedAndDeleted() {
    QTabWidget* tabs = window->PageControlStrategy;
    QCOMPARE(Captions(tabs), QStringList{"策略1"});
    QVERIFY(window->BtnCreateStrategy->isEnabled());
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    QCOMPARE(Captions(tabs), (QStringList{"策略1", "策略2", "策略3"}));
    QCOMPARE(tabs->currentIndex(), 2);
    tabs->setCurrentIndex(1);
    QTest::mouseClick(window->BtnDestroyStrategy, Qt::LeftButton);
    QCOMPARE(Captions(tabs), (QStringList{"策略1", "策略3"}));
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    QCOMPARE(Captions(tabs), (QStringList{"策略1", "策略3", "策略2"}));
    // A renamed page frees its number.
    TFrameStrategy* first = window->StrategyPages()[0];
    first->EditStrategyName->setText(QStringLiteral("A"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("A"));
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    QCOMPARE(tabs->tabText(3), QStringLiteral("策略1"));
    // Every new page starts with the first bet method and bet amount method.
    TFrameStrategy* last = window->StrategyPages()[3];
    QCOMPARE(last->ComboBoxBetMethod->currentIndex(), 0);
    QCOMPARE(last->ComboBoxBetAmount->currentIndex(), 0);
    QCOMPARE(last->GetStrategy().MainForm, &window->Host());

    while (tabs->count() > 0) QTest::mouseClick(window->BtnDestroyStrategy, Qt::LeftButton);
    QTest::mouseClick(window->BtnDestroyStrategy, Qt::LeftButton);   // nothing left: nothing happens
    // Without a strategy the range run still writes one row per game, none with a bet.
    window->Shoes().AppendShoe({"S1", "BPT", ""});
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QAbstractItemModel* combined = window->DBGridAnalysis->model();
    QCOMPARE(combined->rowCount(), 3);
    QCOMPARE(combined->index(2, 2).data().toString(), QStringLiteral(" "));
    QCOMPARE(combined->index(2, 6).data().toString(), QStringLiteral("0"));
  }

  // Every file command and the range run say on the status line what they did, with
  // the figures counted from what was done; a failure says so too.
  // A room betting automatically holds the strategies: the page says which room,
  // its controls are off, and the window keeps its size; stopping gives it all back.
  void autoBettingRoomIsNamedOnThePage() {
    TFrameGameRooms& rooms = *window->FrameGameRooms;
    rooms.Host().Connected = [] { return true; };
    rooms.Host().Send = [](const std::string&) {};
    rooms.ConnectionChanged(true);
    const QSize size = window->size();
    TFrameGameRoomClientBattle& room = *rooms.FrameGameRoomClientBattle[1];
    QVERIFY(rooms.HandleLine("BATTLE2", "GAMESTATUS:SHOENOTSTARTED"));
    room.BtnAutoBet->click();
    QVERIFY(room.BtnAutoBet->isChecked());
    QLabel* line = window->FrameStrategies->LabelAutoBetLock;
    QVERIFY(line->isVisible());
    QVERIFY(line->isEnabled());
    QCOMPARE(line->text(), QStringLiteral("自動下注進行中: 戰場2"));
    for (QWidget* w : std::initializer_list<QWidget*>{window->BtnCreateStrategy, window->BtnReadStrategies,
                                                      window->EditShoeFrom, window->PageControlStrategy})
      QVERIFY(!w->isEnabled());
    // On the tab row, beside the strategy tabs and below the buttons.
    const QPoint at = line->mapTo(window.get(), QPoint(0, 0));
    QVERIFY(at.y() >= window->BtnCreateStrategy->mapTo(window.get(), QPoint(0, window->BtnCreateStrategy->height())).y());
    QVERIFY(at.y() < window->PageControlStrategy->widget(0)->mapTo(window.get(), QPoint(0, 0)).y());
    QCOMPARE(window->size(), size);
    if (const QString shots = qEnvironmentVariable("ZAVUV_SCREENSHOTS"); !shots.isEmpty())
      QVERIFY(window->grab().save(shots + QStringLiteral("/strategy-auto-bet-lock.png")));
    room.BtnAutoBet->click();
    QVERIFY(!room.BtnAutoBet->isChecked());
    QVERIFY(!line->isVisible());
    QVERIFY(window->BtnCreateStrategy->isEnabled());
    QVERIFY(window->PageControlStrategy->isEnabled());
    QCOMPARE(window->size(), size);
  }

  // Choosing a setup with a tall panel ("風險管理") scrolls inside the page: the window
  // keeps its start size and the shoe list its height.
  void aTallSetupPageLeavesTheWindowAlone() {
    QCOMPARE(window->size(), QSize(793, 533));
    const int listHeight = window->FrameShoeStrip->DBGridShoesData->height();
    TFrameStrategy* page = window->FrameStrategies->StrategyPages().front();
    page->PageControl1->setCurrentIndex(5);
    QTest::mouseClick(page->BtnCreateSetup, Qt::LeftButton);
    page->SetupFrame(0)->ComboBoxSelectChange(AdditionalSetup::kTakeProfitStopLoss);
    QCOMPARE(page->PageControlAdditionalSetup->tabText(0), QStringLiteral("風險管理"));
    QCoreApplication::processEvents();
    QTest::qWait(50);
    QCOMPARE(window->size(), QSize(793, 533));
    QCOMPARE(window->FrameShoeStrip->DBGridShoesData->height(), listHeight);
  }

  void statusLineSaysWhatWasDone() {
    QTemporaryDir dir;
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    std::vector<TFrameStrategy*> pages = window->StrategyPages();
    LoopFlat(pages[0], QStringLiteral("BBP"), 100);
    LoopFlat(pages[1], QStringLiteral("B"), 100);
    window->Shoes().AppendShoe({"S1", "BPTBBPBPPB", ""});
    window->Shoes().AppendShoe({"S2", "PPBTB", ""});
    window->Shoes().AppendShoe({"S3", "B", ""});
    QtStatusLine* line = window->StatusLine;
    QCOMPARE(line->Said(), QString());

    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    const QAbstractItemModel* combined = window->DBGridAnalysis->model();
    int bets = 0;
    for (int r = 0; r < combined->rowCount(); ++r) bets += combined->index(r, 2).data().toString() != QStringLiteral(" ");
    QVERIFY(bets > 0 && bets < combined->rowCount());
    QVERIFY2(line->Said().startsWith(QStringLiteral("已分析 3 靴 · %1 注 · ").arg(bets)), qPrintable(line->Said()));
    QVERIFY(line->Said().endsWith(QStringLiteral(" 秒")));

    nextFile = dir.filePath(QStringLiteral("結果.csv"));
    QTest::mouseClick(window->BtnExportCombinedCsv, Qt::LeftButton);
    QCOMPARE(line->Said(), QStringLiteral("已匯出 %1 列 · 結果.csv").arg(combined->rowCount()));

    nextFile = dir.filePath(QStringLiteral("我的策略.json"));
    QTest::mouseClick(window->BtnSaveStrategies, Qt::LeftButton);
    QCOMPARE(line->Said(), QStringLiteral("已儲存 我的策略.json"));
    QTest::mouseClick(window->BtnReadStrategies, Qt::LeftButton);
    QCOMPARE(line->Said(), QStringLiteral("已讀入 我的策略.json · 2 個策略"));

    const QString data = dir.filePath(QStringLiteral("靴.DAT"));
    QVERIFY(window->SaveData(data));
    QCOMPARE(line->Said(), QStringLiteral("已儲存 3 靴 · 靴.DAT"));
    window->MergeData(data);
    QCOMPARE(line->Said(), QStringLiteral("已合併 3 靴 · 靴.DAT (共 6 靴)"));
    nextFile = dir.filePath(QStringLiteral("靴.TXT"));
    window->FormExportShoesData->BtnExportClick();
    QCOMPARE(line->Said(), QStringLiteral("已匯出 6 靴 · 靴.TXT"));
    window->Shoes().MarkUnchanged();
    window->ReadData(data);
    QCOMPARE(line->Said(), QStringLiteral("已讀入 3 靴 · 靴.DAT"));
    QCOMPARE(line->LabelFiles->text(), QStringLiteral("靴資料: 靴.DAT · 策略組合: 我的策略.json"));
    window->ReadData(dir.filePath(QStringLiteral("沒有.DAT")));
    QCOMPARE(line->Said(), QStringLiteral("未能讀入 沒有.DAT"));
    // The line fits in the window at its start size.
    QCOMPARE(window->size(), QSize(793, 533));
    QVERIFY(line->isVisible() && line->geometry().bottom() < window->height());
  }

  void combinedRowsOfOppositeStrategies() {
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    std::vector<TFrameStrategy*> pages = window->StrategyPages();
    LoopFlat(pages[0], QStringLiteral("B"), 100);
    LoopFlat(pages[1], QStringLiteral("P"), 100);
    window->Shoes().AppendShoe({"S1", "BPT", ""});
    window->Shoes().AppendShoe({"S2", "BB", ""});
    // The current-shoe refresh runs the combined step over the current shoe.
    window->Shoes().Table().First();
    QAbstractItemModel* combined = window->DBGridAnalysis->model();
    QCOMPARE(combined->rowCount(), 3);
    QCOMPARE(pages[0]->DBGridAnalysis->model()->rowCount(), 3);

    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QCOMPARE(combined->rowCount(), 5);
    QCOMPARE(combined->index(0, 0).data().toString(), QStringLiteral("S1"));
    QCOMPARE(combined->index(0, 2).data().toString(), QStringLiteral(" "));
    QCOMPARE(combined->index(0, 3).data().toInt(), 0);
    QCOMPARE(combined->index(0, 5).data().toString(), QString());   // profit 0: an empty cell
    QCOMPARE(pages[0]->DBGridAnalysis->model()->index(0, 5).data().toString(), QStringLiteral("95"));
    QCOMPARE(pages[1]->DBGridAnalysis->model()->index(0, 5).data().toString(), QStringLiteral("-100"));
    QCOMPARE(window->Combined().ClientDataSetAnalysis.RecNo(), 5);   // left on the last row
    QCOMPARE(window->Shoes().CurrentName(), std::string("S2"));

    // 100 on banker against 60 on player: 40 on banker, and a banker win books 38.
    LoopFlat(pages[1], QStringLiteral("P"), 60);
    Click(window->CheckBoxAnalysisGoFirst);
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QCOMPARE(combined->index(0, 2).data().toString(), QStringLiteral("B"));
    QCOMPARE(combined->index(0, 3).data().toInt(), 40);
    QCOMPARE(combined->index(0, 5).data().toString(), QStringLiteral("38"));
    QCOMPARE(combined->index(1, 5).data().toString(), QStringLiteral("-40"));
    QCOMPARE(combined->index(1, 5).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(combined->index(2, 5).data().toString(), QString());   // a tie books 0
    QCOMPARE(window->Combined().ClientDataSetAnalysis.RecNo(), 1);

    // A strategy not in use: emptied at once, prepared and finished by the range run,
    // and out of the combined bet.
    window->PageControlStrategy->setCurrentIndex(1);
    pages[1]->PageControl1->setCurrentIndex(0);
    Click(pages[1]->CheckBoxUse);
    QCOMPARE(pages[1]->DBGridAnalysis->model()->rowCount(), 0);
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QCOMPARE(pages[1]->DBGridAnalysis->model()->rowCount(), 0);
    QCOMPARE(pages[1]->EditNoOfBet->text(), QStringLiteral("0"));
    QCOMPARE(combined->index(0, 3).data().toInt(), 100);

    // The range fields: the same shoe at both ends analyses exactly that shoe.
    window->EditShoeFrom->setText(QStringLiteral("S2"));
    window->EditShoeTo->setText(QStringLiteral("S2"));
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QCOMPARE(combined->rowCount(), 2);
    QCOMPARE(combined->index(1, 0).data().toString(), QStringLiteral("S2"));
  }

  void sideBySideViewsScrollTogether() {
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    std::vector<TFrameStrategy*> pages = window->StrategyPages();
    // The first page separates every two games with an empty row: more rows.
    pages[0]->BtnCreateSetup->click();
    pages[0]->SetupFrame(0)->ComboBoxSelectChange(AdditionalSetup::kGroup);
    static_cast<TFrameAdditionalSetupGroup*>(pages[0]->SetupFrame(0)->CurrentView())->SpinEditUnitNoOfGame->setValue(2);
    window->Shoes().AppendShoe({"S1", "BPBPBBPPBPBB", ""});
    window->Shoes().AppendShoe({"S2", "PPPBBBPBPB", ""});
    for (TFrameStrategy* page : pages) {
      window->PageControlStrategy->setCurrentWidget(page);
      page->PageControl1->setCurrentIndex(0);
      Click(page->CheckBoxViewResults);
    }
    QList<TFrameAnalysisResult*> views =
        window->ScrollBoxViewResultsContents->findChildren<TFrameAnalysisResult*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(views.size(), 2);
    TFrameAnalysisResult* one = pages[0]->ResultView();
    TFrameAnalysisResult* two = pages[1]->ResultView();
    QCOMPARE(one->LabelStrategy->text(), QStringLiteral("策略1"));
    QCOMPARE(two->LabelStrategy->text(), QStringLiteral("策略2"));
    QCOMPARE(one->width(), 320);
    QCOMPARE(one->ScrollBar1->minimum(), 240);
    QCOMPARE(one->ScrollBar1->maximum(), 450);
    window->PageControl1->setCurrentWidget(window->TabSheetMutliStrategy);
    window->TabSheetMutliStrategy->findChild<QTabWidget*>(QStringLiteral("PageControlMultiStrategy"))->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(two->geometry().left() > one->geometry().right(), 1000);


    // The view's model follows the runs of its strategy as a model must.
    QAbstractItemModelTester tester(one->DBGridAnalysis->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    window->Shoes().Table().First();   // the current-shoe refresh runs it again
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    const int rowsOne = one->DBGridAnalysis->model()->rowCount();
    const int rowsTwo = two->DBGridAnalysis->model()->rowCount();
    QCOMPARE(rowsTwo, 22);
    QCOMPARE(rowsOne, 22 + 9);   // 5 separators in the first shoe, 4 in the second
    QVERIFY(!one->Syncing && !two->Syncing);

    one->ClientDataSetAnalysis.GotoRow(9);
    QCOMPARE(two->ClientDataSetAnalysis.RecNo(), 10);
    QCOMPARE(two->DBGridAnalysis->currentIndex().row(), 9);
    QTest::mouseClick(two->DBNavigatorAnalysis->ButtonOf(QtNavigator::Next), Qt::LeftButton);
    QCOMPARE(one->ClientDataSetAnalysis.RecNo(), 11);
    // A row chosen in the grid leads as well; a view with fewer rows stops at its last.
    one->DBGridAnalysis->setCurrentIndex(one->DBGridAnalysis->model()->index(28, 1));
    QCOMPARE(one->ClientDataSetAnalysis.RecNo(), 29);
    QCOMPARE(two->ClientDataSetAnalysis.RecNo(), 22);
    // The strategy's own grid keeps its own row.
    QCOMPARE(pages[1]->GetStrategy().ClientDataSetAnalysis.RecNo(), 22);

    // Column boxes act on their own view only; the scroll bar sets the width.
    Click(one->CheckBoxProfit);
    QVERIFY(one->DBGridAnalysis->isColumnHidden(5));
    QVERIFY(!one->DBGridAnalysis->isColumnHidden(6));
    QVERIFY(!two->DBGridAnalysis->isColumnHidden(5));
    one->ScrollBar1->setValue(400);
    QCOMPARE(one->width(), 400);
    // A view whose first column is hidden still follows, on a shown column.
    Click(two->CheckBoxShoesName);
    QVERIFY(two->DBGridAnalysis->isColumnHidden(0));
    one->ClientDataSetAnalysis.GotoRow(3);
    QCOMPARE(two->DBGridAnalysis->currentIndex().row(), 3);
    QVERIFY(!two->DBGridAnalysis->isColumnHidden(two->DBGridAnalysis->currentIndex().column()));

    // The name follows; unticking or deleting the strategy takes the view away.
    pages[0]->EditStrategyName->setText(QStringLiteral("長莊"));
    QCOMPARE(one->LabelStrategy->text(), QStringLiteral("長莊"));
    QPointer<TFrameAnalysisResult> gone(two);
    pages[1]->CheckBoxViewResults->click();
    QVERIFY(gone.isNull());
    gone = one;
    window->PageControlStrategy->setCurrentIndex(0);
    QTest::mouseClick(window->BtnDestroyStrategy, Qt::LeftButton);
    QVERIFY(gone.isNull());
  }

  void strategyFileRunsTheSameInZavuvCli() {
    window->ReadData(QStringLiteral(ZAVUV_SOURCE_DIR "/data/sample.DAT"));
    QVERIFY(messages.isEmpty());
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    QTest::mouseClick(window->BtnCreateStrategy, Qt::LeftButton);
    std::vector<TFrameStrategy*> pages = window->StrategyPages();
    pages[1]->SelectBetMethod(BetMethod::kLoop);
    pages[1]->SelectBetAmount(BetAmount::kCancel);
    pages[1]->ComboBoxRoad->setCurrentIndex(2);
    pages[1]->ComboBoxRoadChange(2);
    pages[1]->BtnCreateSetup->click();
    pages[1]->SetupFrame(0)->ComboBoxSelectChange(AdditionalSetup::kGroup);
    LoopFlat(pages[2], QStringLiteral("BPX"), 250);
    pages[2]->ComboBoxRoad->setCurrentIndex(4);
    pages[2]->ComboBoxRoadChange(4);
    pages[2]->BtnCreateSetup->click();
    pages[2]->SetupFrame(0)->ComboBoxSelectChange(AdditionalSetup::kTakeProfitStopLoss);
    pages[2]->EditStrategyName->setText(QStringLiteral("珠路循環"));
    window->SpinEditNoOfBall[0]->setValue(5);
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    const QJsonArray windowRows = Rows(window->Combined().ClientDataSetAnalysis);
    QVERIFY(windowRows.size() > 2000);

    QTemporaryDir dir;
    nextFile = dir.filePath(QStringLiteral("set.json"));
    QTest::mouseClick(window->BtnSaveStrategies, Qt::LeftButton);
    QVERIFY(messages.isEmpty());
    QProcess cli;
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zavuv-cli"),
              {QStringLiteral("backtest"), QStringLiteral(ZAVUV_SOURCE_DIR "/data/sample.DAT"), nextFile});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QJsonObject out = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    const QJsonArray cliRows = out[QStringLiteral("combined")].toArray();
    QCOMPARE(cliRows.size(), windowRows.size());
    for (qsizetype r = 0; r < cliRows.size(); ++r) QCOMPARE(cliRows[r].toArray(), windowRows[r].toArray());
    QCOMPARE(out[QStringLiteral("strategies")].toArray()[2].toObject()[QStringLiteral("name")].toString(),
             QStringLiteral("珠路循環"));

    // Read back, the pages and the bead settings are those of the file again.
    while (window->PageControlStrategy->count() > 1) window->BtnDestroyStrategy->click();
    window->SpinEditNoOfBall[0]->setValue(6);
    QTest::mouseClick(window->BtnReadStrategies, Qt::LeftButton);
    QCOMPARE(Captions(window->PageControlStrategy), (QStringList{"策略1", "策略2", "珠路循環"}));
    QCOMPARE(window->SpinEditNoOfBall[0]->value(), 5);
    pages = window->StrategyPages();
    QCOMPARE(pages[1]->ComboBoxBetAmount->currentText(), QStringLiteral("消數纜"));
    QCOMPARE(pages[1]->ComboBoxRoad->currentText(), QStringLiteral("小路"));
    QCOMPARE(pages[1]->PageControlAdditionalSetup->tabText(0), QStringLiteral("以數局為一組分析"));
    QCOMPARE(static_cast<TFrameBetMethodLoop*>(pages[2]->FrameBetMethod->CurrentView())->EditBetMethodLoop->text(),
             QStringLiteral("BPX"));
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QCOMPARE(Rows(window->Combined().ClientDataSetAnalysis), windowRows);

    // A file that cannot be read leaves the pages as they are (the deletions and the
    // reading over changed pages above asked their questions).
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages[0], QStringLiteral("刪除本策略?"));
    QVERIFY(messages[2].startsWith(QStringLiteral("下列資料已更改但未儲存")));
    messages.clear();
    nextFile = dir.filePath(QStringLiteral("none.json"));
    QTest::mouseClick(window->BtnReadStrategies, Qt::LeftButton);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(window->PageControlStrategy->count(), 3);

    // The combined rows as CSV.
    nextFile = dir.filePath(QStringLiteral("combined.csv"));
    window->BtnExportCombinedCsv->click();
    QFile csv(nextFile);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count("\r\n"), windowRows.size() + 1);
  }

  void rangeRunOverTenThousandShoes() {
    ShoesData& shoes = window->Shoes();
    shoes.ShoesLoading = true;
    for (const ShoeRecord& shoe : DealShoes(10000, 7)) shoes.AppendShoe(shoe);
    shoes.ShoesLoading = false;
    while (window->StrategyPages().size() < 4) window->BtnCreateStrategy->click();
    std::vector<TFrameStrategy*> pages = window->StrategyPages();
    pages[1]->SelectBetAmount(BetAmount::kCancel);
    pages[1]->ComboBoxRoadChange(2);
    LoopFlat(pages[2], QStringLiteral("BBPP"), 300);
    pages[2]->ComboBoxRoadChange(4);
    pages[3]->SelectBetAmount(BetAmount::kAntiCancel);
    pages[3]->ComboBoxRoadChange(1);

    // The first run as it is: timed.
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    const qint64 ms = clock.elapsed();
    qInfo("range run of 10,000 shoes with 4 strategies in the window: %lld ms", static_cast<long long>(ms));
    QCOMPARE(window->Combined().ShoesAnalysed, 10000);
    QVERIFY(!window->Combined().Cancelled);
    QVERIFY(!window->RangeRunner->ProgressAnalysis);
    QVERIFY(messages.isEmpty());

    // The grids are usable afterwards.
    const ResultTable& rows = pages[0]->GetStrategy().ClientDataSetAnalysis;
    QAbstractItemModel* grid = pages[0]->DBGridAnalysis->model();
    QCOMPARE(grid->rowCount(), rows.RecordCount());
    QVERIFY(rows.RecordCount() > 700000);
    QCOMPARE(window->DBGridAnalysis->model()->rowCount(), rows.RecordCount());
    QTest::mouseClick(pages[0]->DBNavigatorAnalysis->ButtonOf(QtNavigator::First), Qt::LeftButton);
    QCOMPARE(rows.RecNo(), 1);
    QCOMPARE(pages[0]->DBGridAnalysis->currentIndex().row(), 0);
    QCOMPARE(grid->index(0, 0).data().toString(), QStringLiteral("S00001"));
    QCOMPARE(window->DBGridAnalysis->model()->index(rows.RecordCount() - 1, 0).data().toString(),
             QStringLiteral("S10000"));
    QVERIFY(pages[0]->FrameWinLostChart->Series()->isVisible());

    // A run slowed down so that it lasts beyond half a second shows the progress
    // dialog; its cancel button stops the run after the shoe it is on.
    bool dialogSeen = false;
    int lastDone = 0;
    auto connection = connect(window->RangeRunner, &QtRangeRun::analysisProgress, this, [&](int done, int total) {
      QCOMPARE(total, 10000);
      lastDone = done;
      // Progress comes after each block of shoes (1,024) when the strategies run side
      // by side, after each shoe on one thread: at least 0.7 s in all either way.
      if (done < 700) QThread::usleep(1000);
      else if (done < 7000) QThread::usleep(100000);
      if (window->RangeRunner->ProgressAnalysis && window->RangeRunner->ProgressAnalysis->isVisible() && !dialogSeen) {
        dialogSeen = true;
        QCOMPARE(window->RangeRunner->ProgressAnalysis->windowModality(), Qt::WindowModal);
        auto* cancel = window->RangeRunner->ProgressAnalysis->findChild<QPushButton*>();
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        QTest::mouseClick(cancel, Qt::LeftButton);
      }
    });
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    disconnect(connection);
    QVERIFY(dialogSeen);
    QVERIFY(window->Combined().Cancelled);
    const int analysed = window->Combined().ShoesAnalysed;
    QCOMPARE(analysed, lastDone);
    QVERIFY(analysed > 0 && analysed < 10000);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith(QStringLiteral("分析已取消")));
    QVERIFY(messages[0].contains(QString::number(analysed)));
    // Every strategy finished with the shoes analysed so far.
    const QString lastShoe = QString::fromStdString(DealtShoeName(analysed, 10000));
    for (TFrameStrategy* page : pages) {
      const ResultTable& t = page->GetStrategy().ClientDataSetAnalysis;
      QVERIFY(Big5ToUtf8(t.ShoesNameAt(t.RecordCount() - 1)).starts_with(lastShoe.toStdString()));
      QVERIFY(page->FrameWinLostChart->Series()->isVisible());
      QCOMPARE(page->DBGridAnalysis->model()->rowCount(), t.RecordCount());
    }
    QCOMPARE(QString::fromStdString(shoes.CurrentName()), lastShoe);
    QVERIFY(!shoes.BatchRunning);
    QVERIFY(!window->RangeRunner->ProgressAnalysis);
  }

  // A range whose rows would take too much memory is offered as a figures-only run:
  // "是" keeps no row but gives every figure and chart, "否" keeps the rows.
  void aRangeTooLargeForItsRowsIsOfferedFiguresOnly() {
    ShoesData& shoes = window->Shoes();
    shoes.ShoesLoading = true;
    for (const ShoeRecord& shoe : DealShoes(300, 3)) shoes.AppendShoe(shoe);
    shoes.ShoesLoading = false;
    window->BtnCreateStrategy->click();
    std::vector<TFrameStrategy*> pages = window->StrategyPages();
    QCOMPARE(pages.size(), std::size_t(2));
    pages[1]->SelectBetAmount(BetAmount::kCancel);
    pages[1]->ComboBoxRoadChange(2);

    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);   // far below the limit
    QVERIFY(messages.isEmpty());
    auto figures = [&] {
      std::vector<double> out{window->Combined().AccProfit};
      for (TFrameStrategy* page : pages) {
        const Strategy& s = page->GetStrategy();
        out.insert(out.end(), {double(s.NoOfBet), double(s.WinGame), double(s.LoseGame), s.AccProfit, s.MaxProfit,
                               s.MaxLoss, double(s.FrameChartProfit.Points.size())});
      }
      return out;
    };
    const std::vector<double> withRows = figures();
    const int rows = pages[0]->GetStrategy().ClientDataSetAnalysis.RecordCount();
    QVERIFY(rows > 20000);

    window->RangeRunner->RowBytesWithoutAsking = 1000;
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);   // "是"
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains(QStringLiteral("MB")));
    QCOMPARE(window->Combined().ClientDataSetAnalysis.RecordCount(), 0);
    QCOMPARE(window->DBGridAnalysis->model()->rowCount(), 0);
    for (TFrameStrategy* page : pages) {
      QCOMPARE(page->GetStrategy().ClientDataSetAnalysis.RecordCount(), 0);
      QCOMPARE(page->DBGridAnalysis->model()->rowCount(), 0);
      QVERIFY(page->FrameWinLostChart->Series()->isVisible());
    }
    QCOMPARE(figures(), withRows);

    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return false;
    });
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);   // "否"
    QCOMPARE(messages.size(), 1);
    QCOMPARE(pages[0]->GetStrategy().ClientDataSetAnalysis.RecordCount(), rows);
    QCOMPARE(figures(), withRows);
  }

  void plugInComponentsShowTheirPanelsOnThePages() {
    // A window started among two of the sample modules offers them on every page.
    QTemporaryDir folder;
    for (const char* name : {"BAMartingale.so", "BAStopAfterLosses.so"})
      QVERIFY(QFile::copy(QDir(QStringLiteral(ZAVUV_PLUGIN_DIR)).filePath(name), folder.filePath(name)));
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QDir::setCurrent(home));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    TFrameStrategy* page = window->StrategyPages()[0];
    QCOMPARE(page->ComboBoxBetAmount->count(), 6);
    QCOMPARE(page->ComboBoxBetAmount->itemText(5), QStringLiteral("馬丁加倍注碼"));
    QVERIFY(page->ComboBoxBetAmount->IsPlugInItem(5));
    QCOMPARE(page->FrameBetAmount->ComboBoxSelect->count(), 6);

    page->PageControl1->setCurrentIndex(0);
    page->ComboBoxBetAmount->setFocus();
    QTest::keyClick(page->ComboBoxBetAmount, Qt::Key_End);
    QCOMPARE(page->FrameBetAmount->ComboBoxSelect->currentIndex(), 5);
    QPointer<QSpinBox> cap = page->FrameBetAmount->CurrentView()->findChild<QSpinBox*>(QStringLiteral("SpinEditCap"));
    QVERIFY(cap);
    cap->setValue(800);
    // Another choice: the module's panel goes before its component.
    page->SelectBetAmount(BetAmount::kFlat);
    QVERIFY(cap.isNull());

    page->BtnCreateSetup->click();
    TFrameAdditionalSetup* setup = page->SetupFrame(0);
    QCOMPARE(setup->ComboBoxSelect->count(), 5);
    setup->ComboBoxSelectChange(4);
    QCOMPARE(page->PageControlAdditionalSetup->tabText(0), QStringLiteral("連輸後停止本靴"));
    QPointer<QSpinBox> losses = setup->CurrentView()->findChild<QSpinBox*>(QStringLiteral("SpinEditLosses"));
    QVERIFY(losses);
    setup->ComboBoxSelectChange(0);
    QVERIFY(losses.isNull());
    setup->ComboBoxSelectChange(4);
    page->BtnDestroySetup->click();
    QCOMPARE(page->PageControlAdditionalSetup->count(), 0);
    QTest::mouseClick(window->BtnDestroyStrategy, Qt::LeftButton);
    QCOMPARE(window->PageControlStrategy->count(), 0);
  }

  void plugInStrategyRunsTheSameInZavuvCli() {
    // The three sample modules, set up through their panels in the window, then the
    // same strategy saved to a file and run by zavuv-cli over the same shoes.
    QTemporaryDir folder;
    for (const char* name : {"BAFollowLast.so", "BAMartingale.so", "BAStopAfterLosses.so"})
      QVERIFY(QFile::copy(QDir(QStringLiteral(ZAVUV_PLUGIN_DIR)).filePath(name), folder.filePath(name)));
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QDir::setCurrent(home));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ReadData(QStringLiteral(ZAVUV_SOURCE_DIR "/data/sample.DAT"));
    TFrameStrategy* page = window->StrategyPages()[0];
    page->SelectBetMethod(2);
    page->SelectBetAmount(5);
    auto* cap = page->FrameBetAmount->CurrentView()->findChild<QSpinBox*>(QStringLiteral("SpinEditCap"));
    QVERIFY(cap);
    cap->setValue(2400);
    page->BtnCreateSetup->click();
    page->SetupFrame(0)->ComboBoxSelectChange(4);
    auto* losses = page->SetupFrame(0)->CurrentView()->findChild<QSpinBox*>(QStringLiteral("SpinEditLosses"));
    QVERIFY(losses);
    losses->setValue(3);
    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    QVERIFY(messages.isEmpty());
    const QJsonArray windowRows = Rows(window->Combined().ClientDataSetAnalysis);
    QVERIFY(windowRows.size() > 2000);
    int bets = 0;
    for (const QJsonValue& row : windowRows) bets += row.toArray()[2].toString() != QStringLiteral(" ");
    QVERIFY(bets > 100);

    nextFile = folder.filePath(QStringLiteral("plugins.json"));
    QTest::mouseClick(window->BtnSaveStrategies, Qt::LeftButton);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QProcess cli;
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zavuv-cli"),
              {QStringLiteral("backtest"), QStringLiteral(ZAVUV_SOURCE_DIR "/data/sample.DAT"), nextFile,
               QStringLiteral("--plugins"), folder.path()});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QJsonArray cliRows =
        QJsonDocument::fromJson(cli.readAllStandardOutput()).object()[QStringLiteral("combined")].toArray();
    QCOMPARE(cliRows.size(), windowRows.size());
    for (qsizetype r = 0; r < cliRows.size(); ++r) QCOMPARE(cliRows[r].toArray(), windowRows[r].toArray());
  }

  void dumpNamesTheStrategyControls() {
    window->StrategyPages()[0]->CheckBoxViewResults->click();
    const QJsonObject tree = DumpWidget(window.get());
    for (const char* name :
         {"TFrameStrategy", "EditStrategyName", "ComboBoxBetMethod", "ComboBoxBetAmount", "CheckBoxBetMethodEach",
          "ComboBoxRoad", "CheckBoxUse", "CheckBoxAnalysisGoFirst1", "CheckBoxViewResults", "ComboBoxTabPostion",
          "FrameBetMethod", "FrameBetAmount", "ComboBoxSelect", "Panel1", "TFrameBetMethodPattern", "DBGridBet",
          "DBNavigatorBet", "BtnReadBet", "MemoBetInfo", "TFrameBetAmountLevel", "SpinEditWinlevelMove",
          "DBGridAnalysis", "CheckBoxAnalysisGoFirst2", "EditMaxProfit", "EditTotalLoseAmount", "ConWin", "ConLose",
          "BtnCreateSetup", "BtnDestroySetup", "PageControlAdditionalSetup", "FrameWinLostChart", "FrameChartProfit",
          "Chart", "CheckBox3D", "BtnZoomIn", "BtnZoomOut", "BtnMove", "BtnUnZoom", "BtnReadStrategies",
          "BtnSaveStrategies", "BtnExportCsv", "ScrollBoxViewResults", "TFrameAnalysisResult", "LabelStrategy",
          "ScrollBar1", "CheckBoxAccProfit"}) {
      QList<QJsonObject> found;
      Find(tree, QString::fromLatin1(name), found);
      QVERIFY2(!found.isEmpty(), name);
    }
    QList<QJsonObject> found;
    Find(tree, QStringLiteral("PageControlStrategy"), found);
    QCOMPARE(found[0][QStringLiteral("children")].toArray()[0].toObject()[QStringLiteral("text")].toString(),
             QStringLiteral("策略1"));
  }

 private:
  std::unique_ptr<TFormDaruvedaZizeveva> window;
  QStringList messages;
  QString nextFile;
};

QTEST_MAIN(StrategyTabTest)
#include "TFormDaruvedaZizevevaStrategies_test.moc"
