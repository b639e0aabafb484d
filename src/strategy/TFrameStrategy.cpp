#include "strategy/TFrameStrategy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "bets/QtPlugInComboBox.h"
#include "bets/TFrameBetAmount.h"
#include "bets/TFrameBetMethod.h"
#include "stats/Format.h"
#include "stats/TFrameContinuous.h"
#include "strategy/QtResultGrid.h"
#include "strategy/QtSideTabWidget.h"
#include "strategy/TFrameAdditionalSetup.h"
#include "strategy/TFrameAnalysisResult.h"
#include "strategy/TFrameChartProfit.h"
#include "strategy/TFrameWinLostChart.h"
#include "verdict/TFrameVerdict.h"
#include "widgets/QtMessages.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "table/TableCsv.h"

namespace zavuv {

using namespace kit;

namespace {

QLineEdit* StatField(QWidget* parent, const char* name) { return FigureField(parent, name, 130); }

QString Money(double amount) { return QString::fromStdString(FormatMoney(amount)); }

const QTabWidget::TabPosition kTabPositions[] = {QTabWidget::North, QTabWidget::West, QTabWidget::South,
                                                 QTabWidget::East};

}  // namespace

TFrameStrategy::TFrameStrategy(Strategy& strategy, QWidget* resultViews, QWidget* parent)
    : QWidget(parent), strategy_(&strategy), resultViews_(resultViews) {
  setObjectName(QStringLiteral("TFrameStrategy"));
  PageControl1 = Named(static_cast<QTabWidget*>(new QtSideTabWidget(this)), "PageControl1");
  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setSingleShot(true);
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &TFrameStrategy::Timer1Timer);

  PageControl1->addTab(BuildQuickSetup(), QStringLiteral("快速設定"));
  QVBoxLayout* l = nullptr;
  QWidget* method = Page("TabSheetBetMethod", &l);
  l->setContentsMargins(0, 0, 0, 0);
  FrameBetMethod = new TFrameBetMethod(strategy_->FrameBetMethod, method);
  l->addWidget(FrameBetMethod);
  PageControl1->addTab(method, QStringLiteral("投注法"));
  QWidget* amount = Page("TabSheetBetAmount", &l);
  l->setContentsMargins(0, 0, 0, 0);
  FrameBetAmount = new TFrameBetAmount(strategy_->FrameBetAmount, amount);
  l->addWidget(FrameBetAmount);
  PageControl1->addTab(amount, QStringLiteral("注碼法"));
  PageControl1->addTab(BuildResultPage(), QStringLiteral("分析結果"));
  PageControl1->addTab(BuildStatsPage(), QStringLiteral("分析統計"));
  PageControl1->addTab(BuildSetupPage(), QStringLiteral("附加設定"));
  QWidget* winLost = Page("TabSheetWinLostChart", &l);
  FrameWinLostChart = new TFrameWinLostChart(strategy_->FrameWinLostChart, winLost);
  l->addWidget(FrameWinLostChart);
  PageControl1->addTab(winLost, QStringLiteral("上下風圖"));
  QWidget* other = Page("TabSheetOtherChart", &l);
  PageControlOtherChart = Named(new QTabWidget(other), "PageControlOtherChart");
  QVBoxLayout* pl = nullptr;
  QWidget* profit = Page("TabSheetChartProfit", &pl);
  FrameChartProfit = new TFrameChartProfit(strategy_->FrameChartProfit, profit);
  pl->addWidget(FrameChartProfit);
  PageControlOtherChart->addTab(profit, QStringLiteral("利潤走勢圖"));
  l->addWidget(PageControlOtherChart);
  PageControl1->addTab(other, QStringLiteral("其他圖表"));
  PageControl1->setTabPosition(kTabPositions[std::clamp(strategy_->TabPosition, 0, 3)]);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);

  connect(FrameBetMethod, &TFrameBetSelector::componentChanged, this, &TFrameStrategy::FrameBetMethodComboBoxSelectChange);
  connect(FrameBetAmount, &TFrameBetSelector::componentChanged, this, &TFrameStrategy::FrameBetAmountComboBoxSelectChange);
  connect(FrameBetMethod, &TFrameBetSelector::eachClicked, this, &TFrameStrategy::CheckBoxBetMethodEachClick);
  connect(FrameBetAmount, &TFrameBetSelector::eachClicked, this, &TFrameStrategy::CheckBoxBetAmountEachClick);
  strategy_->OnPrepareAnalysis = [this] { PrepareViews(); };
  strategy_->OnFinishAnalysis = [this] { FinishViews(); };

  for (auto& setup : strategy_->AdditionalSetups) AddSetupPage(*setup);
  if (PageControlAdditionalSetup->count() > 0) PageControlAdditionalSetup->setCurrentIndex(0);
  LoadSettings();
  ShowStats();
  if (strategy_->ViewResults) CheckBoxViewResultsClick();
}

