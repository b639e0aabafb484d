#include "rooms/GameRoom.h"

#include <algorithm>
#include <cmath>

#include "net/CommaText.h"
#include "net/Protocol.h"
#include "shoes/ShoesData.h"

namespace zavuv {

std::string RoomText(std::string_view command, std::string_view argument) {
  return net::ArgumentsToUtf8(command, argument);
}

GameRoom::GameRoom(RoomHost* host) : host_(host) { RoomRoad.SetAutoRedraw(true); }

bool GameRoom::Connected() const { return host_ && host_->IsConnected(); }

void GameRoom::Send(const std::string& text) {
  if (!Connected()) return;
  host_->SendLine(roomName_ + ":" + text);
}

void GameRoom::ConnectionChanged(bool online) {
  online_ = online;
  // Offline the last countdown would freeze as if the game went on; back online the
  // room waits for the server's next countdown.
  GameStatusText = online ? kTimeLeftCaption : kOfflineCaption;
  Notify(kStatusChanged | kConnectionChanged);
}

void GameRoom::Notify(unsigned changes) {
  if (changes && Changed) Changed(changes);
}

int GameRoom::UpperSheetHeight(int height, int width, int newWidth) {
  if (width > 5 && newWidth > 5 && width != newWidth)
    height = static_cast<int>(std::lround(static_cast<double>(height) * (newWidth - 5) / (width - 5)));
  return std::max(height, kMinSheetHeight);
}

void GameRoom::HandleRoomMessage(std::string_view text) {
  net::CommandLine cut = net::SplitLine(text);
  // Commands without an argument ("STOPBET", "RESETBET") may come with or without
  // their colon.
  if (cut.command.empty() && text.find(':') == std::string_view::npos) {
    cut.command = net::UpperAscii(net::TrimBlanks(text));
    cut.arguments.clear();
  }
  if (cut.command.empty()) return;
  unsigned changes = 0;
  HandleCommand(cut.command, cut.arguments, changes);
  Notify(changes);
}

void GameRoom::TimerShowCardAndResultTimer() {
  Animation.Tick();
  Notify(kCardsChanged);
}

namespace {

// Fills a name list from comma text.
void ReplaceList(std::vector<std::string>& list, std::string_view command, std::string_view argument) {
  list = net::DecodeCommaText(RoomText(command, argument));
}

}  // namespace

bool GameRoom::HandleCommand(const std::string& command, std::string_view argument, unsigned& changes) {
  if (command == "MESSAGE" || command == "UTF8MESSAGE") {
    if (host_) host_->AddMessage(RoomText(command, argument), MessageColour());
  } else if (command == "TIMELEFT") {
    GameStatusText = kTimeLeftCaption + RoomText(command, argument) + "秒";
    changes |= kStatusChanged;
  } else if (command == "STOPBET") {
    GameStatusText = kStopBetCaption;
    changes |= kStatusChanged;
  } else if (command == "STATUS" || command == "UTF8STATUS") {
    GameStatusText = RoomText(command, argument);
    changes |= kStatusChanged;
  } else if (command == "CARDS") {
    Animation.Start(argument);
    changes |= kCardsChanged;
  } else if (command == "GAMERESULT") {
    std::string_view r = net::TrimBlanks(argument);
    if (r == "B") {
      GameResultText = "莊勝";
      GameResultColour = colours::kRed;
    } else if (r == "P") {
      GameResultText = "閒勝";
      GameResultColour = colours::kBlue;
    } else if (r == "T") {
      GameResultText = "和";
      GameResultColour = colours::kBlack;
    } else {
      GameResultText.clear();
    }
    changes |= kResultChanged;
  } else if (command == "SHOERESULT") {
    ShoeResult = std::string(net::TrimBlanks(argument));
    // The road takes the games only: whatever else the text holds is no game.
    RoomRoad.SetResult(ShoesData::NormaliseResult(ShoeResult));
    changes |= kShoeChanged;
  } else if (command == "BANKERLIST" || command == "UTF8BANKERLIST") {
    ReplaceList(BankerList, command, argument);
    changes |= kListsChanged;
  } else if (command == "PLAYERLIST" || command == "UTF8PLAYERLIST") {
    ReplaceList(PlayerList, command, argument);
    changes |= kListsChanged;
  } else if (command == "CARDLEFT" || command == "UTF8CARDLEFT") {
    ReplaceList(CardLeftList, command, argument);
    changes |= kListsChanged;
  } else if (command == "PEEK") {
    int number = argument.empty() ? 0 : CardNumber(argument.front());
    if (number != 0 && host_) host_->ShowCard(number);
  } else {
    return false;
  }
  return true;
}

}  // namespace zavuv
