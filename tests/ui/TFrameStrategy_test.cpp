// A strategy page on its own, driven through its widgets: the mirrored boxes and
// lists, switching components, the setup pages, the result grid and figures, the
// tab position, the .MED and .AMT files and the plug-in items.
#include <QComboBox>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "bets/BetAmountFlat.h"
#include "bets/BetMethodLoop.h"
#include "bets/QtPlugInComboBox.h"
#include "bets/TFrameBetAmount.h"
#include "bets/TFrameBetAmountAntiCancel.h"
#include "bets/TFrameBetAmountFlat.h"
#include "bets/TFrameBetAmountLevel.h"
#include "bets/TFrameBetMethod.h"
#include "bets/TFrameBetMethodLoop.h"
#include "bets/TFrameBetMethodPattern.h"
#include "contracts/StrategyHost.h"
#include "roads/RoadSettings.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"
#include "stats/TFrameContinuous.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"
#include "strategy/TFrameAdditionalSetup.h"
#include "strategy/TFrameAdditionalSetupGroup.h"
#include "strategy/TFrameAdditionalSetupTakeProfitStopLoss.h"
#include "strategy/TFrameStrategy.h"
#include "table/Big5.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

namespace {

// Clicks a check box on its box (the widget may be wider than its text).
void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

}  // namespace

class StrategyPageTest : public QObject {
  Q_OBJECT

