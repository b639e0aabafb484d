// The page "遊樂場" (TabSheetGameRoom): the practice room and the five battle rooms on
// the tabs of PageControlGameRoom, the rooms' engine state over the workbench, the
// card window, and the 30 ms deal timers and 1 s news timers of the room panels.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string_view>

#include "rooms/GameRooms.h"
#include "rooms/QtRoomHost.h"

class QTabWidget;

namespace zavuv {

class TFormCard;
class TFrameGameRoomClientBattle;
class TFrameGameRoomClientPractice;
class Workbench;

class TFrameGameRooms : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameGameRooms(Workbench& bench, QWidget* parent = nullptr);
  ~TFrameGameRooms() override;

  // The connection and the message pane reach the rooms through this host: the main
  // window sets its Connected, Send and Message functions.
  QtRoomHost& Host() { return host_; }
  GameRooms& Rooms() { return *rooms_; }
  // A received line whose command names a room ("PRACTICE", "BATTLE" ... "BATTLE5");
  // false for any other command. An error while the room handles it is shown in the
  // error box.
  bool HandleLine(std::string_view command, std::string_view arguments);

  // The rooms' road sheets that show the named road redraw (a bead road's settings
  // changed on the road page).
  void RefreshIfShowing(const QString& roadName);

  QTabWidget* PageControlGameRoom = nullptr;
  TFrameGameRoomClientPractice* FrameGameRoomClientPractice = nullptr;
  std::array<TFrameGameRoomClientBattle*, GameRooms::kBattleRooms> FrameGameRoomClientBattle{};
  TFormCard* FormCard = nullptr;

 private:
  QtRoomHost host_;
  std::unique_ptr<GameRooms> rooms_;
};

}  // namespace zavuv
