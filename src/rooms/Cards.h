// Playing cards as the rooms receive them, and the deal animation that puts a
// game's cards on the table.
//
// A card travels as one character with a code from 65 ("A") to 116 ("t"); its card
// number is the code minus 64. Numbers 1 to 13 are the spades from ace to king, 14
// to 26 the hearts, 27 to 39 the clubs and 40 to 52 the diamonds. Any other
// character stands for no card. A game's card string lists its cards by position:
// 1 the player's first, 2 the banker's first, 3 the player's second, 4 the banker's
// second, 5 the player's third, 6 the banker's third.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shoes/Dealer.h"

namespace zavuv {

enum class Suit { Spades, Hearts, Clubs, Diamonds };

// The card number of a card character, 1 to 52; 0 when the character is no card
// (the dealer's CardFromCode refuses such a character instead).
int CardNumber(char c);
// For a card number 1 to 52: its suit (CardRank and CardCode are the dealer's).
Suit CardSuit(int number);
bool CardIsRed(int number);
// "A", "2" ... "10", "J", "Q", "K".
std::string CardRankText(int number);
// "♠", "♥", "♣", "♦" (UTF-8).
std::string_view SuitSymbol(Suit suit);
// The name of a card's face picture, "CARD1" to "CARD52"; empty for no card.
std::string CardPictureName(int number);

// Size of every card picture, faces and back alike.
inline constexpr int kCardWidth = 71;
inline constexpr int kCardHeight = 96;

struct CardPoint {
  int left = 0;
  int top = 0;
  bool operator==(const CardPoint&) const = default;
};

// One of the six card pictures on the table.
struct CardPicture {
  bool visible = false;
  bool faceUp = false;
  int number = 0;       // the card it will show when turned, 0 for none
  CardPoint position;
  bool operator==(const CardPicture&) const = default;
};

// The deal animation: 47 steps, one per tick of a 30 ms timer. The deck stands at
// (84, 64); a card is shown face down at the deck, moves a quarter of the way to its
// place per step, and is turned face up later:
//   0        every picture hidden
//   1, 2-5   card 1 shown, moved          21  cards 1 and 3 turned
//   6, 7-10  card 2                       26  cards 2 and 4 turned
//   11, 12-15 card 3                      31, 32-35, 36  card 5 shown, moved, turned
//   16, 17-20 card 4                      41, 42-45, 46  card 6 shown, moved, turned
// A position whose character is no card (or that the card string does not reach)
// stays hidden through all its steps.
class CardAnimation {
 public:
  static constexpr int kLastStep = 46;
  static constexpr CardPoint kDeck{84, 64};
  static constexpr std::array<CardPoint, 6> kPlaces{
      {{8, 104}, {128, 104}, {24, 104}, {144, 104}, {40, 104}, {160, 104}}};

  // Before the first deal the first four pictures stand face down on their places
  // and the third cards are hidden.
  CardAnimation();

  // Takes a new card string and starts from step 0 (also in the middle of a deal).
  void Start(std::string_view cards);
  // Performs the action of the current step and advances. At a step above the last
  // the animation stops instead; the answer is whether it is still running.
  bool Tick();

  bool Running() const { return running_; }
  int Step() const { return step_; }
  const std::string& Cards() const { return cards_; }
  const std::array<CardPicture, 6>& Pictures() const { return pictures_; }
  // Card number at a position 1 to 6 of the card string, 0 for none.
  int CardAt(int position) const;

  // Where a card stands after quarter k (0 to 4) of its move from the deck to place
  // index (0 to 5): the deck plus k/4 of the way, each offset truncated towards zero.
  static CardPoint MovePosition(int place, int quarter);

 private:
  void Perform(int step);
  void Show(int position);
  void Move(int position, int quarter);
  void TurnUp(int position);

  std::string cards_;
  int step_ = 0;
  bool running_ = false;
  std::array<CardPicture, 6> pictures_{};
};

}  // namespace zavuv
