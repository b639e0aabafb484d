#include "shoes/Dealer.h"

#include <array>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace zavuv {

namespace {

void CheckCard(int card) {
  if (card < 1 || card > 52) throw std::invalid_argument("牌號必須在 1 到 52 之間: " + std::to_string(card));
}

std::string Printable(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 0x20 && u < 0x7F) return std::string("'") + c + "'";
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", u);
  return buf;
}

char Winner(int player, int banker) { return banker > player ? 'B' : player > banker ? 'P' : 'T'; }

}  // namespace

int CardRank(int card) {
  CheckCard(card);
  return (card - 1) % 13 + 1;
}

int CardValue(int card) {
  int rank = CardRank(card);
  return rank >= 10 ? 0 : rank;
}

char CardCode(int card) {
  CheckCard(card);
  return static_cast<char>(64 + card);
}

int CardFromCode(char code) {
  int card = static_cast<unsigned char>(code) - 64;
  if (card < 1 || card > 52) throw std::invalid_argument("不是牌的代碼: " + Printable(code));
  return card;
}

int HandTotal(std::initializer_list<int> cards) {
  int total = 0;
  for (int card : cards) total += CardValue(card);
  return total % 10;
}

bool IsNatural(int twoCardTotal) { return twoCardTotal >= 8; }

bool PlayerDraws(int playerTotal) { return playerTotal <= 5; }

bool BankerDraws(int bankerTotal, std::optional<int> playerThirdValue) {
  if (!playerThirdValue) return bankerTotal <= 5;
  int third = *playerThirdValue;
  switch (bankerTotal) {
    case 0: case 1: case 2: return true;
    case 3: return third != 8;
    case 4: return third >= 2 && third <= 7;
    case 5: return third >= 4 && third <= 7;
    case 6: return third >= 6 && third <= 7;
    default: return false;
  }
}

DealtGame PlayGame(const std::function<int()>& draw) {
  // Dealt alternately, the player's card first.
  int p1 = draw(), b1 = draw(), p2 = draw(), b2 = draw();
  DealtGame game;
  game.cards = {CardCode(p1), CardCode(b1), CardCode(p2), CardCode(b2)};
  int player = HandTotal({p1, p2});
  int banker = HandTotal({b1, b2});
  if (!IsNatural(player) && !IsNatural(banker)) {
    std::optional<int> playerThird;
    if (PlayerDraws(player)) {
      int card = draw();
      game.cards += CardCode(card);
      playerThird = CardValue(card);
      player = (player + *playerThird) % 10;
    }
    if (BankerDraws(banker, playerThird)) {
      int card = draw();
      if (!playerThird) game.cards += kNoCard;
      game.cards += CardCode(card);
      banker = (banker + CardValue(card)) % 10;
    }
  }
  game.result = Winner(player, banker);
  return game;
}

char GameResultOfCards(std::string_view cards) {
  auto fail = [&](const std::string& why) {
    throw std::invalid_argument("牌局 \"" + std::string(cards) + "\" 不合規則: " + why);
  };
  if (cards.size() < 4 || cards.size() > 6) fail("應有 4 到 6 個字元");
  auto card = [&](std::size_t i) {
    if (cards[i] == kNoCard) fail("第 " + std::to_string(i + 1) + " 張不可為空");
    return CardFromCode(cards[i]);
  };
  int player = HandTotal({card(0), card(2)});
  int banker = HandTotal({card(1), card(3)});
  std::size_t expected = 4;
  if (!IsNatural(player) && !IsNatural(banker)) {
    std::optional<int> playerThird;
    if (PlayerDraws(player)) {
      if (cards.size() < 5) fail("閒家應補牌");
      playerThird = CardValue(card(4));
      player = (player + *playerThird) % 10;
      expected = 5;
    }
    if (BankerDraws(banker, playerThird)) {
      if (cards.size() < 6) fail("莊家應補牌");
      if (!playerThird && cards[4] != kNoCard) fail("閒家不應補牌");
      banker = (banker + CardValue(card(5))) % 10;
      expected = 6;
    }
  }
  if (cards.size() != expected) fail("補牌不合規則");
  return Winner(player, banker);
}

std::string DealtShoe::Result() const {
  std::string result;
  result.reserve(games.size());
  for (const auto& game : games) result += game.result;
  return result;
}

Dealer::Dealer(std::uint64_t seed) : generator_(seed) {}

std::uint64_t Dealer::Below(std::uint64_t bound) {
  if (bound == 0) throw std::invalid_argument("亂數上限必須至少為 1");
  // Rejects the lowest 2^64 mod bound outputs, so that what is left is a whole
  // number of copies of [0, bound).
  const std::uint64_t threshold = (0 - bound) % bound;
  for (;;) {
    std::uint64_t r = generator_();
    if (r >= threshold) return r % bound;
  }
}

DealtShoe Dealer::DealShoe() {
  std::array<int, kCardsPerShoe> shoe;
  for (int i = 0; i < kCardsPerShoe; ++i) shoe[i] = i % 52 + 1;
  // Fisher–Yates, from the back.
  for (int i = kCardsPerShoe - 1; i > 0; --i)
    std::swap(shoe[i], shoe[Below(static_cast<std::uint64_t>(i) + 1)]);

  DealtShoe dealt;
  dealt.behindCut = kMinCardsBehindCut +
                    static_cast<int>(Below(kMaxCardsBehindCut - kMinCardsBehindCut + 1));
  int next = 0;
  int turned = shoe[next++];
  int rank = CardRank(turned);
  next += rank >= 10 ? 10 : rank;
  dealt.burned = next;

  auto draw = [&]() -> int {
    // The cut card leaves at least kMinCardsBehindCut cards, more than a game uses.
    if (next >= kCardsPerShoe) throw std::logic_error("牌靴已無牌");
    return shoe[next++];
  };
  // A game starts only while the cut card is still in the shoe, that is while at
  // least behindCut cards remain; the game that brings it out is the last.
  while (kCardsPerShoe - next >= dealt.behindCut &&
         static_cast<int>(dealt.games.size()) < kMaxGamesPerShoe)
    dealt.games.push_back(PlayGame(draw));
  dealt.cardsLeft = kCardsPerShoe - next;
  return dealt;
}

std::string DealtShoeName(int number, int count) {
  std::size_t width = 5;
  for (int n = count; n >= 100000; n /= 10) ++width;
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return "S" + digits;
}

std::vector<ShoeRecord> DealShoes(int count, std::uint64_t seed) {
  if (count < 0) throw std::invalid_argument("靴數不可為負: " + std::to_string(count));
  Dealer dealer(seed);
  std::vector<ShoeRecord> shoes;
  shoes.reserve(count);
  for (int i = 1; i <= count; ++i) shoes.push_back({DealtShoeName(i, count), dealer.DealShoe().Result(), {}});
  return shoes;
}

}  // namespace zavuv
