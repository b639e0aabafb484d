#include "verdict/TFrameRisk.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <stdexcept>

#include "app/Workbench.h"
#include "verdict/TFrameVerdict.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

namespace {

QString Amount(double value) { return QString::number(value, 'f', 1); }

double Number(const QLineEdit* edit, const char* field) {
  bool ok = false;
  const double value = edit->text().trimmed().toDouble(&ok);
  if (!ok) throw std::invalid_argument(std::string(field) + "必須是數字");
  return value;
}

int Whole(const QLineEdit* edit, const char* field) {
  bool ok = false;
  const qlonglong value = edit->text().trimmed().toLongLong(&ok);
  if (!ok) throw std::invalid_argument(std::string(field) + "必須是整數");
  return static_cast<int>(std::clamp<qlonglong>(value, -1, 0x7FFFFFFF));
}

QChartView* NewChart(QWidget* parent, const char* name, const char* title) {
  auto* chart = new QChart;
  chart->setTitle(QString::fromUtf8(title));
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  auto* view = Named(new QChartView(chart, parent), name);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(300, 220);
  return view;
}

// Value axes with whole-number labels at round steps; the y axis from 0 when
// fromZero (the histogram's counts).
void Axes(QChart* chart, const char* x, const char* y, bool fromZero = false) {
  auto* axisX = new QValueAxis;
  axisX->setTitleText(QString::fromUtf8(x));
  auto* axisY = new QValueAxis;
  axisY->setTitleText(QString::fromUtf8(y));
  chart->addAxis(axisX, Qt::AlignBottom);
  chart->addAxis(axisY, Qt::AlignLeft);
  for (QAbstractSeries* s : chart->series()) {
    s->attachAxis(axisX);
    s->attachAxis(axisY);
  }
  if (fromZero) axisY->setMin(0);
  for (QValueAxis* axis : {axisX, axisY}) {
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%.0f"));
  }
}

}  // namespace

