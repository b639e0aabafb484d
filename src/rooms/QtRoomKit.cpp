#include "rooms/QtRoomKit.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>

#include "roads/TFrameRoadSheet.h"
#include "rooms/QtRoomHost.h"

namespace zavuv::roomkit {

QLabel* Text(QWidget* parent, const char* name, const char* text, const char* style) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
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

}  // namespace zavuv::roomkit
