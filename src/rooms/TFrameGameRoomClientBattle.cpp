#include "rooms/TFrameGameRoomClientBattle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "roads/TFrameRoadSheet.h"
#include "rooms/QtCardTable.h"
#include "rooms/QtRoomHost.h"
#include "rooms/QtRoomKit.h"
#include "widgets/QtMessages.h"

namespace zavuv {

using namespace roomkit;

TFrameGameRoomClientBattle::TFrameGameRoomClientBattle(GameRoomClientBattle& room, QWidget* parent)
    : QWidget(parent), room_(room) {
  setObjectName(QStringLiteral("FrameGameRoomClientBattle"));

  // Above: status and lamp. Left: cards, result, the shoe and the news.
  ShapeGameStatus = Lamp(this, "ShapeGameStatus");
  QHBoxLayout* status = StatusRow(this, common_, ShapeGameStatus);
  QVBoxLayout* left = LeftColumn(this, room_, common_, 28, 24);
  LabelGameStatus = common_.LabelGameStatus;
  PanelCards = common_.PanelCards;
  LabelGameResult = common_.LabelGameResult;
  EditShoeResult = common_.EditShoeResult;
  TimerShowCardAndResult = common_.TimerShowCardAndResult;
  EditRollingText = ReadOnlyEdit(this, "EditRollingText");
  left->addWidget(EditRollingText);
  left->addStretch(1);

  // Middle: accepted bets, amounts, buttons.
  auto* middle = new QVBoxLayout;
  auto* accepted = new QGroupBox(QStringLiteral("已下注金額"), this);
  accepted->setObjectName(QStringLiteral("GroupBoxBetAmount"));
  auto* acceptedGrid = new QGridLayout(accepted);
  LabelPlayerBet = Text(accepted, "LabelPlayerBet", "0", "color: #0000ff;");
  LabelTieBet = Text(accepted, "LabelTieBet", "0", "color: #000000;");
  LabelBankerBet = Text(accepted, "LabelBankerBet", "0", "color: #ff0000;");
  QLabel* acceptedValues[] = {LabelPlayerBet, LabelTieBet, LabelBankerBet};
  const char* sides[] = {"閒:", "和:", "莊:"};
  for (int i = 0; i < 3; ++i) {
    acceptedGrid->addWidget(Text(accepted, "", sides[i]), i, 0);
    acceptedValues[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    acceptedGrid->addWidget(acceptedValues[i], i, 1);
  }
  middle->addWidget(accepted);

  auto* amounts = new QGroupBox(QStringLiteral("投注金額"), this);
  amounts->setObjectName(QStringLiteral("GroupBox1"));
  auto* amountGrid = new QGridLayout(amounts);
  ComboBoxPlayerBet = AmountBox(amounts, "ComboBoxPlayerBet", "#0000ff", "最低300, 最高40000");
  ComboBoxTieBet = AmountBox(amounts, "ComboBoxTieBet", nullptr, "最低300, 最高5000");
  ComboBoxBankerBet = AmountBox(amounts, "ComboBoxBankerBet", "#ff0000", "最低300, 最高40000");
  QComboBox* boxes[] = {ComboBoxPlayerBet, ComboBoxTieBet, ComboBoxBankerBet};
  std::string* texts[] = {&room_.PlayerBetText, &room_.TieBetText, &room_.BankerBetText};
  for (int i = 0; i < 3; ++i) {
    amountGrid->addWidget(Text(amounts, "", sides[i]), i, 0);
    amountGrid->addWidget(boxes[i], i, 1);
    std::string* text = texts[i];
    connect(boxes[i], &QComboBox::editTextChanged, this, [this, text](const QString& t) {
      if (!showing_) *text = t.toStdString();
    });
  }
  middle->addWidget(amounts);

  BtnBet = Button(this, "BtnBet", "確    認    投    注");
  middle->addWidget(BtnBet);
  auto* betRow = new QHBoxLayout;
  BtnLastBet = Button(this, "BtnLastBet", "上次投注");
  BtnCancelBet = Button(this, "BtnCancelBet", "取消投注");
  betRow->addWidget(BtnLastBet);
  betRow->addWidget(BtnCancelBet);
  middle->addLayout(betRow);
  BtnAnnounceScore = Button(this, "BtnAnnounceScore", "成績:");
  BtnAnnounceScore->setToolTip(QStringLiteral("公告現時成績"));
  middle->addWidget(BtnAnnounceScore);
  auto* boardRow = new QHBoxLayout;
  BtnBillboard = Button(this, "BtnBillboard", "排行榜");
  BtnVictor = Button(this, "BtnVictor", "各屆冠軍");
  boardRow->addWidget(BtnBillboard);
  boardRow->addWidget(BtnVictor);
  middle->addLayout(boardRow);
  auto* autoRow = new QHBoxLayout;
  BtnAutoBet = Button(this, "BtnAutoBet", "自動下注");
  BtnAutoBet->setCheckable(true);
  CheckBoxRecord = new QCheckBox(QStringLiteral("記錄"), this);
  CheckBoxRecord->setObjectName(QStringLiteral("CheckBoxRecord"));
  autoRow->addWidget(BtnAutoBet);
  autoRow->addWidget(CheckBoxRecord);
  middle->addLayout(autoRow);
  BtnPeek1 = Button(this, "BtnPeek1", "偷看下1隻牌");
  BtnPeek1->hide();
  middle->addWidget(BtnPeek1);

  // The name lists and the cards left.
  auto* lists = new QGridLayout;
  ListBoxPlayer = List(this, "ListBoxPlayer");
  ListBoxTie = List(this, "ListBoxTie");
  ListBoxBanker = List(this, "ListBoxBanker");
  ListBoxCardLeft = CardLeftList(this);
  common_.ListBoxBanker = ListBoxBanker;
  common_.ListBoxPlayer = ListBoxPlayer;
  common_.ListBoxCardLeft = ListBoxCardLeft;
  QListWidget* listBoxes[] = {ListBoxPlayer, ListBoxTie, ListBoxBanker, ListBoxCardLeft};
  const char* listTitles[] = {"買閒名單", "買和名單", "買莊名單", "剩餘牌數"};
  for (int i = 0; i < 4; ++i) {
    lists->addWidget(Text(this, "", listTitles[i]), 0, i);
    lists->addWidget(listBoxes[i], 1, i);
  }
  middle->addLayout(lists, 1);

  // Right: the room's roads, one sheet above the other.
  PanelRoadSheet = RoadPanel(this, room_.RoomRoad, &RoadSheet1, &RoadSheet2);
  PanelRoadSheet->installEventFilter(this);
  RoadSheet1->SetZoom(1, 30, 12);
  RoadSheet2->SetZoom(1, 30, 12);

  Columns(this, status, left, middle, PanelRoadSheet);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TFrameGameRoomClientBattle::Timer1Timer);
  Timer1->start();
  connect(BtnBet, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnBetClick);
  connect(BtnLastBet, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnLastBetClick);
  connect(BtnCancelBet, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnCancelBetClick);
  connect(BtnAnnounceScore, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnAnnounceScoreClick);
  connect(BtnBillboard, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnBillboardClick);
  connect(BtnVictor, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnVictorClick);
  connect(BtnPeek1, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnPeek1Click);
  connect(BtnAutoBet, &QPushButton::clicked, this, &TFrameGameRoomClientBattle::BtnAutoBetClick);
  connect(CheckBoxRecord, &QCheckBox::toggled, this, [this](bool on) { room_.Record = on; });

  room_.Changed = [this](unsigned changes) { ShowRoom(changes); };
  ShowRoom();
}

void TFrameGameRoomClientBattle::ShowRoom(unsigned changes) {
  showing_ = true;
  ShowCommon(common_, room_, changes);
  if (changes & kStatusChanged) SetLamp(ShapeGameStatus, room_.LampColour);
  if (changes & kListsChanged) Fill(ListBoxTie, room_.TieList);
  if (changes & kScoreChanged) {
    // The score is the server's text: an "&" in it is shown, not taken for a shortcut.
    BtnAnnounceScore->setText(QString::fromStdString(room_.ScoreCaption).replace(QLatin1Char('&'), QStringLiteral("&&")));
  }
  if (changes & kBetsChanged) {
    LabelBankerBet->setText(QString::fromStdString(room_.BankerBetLabel));
    LabelPlayerBet->setText(QString::fromStdString(room_.PlayerBetLabel));
    LabelTieBet->setText(QString::fromStdString(room_.TieBetLabel));
    ComboBoxBankerBet->setEditText(QString::fromStdString(room_.BankerBetText));
    ComboBoxPlayerBet->setEditText(QString::fromStdString(room_.PlayerBetText));
    ComboBoxTieBet->setEditText(QString::fromStdString(room_.TieBetText));
    BtnBet->setEnabled(room_.BetButtonEnabled);
    BtnAutoBet->setChecked(room_.AutoBetButtonDown);
    CheckBoxRecord->setChecked(room_.Record);
  }
  if (changes & kNewsChanged) EditRollingText->setText(QString::fromStdString(room_.RollingDisplay));
  showing_ = false;
}

void TFrameGameRoomClientBattle::BtnBetClick() { Guarded(this, [&] { room_.BtnBetClick(); }); }
void TFrameGameRoomClientBattle::BtnLastBetClick() { Guarded(this, [&] { room_.BtnLastBetClick(); }); }
void TFrameGameRoomClientBattle::BtnCancelBetClick() { Guarded(this, [&] { room_.BtnCancelBetClick(); }); }
void TFrameGameRoomClientBattle::BtnAnnounceScoreClick() { Guarded(this, [&] { room_.BtnAnnounceScoreClick(); }); }
void TFrameGameRoomClientBattle::BtnBillboardClick() { Guarded(this, [&] { room_.BtnBillboardClick(); }); }
void TFrameGameRoomClientBattle::BtnVictorClick() { Guarded(this, [&] { room_.BtnVictorClick(); }); }
void TFrameGameRoomClientBattle::BtnPeek1Click() { Guarded(this, [&] { room_.BtnPeek1Click(); }); }

void TFrameGameRoomClientBattle::BtnAutoBetClick(bool down) {
  if (!Guarded(this, [&] { room_.BtnAutoBetClick(down); })) ShowRoom(kBetsChanged);
}

void TFrameGameRoomClientBattle::Timer1Timer() { room_.Timer1Timer(); }
void TFrameGameRoomClientBattle::TimerShowCardAndResultTimer() { room_.TimerShowCardAndResultTimer(); }

bool TFrameGameRoomClientBattle::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PanelRoadSheet && event->type() == QEvent::Resize)
    ResizeRoadPanel(PanelRoadSheet, static_cast<QResizeEvent*>(event));
  return QWidget::eventFilter(watched, event);
}

}  // namespace zavuv
