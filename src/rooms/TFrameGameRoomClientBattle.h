// The panel of one battle room: shows a GameRoomClientBattle and turns the user's
// clicks into its operations. Five of them sit on the tabs "戰場" ... "戰場5".
#pragma once

#include <QWidget>

#include "rooms/QtRoomKit.h"
#include "rooms/GameRoomClientBattle.h"

class QCheckBox;
class QComboBox;
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

class TFrameGameRoomClientBattle : public QWidget {
  Q_OBJECT

 public:
  // The panel shows the room for its whole life; the room must outlive it.
  explicit TFrameGameRoomClientBattle(GameRoomClientBattle& room, QWidget* parent = nullptr);

  GameRoomClientBattle& Room() { return room_; }
  // Redraws what the changes touched (every RoomChange bit by default).
  void ShowRoom(unsigned changes = ~0u);

  QLabel* LabelGameStatus = nullptr;
  QFrame* ShapeGameStatus = nullptr;
  QtCardTable* PanelCards = nullptr;
  QLabel* LabelGameResult = nullptr;
  QLabel* LabelPlayerBet = nullptr;
  QLabel* LabelTieBet = nullptr;
  QLabel* LabelBankerBet = nullptr;
  QComboBox* ComboBoxPlayerBet = nullptr;
  QComboBox* ComboBoxTieBet = nullptr;
  QComboBox* ComboBoxBankerBet = nullptr;
  QPushButton* BtnBet = nullptr;
  QPushButton* BtnLastBet = nullptr;
  QPushButton* BtnCancelBet = nullptr;
  QPushButton* BtnAnnounceScore = nullptr;
  QPushButton* BtnBillboard = nullptr;
  QPushButton* BtnVictor = nullptr;
  QPushButton* BtnAutoBet = nullptr;
  QPushButton* BtnPeek1 = nullptr;
  QCheckBox* CheckBoxRecord = nullptr;
  QListWidget* ListBoxPlayer = nullptr;
  QListWidget* ListBoxTie = nullptr;
  QListWidget* ListBoxBanker = nullptr;
  QListWidget* ListBoxCardLeft = nullptr;
  QSplitter* PanelRoadSheet = nullptr;
  TFrameRoadSheet* RoadSheet1 = nullptr;
  TFrameRoadSheet* RoadSheet2 = nullptr;
  QLineEdit* EditShoeResult = nullptr;
  QLineEdit* EditRollingText = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* TimerShowCardAndResult = nullptr;

 public slots:
  void BtnBetClick();
  void BtnLastBetClick();
  void BtnCancelBetClick();
  void BtnAnnounceScoreClick();
  void BtnBillboardClick();
  void BtnVictorClick();
  void BtnPeek1Click();
  void BtnAutoBetClick(bool down);
  void Timer1Timer();
  void TimerShowCardAndResultTimer();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  GameRoomClientBattle& room_;
  roomkit::CommonControls common_;
  bool showing_ = false;   // while the panel writes the room's state into its controls
};

}  // namespace zavuv
