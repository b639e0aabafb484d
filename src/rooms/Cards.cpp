#include "rooms/Cards.h"

namespace zavuv {

int CardNumber(char c) {
  int code = static_cast<unsigned char>(c);
  return code >= 65 && code <= 116 ? code - 64 : 0;
}

Suit CardSuit(int number) { return static_cast<Suit>((number - 1) / 13); }

bool CardIsRed(int number) {
  Suit s = CardSuit(number);
  return s == Suit::Hearts || s == Suit::Diamonds;
}

std::string CardRankText(int number) {
  static const char* const kRanks[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
  if (number < 1 || number > 52) return {};
  return kRanks[CardRank(number) - 1];
}

std::string_view SuitSymbol(Suit suit) {
  switch (suit) {
    case Suit::Spades: return "\u2660";
    case Suit::Hearts: return "\u2665";
    case Suit::Clubs: return "\u2663";
    case Suit::Diamonds: return "\u2666";
  }
  return {};
}

std::string CardPictureName(int number) {
  if (number < 1 || number > 52) return {};
  return "CARD" + std::to_string(number);
}

// ---- the deal animation ----

CardPoint CardAnimation::MovePosition(int place, int quarter) {
  const CardPoint& to = kPlaces.at(place);
  // C++ integer division truncates towards zero, as the offsets must.
  return {kDeck.left + (to.left - kDeck.left) * quarter / 4, kDeck.top + (to.top - kDeck.top) * quarter / 4};
}

CardAnimation::CardAnimation() {
  for (int i = 0; i < 6; ++i) {
    pictures_[i].position = kPlaces[i];
    pictures_[i].visible = i < 4;
  }
}

int CardAnimation::CardAt(int position) const {
  if (position < 1 || position > static_cast<int>(cards_.size())) return 0;
  return CardNumber(cards_[position - 1]);
}

void CardAnimation::Start(std::string_view cards) {
  cards_ = std::string(cards);
  step_ = 0;
  running_ = true;
}

bool CardAnimation::Tick() {
  if (!running_) return false;
  if (step_ > kLastStep) {
    running_ = false;
    return false;
  }
  Perform(step_);
  ++step_;
  return true;
}

void CardAnimation::Show(int position) {
  CardPicture& p = pictures_[position - 1];
  int number = CardAt(position);
  if (number == 0) return;
  p.number = number;
  p.faceUp = false;
  p.position = kDeck;
  p.visible = true;
}

void CardAnimation::Move(int position, int quarter) {
  if (CardAt(position) == 0) return;
  pictures_[position - 1].position = MovePosition(position - 1, quarter);
}

void CardAnimation::TurnUp(int position) {
  if (CardAt(position) == 0) return;
  pictures_[position - 1].faceUp = true;
}

void CardAnimation::Perform(int step) {
  if (step == 0) {
    for (CardPicture& p : pictures_) p.visible = false;
    return;
  }
  // Cards 1 to 4 are dealt five steps apart from step 1: shown, then four moves.
  if (step <= 20) {
    int position = (step - 1) / 5 + 1;
    int phase = (step - 1) % 5;
    if (phase == 0)
      Show(position);
    else
      Move(position, phase);
    return;
  }
  switch (step) {
    case 21: TurnUp(1); TurnUp(3); return;
    case 26: TurnUp(2); TurnUp(4); return;
    default: break;
  }
  // The third cards: shown at 31 / 41, moved over the next four steps, turned.
  for (int position : {5, 6}) {
    int first = position == 5 ? 31 : 41;
    if (step == first) Show(position);
    else if (step > first && step <= first + 4) Move(position, step - first);
    else if (step == first + 5) TurnUp(position);
  }
}

}  // namespace zavuv
