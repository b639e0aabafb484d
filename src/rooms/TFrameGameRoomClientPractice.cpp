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

namespace zavuv {

using namespace roomkit;

TFrameGameRoomClientPractice::TFrameGameRoomClientPractice(GameRoomClientPractice& room, QWidget* parent)
    : QWidget(parent), room_(room) {
  setObjectName(QStringLiteral("FrameGameRoomClientPractice"));

  auto* left = new QVBoxLayout;
  left->setContentsMargins(0, 0, 0, 0);
  LabelGameStatus = Text(this, "LabelGameStatus", GameRoom::kTimeLeftCaption, "font-weight: bold; font-size: 20px;");
  left->addWidget(LabelGameStatus);
  PanelCards = new QtCardTable(40, this);
  left->addWidget(PanelCards);
  LabelGameResult = Text(this, "LabelGameResult", "", "font-weight: bold; font-size: 32px;");
  LabelGameResult->setAlignment(Qt::AlignCenter);
  left->addWidget(LabelGameResult);
  auto* shoeRow = new QHBoxLayout;
  shoeRow->addWidget(Text(this, "LabelShoeResult", "本靴記錄"));
  EditShoeResult = ReadOnlyEdit(this, "EditShoeResult");
  shoeRow->addWidget(EditShoeResult, 1);
  left->addLayout(shoeRow);
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
  ListBoxCardLeft = List(this, "ListBoxCardLeft");
  QListWidget* listBoxes[] = {ListBoxPlayer, ListBoxBanker, ListBoxCardLeft};
  const char* titles[] = {"估閒名單", "估莊名單", "剩餘牌數"};
  for (int i = 0; i < 3; ++i) {
    lists->addWidget(new QLabel(QString::fromUtf8(titles[i]), this), 0, i);
    lists->addWidget(listBoxes[i], 1, i);
  }
  middle->addLayout(lists, 1);

  PanelRoadSheet = RoadPanel(this, room_.RoomRoad, &RoadSheet, nullptr);
  RoadSheet->SetZoom(1, 30, 10);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* leftBox = new QWidget(this);
  leftBox->setLayout(left);
  leftBox->setFixedWidth(250);
  layout->addWidget(leftBox);
  auto* middleBox = new QWidget(this);
  middleBox->setLayout(middle);
  middle->setContentsMargins(0, 0, 0, 0);
  middleBox->setMaximumWidth(340);
  layout->addWidget(middleBox);
  layout->addWidget(PanelRoadSheet, 1);

  TimerShowCardAndResult = new QTimer(this);
  TimerShowCardAndResult->setObjectName(QStringLiteral("TimerShowCardAndResult"));
  TimerShowCardAndResult->setInterval(30);
  connect(TimerShowCardAndResult, &QTimer::timeout, this, &TFrameGameRoomClientPractice::TimerShowCardAndResultTimer);
  connect(BtnGuessBanker, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::BtnGuessBankerClick);
  connect(BtnGuessPlayer, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::BtnGuessBankerClick);
  connect(BtnAnnounceScore, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::BtnAnnounceScoreClick);
  connect(btnPeek1, &QPushButton::clicked, this, &TFrameGameRoomClientPractice::btnPeek1Click);

  room_.Changed = [this](unsigned changes) { ShowRoom(changes); };
  ShowRoom();
}

void TFrameGameRoomClientPractice::ShowRoom(unsigned changes) {
  if (changes & kStatusChanged) LabelGameStatus->setText(QString::fromStdString(room_.GameStatusText));
  if (changes & kResultChanged) ShowResult(LabelGameResult, room_, 32);
  if (changes & kListsChanged) {
    Fill(ListBoxBanker, room_.BankerList);
    Fill(ListBoxPlayer, room_.PlayerList);
    Fill(ListBoxCardLeft, room_.CardLeftList);
  }
  if (changes & kShoeChanged) EditShoeResult->setText(QString::fromStdString(room_.ShoeResult));
  if (changes & kScoreChanged) {
    LabelGuessWin->setText(QString::fromStdString(room_.GuessWin));
    LabelGuessLost->setText(QString::fromStdString(room_.GuessLost));
  }
  if (changes & kCardsChanged) {
    PanelCards->Show(room_.Animation);
    if (room_.CardsRunning() && !TimerShowCardAndResult->isActive()) TimerShowCardAndResult->start();
    if (!room_.CardsRunning()) TimerShowCardAndResult->stop();
  }
}

// The two guess buttons share this handler: "B" for 估莊, "P" otherwise.
void TFrameGameRoomClientPractice::BtnGuessBankerClick() { room_.BtnGuessBankerClick(sender() == BtnGuessBanker); }
void TFrameGameRoomClientPractice::BtnAnnounceScoreClick() { room_.BtnAnnounceScoreClick(); }
void TFrameGameRoomClientPractice::btnPeek1Click() { room_.btnPeek1Click(); }
void TFrameGameRoomClientPractice::TimerShowCardAndResultTimer() { room_.TimerShowCardAndResultTimer(); }

}  // namespace zavuv
