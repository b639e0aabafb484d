// The practice room's panel: shows a GameRoomClientPractice and sends guesses.
#pragma once

#include <QWidget>

#include "rooms/QtRoomKit.h"
#include "rooms/GameRoomClientPractice.h"

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;
class QTimer;

namespace zavuv {

class QtCardTable;
class TFrameRoadSheet;

class TFrameGameRoomClientPractice : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameGameRoomClientPractice(GameRoomClientPractice& room, QWidget* parent = nullptr);

  GameRoomClientPractice& Room() { return room_; }
  void ShowRoom(unsigned changes = ~0u);

  QLabel* LabelGameStatus = nullptr;
  QtCardTable* PanelCards = nullptr;
  QLabel* LabelGameResult = nullptr;
  QPushButton* BtnGuessPlayer = nullptr;
  QPushButton* BtnGuessBanker = nullptr;
  QLabel* LabelGuessWin = nullptr;
  QLabel* LabelGuessLost = nullptr;
  QPushButton* BtnAnnounceScore = nullptr;
  QPushButton* btnPeek1 = nullptr;
  QListWidget* ListBoxPlayer = nullptr;
  QListWidget* ListBoxBanker = nullptr;
  QListWidget* ListBoxCardLeft = nullptr;
  QSplitter* PanelRoadSheet = nullptr;
  TFrameRoadSheet* RoadSheet = nullptr;
  QLineEdit* EditShoeResult = nullptr;
  QTimer* TimerShowCardAndResult = nullptr;

 public slots:
  void BtnGuessBankerClick();
  void BtnAnnounceScoreClick();
  void btnPeek1Click();
  void TimerShowCardAndResultTimer();

 private:
  GameRoomClientPractice& room_;
  roomkit::CommonControls common_;
};

}  // namespace zavuv
