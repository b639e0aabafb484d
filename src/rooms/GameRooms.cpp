#include "rooms/GameRooms.h"

#include <exception>

#include "app/Workbench.h"
#include "rooms/WorkbenchAutoBet.h"

namespace zavuv {

GameRooms::GameRooms(RoomHost* host, AutoBetHost* autoBet, ShoesData* shoes) : Practice(host) {
  static const char* const kNames[kBattleRooms] = {"BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"};
  for (int i = 0; i < kBattleRooms; ++i) {
    GameRoomClientBattle& room = Battle[i];
    room.SetHost(host);
    room.SetRoomName(kNames[i]);
    room.SetAutoBetHost(autoBet);
    room.SetShoes(shoes);
    // "UTF8SCORE" in any battle room is the score of them all.
    room.ScoreForAllRooms = [this](const std::string& text) {
      for (GameRoomClientBattle& r : Battle) r.SetScore(text);
    };
  }
}

GameRooms::GameRooms(RoomHost* host, Workbench& bench) : GameRooms(host, nullptr, &bench.Shoes()) {
  for (GameRoomClientBattle& room : Battle) {
    autoBets_.push_back(std::make_unique<WorkbenchAutoBet>(bench, room.RoomName()));
    room.SetAutoBetHost(autoBets_.back().get());
  }
}

GameRoom* GameRooms::Find(std::string_view command) {
  if (command == Practice.RoomName()) return &Practice;
  for (GameRoomClientBattle& room : Battle)
    if (command == room.RoomName()) return &room;
  return nullptr;
}

bool GameRooms::HandleLine(std::string_view command, std::string_view arguments) {
  GameRoom* room = Find(command);
  if (!room) return false;
  room->HandleRoomMessage(arguments);
  return true;
}

void GameRooms::ConnectionChanged(bool online) {
  Practice.ConnectionChanged(online);
  // A room whose strategies fail to finish must not keep the others betting or
  // counting down: every room is told, and the first error follows.
  std::exception_ptr failed;
  for (GameRoomClientBattle& room : Battle) {
    try {
      room.ConnectionChanged(online);
    } catch (...) {
      if (!failed) failed = std::current_exception();
    }
  }
  if (failed) std::rethrow_exception(failed);
}

void GameRooms::TickCards() {
  if (Practice.CardsRunning()) Practice.TimerShowCardAndResultTimer();
  for (GameRoomClientBattle& room : Battle)
    if (room.CardsRunning()) room.TimerShowCardAndResultTimer();
}

bool GameRooms::CardsRunning() const {
  if (Practice.CardsRunning()) return true;
  for (const GameRoomClientBattle& room : Battle)
    if (room.CardsRunning()) return true;
  return false;
}

}  // namespace zavuv