TFrameRisk::TFrameRisk(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName(QStringLiteral("TabSheetRisk"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  // The page scrolls inside itself when the window is smaller than it needs.
  auto* scroll = Named(new QScrollArea(this), "ScrollBoxRisk");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* contents = Named(new QWidget, "ScrollBoxRiskContents");
  scroll->setWidget(contents);
  outer->addWidget(scroll);

  auto edit = [contents](const char* name, const char* text, const char* hint) {
    auto* e = Named(new QLineEdit(QString::fromUtf8(text), contents), name);
    e->setMaximumWidth(90);
    e->setToolTip(QString::fromUtf8(hint));
    return e;
  };
  EditBankroll = edit("EditBankroll", "1000", "每節開始時的資金 (每個策略及綜合投注各一份)");
  EditShoesPerSession = edit("EditShoesPerSession", "10", "每節玩多少靴");
  EditStopLoss = edit("EditStopLoss", "", "一節的輸贏到此或更差即停 (0 或負數); 空白: 不設");
  EditStopWin = edit("EditStopWin", "", "一節的輸贏到此或更好即停 (大於 0); 空白: 不設");
  EditSessions = edit("EditSessions", "1000", "模擬多少節");
  EditSeed = edit("EditSeed", "1", "亂數種子: 相同設定與種子得出相同結果");
  ComboBoxSource = Named(new QComboBox(contents), "ComboBoxSource");
  ComboBoxSource->addItems({QStringLiteral("新發的牌靴"), QStringLiteral("由已載入的牌靴抽取")});
  ComboBoxSource->setToolTip(QStringLiteral("新發的牌靴: 以種子發牌\n由已載入的牌靴抽取: 由「靴名由」至「靴名至」的牌靴中隨機抽取 (可重複)"));
  BtnRun = Button(contents, "BtnRun", "開始模擬", "以使用中的策略的副本模擬, 策略頁不受影響");
  BtnCancel = Button(contents, "BtnCancel", "取消");
  BtnCancel->setEnabled(false);
  ProgressBar = Named(new QProgressBar(contents), "ProgressBar");
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  LabelStatus = Label(contents, "LabelStatus", "");

  auto* form = new QGridLayout;
  form->setHorizontalSpacing(6);
  form->setVerticalSpacing(2);
  const std::pair<const char*, QWidget*> fields[] = {
      {"資金", EditBankroll}, {"每節靴數", EditShoesPerSession}, {"節數", EditSessions},
      {"止蝕", EditStopLoss}, {"止賺", EditStopWin},             {"種子", EditSeed}};
  int i = 0;
  for (const auto& [caption, field] : fields) {
    auto* label = new QLabel(QString::fromUtf8(caption), contents);
    label->setBuddy(field);
    form->addWidget(label, i / 3, (i % 3) * 2);
    form->addWidget(field, i / 3, (i % 3) * 2 + 1);
    ++i;
  }
  form->addWidget(new QLabel(QStringLiteral("牌靴來源"), contents), 0, 6);
  form->addWidget(ComboBoxSource, 0, 7);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnRun);
  buttons->addWidget(BtnCancel);
  buttons->addWidget(ProgressBar, 1);
  form->addLayout(buttons, 1, 6, 1, 2);
  form->setColumnStretch(8, 1);

  GridResults = Named(new QTableWidget(0, 9, contents), "GridResults");
  GridResults->setHorizontalHeaderLabels({QStringLiteral("策略"), QStringLiteral("破產機率"),
                                          QStringLiteral("95% 信賴區間"), QStringLiteral("結束時領先"),
                                          QStringLiteral("最終結果中位數"), QStringLiteral("5% 至 95%"),
                                          QStringLiteral("最大回落中位數"), QStringLiteral("最大回落 95%"),
                                          QStringLiteral("最長連輸")});
  GridResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridResults->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridResults->setSelectionMode(QAbstractItemView::SingleSelection);
  GridResults->verticalHeader()->hide();
  GridResults->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  GridResults->setMinimumHeight(110);
  connect(GridResults, &QTableWidget::currentCellChanged, this, [this](int row) { ShowCharts(row); });

  ChartHistogram = NewChart(contents, "ChartHistogram", "最終結果分佈");
  ChartFan = NewChart(contents, "ChartFan", "資金走勢 (5/25/50/75/95%)");
  auto* charts = new QHBoxLayout;
  charts->addWidget(ChartHistogram, 1);
  charts->addWidget(ChartFan, 1);

  auto* layout = new QVBoxLayout(contents);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(form);
  layout->addWidget(LabelStatus);
  layout->addWidget(GridResults, 1);
  layout->addLayout(charts, 2);

  connect(BtnRun, &QPushButton::clicked, this, [this] { Start(); });
  connect(BtnCancel, &QPushButton::clicked, this, [this] { CancelRun(); });
}

TFrameRisk::~TFrameRisk() { StopRun(); }

void TFrameRisk::StopRun() {
  cancel_ = true;
  if (!worker_) return;
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
}

RiskSettings TFrameRisk::Settings() const {
  RiskSettings s;
  s.Bankroll = Number(EditBankroll, "資金");
  s.ShoesPerSession = Whole(EditShoesPerSession, "每節靴數");
  if (!EditStopLoss->text().trimmed().isEmpty()) s.StopLoss = Number(EditStopLoss, "止蝕");
  if (!EditStopWin->text().trimmed().isEmpty()) s.StopWin = Number(EditStopWin, "止賺");
  s.Sessions = Whole(EditSessions, "節數");
  bool ok = false;
  s.Seed = EditSeed->text().trimmed().toULongLong(&ok);
  if (!ok) throw std::invalid_argument("種子必須是不小於 0 的整數");
  s.Validate();
  return s;
}

bool TFrameRisk::Start() {
  if (running_) return false;
  RiskSettings settings;
  std::shared_ptr<RiskSimulation> simulation;
  std::vector<std::string> shoes;
  bool oneThread = false;
  const bool fromRecord = ComboBoxSource->currentIndex() == 1;
  const bool ready = Guarded(this, [&] {
    settings = Settings();
    simulation = bench_.MakeRiskSimulation();
    if (simulation->StrategiesInUse() == 0) throw std::invalid_argument("策略組合中沒有使用中的策略");
    if (fromRecord) {
      const auto [from, to] = RecordRange ? RecordRange() : std::pair<std::string, std::string>{};
      shoes = bench_.ShoeResults(from, to);
      if (shoes.empty()) throw std::invalid_argument("沒有可抽取的牌靴");
    }
    for (Strategy* s : bench_.Strategies())
      if (s->Use && !s->ParallelSafe()) oneThread = true;
  });
  if (!ready) return false;

  running_ = true;
  cancel_ = false;
  BtnRun->setEnabled(false);
  BtnCancel->setEnabled(true);
  ProgressBar->setRange(0, settings.Sessions);
  ProgressBar->setValue(0);
  LabelStatus->setText(QStringLiteral("模擬中..."));
  simulation->Cancel = [this] { return cancel_.load(); };
  auto play = [simulation, settings, shoes = std::move(shoes), fromRecord] {
    return fromRecord ? simulation->Run(settings, shoes) : simulation->Run(settings);
  };

  if (oneThread) {
    // A module that must stay on one thread: the run stays here and the page keeps
    // answering (progress, "取消") between sessions.
    QElapsedTimer shown;
    shown.start();
    simulation->Progress = [this, &shown](int done, int total) {
      if (shown.elapsed() < 50 && done != total) return;
      shown.restart();
      ShowProgress(done, total);
      QCoreApplication::processEvents();
    };
    RiskReport report;
    const bool done = Guarded(this, [&] { report = play(); });
    if (!done) report.Cancelled = true;
    Finish(std::move(report));
    return done;
  }

  QPointer<TFrameRisk> self(this);
  simulation->Progress = [self](int done, int total) {
    QMetaObject::invokeMethod(
        self.data(), [self, done, total] { if (self) self->ShowProgress(done, total); }, Qt::QueuedConnection);
  };
  worker_ = QThread::create([this, self, play = std::move(play)] {
    RiskReport report;
    QString error;
    try {
      report = play();
    } catch (const std::exception& e) {
      error = ErrorText(e);
      report.Cancelled = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this, report = std::move(report), error]() mutable {
          StopRun();
          if (!error.isEmpty()) ShowError(this, error);
          Finish(std::move(report));
        },
        Qt::QueuedConnection);
  });
  worker_->start();
  return true;
}

