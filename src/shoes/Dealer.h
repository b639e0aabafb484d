// A baccarat dealer: shuffles eight decks into a shoe, burns, places the cut card
// and deals games by the standard drawing rules, so that shoes can be made up for
// practice, demonstrations and tests. The same seed gives the same shoes on every
// platform: the generator is std::mt19937_64, whose output the language fixes, and
// the shuffle and the bounded draws are our own rather than the library's
// implementation-defined distributions.
//
// Card code: a card is one character, 64 + n with n = 1 to 52: 1-13 the spades ace to
// king, 14-26 hearts, 27-39 clubs, 40-52 diamonds. A game's card string holds, in
// this order, the player's first card, the banker's first, the player's second, the
// banker's second, the player's third and the banker's third; it is 4, 5 or 6
// characters long. When only the banker drew, position 5 holds kNoCard.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "shoes/ShoesData.h"

namespace zavuv {

constexpr int kDecksPerShoe = 8;
constexpr int kCardsPerShoe = 52 * kDecksPerShoe;
constexpr int kMaxGamesPerShoe = 100;
constexpr int kMinCardsBehindCut = 14;
constexpr int kMaxCardsBehindCut = 30;
constexpr char kNoCard = '0';

// Cards are numbered 1 to 52 as in the card code.
int CardRank(int card);       // 1 (ace) to 13 (king)
int CardValue(int card);      // ace 1, two to nine their face, ten and faces 0
char CardCode(int card);      // 'A' + card - 1
int CardFromCode(char code);  // the card a code stands for; an error for any other byte

// The total of a hand: the sum of its card values, modulo 10.
int HandTotal(std::initializer_list<int> cards);
// A two-card 8 or 9.
bool IsNatural(int twoCardTotal);
// The player draws a third card on 0 to 5 and stands on 6 and 7 (after no natural).
bool PlayerDraws(int playerTotal);
// Whether the banker draws on a two-card total, given the value of the player's
// third card (no value when the player stood). After no natural.
bool BankerDraws(int bankerTotal, std::optional<int> playerThirdValue);

struct DealtGame {
  char result = 'T';   // 'B', 'P' or 'T'
  std::string cards;   // the card string
  bool operator==(const DealtGame&) const = default;
};

// Plays one game with cards taken from draw, which returns card numbers 1 to 52.
DealtGame PlayGame(const std::function<int()>& draw);
// The result of a card string, recomputed from its cards. A string that is not a game
// dealt by the drawing rules (wrong length, unknown codes, a third card drawn or
// missing against the rules, a misplaced kNoCard) is an error naming the fault.
char GameResultOfCards(std::string_view cards);

struct DealtShoe {
  std::vector<DealtGame> games;
  int burned = 0;       // cards burned, the turned first card included
  int behindCut = 0;    // cards the cut card was placed in front of
  int cardsLeft = 0;    // cards still in the shoe after the last game
  // The result string, one 'B', 'P' or 'T' per game.
  std::string Result() const;
};

class Dealer {
 public:
  explicit Dealer(std::uint64_t seed);

  // Shuffles a fresh shoe and deals it: the first card is turned and as many cards
  // as its value (ten for tens and faces) are burned; the cut card leaves between
  // kMinCardsBehindCut and kMaxCardsBehindCut cards behind it; games are dealt until
  // the one during which the cut card comes out, and never more than
  // kMaxGamesPerShoe.
  DealtShoe DealShoe();

  // A uniformly drawn integer in [0, bound); bound must be at least 1.
  std::uint64_t Below(std::uint64_t bound);

 private:
  std::mt19937_64 generator_;
};

// Deals count shoes from one dealer seeded with seed, named "S" and a zero-padded
// number (at least five digits, more when count needs them) so that the names sort
// in dealing order.
std::vector<ShoeRecord> DealShoes(int count, std::uint64_t seed);
// The name of shoe number (from 1) among count shoes.
std::string DealtShoeName(int number, int count);

}  // namespace zavuv