TFrameStrategy::~TFrameStrategy() {
  strategy_->OnPrepareAnalysis = nullptr;
  strategy_->OnFinishAnalysis = nullptr;
  delete resultView_.data();
  // The panels and models let go of the strategy's tables before the strategy goes.
  const QObjectList children = this->children();
  for (QObject* child : children) delete child;
  PageControl1 = nullptr;
}

TFrameAnalysisResult* TFrameStrategy::ResultView() const { return resultView_.data(); }

QString TFrameStrategy::StrategyName() const { return EditStrategyName->text(); }

QWidget* TFrameStrategy::BuildQuickSetup() {
  QVBoxLayout* layout = nullptr;
  QWidget* page = Page("TabSheetQuickSetup", &layout);
  EditStrategyName = Named(new QLineEdit(page), "EditStrategyName");
  EditStrategyName->setMaximumWidth(220);
  ComboBoxBetMethod = Named(new QtPlugInComboBox(page), "ComboBoxBetMethod");
  ComboBoxBetMethod->SetFirstPlugIn(strategy_->FrameBetMethod.BuiltInCount());
  ComboBoxBetAmount = Named(new QtPlugInComboBox(page), "ComboBoxBetAmount");
  ComboBoxBetAmount->SetFirstPlugIn(strategy_->FrameBetAmount.BuiltInCount());
  for (QComboBox* c : {static_cast<QComboBox*>(ComboBoxBetMethod), static_cast<QComboBox*>(ComboBoxBetAmount)})
    c->setMinimumWidth(200);
  CheckBoxBetMethodEach = CheckBox(page, "CheckBoxBetMethodEach", "多靴分析時每靴重新開始投注法", true);
  CheckBoxBetAmountEach = CheckBox(page, "CheckBoxBetAmountEach", "多靴分析時每靴重新開始注碼法", true);
  ComboBoxRoad = Named(new QComboBox(page), "ComboBoxRoad");
  for (std::string_view caption : BaseStrategy::RoadCaptions())
    ComboBoxRoad->addItem(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  CheckBoxUse = CheckBox(page, "CheckBoxUse", "使用本策略分析", true);
  CheckBoxAnalysisGoFirst1 = CheckBox(page, "CheckBoxAnalysisGoFirst1", "分析後資料置頂", false);
  CheckBoxViewResults = CheckBox(page, "CheckBoxViewResults", "放到「並排觀看分析結果」", false);
  ComboBoxTabPostion = Named(new QComboBox(page), "ComboBoxTabPostion");
  ComboBoxTabPostion->addItems({QStringLiteral("上面"), QStringLiteral("左面"), QStringLiteral("下面"),
                                QStringLiteral("右面")});

  auto* form = new QGridLayout;
  form->setHorizontalSpacing(8);
  auto addRow = [&](int row, const char* name, const char* caption, QWidget* field) {
    auto* label = Label(page, name, caption);
    label->setBuddy(field);
    form->addWidget(label, row, 0);
    form->addWidget(field, row, 1, Qt::AlignLeft);
  };
  addRow(0, "LabelStrategyName", "策略名稱", EditStrategyName);
  addRow(1, "LabelBetMethod", "投注法", ComboBoxBetMethod);
  form->addWidget(CheckBoxBetMethodEach, 1, 2);
  addRow(2, "LabelBetAmount", "注碼法", ComboBoxBetAmount);
  form->addWidget(CheckBoxBetAmountEach, 2, 2);
  addRow(3, "LabelRoad", "選擇路做分析", ComboBoxRoad);
  addRow(4, "LabelTabPostion", "Tab 的位置", ComboBoxTabPostion);
  form->setColumnStretch(3, 1);
  auto* boxes = new QVBoxLayout;
  boxes->addWidget(CheckBoxUse);
  boxes->addWidget(CheckBoxAnalysisGoFirst1);
  boxes->addWidget(CheckBoxViewResults);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(boxes);
  layout->addStretch(1);

  connect(EditStrategyName, &QLineEdit::textChanged, this, &TFrameStrategy::EditStrategyNameChange);
  connect(ComboBoxBetMethod, &QComboBox::activated, this, &TFrameStrategy::ComboBoxBetMethodChange);
  connect(ComboBoxBetAmount, &QComboBox::activated, this, &TFrameStrategy::ComboBoxBetAmountChange);
  connect(CheckBoxBetMethodEach, &QCheckBox::clicked, this, &TFrameStrategy::CheckBoxBetMethodEachClick);
  connect(CheckBoxBetAmountEach, &QCheckBox::clicked, this, &TFrameStrategy::CheckBoxBetAmountEachClick);
  connect(CheckBoxAnalysisGoFirst1, &QCheckBox::clicked, this, &TFrameStrategy::CheckBoxAnalysisGoFirst1Click);
  connect(CheckBoxUse, &QCheckBox::clicked, this, &TFrameStrategy::CheckBoxUseClick);
  connect(ComboBoxRoad, &QComboBox::activated, this, &TFrameStrategy::ComboBoxRoadChange);
  connect(CheckBoxViewResults, &QCheckBox::clicked, this, &TFrameStrategy::CheckBoxViewResultsClick);
  connect(ComboBoxTabPostion, &QComboBox::activated, this, &TFrameStrategy::ComboBoxTabPostionChange);
  return page;
}

QWidget* TFrameStrategy::BuildResultPage() {
  QVBoxLayout* layout = nullptr;
  QWidget* page = Page("TabSheetAnalysis", &layout);
  DBNavigatorAnalysis = Named(new QtNavigator(page), "DBNavigatorAnalysis");
  DBNavigatorAnalysis->SetVisibleButtons({QtNavigator::First, QtNavigator::Prior, QtNavigator::Next, QtNavigator::Last});
  DBNavigatorAnalysis->SetTable(&strategy_->ClientDataSetAnalysis);
  DBNavigatorAnalysis->setFixedWidth(4 * 26);
  CheckBoxAnalysisGoFirst2 = CheckBox(page, "CheckBoxAnalysisGoFirst2", "分析後資料置頂", false);
  BtnExportCsv = Button(page, "BtnExportCsv", "匯出CSV");
  BtnExportCsv->setToolTip(QStringLiteral("將分析結果存成CSV檔 (可用試算表開啟)"));
  DBGridAnalysis = Named(new QTableView(page), "DBGridAnalysis");
  DataSourceAnalysis = Named(new QtTableModel(&strategy_->ClientDataSetAnalysis, this), "DataSourceAnalysis");
  ShowResultGrid(DataSourceAnalysis, DBGridAnalysis);
  auto* row = new QHBoxLayout;
  row->addWidget(DBNavigatorAnalysis);
  row->addWidget(CheckBoxAnalysisGoFirst2);
  row->addStretch(1);
  row->addWidget(BtnExportCsv);
  layout->addLayout(row);
  layout->addWidget(DBGridAnalysis, 1);
  connect(CheckBoxAnalysisGoFirst2, &QCheckBox::clicked, this, &TFrameStrategy::CheckBoxAnalysisGoFirst1Click);
  connect(BtnExportCsv, &QPushButton::clicked, this, &TFrameStrategy::BtnExportCsvClick);
  return page;
}

QWidget* TFrameStrategy::BuildStatsPage() {
  QVBoxLayout* layout = nullptr;
  QWidget* page = Page("TabSheetStats", &layout);
  EditMaxProfit = StatField(page, "EditMaxProfit");
  EditMaxLoss = StatField(page, "EditMaxLoss");
  EditNoOfBet = StatField(page, "EditNoOfBet");
  EditTotalBetAmount = StatField(page, "EditTotalBetAmount");
  EditWinGame = StatField(page, "EditWinGame");
  EditLoseGame = StatField(page, "EditLoseGame");
  EditTotalWinAmount = StatField(page, "EditTotalWinAmount");
  EditTotalLoseAmount = StatField(page, "EditTotalLoseAmount");
  auto* form = new QGridLayout;
  kit::AddCaptionedRows(form, page,
                        {{"最高利潤", EditMaxProfit}, {"最高虧損", EditMaxLoss}, {"下注次數", EditNoOfBet},
                         {"總下注額", EditTotalBetAmount}, {"羸的局數", EditWinGame}, {"輸的局數", EditLoseGame},
                         {"總羸金額", EditTotalWinAmount}, {"總輸金額", EditTotalLoseAmount}});
  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addStretch(1);
  ConWin = Named(new TFrameContinuous(page), "ConWin");
  ConWin->SetCaption(QStringLiteral("連羸統計"));
  ConWin->SetContinuous(&strategy_->ConWin);
  ConLose = Named(new TFrameContinuous(page), "ConLose");
  ConLose->SetCaption(QStringLiteral("連輸統計"));
  ConLose->SetContinuous(&strategy_->ConLose);
  for (TFrameContinuous* frame : {ConWin, ConLose}) frame->setFixedWidth(150);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addSpacing(12);
  columns->addWidget(ConWin);
  columns->addWidget(ConLose);
  columns->addStretch(1);
  FrameVerdict = new TFrameVerdict(page);
  auto* verdictRow = new QHBoxLayout;
  verdictRow->addWidget(FrameVerdict);
  verdictRow->addStretch(1);
  layout->addLayout(columns, 1);
  layout->addLayout(verdictRow);
  // The figures page scrolls inside itself when the window is smaller than it needs.
  auto* scroll = Named(new QScrollArea, "ScrollBoxStats");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(page);
  return scroll;
}

QWidget* TFrameStrategy::BuildSetupPage() {
  QVBoxLayout* layout = nullptr;
  QWidget* page = Page("TabSheetAdditionalSetup", &layout);
  BtnCreateSetup = Button(page, "BtnCreateSetup", "新增設定");
  BtnDestroySetup = Button(page, "BtnDestroySetup", "刪除設定");
  PageControlAdditionalSetup = Named(new QTabWidget(page), "PageControlAdditionalSetup");
  auto* row = new QHBoxLayout;
  row->addWidget(BtnCreateSetup);
  row->addWidget(BtnDestroySetup);
  row->addStretch(1);
  layout->addLayout(row);
  layout->addWidget(PageControlAdditionalSetup, 1);
  connect(BtnCreateSetup, &QPushButton::clicked, this, &TFrameStrategy::BtnCreateSetupClick);
  connect(BtnDestroySetup, &QPushButton::clicked, this, &TFrameStrategy::BtnDestroySetupClick);
  return page;
}

void TFrameStrategy::LoadSettings() {
  const Strategy& s = *strategy_;
  {
    const QSignalBlocker block(EditStrategyName);
    EditStrategyName->setText(QString::fromStdString(s.StrategyName));
  }
  for (auto [combo, selector] : {std::pair<QtPlugInComboBox*, const BetSelector*>{ComboBoxBetMethod, &s.FrameBetMethod},
                                 {ComboBoxBetAmount, &s.FrameBetAmount}}) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (const std::string& item : selector->Items()) combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(selector->ItemIndex());
  }
  CheckBoxBetMethodEach->setChecked(s.BetMethodEach());
  CheckBoxBetAmountEach->setChecked(s.BetAmountEach());
  ComboBoxRoad->setCurrentIndex(std::clamp(s.RoadIndex, 0, BaseStrategy::kRoadCount - 1));
  CheckBoxUse->setChecked(s.Use);
  CheckBoxAnalysisGoFirst1->setChecked(s.AnalysisGoFirst);
  CheckBoxAnalysisGoFirst2->setChecked(s.AnalysisGoFirst);
  CheckBoxViewResults->setChecked(s.ViewResults);
  ComboBoxTabPostion->setCurrentIndex(std::clamp(s.TabPosition, 0, 3));
}

