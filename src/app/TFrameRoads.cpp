#include "app/TFrameRoads.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "app/Workbench.h"
#include "roads/QtAskRoad.h"
#include "roads/TFrameRoadSheet.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

namespace {

// Rounds to the nearest integer, halves to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

TFrameRoads::TFrameRoads(Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  setObjectName(QStringLiteral("TabSheetRoad"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  PageControlRoad = Named(new QTabWidget(this), "PageControlRoad");
  PageControlRoad->setTabPosition(QTabWidget::South);
  layout->addWidget(PageControlRoad);

  QVBoxLayout* drawLayout = nullptr;
  TabSheetDrawRoad = Page("TabSheetDrawRoad", &drawLayout);
  drawLayout->setContentsMargins(0, 0, 0, 0);
  SplitterRoad = Named(new QSplitter(Qt::Vertical, TabSheetDrawRoad), "SplitterRoad");
  SplitterRoad->setHandleWidth(3);
  SplitterRoad->setChildrenCollapsible(false);
  MainRoadSheet = Named(new TFrameRoadSheet, "MainRoadSheet");
  MainRoadSheet->ComboBoxRoad->clear();
  MainRoadSheet->ComboBoxRoad->addItem(QStringLiteral("大路"));
  MainRoadSheet->SetSurfaceSize(1200, 800);
  MainRoadSheet->SetZoom(10, 50, 18);
  MainRoadSheet->setMinimumWidth(150);
  PanelOtherRoad = Named(new QWidget, "PanelOtherRoad");
  auto* otherLayout = new QHBoxLayout(PanelOtherRoad);
  otherLayout->setContentsMargins(0, 0, 0, 0);
  SplitterOtherRoad = Named(new QSplitter(Qt::Horizontal, PanelOtherRoad), "SplitterOtherRoad");
  SplitterOtherRoad->setHandleWidth(3);
  SplitterOtherRoad->setChildrenCollapsible(false);
  otherLayout->addWidget(SplitterOtherRoad);
  MinorRoadSheet1 = Named(new TFrameRoadSheet, "MinorRoadSheet1");
  MinorRoadSheet2 = Named(new TFrameRoadSheet, "MinorRoadSheet2");
  MinorRoadSheet3 = Named(new TFrameRoadSheet, "MinorRoadSheet3");
  for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) {
    sheet->SetZoom(5, 30, 12);
    sheet->setMinimumWidth(60);
    SplitterOtherRoad->addWidget(sheet);
  }
  SplitterOtherRoad->setStretchFactor(1, 1);
  SplitterOtherRoad->setSizes({200, 400, 200});
  SplitterOtherRoad->installEventFilter(this);
  auto* mainRow = Named(new QWidget, "PanelMainRoad");
  auto* mainRowLayout = new QHBoxLayout(mainRow);
  mainRowLayout->setContentsMargins(0, 0, 0, 0);
  mainRowLayout->setSpacing(2);
  PanelAskRoad = new QtAskRoad(mainRow);
  mainRowLayout->addWidget(MainRoadSheet, 1);
  mainRowLayout->addWidget(PanelAskRoad, 0, Qt::AlignTop);
  SplitterRoad->addWidget(mainRow);
  SplitterRoad->addWidget(PanelOtherRoad);
  SplitterRoad->setStretchFactor(0, 1);
  SplitterRoad->setSizes({250, 150});
  drawLayout->addWidget(SplitterRoad);
  PageControlRoad->addTab(TabSheetDrawRoad, QStringLiteral("路紙"));
  PageControlRoad->addTab(BuildRoadSettingPage(), QStringLiteral("設定"));
}

void TFrameRoads::AttachRoads() {
  for (TFrameRoadSheet* sheet : {MainRoadSheet, MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) {
    sheet->SetRoadSettings(&bench_.Roads());
    sheet->SetRoad(&bench_.DisplayRoad());
  }
}

void TFrameRoads::ChooseMinorRoads() {
  int item = 0;
  for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) {
    sheet->ComboBoxRoad->removeItem(0);   // "大路" is the main sheet's alone
    sheet->ComboBoxRoad->setCurrentIndex(item++);
  }
}

QWidget* TFrameRoads::BuildRoadSettingPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetRoadSetting = Page("TabSheetRoadSetting", &layout);
  auto* row = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    const QString n = QString::number(i + 1);
    auto* group = new QGroupBox(QStringLiteral("珠路%1設定").arg(n), TabSheetRoadSetting);
    group->setObjectName(QStringLiteral("GroupBoxBall") + n);
    auto* label = new QLabel(QStringLiteral("每行粒數"), group);
    label->setObjectName(QStringLiteral("LabelNoOfBall") + n);
    auto* spin = new QSpinBox(group);
    spin->setObjectName(QStringLiteral("SpinEditNoOfBall") + n);
    spin->setRange(1, 20);
    spin->setValue(bench_.Roads().beads[i]);
    label->setBuddy(spin);
    auto* box = new QCheckBox(QStringLiteral("開和不計"), group);
    box->setObjectName(QStringLiteral("CheckBoxBallRoadIgnoreTie") + n);
    box->setChecked(bench_.Roads().ignoreTies[i]);
    auto* g = new QGridLayout(group);
    g->addWidget(label, 0, 0);
    g->addWidget(spin, 0, 1);
    g->addWidget(box, 1, 0, 1, 2);
    SpinEditNoOfBall[i] = spin;
    CheckBoxBallRoadIgnoreTie[i] = box;
    connect(spin, &QSpinBox::valueChanged, this, [this, i] { SpinEditNoOfBallChange(i); });
    connect(box, &QCheckBox::toggled, this, [this, i] { SpinEditNoOfBallChange(i); });
    row->addWidget(group);
  }
  row->addStretch(1);
  layout->addLayout(row);
  layout->addStretch(1);
  return TabSheetRoadSetting;
}

