#include "rooms/QtRoomKit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "roads/TFrameRoadSheet.h"
#include "rooms/QtCardTable.h"
#include "rooms/QtRoomHost.h"

namespace zavuv::roomkit {

QLabel* Text(QWidget* parent, const char* name, const char* text, const char* style) {
  auto* label = new QLabel(parent);
  // Room labels show what the server sends exactly as sent: no markup is read.
  label->setTextFormat(Qt::PlainText);
  label->setText(QString::fromUtf8(text));
  label->setObjectName(QString::fromLatin1(name));
  if (style) label->setStyleSheet(QString::fromUtf8(style));
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setReadOnly(true);
  return edit;
}

QListWidget* List(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setMinimumWidth(60);
  return list;
}

QListWidget* CardLeftList(QWidget* parent) {
  QListWidget* list = List(parent, "ListBoxCardLeft");
  // The thirteen ranks and the total are shown at once, "合計: 416" being the widest
  // item the server sends, so that the list never hides a rank behind its scroll bar
  // (the room's page scrolls instead when the window is small).
  const QFontMetrics metrics = list->fontMetrics();
  const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
  list->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("合計: 416")) + margins + 2 * list->frameWidth() + 4);
  list->setMinimumHeight(14 * (metrics.height() + 2) + 2 * list->frameWidth() + 4);
  return list;
}

QComboBox* AmountBox(QWidget* parent, const char* name, const char* colour, const char* hint) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  for (const char* item : {"0", "300", "500", "1000", "2000", "3000", "5000", "10000"})
    box->addItem(QString::fromLatin1(item));
  box->setEditText(QStringLiteral("0"));
  box->setToolTip(QString::fromUtf8(hint));
  if (colour) box->setStyleSheet(QStringLiteral("QComboBox { color: %1; }").arg(QLatin1String(colour)));
  return box;
}

QFrame* Lamp(QWidget* parent, const char* name) {
  auto* lamp = new QFrame(parent);
  lamp->setObjectName(QString::fromLatin1(name));
  lamp->setFixedSize(25, 25);
  lamp->setAutoFillBackground(true);
  SetLamp(lamp, colours::kBlack);
  return lamp;
}

void SetLamp(QFrame* lamp, Rgb colour) {
  QPalette palette = lamp->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  lamp->setPalette(palette);
}

void Fill(QListWidget* list, const std::vector<std::string>& items) {
  list->clear();
  for (const std::string& item : items) list->addItem(QString::fromStdString(item));
}

void ShowResult(QLabel* label, const GameRoom& room, int pixels) {
  label->setText(QString::fromStdString(room.GameResultText));
  QColor colour = ToQColor(room.GameResultColour);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  // The label's font comes from its style sheet, which would override the palette.
  label->setStyleSheet(QStringLiteral("font-weight: bold; font-size: %1px; color: %2;").arg(pixels).arg(colour.name()));
}

QSplitter* RoadPanel(QWidget* parent, TRoad& road, TFrameRoadSheet** sheet1, TFrameRoadSheet** sheet2) {
  auto* panel = new QSplitter(Qt::Vertical, parent);
  panel->setObjectName(QStringLiteral("PanelRoadSheet"));
  panel->setChildrenCollapsible(false);
  *sheet1 = new TFrameRoadSheet(panel);
  (*sheet1)->setObjectName(sheet2 ? QStringLiteral("RoadSheet1") : QStringLiteral("RoadSheet"));
  (*sheet1)->setMinimumHeight(GameRoom::kMinSheetHeight);
  (*sheet1)->SetRoad(&road);
  panel->addWidget(*sheet1);
  if (sheet2) {
    *sheet2 = new TFrameRoadSheet(panel);
    (*sheet2)->setObjectName(QStringLiteral("RoadSheet2"));
    (*sheet2)->SetRoad(&road);
    panel->addWidget(*sheet2);
  }
  return panel;
}