void TFrameStrategy::EditStrategyNameChange(const QString& text) {
  strategy_->StrategyName = text.toStdString();
  if (resultView_) resultView_->SetStrategyName(text);
  emit nameChanged(text);
}

void TFrameStrategy::SelectBetMethod(int index) {
  Guarded(this, [&] { strategy_->SelectBetMethod(index); });
}

void TFrameStrategy::SelectBetAmount(int index) {
  Guarded(this, [&] { strategy_->SelectBetAmount(index); });
}

void TFrameStrategy::ComboBoxBetMethodChange(int index) {
  if (TFrameBetSelector::MayReplace(this, strategy_->FrameBetMethod, index))
    SelectBetMethod(index);
  else
    FrameBetMethodComboBoxSelectChange(strategy_->FrameBetMethod.ItemIndex());
}

void TFrameStrategy::ComboBoxBetAmountChange(int index) {
  if (TFrameBetSelector::MayReplace(this, strategy_->FrameBetAmount, index))
    SelectBetAmount(index);
  else
    FrameBetAmountComboBoxSelectChange(strategy_->FrameBetAmount.ItemIndex());
}

void TFrameStrategy::FrameBetMethodComboBoxSelectChange(int index) {
  const QSignalBlocker block(ComboBoxBetMethod);
  ComboBoxBetMethod->setCurrentIndex(index);
}

