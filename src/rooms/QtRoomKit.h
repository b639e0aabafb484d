// Controls both room panels build the same way.
#pragma once

#include <string>
#include <vector>

#include "rooms/GameRoom.h"

class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QResizeEvent;
class QSplitter;
class QTimer;
class QVBoxLayout;
class QWidget;

namespace zavuv {

class QtCardTable;
class TFrameRoadSheet;

namespace roomkit {

QLabel* Text(QWidget* parent, const char* name, const char* text, const char* style = nullptr);
QPushButton* Button(QWidget* parent, const char* name, const char* caption);
QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name);
QListWidget* List(QWidget* parent, const char* name);
// ListBoxCardLeft, wide enough for every rank's count.
QListWidget* CardLeftList(QWidget* parent);
// An editable amount box: text "0", items 0, 300 ... 10000, a colour and a hint.
QComboBox* AmountBox(QWidget* parent, const char* name, const char* colour, const char* hint);
// The 25 x 25 status lamp.
QFrame* Lamp(QWidget* parent, const char* name);
void SetLamp(QFrame* lamp, Rgb colour);
void Fill(QListWidget* list, const std::vector<std::string>& items);
// The result in its colour, bold, `pixels` high.
void ShowResult(QLabel* label, const GameRoom& room, int pixels);
// PanelRoadSheet with its road sheets over the room's road, one above the other.
// Pass sheet2 null for a single sheet.
QSplitter* RoadPanel(QWidget* parent, TRoad& road, TFrameRoadSheet** sheet1, TFrameRoadSheet** sheet2);
// The panel's sizing rule on a change of width: the upper sheet keeps its shape.
void ResizeRoadPanel(QSplitter* panel, const QResizeEvent* event);

// The controls both panels have, made and shown the same way.
struct CommonControls {
  QLabel* LabelGameStatus = nullptr;
  QtCardTable* PanelCards = nullptr;
  QLabel* LabelGameResult = nullptr;
  QLineEdit* EditShoeResult = nullptr;
  QListWidget* ListBoxBanker = nullptr;
  QListWidget* ListBoxPlayer = nullptr;
  QListWidget* ListBoxCardLeft = nullptr;
  QTimer* TimerShowCardAndResult = nullptr;
  int resultPixels = 24;
};
// The status, with the lamp beside it when there is one.
QHBoxLayout* StatusRow(QWidget* parent, CommonControls& c, QFrame* lamp);
// The left column: the card table, the result and "本靴記錄"; and the 30 ms deal
// timer ticking the room.
QVBoxLayout* LeftColumn(QWidget* parent, GameRoom& room, CommonControls& c, int titlePixels, int resultPixels);
// The panel's columns: the status over the left one (250 wide) and the middle one (at
// most 340), and the roads beside them taking the rest.
void Columns(QWidget* panel, QHBoxLayout* status, QVBoxLayout* left, QVBoxLayout* middle, QSplitter* roads);
// Shows what both rooms have, for the changes given.
void ShowCommon(const CommonControls& c, const GameRoom& room, unsigned changes);

}  // namespace roomkit
}  // namespace zavuv
