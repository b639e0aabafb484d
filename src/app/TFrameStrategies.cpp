#include "app/TFrameStrategies.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "app/QtStatusLine.h"
#include "app/Workbench.h"
#include "strategy/TFrameStrategy.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

namespace {
const char* const kStrategyFilter = "策略組合|*.json";
}

TFrameStrategies::TFrameStrategies(Workbench& bench, QWidget* resultViews, QWidget* parent)
    : QWidget(parent), bench_(bench), resultViews_(resultViews) {
  setObjectName(QStringLiteral("TabSheetStrategy"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  BtnCreateStrategy = Button(this, "BtnCreateStrategy", "新增策略");
  BtnDestroyStrategy = Button(this, "BtnDestroyStrategy", "刪除策略");
  EditShoeFrom = Named(new QLineEdit(this), "EditShoeFrom");
  EditShoeFrom->setToolTip(QStringLiteral("分析或統計部分資料時的第一靴牌的靴名\n不輸入即由記錄中第一靴牌開始"));
  EditShoeTo = Named(new QLineEdit(this), "EditShoeTo");
  EditShoeTo->setToolTip(QStringLiteral("分析或統計部分資料時的最後一靴牌的靴名\n不輸入即至記錄中最後一靴牌"));
  for (QLineEdit* e : {EditShoeFrom, EditShoeTo}) e->setMaximumWidth(120);
  BtnAnalysisAllShoes = Button(this, "BtnAnalysisAllShoes", "分析分段資料");
  auto* fromLabel = Label(this, "LabelShoeFrom", "靴名由:");
  fromLabel->setBuddy(EditShoeFrom);
  auto* toLabel = Label(this, "LabelShoeTo", "靴名至:");
  toLabel->setBuddy(EditShoeTo);
  BtnReadStrategies = Button(this, "BtnReadStrategies", "讀入策略組合", "由策略組合檔讀入所有策略, 取代現有的策略");
  BtnSaveStrategies = Button(this, "BtnSaveStrategies", "儲存策略組合", "將所有策略存入策略組合檔");
  PageControlStrategy = Named(new QTabWidget(this), "PageControlStrategy");
  connect(BtnCreateStrategy, &QPushButton::clicked, this, [this] { BtnCreateStrategyClick(); });
  connect(BtnDestroyStrategy, &QPushButton::clicked, this, [this] {
    if (PageControlStrategy->currentIndex() >= 0 && AskYesNo(this, QStringLiteral("刪除本策略?")))
      BtnDestroyStrategyClick();
  });
  connect(BtnReadStrategies, &QPushButton::clicked, this, [this] { BtnReadStrategiesClick(); });
  connect(BtnSaveStrategies, &QPushButton::clicked, this, [this] { BtnSaveStrategiesClick(); });
  // Tight enough for the window's start width of 793 pixels.
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  row->addWidget(BtnCreateStrategy);
  row->addWidget(BtnDestroyStrategy);
  row->addSpacing(4);
  row->addWidget(fromLabel);
  row->addWidget(EditShoeFrom);
  row->addWidget(toLabel);
  row->addWidget(EditShoeTo);
  row->addWidget(BtnAnalysisAllShoes);
  row->addStretch(1);
  row->addWidget(BtnReadStrategies);
  row->addWidget(BtnSaveStrategies);
  layout->addLayout(row);
  // The lock line shares the strategy tabs' cell, at the right of their tab row: it
  // takes no height of its own, so the window keeps its size, and as a sibling of the
  // tabs it stays legible while they are off.
  LabelAutoBetLock = Named(new QLabel(this), "LabelAutoBetLock");
  LabelAutoBetLock->setStyleSheet(
      QStringLiteral("QLabel { background: #fff4c0; color: #a00000; font-weight: bold; padding: 1px 6px; "
                     "border: 1px solid #d0a000; }"));
  LabelAutoBetLock->hide();
  auto* tabs = new QGridLayout;
  tabs->setContentsMargins(0, 0, 0, 0);
  tabs->addWidget(PageControlStrategy, 0, 0);
  tabs->addWidget(LabelAutoBetLock, 0, 0, Qt::AlignTop | Qt::AlignRight);
  layout->addLayout(tabs, 1);
}

void TFrameStrategies::ShowAutoBetLock(const QString& roomTitle) {
  const bool locked = !roomTitle.isEmpty();
  for (QObject* child : children())
    if (auto* widget = qobject_cast<QWidget*>(child); widget && widget != LabelAutoBetLock) widget->setEnabled(!locked);
  LabelAutoBetLock->setText(QStringLiteral("自動下注進行中: ") + roomTitle);
  LabelAutoBetLock->setToolTip(QStringLiteral("策略由遊戲室使用中; 在該遊戲室停用自動下注後即可修改"));
  LabelAutoBetLock->setVisible(locked);
  if (locked) LabelAutoBetLock->raise();
}

std::vector<TFrameStrategy*> TFrameStrategies::StrategyPages() const {
  std::vector<TFrameStrategy*> pages;
  for (int i = 0; i < PageControlStrategy->count(); ++i)
    if (auto* page = qobject_cast<TFrameStrategy*>(PageControlStrategy->widget(i))) pages.push_back(page);
  return pages;
}

void TFrameStrategies::AddStrategyPage(Strategy& strategy, std::size_t index) {
  auto* page = new TFrameStrategy(strategy, resultViews_);
  page->OnDone = [this](const QString& text) {
    if (OnDone) OnDone(text);
  };
  const int at = PageControlStrategy->insertTab(static_cast<int>(index), page, page->StrategyName());
  PageControlStrategy->setCurrentIndex(at);
  connect(page, &TFrameStrategy::nameChanged, this, [this, page](const QString& name) {
    PageControlStrategy->setTabText(PageControlStrategy->indexOf(page), name);
  });
}

void TFrameStrategies::RemoveStrategyPage(std::size_t index) {
  QWidget* page = PageControlStrategy->widget(static_cast<int>(index));
  PageControlStrategy->removeTab(static_cast<int>(index));
  delete page;   // with its side-by-side view
}

TFrameStrategy* TFrameStrategies::CreateStrategy(const QString& name, int betMethod, int betAmount) {
  Guarded(this, [&] { bench_.CreateStrategy(name.toStdString(), betMethod, betAmount); });
  const std::vector<TFrameStrategy*> pages = StrategyPages();
  return pages.empty() ? nullptr : pages.back();
}

void TFrameStrategies::BtnCreateStrategyClick() {
  CreateStrategy(QString::fromStdString(bench_.NextStrategyName()), 0, 0);
}

void TFrameStrategies::BtnDestroyStrategyClick() {
  const int index = PageControlStrategy->currentIndex();
  if (index < 0) return;
  Guarded(this, [&] { bench_.RemoveStrategy(static_cast<std::size_t>(index)); });
}

void TFrameStrategies::ShowVerdicts(const VerdictReport& report) {
  const std::vector<TFrameStrategy*> pages = StrategyPages();
  for (std::size_t i = 0; i < pages.size() && i < report.Strategies.size(); ++i)
    pages[i]->ShowVerdict(report.Strategies[i], i < report.Pages.HolmP.size() ? report.Pages.HolmP[i] : NAN);
}

void TFrameStrategies::RunAbandoned() {
  for (TFrameStrategy* page : StrategyPages()) page->RunAbandoned();
}

bool TFrameStrategies::SaveStrategies(const QString& path) {
  const QString file = QtStatusLine::FileOf(path);
  if (!Guarded(this, [&] { bench_.SaveStrategies(FileName(path)); })) {
    if (OnDone) OnDone(QStringLiteral("未能儲存 ") + file);
    return false;
  }
  if (OnFileUsed) OnFileUsed(path);
  if (OnDone) OnDone(QStringLiteral("已儲存 ") + file);
  return true;
}

bool TFrameStrategies::ReadStrategies(const QString& path) {
  const QString file = QtStatusLine::FileOf(path);
  if (!Guarded(this, [&] { bench_.ReadStrategies(FileName(path)); })) {
    if (OnDone) OnDone(QStringLiteral("未能讀入 ") + file);
    return false;
  }
  if (OnFileUsed) OnFileUsed(path);
  if (PageControlStrategy->count() > 0) PageControlStrategy->setCurrentIndex(0);
  if (OnDone)
    OnDone(QStringLiteral("已讀入 %1 · %2 個策略").arg(file).arg(PageControlStrategy->count()));
  return true;
}

QString TFrameStrategies::ChangesText() const {
  if (!bench_.StrategySetChanged()) return {};
  QString text = QStringLiteral("策略組合");
  QStringList names;
  for (const std::string& name : bench_.ChangedStrategies()) names << QString::fromStdString(name);
  if (!names.isEmpty()) text += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
  return text;
}

bool TFrameStrategies::SaveStrategiesAs() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kStrategyFilter), QStringLiteral("json"));
  return !path.isEmpty() && SaveStrategies(path);
}

bool TFrameStrategies::KeepChanges() {
  const QString changes = ChangesText();
  if (changes.isEmpty()) return true;
  switch (AskSave(this, QStringLiteral("下列資料已更改但未儲存:\n") + changes + QStringLiteral("\n是否先儲存?"))) {
    case SaveAnswer::Save:
      return SaveStrategiesAs();
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}

void TFrameStrategies::BtnReadStrategiesClick() {
  // The pages give way to the set read: changes are saved first if the user wants.
  if (!KeepChanges()) return;
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kStrategyFilter), QStringLiteral("json"));
  if (!path.isEmpty()) ReadStrategies(path);
}

void TFrameStrategies::BtnSaveStrategiesClick() { SaveStrategiesAs(); }

}  // namespace zavuv
