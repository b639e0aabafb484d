#include "roads/TFrameRoadSheet.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "widgets/QtMessages.h"

namespace zavuv {

namespace {

TRoad* defaultRoad = nullptr;
const RoadSettings* defaultSettings = nullptr;

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGrid(192, 192, 192);

// Rounds to the nearest integer, halves to the even neighbour.
int R(double v) { return static_cast<int>(std::nearbyint(v)); }

QColor ColourOf(char c) { return c == 'B' ? kRed : kBlue; }

}  // namespace

const QStringList& TFrameRoadSheet::RoadNames() {
  static const QStringList names = {QStringLiteral("大路"), QStringLiteral("大眼仔"), QStringLiteral("小路"),
                                    QStringLiteral("蟑螂路"), QStringLiteral("珠路1"), QStringLiteral("珠路2"),
                                    QStringLiteral("珠路3")};
  return names;
}

TFrameRoadSheet::TFrameRoadSheet(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TFrameRoadSheet"));
  ScrollBox = new QScrollArea(this);
  ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
  ScrollBox->setWidgetResizable(false);
  ScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ScrollBox->setBackgroundRole(QPalette::Base);
  Image = new QLabel;
  Image->setObjectName(QStringLiteral("Image"));
  Image->setToolTip(QStringLiteral("雙擊會複製路紙去剪貼簿"));
  Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image->installEventFilter(this);
  ScrollBox->setWidget(Image);

  ComboBoxRoad = new QComboBox(this);
  ComboBoxRoad->setObjectName(QStringLiteral("ComboBoxRoad"));
  ComboBoxRoad->setEditable(false);
  ComboBoxRoad->addItems(RoadNames());
  ComboBoxRoad->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  TrackBar = new QSlider(Qt::Horizontal, this);
  TrackBar->setObjectName(QStringLiteral("TrackBar"));
  TrackBar->setTickPosition(QSlider::TicksBelow);
  TrackBar->setSingleStep(1);
  TrackBar->setPageStep(1);
  TrackBar->setRange(5, 30);
  TrackBar->setValue(5);

  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->addWidget(ComboBoxRoad);
  bottom->addWidget(TrackBar, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(ScrollBox, 1);
  layout->addLayout(bottom);

  cellSize_ = TrackBar->value();
  ScrollBox->viewport()->installEventFilter(this);
  for (QScrollBar* bar : {ScrollBox->horizontalScrollBar(), ScrollBox->verticalScrollBar()}) {
    connect(bar, &QAbstractSlider::actionTriggered, this, [this] { UserScrolled(); });
    // A new range (the picture or the view changed size) shows the newest entry again.
    connect(bar, &QAbstractSlider::rangeChanged, this, [this] { ShowNewest(); });
  }
  connect(TrackBar, &QSlider::valueChanged, this, &TFrameRoadSheet::TrackBarChange);
  connect(ComboBoxRoad, &QComboBox::currentIndexChanged, this, &TFrameRoadSheet::ComboBoxRoadChange);
  Refresh();
}

TFrameRoadSheet::~TFrameRoadSheet() {
  if (road_) road_->RemoveSheet(this);
}

void TFrameRoadSheet::SetRoad(TRoad* road) {
  if (road_) road_->RemoveSheet(this);
  road_ = road;
  if (road_) road_->AddSheet(this);
}

TRoad* TFrameRoadSheet::GetRoad() const { return road_ ? road_ : defaultRoad; }

void TFrameRoadSheet::SetDefaultRoad(TRoad* road) { defaultRoad = road; }

void TFrameRoadSheet::SetDefaultRoadSettings(const RoadSettings* settings) { defaultSettings = settings; }

const RoadSettings& TFrameRoadSheet::Settings() const {
  static const RoadSettings builtIn;
  if (settings_) return *settings_;
  return defaultSettings ? *defaultSettings : builtIn;
}

void TFrameRoadSheet::SetZoom(int minimum, int maximum, int position) {
  TrackBar->setRange(minimum, maximum);
  TrackBar->setValue(position);
  if (cellSize_ != TrackBar->value()) TrackBarChange(TrackBar->value());
}

void TFrameRoadSheet::SetSurfaceSize(int width, int height) {
  surface_ = QSize(width, height);
  Draw();
}

void TFrameRoadSheet::Refresh() {
  const QString name = ComboBoxRoad->currentText();
  const int item = RoadNames().indexOf(name);
  isBigRoad_ = item == 0;
  isBeadRoad_ = item >= 4;
  std::string data;
  if (const TRoad* road = GetRoad()) {
    if (item == 0) {
      data = std::string(road->Result());
    } else if (item >= 1 && item <= 3) {
      data = std::string(road->GetDerivedRoad(item));
    } else if (item >= 4 && item <= 6) {
      const RoadSettings& settings = Settings();
      data = road->GetBeadColumns(settings.beads[item - 4], settings.ignoreTies[item - 4]);
    }
  }
  // The same road continued (a result added, the same shoe shown again) keeps the
  // user's choice; anything else is another shoe, shown at its newest entry.
  const bool continued = item == drawnItem_ && !roadData_.empty() && data.starts_with(roadData_);
  if (!continued) followNewest_ = true;
  drawnItem_ = item;
  roadData_ = std::move(data);
  Draw();
}

void TFrameRoadSheet::RefreshIfShowing(const QString& roadName) {
  if (ComboBoxRoad->currentText() == roadName) Refresh();
}

void TFrameRoadSheet::TrackBarChange(int position) {
  cellSize_ = position;
  Draw();
}

void TFrameRoadSheet::ComboBoxRoadChange(int) { Refresh(); }

// Columns and rows the road occupies, so that the surface can grow to hold it.
QSize TFrameRoadSheet::NeededSize() const {
  int columns = 0, rows = 0, row = 0;
  if (isBeadRoad_) {
    for (char ch : roadData_) {
      if (ch == '/') {
        row = 0;
        continue;
      }
      if (row == 0) ++columns;
      rows = std::max(rows, ++row);
    }
  } else {
    char previous = 0;
    for (char ch : roadData_) {
      if (ch == 'T') continue;
      if (ch != previous) {
        ++columns;
        row = 0;
        previous = ch;
      }
      rows = std::max(rows, ++row);
    }
  }
  const int s = cellSize_;
  // The surface keeps its design size; a road that does not fit makes it grow by
  // whole cells, with one cell to spare, so that nothing is cut off.
  int width = columns * s >= surface_.width() ? (columns + 1) * s : surface_.width();
  int height = rows * s >= surface_.height() ? (rows + 1) * s : surface_.height();
  return {width, height};
}

QRect TFrameRoadSheet::NewestCell() const {
  int column = -1, row = 0;
  if (isBeadRoad_) {
    bool open = false;
    for (char ch : roadData_) {
      if (ch == '/') {
        open = false;
        continue;
      }
      if (!open) {
        ++column;
        row = 0;
        open = true;
      } else {
        ++row;
      }
    }
  } else {
    char previous = 0;
    for (char ch : roadData_) {
      if (ch == 'T') continue;
      if (ch != previous) {
        ++column;
        row = 0;
        previous = ch;
      } else {
        ++row;
      }
    }
  }
  if (column < 0) return {};
  return {column * cellSize_, row * cellSize_, cellSize_, cellSize_};
}

void TFrameRoadSheet::ShowNewest() {
  if (!followNewest_) return;
  const QRect cell = NewestCell();
  const QSize view = ScrollBox->viewport()->size();
  // The newest cell and one spare cell beyond it; a road that fits shows from its start.
  const int x = cell.isEmpty() ? 0 : std::max(0, cell.right() + 1 + cellSize_ - view.width());
  const int y = cell.isEmpty() ? 0 : std::max(0, cell.bottom() + 1 + cellSize_ - view.height());
  scrolling_ = true;
  ScrollBox->horizontalScrollBar()->setValue(x);
  ScrollBox->verticalScrollBar()->setValue(y);
  scrolling_ = false;
}

void TFrameRoadSheet::UserScrolled() {
  if (scrolling_) return;
  const QRect cell = NewestCell();
  if (cell.isEmpty()) {
    followNewest_ = true;
    return;
  }
  // The slider's new position, which the bar takes right after this signal.
  const int left = ScrollBox->horizontalScrollBar()->sliderPosition();
  const int top = ScrollBox->verticalScrollBar()->sliderPosition();
  const QSize view = ScrollBox->viewport()->size();
  followNewest_ = cell.left() >= left && cell.right() < left + view.width() && cell.top() >= top &&
                  cell.bottom() < top + view.height();
}

void TFrameRoadSheet::DrawGrid(QImage& image) const {
  const int s = cellSize_;
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPen thin(kGrid, 1);
  QPen thick(kGrid, 2);
  // Every sixth horizontal line is thicker: the customary six rows of a road.
  for (int k = 1; k * s <= image.height(); ++k) {
    p.setPen(k % 6 == 0 ? thick : thin);
    p.drawLine(0, k * s, image.width(), k * s);
  }
  p.setPen(thin);
  for (int x = s; x <= image.width(); x += s) p.drawLine(x, 0, x, image.height());
}

void TFrameRoadSheet::DrawBigOrDerived(QImage& image) const {
  const double s = cellSize_;
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  int x = 0, y = -cellSize_, ties = 0;
  char previous = 0;
  for (char ch : roadData_) {
    if (ch != 'T' && ch != previous) {
      if (previous) {
        x += cellSize_;
        y = -cellSize_;
      }
      previous = ch;
    }
    if (ch == 'T') {
      ++ties;
      // Up to three rising strokes stack inside the cell of the last result; ties
      // before the first result belong to no cell.
      if (ties <= 3 && previous) {
        QPen pen(Qt::black, R(s / 8), Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(x + R(0.15 * s), y + R(s * (0.2 * ties + 0.2))),
                   QPointF(x + R(0.85 * s), y + R(0.2 * s * ties)));
      }
      continue;
    }
    y += cellSize_;
    const QColor colour = ColourOf(ch);
    if (isBigRoad_) {
      p.setPen(QPen(colour, R(s / 5)));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(QPointF(x + R(0.05 * s), y + R(0.05 * s)), QPointF(x + R(0.95 * s), R(y + 0.95 * s))));
    } else {
      p.setPen(QPen(colour, R(s / 10)));
      p.setBrush(colour);
      p.drawEllipse(QRectF(x, y, s, s));
    }
    ties = 0;
  }
}

void TFrameRoadSheet::DrawBeads(QImage& image) const {
  const double s = cellSize_;
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::white);
  const int width = R(s / 3);
  int x = 0, y = -cellSize_;
  for (char ch : roadData_) {
    if (ch == '/') {
      x += cellSize_;
      y = -cellSize_;
      continue;
    }
    y += cellSize_;
    if (ch == 'T') {
      p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(x + R(0.05 * s), y + R(0.95 * s)), QPointF(x + R(0.95 * s), R(y + 0.05 * s)));
    } else {
      p.setPen(QPen(ColourOf(ch), width));
      p.drawEllipse(QRectF(QPointF(x + R(0.05 * s), y + R(0.05 * s)), QPointF(x + R(0.95 * s), R(y + 0.95 * s))));
    }
  }
}

void TFrameRoadSheet::Draw() {
  QImage image(NeededSize(), QImage::Format_RGB32);
  DrawGrid(image);
  if (isBeadRoad_)
    DrawBeads(image);
  else
    DrawBigOrDerived(image);
  picture_ = image;
  Image->setPixmap(QPixmap::fromImage(picture_));
  Image->setFixedSize(picture_.size());
  ShowNewest();
}

void TFrameRoadSheet::ImageDblClick() {
  QApplication::clipboard()->setImage(picture_);
  ShowMessage(this, QStringLiteral("已複製"));
}

bool TFrameRoadSheet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image && event->type() == QEvent::MouseButtonDblClick) {
    ImageDblClick();
    return true;
  }
  // A view that changes size within the same scroll range (a splitter moved while the
  // picture still fits) shows the newest entry again.
  if (watched == ScrollBox->viewport() && event->type() == QEvent::Resize) ShowNewest();
  return QWidget::eventFilter(watched, event);
}

}  // namespace zavuv