void TFrameRoads::SpinEditNoOfBallChange(int i) {
  bench_.Roads().beads[i] = SpinEditNoOfBall[i]->value();
  bench_.Roads().ignoreTies[i] = CheckBoxBallRoadIgnoreTie[i]->isChecked();
  RefreshBeadRoad(i);
}

void TFrameRoads::RefreshBeadRoad(int i) {
  const QString name = QStringLiteral("珠路%1").arg(i + 1);
  for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) sheet->RefreshIfShowing(name);
  if (OnBeadRoadChanged) OnBeadRoadChanged(name);
}

void TFrameRoads::ShowRoadSettings() {
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker spin(SpinEditNoOfBall[i]);
    const QSignalBlocker box(CheckBoxBallRoadIgnoreTie[i]);
    SpinEditNoOfBall[i]->setValue(bench_.Roads().Beads(i));
    CheckBoxBallRoadIgnoreTie[i]->setChecked(bench_.Roads().IgnoreTies(i));
  }
  for (int i = 0; i < 3; ++i) RefreshBeadRoad(i);
}

void TFrameRoads::PanelOtherRoadCanResize(int oldWidth, int newWidth) {
  QList<int> sizes = SplitterOtherRoad->sizes();
  if (oldWidth <= 0 || sizes.size() != 3) return;
  const double scale = static_cast<double>(newWidth) / oldWidth;
  const int left = RoundEven(sizes[0] * scale);
  const int right = RoundEven(sizes[2] * scale);
  const int middle = std::max(0, newWidth - left - right - 2 * SplitterOtherRoad->handleWidth());
  SplitterOtherRoad->setSizes({left, middle, right});
}

bool TFrameRoads::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SplitterOtherRoad && event->type() == QEvent::Resize) {
    auto* resize = static_cast<QResizeEvent*>(event);
    const int width = resize->size().width();
    if (!SplitterOtherRoad->isVisible()) return false;
    if (!otherRoadLaidOut_) {
      // The first real width: the outer sheets take their design width of 200.
      otherRoadLaidOut_ = true;
      const int outer = std::min(200, std::max(60, (width - 2 * SplitterOtherRoad->handleWidth()) / 3));
      SplitterOtherRoad->setSizes({outer, width - 2 * outer - 2 * SplitterOtherRoad->handleWidth(), outer});
    } else if (resize->oldSize().width() > 0 && resize->oldSize().width() != width) {
      PanelOtherRoadCanResize(resize->oldSize().width(), width);
    }
    return false;
  }
  return QWidget::eventFilter(watched, event);
}

void TFrameRoads::ShowAskRoad() { PanelAskRoad->ShowRoad(bench_.DisplayRoad()); }

}  // namespace zavuv
