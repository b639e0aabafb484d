#include "rooms/GameRoomClientPractice.h"

#include "net/Protocol.h"

namespace zavuv {

GameRoomClientPractice::GameRoomClientPractice(RoomHost* host) : GameRoom(host) { SetName(kRoomName); }

void GameRoomClientPractice::BtnGuessBankerClick(bool banker) { Send(banker ? "GUESS:B" : "GUESS:P"); }
void GameRoomClientPractice::BtnAnnounceScoreClick() { Send("ANNOUNCESCORE:"); }
void GameRoomClientPractice::btnPeek1Click() { Send("PEEK:1"); }

bool GameRoomClientPractice::HandleCommand(const std::string& command, std::string_view argument,
                                           unsigned& changes) {
  if (command == "SCORE") {
    net::CommandLine cut = net::SplitLine(RoomText(command, argument));
    GuessWin = cut.command;
    GuessLost = cut.arguments;
    changes |= kScoreChanged;
    return true;
  }
  // The battle rooms' own commands (bets, tie list, game status, news, the score of
  // all rooms) mean nothing here.
  return GameRoom::HandleCommand(command, argument, changes);
}

}  // namespace zavuv