void ResizeRoadPanel(QSplitter* panel, const QResizeEvent* event) {
  if (panel->count() < 2) return;
  int width = event->oldSize().width();
  int newWidth = event->size().width();
  if (width <= 0 || width == newWidth) return;
  QList<int> sizes = panel->sizes();
  int total = sizes[0] + sizes[1];
  int upper = std::min(GameRoom::UpperSheetHeight(sizes[0], width, newWidth), std::max(total - 30, 30));
  panel->setSizes({upper, total - upper});
}

QHBoxLayout* StatusRow(QWidget* parent, CommonControls& c, QFrame* lamp) {
  auto* row = new QHBoxLayout;
  c.LabelGameStatus = Text(parent, "LabelGameStatus", GameRoom::kTimeLeftCaption, "font-weight: bold; font-size: 20px;");
  row->addWidget(c.LabelGameStatus, 1);
  if (lamp) row->addWidget(lamp);
  return row;
}

QVBoxLayout* LeftColumn(QWidget* parent, GameRoom& room, CommonControls& c, int titlePixels, int resultPixels) {
  auto* left = new QVBoxLayout;
  c.PanelCards = new QtCardTable(titlePixels, parent);
  left->addWidget(c.PanelCards);
  c.resultPixels = resultPixels;
  c.LabelGameResult = Text(parent, "LabelGameResult", "");
  c.LabelGameResult->setAlignment(Qt::AlignCenter);
  ShowResult(c.LabelGameResult, room, resultPixels);
  left->addWidget(c.LabelGameResult);
  auto* shoeRow = new QHBoxLayout;
  shoeRow->addWidget(Text(parent, "LabelShoeResult", "本靴記錄"));
  c.EditShoeResult = ReadOnlyEdit(parent, "EditShoeResult");
  shoeRow->addWidget(c.EditShoeResult, 1);
  left->addLayout(shoeRow);
  c.TimerShowCardAndResult = new QTimer(parent);
  c.TimerShowCardAndResult->setObjectName(QStringLiteral("TimerShowCardAndResult"));
  c.TimerShowCardAndResult->setInterval(30);
  QObject::connect(c.TimerShowCardAndResult, &QTimer::timeout, parent, [&room] { room.TimerShowCardAndResultTimer(); });
  return left;
}

void Columns(QWidget* panel, QHBoxLayout* status, QVBoxLayout* left, QVBoxLayout* middle, QSplitter* roads) {
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* leftBox = new QWidget(panel);
  leftBox->setLayout(left);
  left->setContentsMargins(0, 0, 0, 0);
  leftBox->setFixedWidth(250);
  auto* middleBox = new QWidget(panel);
  middleBox->setLayout(middle);
  middle->setContentsMargins(0, 0, 0, 0);
  middleBox->setMaximumWidth(340);
  // The status runs over both columns: the server's longest status texts need more
  // than the card table's width.
  layout->addLayout(status, 0, 0, 1, 2);
  layout->addWidget(leftBox, 1, 0);
  layout->addWidget(middleBox, 1, 1);
  layout->addWidget(roads, 0, 2, 2, 1);
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(1, 1);
}

void ShowCommon(const CommonControls& c, const GameRoom& room, unsigned changes) {
  if (changes & kStatusChanged) c.LabelGameStatus->setText(QString::fromStdString(room.GameStatusText));
  if (changes & kResultChanged) ShowResult(c.LabelGameResult, room, c.resultPixels);
  if (changes & kListsChanged) {
    Fill(c.ListBoxBanker, room.BankerList);
    Fill(c.ListBoxPlayer, room.PlayerList);
    Fill(c.ListBoxCardLeft, room.CardLeftList);
  }
  if (changes & kShoeChanged) c.EditShoeResult->setText(QString::fromStdString(room.ShoeResult));
  if (changes & kCardsChanged) {
    c.PanelCards->Show(room.Animation);
    if (room.CardsRunning() && !c.TimerShowCardAndResult->isActive()) c.TimerShowCardAndResult->start();
    if (!room.CardsRunning()) c.TimerShowCardAndResult->stop();
  }
}

}  // namespace zavuv::roomkit
