#include "rooms/TFrameGameRoomClientPractice.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "roads/TFrameRoadSheet.h"
#include "rooms/QtCardTable.h"
#include "rooms/QtRoomKit.h"
#include "widgets/QtMessages.h"

namespace zavuv {

using namespace roomkit;

TFrameGameRoomClientPractice::TFrameGameRoomClientPractice(GameRoomClientPractice& room, QWidget* parent)
    : QWidget(parent), room_(room) {
  setObjectName(QStringLiteral("FrameGameRoomClientPractice"));

  QHBoxLayout* status = StatusRow(this, common_, nullptr);
  QVBoxLayout* left = LeftColumn(this, room_, common_, 40, 32);
  LabelGameStatus = common_.LabelGameStatus;
  PanelCards = common_.PanelCards;
  LabelGameResult = common_.LabelGameResult;
  EditShoeResult = common_.EditShoeResult;
  TimerShowCardAndResult = common_.TimerShowCardAndResult;
  left->addStretch(1);

  auto* middle = new QVBoxLayout;
  auto* guesses = new QHBoxLayout;
  BtnGuessPlayer = Button(this, "BtnGuessPlayer", "估閒");
  BtnGuessBanker = Button(this, "BtnGuessBanker", "估莊");
  BtnGuessPlayer->setStyleSheet(QStringLiteral("color: #0000ff; font-weight: bold; font-size: 24px;"));
  BtnGuessBanker->setStyleSheet(QStringLiteral("color: #ff0000; font-weight: bold; font-size: 24px;"));
  BtnGuessPlayer->setMinimumHeight(48);
  BtnGuessBanker->setMinimumHeight(48);
  guesses->addWidget(BtnGuessPlayer);
  guesses->addWidget(BtnGuessBanker);
  middle->addLayout(guesses);
  auto* counts = new QGridLayout;
  counts->addWidget(Text(this, "Label2", "閣下本靴中估中局數:"), 0, 0);
  LabelGuessWin = Text(this, "LabelGuessWin", "0", "color: #0000ff;");
  counts->addWidget(LabelGuessWin, 0, 1);
  counts->addWidget(Text(this, "Label3", "估錯局數:"), 1, 0);
  LabelGuessLost = Text(this, "LabelGuessLost", "0", "color: #ff0000;");
  counts->addWidget(LabelGuessLost, 1, 1);
  middle->addLayout(counts);
  BtnAnnounceScore = Button(this, "BtnAnnounceScore", "公告現時成績");
  middle->addWidget(BtnAnnounceScore);
  btnPeek1 = Button(this, "btnPeek1", "偷看下1隻牌");
  btnPeek1->hide();
  middle->addWidget(btnPeek1);
  auto* lists = new QGridLayout;
  ListBoxPlayer = List(this, "ListBoxPlayer");
  ListBoxBanker = List(this, "ListBoxBanker");
  ListBoxCardLeft = CardLeftList(this);
  common_.ListBoxBanker = ListBoxBanker;
  common_.ListBoxPlayer = ListBoxPlayer;
  common_.ListBoxCardLeft = ListBoxCardLeft;
  QListWidget* listBoxes[] = {ListBoxPlayer, ListBoxBanker, ListBoxCardLeft};
  const char* titles[] = {"估閒名單", "估莊名單", "剩餘牌數"};
  for (int i = 0; i < 3; ++i) {
    lists->addWidget(Text(this, "", titles[i]), 0, i);
    lists->addWidget(listBoxes[i], 1, i);
  }
  middle->addLayout(lists, 1);

  PanelRoadSheet = RoadPanel(this, room_.RoomRoad, &RoadSheet, nullptr);
  RoadSheet->SetZoom(1, 30, 10);

  Columns(this, status, left, middle, PanelRoadSheet);

  connect(BtnGuessBanker, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::BtnGuessBankerClick);
  connect(BtnGuessPlayer, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::BtnGuessBankerClick);
  connect(BtnAnnounceScore, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::BtnAnnounceScoreClick);
  connect(btnPeek1, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::btnPeek1Click);

  room_.Changed = [this](unsigned changes) { ShowRoom(changes); };
  ShowRoom();
}

void TFrameGameRoomClientPractice::ShowRoom(unsigned changes) {
  ShowCommon(common_, room_, changes);
  if (changes & kScoreChanged) {
    LabelGuessWin->setText(QString::fromStdString(room_.GuessWin));
    LabelGuessLost->setText(QString::fromStdString(room_.GuessLost));
  }
}

// The two guess buttons share this handler: "B" for 估莊, "P" otherwise.
void TFrameGameRoomClientPractice::BtnGuessBankerClick() {
  const bool banker = sender() == BtnGuessBanker;
  Guarded(this, [&] { room_.BtnGuessBankerClick(banker); });
}
void TFrameGameRoomClientPractice::BtnAnnounceScoreClick() { Guarded(this, [&] { room_.BtnAnnounceScoreClick(); }); }
void TFrameGameRoomClientPractice::btnPeek1Click() { Guarded(this, [&] { room_.btnPeek1Click(); }); }
void TFrameGameRoomClientPractice::TimerShowCardAndResultTimer() { room_.TimerShowCardAndResultTimer(); }

}  // namespace zavuv