void TFrameRisk::CancelRun() { cancel_ = true; }

void TFrameRisk::ShowProgress(int done, int total) {
  if (!running_) return;
  ProgressBar->setMaximum(total);
  ProgressBar->setValue(done);
}

void TFrameRisk::Finish(RiskReport report) {
  report_ = std::move(report);
  running_ = false;
  BtnRun->setEnabled(true);
  BtnCancel->setEnabled(false);
  ProgressBar->setValue(report_.Combined.Sessions);
  ShowReport();
  emit finished();
}

void TFrameRisk::ShowReport() {
  const int played = report_.Combined.Sessions;
  LabelStatus->setText(report_.Cancelled
                           ? QStringLiteral("模擬已取消: 結果只包括已模擬的 %1 節").arg(played)
                           : QStringLiteral("已模擬 %1 節").arg(played));
  std::vector<const RiskResult*> rows;
  for (const RiskResult& r : report_.Strategies) rows.push_back(&r);
  rows.push_back(&report_.Combined);
  GridResults->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const RiskResult& x = *rows[static_cast<std::size_t>(r)];
    const QString cells[] = {QString::fromStdString(x.Name),
                             PercentText(x.PRuin, 1),
                             PercentText(x.PRuinLow, 1) + QStringLiteral(" 至 ") + PercentText(x.PRuinHigh, 1),
                             PercentText(x.PAhead, 1),
                             Amount(x.FinalMedian),
                             Amount(x.FinalP05) + QStringLiteral(" 至 ") + Amount(x.FinalP95),
                             Amount(x.DrawdownMedian),
                             Amount(x.DrawdownP95),
                             QString::number(x.LongestLosingRun)};
    for (int c = 0; c < 9; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      GridResults->setItem(r, c, item);
    }
  }
  const int last = GridResults->rowCount() - 1;
  if (GridResults->currentRow() == last)
    ShowCharts(last);
  else
    GridResults->setCurrentCell(last, 0);
}

void TFrameRisk::ShowCharts(int row) {
  QChart* histogram = ChartHistogram->chart();
  QChart* fan = ChartFan->chart();
  for (QChart* chart : {histogram, fan}) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
      chart->removeAxis(axis);
      delete axis;
    }
  }
  const int strategies = static_cast<int>(report_.Strategies.size());
  if (row < 0 || row > strategies) return;
  const RiskResult& r = row == strategies ? report_.Combined : report_.Strategies[static_cast<std::size_t>(row)];
  if (r.Sessions == 0) return;

  // The histogram as a filled step line over the bins.
  auto* steps = new QLineSeries;
  for (const RiskResult::Bin& bin : r.Histogram()) {
    steps->append(bin.Low, bin.Count);
    steps->append(bin.High, bin.Count);
  }
  auto* bars = new QAreaSeries(steps);
  steps->setParent(bars);  // an area series does not own its lines: they go with it
  bars->setObjectName(QStringLiteral("Histogram"));
  bars->setColor(QColor(70, 130, 180));
  bars->setBorderColor(QColor(30, 70, 120));
  histogram->addSeries(bars);
  Axes(histogram, "一節的最終結果", "節數", true);
  histogram->setTitle(QStringLiteral("最終結果分佈: ") + QString::fromStdString(r.Name));

  // The fan: 5-95 % and 25-75 % bands and the median, shoe by shoe.
  auto band = [&](int low, int high, const QColor& color) {
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    for (std::size_t shoe = 0; shoe < r.Fan.size(); ++shoe) {
      upper->append(static_cast<double>(shoe), r.Fan[shoe][static_cast<std::size_t>(high)]);
      lower->append(static_cast<double>(shoe), r.Fan[shoe][static_cast<std::size_t>(low)]);
    }
    auto* area = new QAreaSeries(upper, lower);
    upper->setParent(area);
    lower->setParent(area);
    area->setColor(color);
    area->setBorderColor(color);
    fan->addSeries(area);
  };
  band(0, 4, QColor(190, 215, 240));
  band(1, 3, QColor(120, 170, 220));
  auto* median = new QLineSeries;
  median->setObjectName(QStringLiteral("Median"));
  for (std::size_t shoe = 0; shoe < r.Fan.size(); ++shoe) median->append(static_cast<double>(shoe), r.Fan[shoe][2]);
  QPen pen(QColor(200, 30, 30));
  pen.setWidth(2);
  median->setPen(pen);
  fan->addSeries(median);
  Axes(fan, "靴", "資金");
  fan->setTitle(QStringLiteral("資金走勢 (5/25/50/75/95%): ") + QString::fromStdString(r.Name));
}

}  // namespace zavuv
