// The practice room: the server deals as in a battle room, and the user guesses the
// winner instead of betting. TFrameGameRoomClientPractice shows it.
#pragma once

#include "rooms/GameRoom.h"

namespace zavuv {

class GameRoomClientPractice : public GameRoom {
 public:
  static constexpr const char* kRoomName = "PRACTICE";
  explicit GameRoomClientPractice(RoomHost* host = nullptr);

  // "估莊" sends "B", "估閒" "P" (while connected).
  void BtnGuessBankerClick(bool banker);
  void BtnAnnounceScoreClick();
  void btnPeek1Click();

  // The right and wrong guesses of this shoe, as the server counts them.
  std::string GuessWin = "0";
  std::string GuessLost = "0";

 protected:
  bool HandleCommand(const std::string& command, std::string_view argument, unsigned& changes) override;
  Rgb MessageColour() const override { return colours::kGreen; }
};

}  // namespace zavuv
