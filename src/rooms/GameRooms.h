// The program's six rooms: the practice room and the five battle rooms, and the
// routing of received lines to them by their room name.
#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "rooms/GameRoomClientBattle.h"
#include "rooms/GameRoomClientPractice.h"

namespace zavuv {

class Workbench;

class GameRooms {
 public:
  static constexpr int kBattleRooms = 5;
  // Every room talks to the host; the battle rooms bet automatically through the
  // auto-bet host and record finished shoes into the shoe table (either may be null).
  GameRooms(RoomHost* host, AutoBetHost* autoBet, ShoesData* shoes);
  // The program's rooms: each battle room bets over the workbench's strategies under
  // its own room name and records into the workbench's shoe table.
  GameRooms(RoomHost* host, Workbench& bench);
  GameRooms(const GameRooms&) = delete;
  GameRooms& operator=(const GameRooms&) = delete;

  GameRoomClientPractice Practice;
  // "BATTLE", "BATTLE2" ... "BATTLE5".
  std::array<GameRoomClientBattle, kBattleRooms> Battle;

  // The room a command names, or null: "PRACTICE" or a battle room name.
  GameRoom* Find(std::string_view command);
  // A received line whose command is a room name goes to that room. The answer is
  // whether the command named a room.
  bool HandleLine(std::string_view command, std::string_view arguments);
  // Every room learns that the connection went down or came back.
  void ConnectionChanged(bool online);
  // Ticks every running deal animation (the 30 ms timer).
  void TickCards();
  // Whether some room's deal animation is running.
  bool CardsRunning() const;

 private:
  std::vector<std::unique_ptr<AutoBetHost>> autoBets_;
};

}  // namespace zavuv
