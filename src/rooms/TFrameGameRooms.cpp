#include "rooms/TFrameGameRooms.h"

#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "roads/TFrameRoadSheet.h"
#include "rooms/TFormCard.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRoomClientPractice.h"
#include "widgets/QtMessages.h"

namespace zavuv {

namespace {

// A room's tab: the room panel in a scroll box, so that the window keeps its size
// however small it is made.
QWidget* Page(QWidget* parent, const char* name, QWidget* content) {
  auto* page = new QWidget(parent);
  page->setObjectName(QString::fromLatin1(name));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(page);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(content);
  layout->addWidget(scroll);
  return page;
}

}  // namespace

TFrameGameRooms::TFrameGameRooms(Workbench& bench, QWidget* parent) : QWidget(parent), host_(this) {
  setObjectName(QStringLiteral("TabSheetGameRoom"));
  FormCard = new TFormCard(this);
  host_.SetFormCard(FormCard);
  rooms_ = std::make_unique<GameRooms>(&host_, bench);

  PageControlGameRoom = new QTabWidget(this);
  PageControlGameRoom->setObjectName(QStringLiteral("PageControlGameRoom"));
  FrameGameRoomClientPractice = new TFrameGameRoomClientPractice(rooms_->Practice);
  FrameGameRoomClientPractice->setObjectName(QStringLiteral("FrameGameRoomClientPractice"));
  PageControlGameRoom->addTab(Page(PageControlGameRoom, "TabSheetPractice", FrameGameRoomClientPractice),
                              QStringLiteral("練習場"));
  static const char* const kPages[] = {"TabSheetBattle", "TabSheetBattle2", "TabSheetBattle3", "TabSheetBattle4",
                                       "TabSheetBattle5"};
  for (int i = 0; i < GameRooms::kBattleRooms; ++i) {
    auto* frame = new TFrameGameRoomClientBattle(rooms_->Battle[i]);
    frame->setObjectName(QStringLiteral("FrameGameRoomClientBattle%1").arg(i + 1));
    FrameGameRoomClientBattle[i] = frame;
    PageControlGameRoom->addTab(Page(PageControlGameRoom, kPages[i], frame),
                                i == 0 ? QStringLiteral("戰場") : QStringLiteral("戰場%1").arg(i + 1));
  }
  // Inside "遊樂場" the page "戰場" is the one shown first.
  PageControlGameRoom->setCurrentIndex(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControlGameRoom);
}

TFrameGameRooms::~TFrameGameRooms() {
  // The panels go before the rooms they show.
  delete PageControlGameRoom;
  PageControlGameRoom = nullptr;
}

bool TFrameGameRooms::HandleLine(std::string_view command, std::string_view arguments) {
  if (!rooms_->Find(command)) return false;
  // A room line can make the strategies bet, settle and finish, or record a shoe:
  // what fails there is shown as any other failed action is, and the lines go on.
  Guarded(this, [&] { rooms_->HandleLine(command, arguments); });
  return true;
}

void TFrameGameRooms::RefreshIfShowing(const QString& roadName) {
  // The rooms draw their bead roads with the main window's settings: the practice
  // room's sheet and the battle rooms' two sheets each follow them.
  FrameGameRoomClientPractice->RoadSheet->RefreshIfShowing(roadName);
  for (TFrameGameRoomClientBattle* frame : FrameGameRoomClientBattle) {
    frame->RoadSheet1->RefreshIfShowing(roadName);
    frame->RoadSheet2->RefreshIfShowing(roadName);
  }
}

}  // namespace zavuv
