#include "app/QtProgramModes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <cstdio>

#include "app/QtServerClient.h"
#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFrameAccount.h"
#include "app/TFrameCombinedResults.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "app/TFormExportShoesData.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetMethodLoop.h"
#include "bets/TFrameBetAmount.h"
#include "bets/TFrameBetMethod.h"
#include "strategy/TFrameAdditionalSetup.h"
#include "strategy/TFrameAnalysisResult.h"
#include "stats/TFrameShoeStats.h"
#include "strategy/TFrameStrategy.h"
#include "verdict/TFrameRisk.h"
#include "widgets/QtMessages.h"

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

// A modal dialog that `open` brings up, as the user sees it; then it is dismissed
// (Escape: "取消" for a question, cancel for a file dialog).
bool SaveModal(const QString& path, const std::function<void()>& open) {
  bool saved = false;
  QTimer::singleShot(500, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    saved = Save(modal, path);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
  open();
  if (!saved) std::fprintf(stderr, "zavuv: no dialog for %s\n", qPrintable(path));
  return saved;
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

// The judging: the verdict of a figures page and of the combined page with two
// pages in use, the risk page after a simulation, the fair-shoe check of the range.
bool SaveVerdictShots(TFormDaruvedaZizeveva& window, const QDir& dir) {
  std::vector<TFrameStrategy*> pages = window.StrategyPages();
  for (std::size_t i = 2; i < pages.size(); ++i) {
    pages[i]->CheckBoxUse->setChecked(false);
    pages[i]->CheckBoxUseClick();
  }
  window.BtnAnalysisAllShoes->click();
  window.PageControl1->setCurrentWidget(window.TabSheetStrategy);
  window.PageControlStrategy->setCurrentWidget(pages[1]);
  pages[1]->PageControl1->setCurrentIndex(4);
  bool ok = Save(&window, dir.filePath(QStringLiteral("verdict-page.png")));
  window.PageControl1->setCurrentWidget(window.TabSheetMutliStrategy);
  auto* inner = window.TabSheetMutliStrategy->findChild<QTabWidget*>(QStringLiteral("PageControlMultiStrategy"));
  inner->setCurrentIndex(2);
  ok = Save(&window, dir.filePath(QStringLiteral("verdict-combined.png"))) && ok;
  inner->setCurrentIndex(3);
  TFrameRisk* risk = window.FrameCombinedResults->FrameRisk;
  risk->EditBankroll->setText(QStringLiteral("20000"));
  risk->EditShoesPerSession->setText(QStringLiteral("10"));
  risk->EditSessions->setText(QStringLiteral("2000"));
  if (risk->Start())
    while (risk->Running()) QApplication::processEvents(QEventLoop::AllEvents, 50);
  ok = Save(&window, dir.filePath(QStringLiteral("risk.png"))) && ok;
  window.PageControl1->setCurrentWidget(window.TabSheetStats);
  window.BtnStatAllClick();
  ok = Save(&window, dir.filePath(QStringLiteral("fairness.png"))) && ok;
  return ok;
}

// The login dialog, and the account column as a login leaves it: the lines a server
// sends go through the real dispatcher (no server is reached).
bool SaveAccountShots(TFormDaruvedaZizeveva& window, const QDir& dir) {
  window.FormLogin->show();
  window.FormLogin->EditUserID->setText(QStringLiteral("abcde12345"));
  window.FormLogin->EditUserPassword->setText(QStringLiteral("pw12"));
  bool ok = Save(window.FormLogin, dir.filePath(QStringLiteral("login.png")));
  window.FormLogin->hide();
  window.FormSignUp->show();
  window.FormSignUp->EditEMail->setText(QStringLiteral("me@example.test"));
  ok = Save(window.FormSignUp, dir.filePath(QStringLiteral("sign-up.png"))) && ok;
  window.FormSignUp->hide();
  net::Dispatcher& server = window.FrameAccount->Client().Dispatcher();
  for (const char* line : {"UTF8NICKNAME:小明", "LEVEL:5:50:200", "UTF8SYSTEMMSG:歡迎來到 zavuv 社群伺服器",
                           "UTF8PUBLICMSG:阿德: 今晚莊路很長", "UTF8PUBLICMSG:小明: 大家好",
                           "UTF8GETONLINELISTOK:小明,阿德,Lucky"})
    server.HandleLine(line);
  {
    QSignalBlocker quiet(window.BtnConnect);
    window.BtnConnect->setChecked(true);
  }
  window.FrameAccount->ShowLoggedIn();
  window.EditMessage->setText(QStringLiteral("有人在戰場嗎?"));
  window.PageControl1->setCurrentWidget(window.TabSheetSetup);
  ok = Save(&window, dir.filePath(QStringLiteral("account.png"))) && ok;
  return ok;
}

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
  // A range run over the shoes read, and the status line saying what it did.
  window.BtnAnalysisAllShoes->click();
  started = Save(&window, dir.filePath(QStringLiteral("start-status-line.png"))) && started;
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
  ok = SaveVerdictShots(window, dir) && ok;
  ok = SaveAccountShots(window, dir) && ok;
  // The question before changed work is lost, and the toolkit's file dialog in the
  // program's language: real dialogs, so no message hook answers for the user.
  SetMessageHook(nullptr);
  window.PageControl1->setCurrentWidget(window.TabSheetRoad);
  window.Shoes().AppendShoe({"new", "BPPB", ""});
  ok = SaveModal(dir.filePath(QStringLiteral("close-question.png")), [&] { window.KeepChanges(true, true); }) && ok;
  ok = SaveModal(dir.filePath(QStringLiteral("file-dialog.png")),
                 [&] { ChooseOpenFile(&window, QStringLiteral("百家樂資料|*.DAT"), QStringLiteral("DAT")); }) &&
       ok;
  return ok && started ? 0 : 1;
}

}  // namespace zavuv
