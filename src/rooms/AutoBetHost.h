// What a battle room needs from the strategies in use to bet automatically. The
// program's workbench answers it over its strategy pages; tests answer it with a
// scripted fake.
//
// Only one room may bet automatically at a time: StartAutoBet takes the lock and
// StopAutoBet releases it. CanStartAutoBet tells whether the lock is free (the room
// itself checks the connection and shows the messages).
#pragma once

#include <cstdint>

namespace zavuv {

// The net bet of the strategies for one game: side "B" or "P" with a positive
// amount, or a blank side and 0 when their bets cancel out or nobody bets.
struct NetBet {
  char side = ' ';
  std::int64_t amount = 0;
  bool operator==(const NetBet&) const = default;
};

class AutoBetHost {
 public:
  virtual ~AutoBetHost() = default;
  // Whether no room holds automatic betting now.
  virtual bool CanStartAutoBet() const = 0;
  // Takes the lock, sets the batch flag, and prepares the strategies in use (those
  // ticked, in page order) for a run. Refused with an error when the lock is held;
  // an error while preparing leaves the lock and the flag as they were.
  virtual void StartAutoBet() = 0;
  // A new shoe begins for every strategy in use.
  virtual void AutoBetNewShoe() = 0;
  // Every strategy in use places its bet for the next game; the answer nets them.
  virtual NetBet GetAutoBet() = 0;
  // Every strategy in use settles the game's result ("B", "P" or "T").
  virtual void AutoBetGameResult(char result) = 0;
  // Finishes the strategies, clears the batch flag and releases the lock.
  virtual void StopAutoBet() = 0;
};

}  // namespace zavuv