void TFrameStrategy::FrameBetAmountComboBoxSelectChange(int index) {
  const QSignalBlocker block(ComboBoxBetAmount);
  ComboBoxBetAmount->setCurrentIndex(index);
}

void TFrameStrategy::AddBetMethodPlugIn(BetPlugIn plugIn) {
  ComboBoxBetMethod->addItem(QString::fromStdString(plugIn.Description));
  FrameBetMethod->AddPlugIn(std::move(plugIn));
}

void TFrameStrategy::AddBetAmountPlugIn(BetPlugIn plugIn) {
  ComboBoxBetAmount->addItem(QString::fromStdString(plugIn.Description));
  FrameBetAmount->AddPlugIn(std::move(plugIn));
}

void TFrameStrategy::AddSetupPlugIn(SetupPlugIn plugIn) { strategy_->AddSetupPlugIn(std::move(plugIn)); }

void TFrameStrategy::CheckBoxBetMethodEachClick(bool checked) {
  strategy_->SetBetMethodEach(checked);
  CheckBoxBetMethodEach->setChecked(checked);
  FrameBetMethod->CheckBoxEach->setChecked(checked);
}

void TFrameStrategy::CheckBoxBetAmountEachClick(bool checked) {
  strategy_->SetBetAmountEach(checked);
  CheckBoxBetAmountEach->setChecked(checked);
  FrameBetAmount->CheckBoxEach->setChecked(checked);
}

