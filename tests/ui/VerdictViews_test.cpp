// The judging in the window: the verdict on the figures pages and the combined page
// after a real range run, the fair-shoe check of the statistics page, and the risk
// page (refusing a bad field, matching the engine, stopping on "取消").
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFrameCombinedResults.h"
#include "bets/TFrameBetAmount.h"
#include "bets/TFrameBetAmountFlat.h"
#include "bets/TFrameBetMethod.h"
#include "bets/TFrameBetMethodLoop.h"
#include "stats/TFrameShoeStats.h"
#include "strategy/TFrameStrategy.h"
#include "verdict/Random.h"
#include "verdict/TFrameFairness.h"
#include "verdict/TFrameRisk.h"
#include "verdict/TFrameVerdict.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

namespace {

void LoopFlat(TFrameStrategy* page, const QString& loop) {
  page->SelectBetMethod(BetMethod::kLoop);
  page->SelectBetAmount(BetAmount::kFlat);
  static_cast<TFrameBetMethodLoop*>(page->FrameBetMethod->CurrentView())->EditBetMethodLoop->setText(loop);
  static_cast<TFrameBetAmountFlat*>(page->FrameBetAmount->CurrentView())->SpinEditFlatBet->setValue(1);
}

}  // namespace

class VerdictViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    LoopFlat(window->StrategyPages()[0], QStringLiteral("B"));
  }
  void cleanup() {
    window.reset();
    SetMessageHook(nullptr);
  }

  void verdictsAndFairnessOfARiggedRecord() {
    // 300 shoes in which the banker wins 60 % of the decided games.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rigged.DAT"));
    {
      ShoesData shoes;
      Random random(5);
      for (int shoe = 0; shoe < 300; ++shoe) {
        std::string result;
        for (int g = 0; g < 80; ++g) {
          const double u = random.Unit();
          result += u < 0.095 ? 'T' : u < 0.095 + 0.905 * 0.6 ? 'B' : 'P';
        }
        shoes.AppendShoe({"R" + std::to_string(shoe), result, {}});
      }
      shoes.SaveData(path.toStdString());
    }
    window->ReadData(path);
    TFrameStrategy* player = window->CreateStrategy(QStringLiteral("閒"), 0, 0);
    LoopFlat(player, QStringLiteral("P"));
    // The current-shoe analysis judges one shoe: too few.
    window->ClientDataSetShoesDataAfterScroll();
    const std::vector<TFrameStrategy*> pages = window->StrategyPages();
    QVERIFY(pages[0]->FrameVerdict->LabelVerdict->text().contains(QStringLiteral("樣本不足")));

    QTest::mouseClick(window->BtnAnalysisAllShoes, Qt::LeftButton);
    const VerdictReport report = window->Bench().JudgeResults();
    QCOMPARE(report.Strategies[0].Kind, VerdictKind::Better);
    QCOMPARE(pages[0]->FrameVerdict->LabelVerdict->text(),
             QStringLiteral("判定: ") + QString::fromStdString(report.Strategies[0].Text()));
    QVERIFY(pages[0]->FrameVerdict->LabelVerdict->text().contains(QStringLiteral("顯著優於莊家優勢")));
    QVERIFY(pages[1]->FrameVerdict->LabelVerdict->text().contains(QStringLiteral("顯著差於莊家優勢")));
    QCOMPARE(pages[0]->FrameVerdict->EditStaked->text(), QString::number(report.Strategies[0].Staked, 'f', 2));
    QCOMPARE(pages[0]->FrameVerdict->EditHouseEdge->text(), QStringLiteral("-1.058%"));
    QCOMPARE(pages[1]->FrameVerdict->EditHouseEdge->text(), QStringLiteral("-1.235%"));
    QCOMPARE(pages[1]->FrameVerdict->EditHolmP->text(), PValueText(report.Pages.HolmP[1]));
    QVERIFY(!pages[1]->FrameVerdict->EditHolmP->text().isEmpty());
    TFrameCombinedResults* combined = window->FrameCombinedResults;
    QCOMPARE(combined->LabelPagesVerdict->text(), QString::fromStdString(report.Pages.Text()));
    QVERIFY(combined->LabelPagesVerdict->text().startsWith(QStringLiteral("若 2 個策略都沒有優勢")));
    QCOMPARE(combined->GridPageVerdicts->rowCount(), 2);
    QCOMPARE(combined->GridPageVerdicts->item(1, 4)->text(), PValueText(report.Pages.HolmP[1]));
    QCOMPARE(combined->FrameVerdict->LabelVerdict->text(),
             QStringLiteral("判定: ") + QString::fromStdString(report.Combined.Text()));

    // The statistics of the range: far from fair 8-deck shoes.
    window->BtnStatAllClick();
    const Fairness fair = window->Bench().ShoeFairness();
    QCOMPARE(fair.Games, 300 * 80);
    TFrameFairness* shown = window->FrameShoeStats->FrameFairness;
    QCOMPARE(shown->EditObserved[0]->text(), PercentText(fair.Observed[0], 2));
    QCOMPARE(shown->EditExpected[2]->text(), QStringLiteral("9.52%"));
    QCOMPARE(shown->LabelFairness->text(), QString::fromStdString(fair.Text()));
    QVERIFY(shown->LabelFairness->text().startsWith(QStringLiteral("與八副牌的理論機率不符")));
  }

  void riskPageRefusesRunsAndCancels() {
    TFrameRisk* risk = window->FrameCombinedResults->FrameRisk;
    risk->EditBankroll->setText(QStringLiteral("0"));
    risk->BtnRun->click();
    QCOMPARE(messages, QStringList{QStringLiteral("資金必須大於 0")});
    QVERIFY(!risk->Running());
    QCOMPARE(risk->GridResults->rowCount(), 0);

    // A small simulation shows the engine's figures for the same settings.
    risk->EditBankroll->setText(QStringLiteral("20"));
    risk->EditShoesPerSession->setText(QStringLiteral("3"));
    risk->EditSessions->setText(QStringLiteral("300"));
    risk->EditSeed->setText(QStringLiteral("7"));
    QSignalSpy ended(risk, &TFrameRisk::finished);
    risk->BtnRun->click();
    QVERIFY(ended.wait(60000));
    RiskSettings settings = risk->Settings();
    const RiskReport engine = window->Bench().MakeRiskSimulation()->Run(settings);
    QVERIFY(engine.Combined.PRuin > 0.05 && engine.Combined.PRuin < 0.95);
    QCOMPARE(risk->GridResults->rowCount(), 2);
    QCOMPARE(risk->GridResults->item(0, 1)->text(), PercentText(engine.Strategies[0].PRuin, 1));
    QCOMPARE(risk->Report().Strategies[0].Finals, engine.Strategies[0].Finals);
    QCOMPARE(risk->Report().Combined.PRuin, engine.Combined.PRuin);
    QVERIFY(!risk->ChartHistogram->chart()->series().isEmpty());
    QCOMPARE(risk->ChartFan->chart()->series().size(), 3);

    // A long run stops on "取消" with the sessions played so far.
    risk->EditShoesPerSession->setText(QStringLiteral("20"));
    risk->EditSessions->setText(QStringLiteral("1000000"));
    risk->BtnRun->click();
    QVERIFY(risk->Running());
    QTRY_VERIFY_WITH_TIMEOUT(risk->ProgressBar->value() > 0, 20000);
    QVERIFY(risk->BtnCancel->isEnabled());
    risk->BtnCancel->click();
    QVERIFY(ended.wait(20000));
    QVERIFY(!risk->Running());
    QVERIFY(risk->Report().Cancelled);
    QVERIFY(risk->Report().Combined.Sessions < 1000000);
    QVERIFY(risk->LabelStatus->text().startsWith(QStringLiteral("模擬已取消")));
  }

 private:
  std::unique_ptr<TFormDaruvedaZizeveva> window;
  QStringList messages;
};

QTEST_MAIN(VerdictViewsTest)
#include "VerdictViews_test.moc"
