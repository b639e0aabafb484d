#include "app/QtProgramModes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>

#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFormExportShoesData.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetMethodLoop.h"
#include "bets/TFrameBetAmount.h"
#include "bets/TFrameBetMethod.h"
#include "strategy/TFrameAdditionalSetup.h"
#include "strategy/TFrameAnalysisResult.h"
#include "strategy/TFrameStrategy.h"

namespace zavuv {

namespace {

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool Save(QWidget* widget, const QString& path) {
  Settle();
  if (!widget->grab().save(path)) {
    std::fprintf(stderr, "zavuv: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

// Four strategies of different kinds: the default page (patterns, levels), a loop
// with the cancellation line on 小路, flat stakes on 珠路1 with a risk setup, and the
// anti-cancellation line on 大眼仔.
void SetUpFourStrategies(zavuv::TFormDaruvedaZizeveva& window) {
  using namespace zavuv;
  while (window.StrategyPages().size() < 4) window.BtnCreateStrategy->click();
  std::vector<TFrameStrategy*> pages = window.StrategyPages();
  pages[1]->SelectBetMethod(BetMethod::kLoop);
  pages[1]->SelectBetAmount(BetAmount::kCancel);
  pages[1]->ComboBoxRoad->setCurrentIndex(2);
  pages[1]->ComboBoxRoadChange(2);
  pages[2]->SelectBetMethod(BetMethod::kLoop);
  static_cast<BetMethodLoop*>(pages[2]->GetStrategy().FrameBetMethod.CurrentComponent())->LoopText = "BPX";
  pages[2]->SelectBetAmount(BetAmount::kFlat);
  pages[2]->ComboBoxRoad->setCurrentIndex(4);
  pages[2]->ComboBoxRoadChange(4);
  pages[2]->BtnCreateSetup->click();
  if (TFrameAdditionalSetup* setup = pages[2]->SetupFrame(0)) setup->ComboBoxSelectChange(AdditionalSetup::kTakeProfitStopLoss);
  pages[3]->SelectBetAmount(BetAmount::kAntiCancel);
  pages[3]->ComboBoxRoad->setCurrentIndex(1);
  pages[3]->ComboBoxRoadChange(1);
  for (TFrameStrategy* page : pages) page->FrameBetMethod->LoadSettings();
}

bool SaveStrategyShots(zavuv::TFormDaruvedaZizeveva& window, const QDir& dir) {
  using namespace zavuv;
  SetUpFourStrategies(window);
  std::vector<TFrameStrategy*> pages = window.StrategyPages();
  for (int i = 0; i < 3; ++i) {
    pages[i]->CheckBoxViewResults->setChecked(true);
    pages[i]->CheckBoxViewResultsClick();
  }
  window.BtnAnalysisAllShoes->click();
  window.PageControl1->setCurrentWidget(window.TabSheetStrategy);
  TFrameStrategy* page = pages[0];
  window.PageControlStrategy->setCurrentWidget(page);
  page->BtnCreateSetup->click();
  page->BtnCreateSetup->click();
  if (TFrameAdditionalSetup* setup = page->SetupFrame(1)) setup->ComboBoxSelectChange(AdditionalSetup::kGroup);
  if (TFrameAdditionalSetup* setup = page->SetupFrame(0)) setup->ComboBoxSelectChange(AdditionalSetup::kTakeProfitStopLoss);
  page->PageControlAdditionalSetup->setCurrentIndex(0);
  struct Shot {
    int tab;
    const char* file;
  };
  bool ok = true;
  for (const Shot& shot : {Shot{0, "strategy-settings.png"}, Shot{1, "strategy-bet-method.png"},
                           Shot{2, "strategy-bet-amount.png"}, Shot{3, "strategy-results.png"},
                           Shot{4, "strategy-statistics.png"}, Shot{5, "strategy-setups.png"},
                           Shot{6, "strategy-winlose-chart.png"}, Shot{7, "strategy-profit-chart.png"}}) {
    page->PageControl1->setCurrentIndex(shot.tab);
    ok = Save(&window, dir.filePath(QString::fromLatin1(shot.file))) && ok;
  }
  window.PageControlStrategy->setCurrentWidget(pages[1]);
  pages[1]->PageControl1->setCurrentIndex(2);
  ok = Save(&window, dir.filePath(QStringLiteral("strategy-cancel.png"))) && ok;
  pages[1]->PageControl1->setCurrentIndex(1);
  ok = Save(&window, dir.filePath(QStringLiteral("strategy-loop.png"))) && ok;
  window.PageControlStrategy->setCurrentWidget(pages[2]);
  pages[2]->PageControl1->setCurrentIndex(2);
  ok = Save(&window, dir.filePath(QStringLiteral("strategy-flat.png"))) && ok;
  window.PageControlStrategy->setCurrentWidget(pages[3]);
  pages[3]->PageControl1->setCurrentIndex(2);
  ok = Save(&window, dir.filePath(QStringLiteral("strategy-anti-cancel.png"))) && ok;
  pages[3]->PageControl1->setCurrentIndex(5);
  pages[3]->BtnCreateSetup->click();
  ok = Save(&window, dir.filePath(QStringLiteral("strategy-setup-start-bet.png"))) && ok;
  pages[3]->BtnCreateSetup->click();
  if (TFrameAdditionalSetup* setup = pages[3]->SetupFrame(1)) setup->ComboBoxSelectChange(AdditionalSetup::kContinuousWin);
  ok = Save(&window, dir.filePath(QStringLiteral("strategy-setup-continuous-win.png"))) && ok;
  pages[3]->PageControlAdditionalSetup->setCurrentIndex(0);
  pages[3]->BtnDestroySetup->click();
  pages[3]->BtnDestroySetup->click();
  window.PageControl1->setCurrentWidget(window.TabSheetMutliStrategy);
  auto* inner = window.TabSheetMutliStrategy->findChild<QTabWidget*>(QStringLiteral("PageControlMultiStrategy"));
  inner->setCurrentIndex(0);
  ok = Save(&window, dir.filePath(QStringLiteral("combined.png"))) && ok;
  inner->setCurrentIndex(1);
  // A wider first view, the third without its shoe names, all on row 12 together.
  if (TFrameAnalysisResult* view = pages[0]->ResultView()) view->ScrollBar1->setValue(420);
  if (TFrameAnalysisResult* view = pages[2]->ResultView()) view->CheckBoxShoesName->click();
  Settle();
  if (TFrameAnalysisResult* view = pages[1]->ResultView()) view->ClientDataSetAnalysis.GotoRow(11);
  ok = Save(&window, dir.filePath(QStringLiteral("side-by-side.png"))) && ok;
  return ok;
}

}  // namespace

int RunBench(zavuv::TFormDaruvedaZizeveva& window) {
  using namespace zavuv;
  SetUpFourStrategies(window);
  QElapsedTimer clock;
  clock.start();
  window.BtnAnalysisAllShoes->click();
  const qint64 ms = clock.elapsed();
  long long games = 0;
  for (TFrameStrategy* page : window.StrategyPages()) games += page->GetStrategy().ClientDataSetAnalysis.RecordCount();
  std::printf("shoes %d, strategies %zu, strategy rows %lld, combined rows %d: %lld ms\n",
              window.Combined().ShoesAnalysed, window.StrategyPages().size(), games,
              window.Combined().ClientDataSetAnalysis.RecordCount(), static_cast<long long>(ms));
  return 0;
}

void SettleEvents() { Settle(); }

int SaveScreenshots(TFormDaruvedaZizeveva& window, const QString& folder) {
  QDir().mkpath(folder);
  QDir dir(folder);
  // The window as it opens (forum page, 793 × 533), then its pages at the start size.
  bool started = Save(&window, dir.filePath(QStringLiteral("start.png")));
  window.PageControl1->setCurrentWidget(window.TabSheetRoad);
  started = Save(&window, dir.filePath(QStringLiteral("start-road.png"))) && started;
  window.PageControl1->setCurrentWidget(window.TabSheetStats);
  started = Save(&window, dir.filePath(QStringLiteral("start-statistics.png"))) && started;
  window.PageControl1->setCurrentWidget(window.TabSheetStrategy);
  started = Save(&window, dir.filePath(QStringLiteral("start-strategy.png"))) && started;
  window.resize(1100, 720);
  window.PageControl1->setCurrentWidget(window.TabSheetRoad);
  window.PageControlRoad->setCurrentIndex(1);
  started = Save(&window, dir.filePath(QStringLiteral("road-settings.png"))) && started;
  window.PageControlRoad->setCurrentIndex(0);
  window.PageControl1->setCurrentWidget(window.TabSheetGameRoom);
  started = Save(&window, dir.filePath(QStringLiteral("game-room.png"))) && started;
  window.PageControl1->setCurrentWidget(window.TabSheetSetup);
  started = Save(&window, dir.filePath(QStringLiteral("setup.png"))) && started;
  window.PageControl1->setCurrentWidget(window.TabSheetRoad);
  bool ok = Save(&window, dir.filePath(QStringLiteral("road.png")));
  window.PageControl1->setCurrentWidget(window.TabSheetStats);
  ok = Save(&window, dir.filePath(QStringLiteral("statistics.png"))) && ok;
  window.FormExportShoesData->show();
  ok = Save(window.FormExportShoesData, dir.filePath(QStringLiteral("export.png"))) && ok;
  window.FormExportShoesData->hide();
  window.AboutBox->show();
  ok = Save(window.AboutBox, dir.filePath(QStringLiteral("about.png"))) && ok;
  window.AboutBox->hide();
  ok = SaveStrategyShots(window, dir) && ok;
  return ok && started ? 0 : 1;
}

}  // namespace zavuv