void TFrameStrategy::CheckBoxAnalysisGoFirst1Click(bool checked) {
  strategy_->AnalysisGoFirst = checked;
  CheckBoxAnalysisGoFirst1->setChecked(checked);
  CheckBoxAnalysisGoFirst2->setChecked(checked);
}

void TFrameStrategy::AnalysisCurrentShoe() {
  if (!Guarded(this, [&] { strategy_->AnalysisCurrentShoe(); })) RunAbandoned();
}

void TFrameStrategy::CheckBoxUseClick() {
  strategy_->Use = CheckBoxUse->isChecked();
  AnalysisCurrentShoe();
}

void TFrameStrategy::ComboBoxRoadChange(int index) {
  strategy_->RoadIndex = index;
  AnalysisCurrentShoe();
}

void TFrameStrategy::CheckBoxViewResultsClick() {
  strategy_->ViewResults = CheckBoxViewResults->isChecked();
  if (strategy_->ViewResults && !resultView_ && resultViews_) {
    resultView_ = new TFrameAnalysisResult(resultViews_);
    if (auto* row = qobject_cast<QBoxLayout*>(resultViews_->layout()))
      row->insertWidget(std::max(0, row->count() - 1), resultView_);   // before the closing stretch
    resultView_->SetStrategyName(EditStrategyName->text());
    resultView_->CloneCursor(&strategy_->ClientDataSetAnalysis);
    resultView_->show();
  } else if (!strategy_->ViewResults && resultView_) {
    delete resultView_.data();
  }
}