 private slots:
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
    shoes.AppendShoe({"A12", "PPBPPB", ""});
    display.SetResult(shoes.CurrentResult());
    strategy = std::make_unique<Strategy>(&host, "策略1");
    page = new TFrameStrategy(*strategy, nullptr);
    page->SelectBetMethod(0);
    page->SelectBetAmount(0);
    page->resize(760, 420);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
  }
  void cleanup() {
    delete page;
    page = nullptr;
    strategy.reset();
    shoes.Table().EmptyDataSet();
    SetMessageHook(nullptr);
    SetFileHook(nullptr);
  }

  void startsWithTheDefaults() {
    QCOMPARE(page->EditStrategyName->text(), QStringLiteral("策略1"));
    QCOMPARE(page->ComboBoxBetMethod->currentText(), QStringLiteral("依形態下注"));
    QCOMPARE(page->ComboBoxBetAmount->currentText(), QStringLiteral("一般級數變動的注碼法"));
    QCOMPARE(page->ComboBoxBetAmount->count(), 5);
    QCOMPARE(page->ComboBoxRoad->count(), 7);
    QCOMPARE(page->ComboBoxRoad->currentText(), QStringLiteral("大路"));
    QCOMPARE(page->ComboBoxTabPostion->currentText(), QStringLiteral("左面"));
    QCOMPARE(page->PageControl1->tabPosition(), QTabWidget::West);
    QVERIFY(page->CheckBoxUse->isChecked());
    QVERIFY(page->CheckBoxBetMethodEach->isChecked());
    QVERIFY(!page->CheckBoxAnalysisGoFirst1->isChecked());
    QVERIFY(!page->CheckBoxViewResults->isChecked());
    QStringList tabs;
    for (int i = 0; i < page->PageControl1->count(); ++i) tabs << page->PageControl1->tabText(i);
    QCOMPARE(tabs, (QStringList{"快速設定", "投注法", "注碼法", "分析結果", "分析統計", "附加設定", "上下風圖", "其他圖表"}));
    QCOMPARE(page->PageControlOtherChart->tabText(0), QStringLiteral("利潤走勢圖"));
    QVERIFY(qobject_cast<TFrameBetMethodPattern*>(page->FrameBetMethod->CurrentView()));
    QVERIFY(qobject_cast<TFrameBetAmountLevel*>(page->FrameBetAmount->CurrentView()));
    auto* pattern = static_cast<TFrameBetMethodPattern*>(page->FrameBetMethod->CurrentView());
    QCOMPARE(pattern->DBGridBet->model()->rowCount(), 21);
    QVERIFY(!pattern->BtnSaveBetToServer->isEnabled());
    // Renaming tells the page holding the strategy.
    QStringList names;
    connect(page, &TFrameStrategy::nameChanged, this, [&](const QString& n) { names << n; });
    page->EditStrategyName->clear();
    QTest::keyClicks(page->EditStrategyName, QStringLiteral("AB"));
    QCOMPARE(names.last(), QStringLiteral("AB"));
    QCOMPARE(page->GetStrategy().StrategyName, std::string("AB"));
  }

  void mirroredBoxesAndLists() {
    Strategy& s = page->GetStrategy();
    QCheckBox* selectorCopy = page->FrameBetMethod->CheckBoxEach;
    QCOMPARE(selectorCopy->text(), QStringLiteral("多靴分析時每靴重新開始投注法"));
    page->PageControl1->setCurrentIndex(0);
    Click(page->CheckBoxBetMethodEach);
    QVERIFY(!s.BetMethodEach());
    QVERIFY(!selectorCopy->isChecked());
    page->PageControl1->setCurrentIndex(1);
    Click(selectorCopy);
    QVERIFY(s.BetMethodEach());
    QVERIFY(page->CheckBoxBetMethodEach->isChecked());
    page->PageControl1->setCurrentIndex(2);
    Click(page->FrameBetAmount->CheckBoxEach);
    QVERIFY(!s.BetAmountEach());
    QVERIFY(!page->CheckBoxBetAmountEach->isChecked());

    page->PageControl1->setCurrentIndex(0);
    Click(page->CheckBoxAnalysisGoFirst1);
    QVERIFY(page->CheckBoxAnalysisGoFirst2->isChecked());
    QVERIFY(s.AnalysisGoFirst);
    page->PageControl1->setCurrentIndex(3);
    Click(page->CheckBoxAnalysisGoFirst2);
    QVERIFY(!page->CheckBoxAnalysisGoFirst1->isChecked());
    QVERIFY(!s.AnalysisGoFirst);

    // The page's list switches the selector, and the selector's list the page's.
    page->PageControl1->setCurrentIndex(0);
    page->ComboBoxBetMethod->setFocus();
    QTest::keyClick(page->ComboBoxBetMethod, Qt::Key_Down);
    QCOMPARE(page->FrameBetMethod->ComboBoxSelect->currentIndex(), 1);
    QVERIFY(qobject_cast<TFrameBetMethodLoop*>(page->FrameBetMethod->CurrentView()));
    QVERIFY(dynamic_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent()));
    page->PageControl1->setCurrentIndex(2);
    page->FrameBetAmount->ComboBoxSelect->setFocus();
    QTest::keyClick(page->FrameBetAmount->ComboBoxSelect, Qt::Key_End);
    QCOMPARE(page->ComboBoxBetAmount->currentText(), QStringLiteral("孖寶纜"));
    QCOMPARE(page->FrameBetAmount->CurrentView()->findChild<QLabel*>()->text(), QStringLiteral("未完成"));
    page->FrameBetAmount->ComboBoxSelect->setFocus();
    QTest::keyClick(page->FrameBetAmount->ComboBoxSelect, Qt::Key_Up);
    auto* anti = qobject_cast<TFrameBetAmountAntiCancel*>(page->FrameBetAmount->CurrentView());
    QVERIFY(anti);
    QCOMPARE(anti->LabelNotice->text(), QStringLiteral("注意:本注碼法是反消數纜"));
    QCOMPARE(anti->LabelNotice->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(anti->LabelNotice->toolTip().contains(QLatin1Char('\n')));
    QVERIFY(anti->SpinEditLargest->toolTip().startsWith(QStringLiteral("當下注等於或大於此注碼, 而又羸了")));
    QCOMPARE(page->ComboBoxBetAmount->currentText(), QStringLiteral("反消數纜"));
  }

  void switchingDiscardsTheOldComponent() {
    auto* pattern = static_cast<TFrameBetMethodPattern*>(page->FrameBetMethod->CurrentView());
    QPointer<TFrameBetMethodPattern> old(pattern);
    pattern->DBNavigatorBet->Click(QtNavigator::Delete);   // the question is answered Yes
    pattern->MemoBetInfo->setPlainText(QStringLiteral("我的形態"));
    QCOMPARE(pattern->Method().Table().RecordCount(), 20);
    QCOMPARE(Big5ToUtf8(pattern->Method().Info), std::string("我的形態"));
    page->SelectBetMethod(1);
    QVERIFY(old.isNull());   // the panel went with its component
    page->SelectBetMethod(0);
    pattern = static_cast<TFrameBetMethodPattern*>(page->FrameBetMethod->CurrentView());
    QCOMPARE(pattern->DBGridBet->model()->rowCount(), 21);
    QVERIFY(pattern->MemoBetInfo->toPlainText() != QStringLiteral("我的形態"));

    page->SelectBetAmount(1);
    auto* flat = static_cast<TFrameBetAmountFlat*>(page->FrameBetAmount->CurrentView());
    QCOMPARE(flat->SpinEditFlatBet->value(), 300);
    flat->SpinEditFlatBet->setValue(-5);
    QCOMPARE(static_cast<BetAmountFlat*>(page->GetStrategy().FrameBetAmount.CurrentComponent())->FlatBet, -5);
    page->SelectBetAmount(0);
    page->SelectBetAmount(1);
    flat = static_cast<TFrameBetAmountFlat*>(page->FrameBetAmount->CurrentView());
    QCOMPARE(flat->SpinEditFlatBet->value(), 300);
  }

  void setupPagesKeepTheirOrder() {
    page->PageControl1->setCurrentIndex(5);
    QTest::mouseClick(page->BtnDestroySetup, Qt::LeftButton);   // no page: nothing
    for (int i = 0; i < 3; ++i) QTest::mouseClick(page->BtnCreateSetup, Qt::LeftButton);
    QCOMPARE(page->PageControlAdditionalSetup->count(), 3);
    QCOMPARE(page->PageControlAdditionalSetup->currentIndex(), 2);
    QCOMPARE(page->PageControlAdditionalSetup->tabText(2), QStringLiteral("每靴入路設定"));
    page->SetupFrame(1)->ComboBoxSelectChange(AdditionalSetup::kTakeProfitStopLoss);
    page->SetupFrame(2)->ComboBoxSelectChange(AdditionalSetup::kGroup);
    QCOMPARE(page->PageControlAdditionalSetup->tabText(1), QStringLiteral("風險管理"));
    QCOMPARE(page->PageControlAdditionalSetup->tabText(2), QStringLiteral("以數局為一組分析"));
    auto* group = qobject_cast<TFrameAdditionalSetupGroup*>(page->SetupFrame(2)->CurrentView());
    QVERIFY(group);
    QCOMPARE(group->SpinEditUnitNoOfGame->maximum(), 20);
    QVERIFY(group->SpinEditUnitNoOfGame->toolTip().contains(QStringLiteral("\n每當完成")));
    group->SpinEditUnitNoOfGame->setValue(7);
    QCOMPARE(page->GetStrategy().AdditionalSetups[2]->ComponentAs<AdditionalSetupGroup>()->UnitNoOfGame, 7);

    page->PageControlAdditionalSetup->setCurrentIndex(1);
    QTest::mouseClick(page->BtnDestroySetup, Qt::LeftButton);
    QCOMPARE(page->PageControlAdditionalSetup->count(), 2);
    QCOMPARE(page->PageControlAdditionalSetup->tabText(0), QStringLiteral("每靴入路設定"));
    QCOMPARE(page->PageControlAdditionalSetup->tabText(1), QStringLiteral("以數局為一組分析"));
    const auto& setups = page->GetStrategy().AdditionalSetups;
    QCOMPARE(setups.size(), std::size_t(2));
    QCOMPARE(setups[0]->ItemIndex(), int(AdditionalSetup::kStartBet));
    QCOMPARE(setups[1]->ComponentAs<AdditionalSetupGroup>()->UnitNoOfGame, 7);
    QCOMPARE(&page->SetupFrame(1)->Setup(), setups[1].get());

    // A new kind starts from its defaults; the caption follows the kind.
    page->SetupFrame(1)->ComboBoxSelectChange(AdditionalSetup::kContinuousWin);
    QCOMPARE(page->PageControlAdditionalSetup->tabText(1), QStringLiteral("連羸的附加設定"));
    page->SetupFrame(1)->ComboBoxSelectChange(AdditionalSetup::kGroup);
    group = qobject_cast<TFrameAdditionalSetupGroup*>(page->SetupFrame(1)->CurrentView());
    QCOMPARE(group->SpinEditUnitNoOfGame->value(), 5);

    // Risk management: the restart box only in each-shoe mode.
    page->SetupFrame(0)->ComboBoxSelectChange(AdditionalSetup::kTakeProfitStopLoss);
    page->PageControlAdditionalSetup->setCurrentIndex(0);
    auto* risk = qobject_cast<TFrameAdditionalSetupTakeProfitStopLoss*>(page->SetupFrame(0)->CurrentView());
    QVERIFY(risk);
    QCOMPARE(risk->SpinEditStopLoss->value(), -40000);
    QCOMPARE(risk->SpinEditStopLoss->minimum(), -10000000);
    QCOMPARE(risk->SpinEditFall->toolTip(), QStringLiteral("輸入0即表示不設定回落點"));
    QVERIFY(risk->CheckBoxRestartBetAmount->isEnabled());
    QTest::mouseClick(risk->RadioWhole, Qt::LeftButton);
    QVERIFY(!risk->CheckBoxRestartBetAmount->isEnabled());
    QCOMPARE(setups[0]->ComponentAs<AdditionalSetupTakeProfitStopLoss>()->RadioGroupApply, 1);
  }

  void resultGridFiguresAndTheUseBox() {
    // Loop "B", none with flat 20000 on P, P, B, P, P, B: lost, -, won, -, lost, -.
    page->SelectBetMethod(1);
    static_cast<TFrameBetMethodLoop*>(page->FrameBetMethod->CurrentView())->EditBetMethodLoop->setText(QStringLiteral("b x"));
    page->SelectBetAmount(1);
    static_cast<TFrameBetAmountFlat*>(page->FrameBetAmount->CurrentView())->SpinEditFlatBet->setValue(20000);
    page->AnalysisCurrentShoe();
    // The run normalised the loop text, and the panel shows it.
    QCOMPARE(static_cast<TFrameBetMethodLoop*>(page->FrameBetMethod->CurrentView())->EditBetMethodLoop->text(),
             QStringLiteral("BX"));
    QAbstractItemModel* grid = page->DBGridAnalysis->model();
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(grid->headerData(5, Qt::Horizontal).toString(), QStringLiteral("損益"));
    QCOMPARE(grid->index(0, 2).data().toString(), QStringLiteral("B"));
    QCOMPARE(grid->index(0, 5).data().toString(), QStringLiteral("-20000"));
    QCOMPARE(grid->index(0, 5).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(grid->index(1, 5).data().toString(), QString());        // no bet: an empty profit
    QCOMPARE(grid->index(1, 6).data().toString(), QStringLiteral("-20000"));
    QCOMPARE(grid->index(1, 6).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(grid->index(2, 5).data().toString(), QStringLiteral("19000"));
    QVERIFY(!grid->index(2, 5).data(Qt::ForegroundRole).isValid());
    QCOMPARE(grid->index(2, 0).data().toString(), QStringLiteral("A12"));
    QCOMPARE(page->GetStrategy().ClientDataSetAnalysis.RecNo(), 6);   // left on the last row
    QCOMPARE(page->EditMaxProfit->text(), QStringLiteral("0"));
    QCOMPARE(page->EditMaxLoss->text(), QStringLiteral("-21,000"));
    QCOMPARE(page->EditNoOfBet->text(), QStringLiteral("3"));
    QCOMPARE(page->EditTotalBetAmount->text(), QStringLiteral("60000"));
    QCOMPARE(page->EditWinGame->text(), QStringLiteral("1"));
    QCOMPARE(page->EditLoseGame->text(), QStringLiteral("2"));
    QCOMPARE(page->EditTotalWinAmount->text(), QStringLiteral("19,000"));
    QCOMPARE(page->EditTotalLoseAmount->text(), QStringLiteral("40,000"));
    QCOMPARE(page->ConLose->DBGrid1->model()->rowCount(), 1);

    // The road choice re-analyses at once, and so does the use box.
    page->PageControl1->setCurrentIndex(0);
    page->ComboBoxRoad->setFocus();
    QTest::keyClick(page->ComboBoxRoad, Qt::Key_Down);
    QCOMPARE(grid->index(0, 0).data().toString(), QStringLiteral("A12-大眼仔"));
    page->CheckBoxAnalysisGoFirst1->click();
    Click(page->CheckBoxUse);
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(page->EditNoOfBet->text(), QStringLiteral("0"));
    QCOMPARE(page->EditMaxLoss->text(), QStringLiteral("0"));
    Click(page->CheckBoxUse);
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(page->GetStrategy().ClientDataSetAnalysis.RecNo(), 1);   // "分析後資料置頂"

    // The rows as CSV through the button.
    QTemporaryDir dir;
    nextFile = dir.filePath(QStringLiteral("rows.csv"));
    page->PageControl1->setCurrentIndex(3);
    QTest::mouseClick(page->BtnExportCsv, Qt::LeftButton);
    QFile csv(nextFile);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));   // UTF-8 with its mark, for spreadsheets
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines[0], QStringLiteral("靴名,局數,投注,投注金額,開出結果,損益,損益累積"));
    QCOMPARE(lines[1], QStringLiteral("A12-大眼仔,1,,0,P,0,0"));
    QCOMPARE(lines.size(), 8);   // the header, six rows and the empty end
  }

  void tabPositionWaitsForItsTimer() {
    page->ComboBoxTabPostion->setFocus();
    QTest::keyClick(page->ComboBoxTabPostion, Qt::Key_Home);
    QCOMPARE(page->GetStrategy().TabPosition, 0);
    QCOMPARE(page->PageControl1->tabPosition(), QTabWidget::West);   // not yet
    QVERIFY(page->Timer1->isActive());
    QCOMPARE(page->Timer1->interval(), 100);
    QTRY_COMPARE_WITH_TIMEOUT(page->PageControl1->tabPosition(), QTabWidget::North, 1000);
    QVERIFY(!page->Timer1->isActive());
    QTest::keyClick(page->ComboBoxTabPostion, Qt::Key_End);
    QTRY_COMPARE_WITH_TIMEOUT(page->PageControl1->tabPosition(), QTabWidget::East, 1000);
  }

  void medAndAmtFilesThroughThePanels() {
    QTemporaryDir dir;
    auto* pattern = static_cast<TFrameBetMethodPattern*>(page->FrameBetMethod->CurrentView());
    ClientDataSet& patterns = pattern->Method().Table();
    patterns.Last();
    patterns.Append();
    patterns.SetFieldValue("Pattern", std::string("bpx p"));
    patterns.SetFieldValue("Bet", std::string("p"));
    patterns.Post();
    pattern->MemoBetInfo->setPlainText(QStringLiteral("第一行\n第二行"));
    nextFile = dir.filePath(QStringLiteral("mine.MED"));
    QTest::mouseClick(pattern->BtnSaveBet, Qt::LeftButton);
    QCOMPARE(filters.last(), QStringLiteral("百家樂投注法(*.MED *.med)"));
    QVERIFY(QFile::exists(nextFile));
    // Another component, then the file read back into it.
    page->SelectBetMethod(1);
    page->SelectBetMethod(0);
    pattern = static_cast<TFrameBetMethodPattern*>(page->FrameBetMethod->CurrentView());
    QTest::mouseClick(pattern->BtnReadBet, Qt::LeftButton);
    QAbstractItemModel* rows = pattern->DBGridBet->model();
    QCOMPARE(rows->rowCount(), 22);
    QCOMPARE(rows->index(21, 0).data().toString(), QStringLiteral("BPP"));
    QCOMPARE(rows->index(21, 1).data().toString(), QStringLiteral("P"));
    QCOMPARE(pattern->MemoBetInfo->toPlainText(), QStringLiteral("第一行\n第二行"));
    QCOMPARE(pattern->Method().LastFileName, nextFile.toStdString());
    // A file that is no .MED changes nothing and says why.
    nextFile = dir.filePath(QStringLiteral("missing.MED"));
    QTest::mouseClick(pattern->BtnReadBet, Qt::LeftButton);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(rows->rowCount(), 22);
    nextFile.clear();   // cancelled
    QTest::mouseClick(pattern->BtnReadBet, Qt::LeftButton);
    QCOMPARE(messages.size(), 1);

    auto* level = static_cast<TFrameBetAmountLevel*>(page->FrameBetAmount->CurrentView());
    level->SpinEditWinlevelMove->setValue(0);
    level->SpinEditLoseLevelMove->setValue(1);
    level->MemoBetAmountInfo->setPlainText(QStringLiteral("輸了升級"));
    level->Amount().Table().AppendRow({2400});
    nextFile = dir.filePath(QStringLiteral("mine.AMT"));
    QTest::mouseClick(level->BtnSaveAmt, Qt::LeftButton);
    QCOMPARE(filters.last(), QStringLiteral("百家樂注碼法(*.AMT *.amt)"));
    page->SelectBetAmount(1);
    page->SelectBetAmount(0);
    level = static_cast<TFrameBetAmountLevel*>(page->FrameBetAmount->CurrentView());
    QCOMPARE(level->SpinEditLoseLevelMove->value(), -5);
    QTest::mouseClick(level->BtnReadAmt, Qt::LeftButton);
    QCOMPARE(level->SpinEditWinlevelMove->value(), 0);
    QCOMPARE(level->SpinEditLoseLevelMove->value(), 1);
    QCOMPARE(level->MemoBetAmountInfo->toPlainText(), QStringLiteral("輸了升級"));
    QCOMPARE(level->DBGridBetAmount->model()->rowCount(), 4);
    QCOMPARE(level->DBGridBetAmount->model()->index(3, 0).data().toInt(), 2400);
    QCOMPARE(level->Amount().LoseLevelMove, 1);
  }

  void plugInItemsAreDrawnBoldAndRed() {
    int made = 0;
    page->AddBetMethodPlugIn({"外掛投注法", [&](BetSelector&) {
                                ++made;
                                return std::make_unique<CommonBet>();
                              }});
    QCOMPARE(page->ComboBoxBetMethod->count(), 3);
    QCOMPARE(page->FrameBetMethod->ComboBoxSelect->itemText(2), QStringLiteral("外掛投注法"));
    QtPlugInComboBox* list = page->ComboBoxBetMethod;
    QVERIFY(list->ItemFont(2).bold());
    QVERIFY(!list->ItemFont(1).bold());
    QCOMPARE(list->ItemColour(2, false), QColor(Qt::red));
    QCOMPARE(list->ItemColour(2, true), QColor(Qt::yellow));
    QVERIFY(!list->ItemColour(0, false).isValid());
    page->SelectBetMethod(2);
    QCOMPARE(made, 1);
    QCOMPARE(page->ComboBoxBetMethod->currentIndex(), 2);
    QCOMPARE(page->FrameBetMethod->CurrentView()->objectName(), QStringLiteral("PlugInComponent"));
    // The closed list writes the chosen plug-in item in red.
    page->PageControl1->setCurrentIndex(0);
    const QImage image = list->grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++red;
      }
    QVERIFY(red > 10);
  }

 private:
  ShoesData shoes;
  TRoad display;
  TRoad analysis;
  RoadSettings roads;
  StrategyHost host{&shoes, &display, &analysis, &roads};
  std::unique_ptr<Strategy> strategy;   // outlives its page
  TFrameStrategy* page = nullptr;
  QStringList messages;
  QStringList filters;
  QString nextFile;
};

QTEST_MAIN(StrategyPageTest)
#include "TFrameStrategy_test.moc"