TFrameAdditionalSetup* TFrameStrategy::SetupFrame(int index) const {
  QWidget* page = PageControlAdditionalSetup->widget(index);
  return page ? page->findChild<TFrameAdditionalSetup*>() : nullptr;
}

void TFrameStrategy::AddSetupPage(AdditionalSetup& setup) {
  // A setup whose panel is taller than the page ("風險管理") scrolls inside it: the
  // window keeps its size and the shoe list its height.
  auto* page = new QScrollArea;
  page->setObjectName(QStringLiteral("TabSheetSetup"));
  page->setWidgetResizable(true);
  page->setFrameShape(QFrame::NoFrame);
  auto* frame = new TFrameAdditionalSetup(setup, page);
  page->setWidget(frame);
  const int index = PageControlAdditionalSetup->addTab(page, frame->Caption());
  connect(frame, &TFrameAdditionalSetup::captionChanged, this, [this, page](const QString& caption) {
    PageControlAdditionalSetup->setTabText(PageControlAdditionalSetup->indexOf(page), caption);
  });
  PageControlAdditionalSetup->setCurrentIndex(index);
}

void TFrameStrategy::BtnCreateSetupClick() {
  AdditionalSetup& setup = strategy_->CreateSetup();
  AddSetupPage(setup);
}

void TFrameStrategy::BtnDestroySetupClick() {
  const int index = PageControlAdditionalSetup->currentIndex();
  if (index < 0) return;
  // The page and its panels go first, then the setup they show.
  delete PageControlAdditionalSetup->widget(index);
  strategy_->DestroySetup(index);
}

void TFrameStrategy::ComboBoxTabPostionChange(int index) {
  strategy_->TabPosition = index;
  Timer1->start();
}

void TFrameStrategy::Timer1Timer() {
  PageControl1->setTabPosition(kTabPositions[std::clamp(ComboBoxTabPostion->currentIndex(), 0, 3)]);
}

void TFrameStrategy::BtnExportCsvClick() {
  const QString path = ChooseSaveFile(this, QStringLiteral("CSV 檔|*.CSV"), QStringLiteral("CSV"));
  if (path.isEmpty()) return;
  const QString file = QFileInfo(path).fileName();
  const bool written = Guarded(this, [&] { WriteTableCsv(strategy_->ClientDataSetAnalysis, FileName(path)); });
  if (!OnDone) return;
  if (written)
    OnDone(QStringLiteral("已匯出 %1 列 · %2")
               .arg(QString::fromStdString(FormatDecimal(strategy_->ClientDataSetAnalysis.RecordCount(), 0, true)), file));
  else
    OnDone(QStringLiteral("未能匯出 ") + file);
}

void TFrameStrategy::ReleaseComponents() { strategy_->ReleaseComponents(); }

void TFrameStrategy::PrepareViews() {
  FrameWinLostChart->Reset();
  FrameChartProfit->Reset();
  if (resultView_) resultView_->BeginRun();
}

void TFrameStrategy::FinishViews() {
  ShowStats();
  FrameBetMethod->LoadSettings();
  FrameBetAmount->LoadSettings();
  if (resultView_) resultView_->EndRun(&strategy_->ClientDataSetAnalysis);
}

void TFrameStrategy::RunAbandoned() { FinishViews(); }

void TFrameStrategy::ShowVerdict(const Verdict& verdict, double holmP) { FrameVerdict->ShowVerdict(verdict, holmP); }

void TFrameStrategy::ShowStats() {
  const Strategy& s = *strategy_;
  EditMaxProfit->setText(Money(s.MaxProfit));
  EditMaxLoss->setText(Money(s.MaxLoss));
  EditNoOfBet->setText(QString::number(s.NoOfBet));
  EditTotalBetAmount->setText(QString::number(s.TotalBetAmount));
  EditWinGame->setText(QString::number(s.WinGame));
  EditLoseGame->setText(QString::number(s.LoseGame));
  EditTotalWinAmount->setText(Money(s.TotalWinAmount));
  EditTotalLoseAmount->setText(Money(s.TotalLoseAmount));
}

}  // namespace zavuv
