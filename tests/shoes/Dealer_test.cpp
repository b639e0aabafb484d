#include "shoes/Dealer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

using namespace zavuv;

namespace {

// Cards by rank in spades: the card number of rank r (1-13) is r.
constexpr int Ace = 1, Ten = 10, King = 13;

// A draw function that hands out the given cards in order.
std::function<int()> Deck(std::vector<int> cards) {
  auto at = std::make_shared<std::size_t>(0);
  auto held = std::make_shared<std::vector<int>>(std::move(cards));
  return [at, held] { return held->at((*at)++); };
}

// A card of the given value (0 to 9), in hearts so that it differs from the rank cards.
int Valued(int value) { return 13 + (value == 0 ? 10 : value); }

// The totals of a card string, recomputed here from the card code alone.
std::pair<int, int> Totals(const std::string& cards) {
  auto value = [](char c) {
    int n = static_cast<unsigned char>(c) - 64;
    int rank = (n - 1) % 13 + 1;
    return rank >= 10 ? 0 : rank;
  };
  int player = value(cards[0]) + value(cards[2]);
  int banker = value(cards[1]) + value(cards[3]);
  if (cards.size() >= 5 && cards[4] != '0') player += value(cards[4]);
  if (cards.size() == 6) banker += value(cards[5]);
  return {player % 10, banker % 10};
}

}  // namespace

TEST(Dealer, CardCodeAndValues) {
  EXPECT_EQ(CardCode(1), 'A');
  EXPECT_EQ(CardCode(52), 't');
  EXPECT_EQ(CardFromCode('A'), 1);
  EXPECT_EQ(CardFromCode('t'), 52);
  EXPECT_THROW(CardFromCode('@'), std::invalid_argument);
  EXPECT_THROW(CardFromCode('u'), std::invalid_argument);
  EXPECT_THROW(CardFromCode(kNoCard), std::invalid_argument);
  EXPECT_THROW(CardCode(0), std::invalid_argument);
  EXPECT_EQ(CardValue(Ace), 1);
  EXPECT_EQ(CardValue(9), 9);
  EXPECT_EQ(CardValue(Ten), 0);
  EXPECT_EQ(CardValue(King), 0);
  EXPECT_EQ(CardValue(14), 1);   // ace of hearts
  EXPECT_EQ(CardValue(49), 0);   // ten of diamonds
  EXPECT_EQ(CardRank(52), 13);
  EXPECT_EQ(HandTotal({7, 8}), 5);
  EXPECT_EQ(HandTotal({King, 9}), 9);
  EXPECT_EQ(HandTotal({5, 5, Ten}), 0);
}

TEST(Dealer, DrawingRules) {
  for (int t = 0; t <= 9; ++t) {
    EXPECT_EQ(IsNatural(t), t >= 8) << t;
    EXPECT_EQ(PlayerDraws(t), t <= 5) << t;
    EXPECT_EQ(BankerDraws(t, std::nullopt), t <= 5) << t;
  }
  // Rows: the banker's total 0 to 7; columns: the player's third card 0 to 9.
  const char* table[] = {
      "DDDDDDDDDD",  // 0
      "DDDDDDDDDD",  // 1
      "DDDDDDDDDD",  // 2
      "DDDDDDDDSD",  // 3
      "SSDDDDDDSS",  // 4
      "SSSSDDDDSS",  // 5
      "SSSSSSDDSS",  // 6
      "SSSSSSSSSS",  // 7
  };
  for (int banker = 0; banker <= 7; ++banker)
    for (int third = 0; third <= 9; ++third)
      EXPECT_EQ(BankerDraws(banker, third), table[banker][third] == 'D')
          << "banker " << banker << " player's third " << third;
}

TEST(Dealer, PlayedGamesAndTheirCardStrings) {
  // Naturals stop both hands: player 4 + 4, banker 9 + queen.
  DealtGame g = PlayGame(Deck({4, 9, 4, 12, 1, 1}));
  EXPECT_EQ(g, (DealtGame{'B', "DIDL"}));
  // The player's natural 8 against the banker's 7: nobody draws.
  g = PlayGame(Deck({Ten, 3, 8, 4, 1, 1}));
  EXPECT_EQ(g, (DealtGame{'P', "JCHD"}));
  // Player 6 and banker 6 both stand: a tie of four cards.
  g = PlayGame(Deck({Ten, 3, 6, 3}));
  EXPECT_EQ(g, (DealtGame{'T', "JCFC"}));
  // Player 7 stands, banker 3 draws a 6: kNoCard holds the player's place.
  g = PlayGame(Deck({3, 1, 4, 2, Valued(6)}));
  EXPECT_EQ(g, (DealtGame{'B', "CADB0S"}));
  // Player 2 draws an 8 (total 0); banker 3 stands on an 8: five cards.
  g = PlayGame(Deck({Ace, 1, Ace, 2, 8}));
  EXPECT_EQ(g, (DealtGame{'B', "AAABH"}));
  // Player 2 draws a 2 (total 4); banker 4 draws a 5 (total 9): six cards.
  g = PlayGame(Deck({Ace, 2, Ace, 2, 2, 5}));
  EXPECT_EQ(g, (DealtGame{'B', "ABABBE"}));
  // Player 5 draws a 3 (total 8); banker 5 stands on a 3.
  g = PlayGame(Deck({2, 4, 3, Valued(1), 3}));
  EXPECT_EQ(g, (DealtGame{'P', "BDCNC"}));
}

TEST(Dealer, CardStringsAgainstTheRulesAreRefused) {
  EXPECT_THROW(GameResultOfCards("DID"), std::invalid_argument);      // too short
  EXPECT_THROW(GameResultOfCards("ABABBEA"), std::invalid_argument);  // too long
  EXPECT_THROW(GameResultOfCards("DIDLA"), std::invalid_argument);    // drew after naturals
  EXPECT_THROW(GameResultOfCards("AAAB"), std::invalid_argument);     // player 2 must draw
  EXPECT_THROW(GameResultOfCards("AAABHA"), std::invalid_argument);   // banker 3 stands on 8
  EXPECT_THROW(GameResultOfCards("ABABB"), std::invalid_argument);    // banker 4 draws on 2
  EXPECT_THROW(GameResultOfCards("CADBAS"), std::invalid_argument);   // player 7 stood
  EXPECT_THROW(GameResultOfCards("CADB"), std::invalid_argument);     // banker 3 must draw
  EXPECT_THROW(GameResultOfCards("JCFC0A"), std::invalid_argument);   // both stood on 6
  EXPECT_THROW(GameResultOfCards("0ADB"), std::invalid_argument);     // no card in front
  EXPECT_THROW(GameResultOfCards("AA~B"), std::invalid_argument);     // not a card code
  EXPECT_EQ(GameResultOfCards("CADB0S"), 'B');
}

TEST(Dealer, ShoesAreRepeatableAndFollowTheRules) {
  Dealer a(12345), b(12345), c(54321);
  std::set<std::string> results;
  for (int shoe = 0; shoe < 30; ++shoe) {
    DealtShoe s = a.DealShoe();
    DealtShoe same = b.DealShoe();
    EXPECT_EQ(s.games, same.games);
    EXPECT_NE(s.Result(), c.DealShoe().Result());
    results.insert(s.Result());

    EXPECT_GE(s.games.size(), 60u);
    EXPECT_LE(s.games.size(), 100u);
    EXPECT_GE(s.burned, 2);
    EXPECT_LE(s.burned, 11);
    EXPECT_GE(s.behindCut, 14);
    EXPECT_LE(s.behindCut, 30);

    std::array<int, 53> uses{};
    int dealt = 0;
    for (const auto& g : s.games) {
      ASSERT_GE(g.cards.size(), 4u);
      ASSERT_LE(g.cards.size(), 6u);
      auto [player, banker] = Totals(g.cards);
      EXPECT_EQ(g.result, banker > player ? 'B' : player > banker ? 'P' : 'T') << g.cards;
      EXPECT_EQ(GameResultOfCards(g.cards), g.result) << g.cards;
      for (char code : g.cards)
        if (code != kNoCard) {
          ++uses[CardFromCode(code)];
          ++dealt;
        }
    }
    for (int card = 1; card <= 52; ++card) EXPECT_LE(uses[card], 8) << card;
    // Every card is accounted for, and the last game is the one that brought out the
    // cut card: it started with the cut card still in and left fewer cards behind.
    EXPECT_EQ(s.burned + dealt + s.cardsLeft, kCardsPerShoe);
    int lastGame = static_cast<int>(s.games.back().cards.size()) -
                   (s.games.back().cards.find(kNoCard) != std::string::npos);
    EXPECT_LT(s.cardsLeft, s.behindCut);
    EXPECT_GE(s.cardsLeft + lastGame, s.behindCut);
  }
  EXPECT_EQ(results.size(), 30u);
}

TEST(Dealer, EveryOrderedDealGivesTheGamesExactOdds) {
  // Every ordered deal of six cards off eight full decks, played by the dealer's own
  // PlayGame. A game that used k cards stands for every deal that starts with those
  // k cards, so it is weighted by the ways to draw them in that order times the ways
  // to draw the cards it did not use; deals that share those k cards are skipped.
  // Cards are taken by value: ten and the faces (128 cards) play alike.
  constexpr std::uint64_t kShoe = 52 * 8;
  std::array<std::uint64_t, 10> ofValue{};
  ofValue.fill(32);
  ofValue[0] = 128;
  std::array<int, 6> deal{};   // the values of the six cards, an odometer
  std::uint64_t banker = 0, player = 0, tie = 0;
  for (bool more = true; more;) {
    int used = 0;
    DealtGame game = PlayGame([&] {
      const int v = deal.at(static_cast<std::size_t>(used++));
      return v == 0 ? Ten : v;
    });
    std::array<std::uint64_t, 10> left = ofValue;
    std::uint64_t ways = 1;
    for (int i = 0; i < used; ++i) ways *= left[static_cast<std::size_t>(deal[i])]--;
    for (int i = used; i < 6; ++i) ways *= kShoe - static_cast<std::uint64_t>(i);
    (game.result == 'B' ? banker : game.result == 'P' ? player : tie) += ways;
    // On to the next deal that differs within the cards this game used.
    for (int i = used; i < 6; ++i) deal[i] = 0;
    int at = used - 1;
    while (at >= 0 && ++deal[at] == 10) deal[at--] = 0;
    more = at >= 0;
  }
  EXPECT_EQ(banker, 2292252566437888u);
  EXPECT_EQ(player, 2230518282592256u);
  EXPECT_EQ(tie, 475627426473216u);
  EXPECT_EQ(banker + player + tie, 4998398275503360u);
}

TEST(Dealer, BoundedDrawsStayInRangeAndCoverIt) {
  Dealer d(7);
  std::array<int, 6> seen{};
  for (int i = 0; i < 6000; ++i) {
    auto r = d.Below(6);
    ASSERT_LT(r, 6u);
    ++seen[r];
  }
  for (int n : seen) EXPECT_GT(n, 800);
  EXPECT_EQ(d.Below(1), 0u);
  EXPECT_THROW(d.Below(0), std::invalid_argument);
}

TEST(Dealer, NamedShoesSortInDealingOrder) {
  auto shoes = DealShoes(12, 99);
  ASSERT_EQ(shoes.size(), 12u);
  EXPECT_EQ(shoes.front().name, "S00001");
  EXPECT_EQ(shoes.back().name, "S00012");
  Dealer d(99);
  for (std::size_t i = 0; i < shoes.size(); ++i) {
    EXPECT_EQ(shoes[i].result, d.DealShoe().Result());
    if (i > 0) {
      EXPECT_LT(shoes[i - 1].name, shoes[i].name);
    }
    EXPECT_LE(shoes[i].result.size(), 100u);
  }
  EXPECT_EQ(DealShoes(12, 99), shoes);
  EXPECT_TRUE(DealShoes(0, 1).empty());
  EXPECT_EQ(DealtShoeName(7, 99999), "S00007");
  EXPECT_EQ(DealtShoeName(7, 100000), "S000007");
  EXPECT_EQ(DealtShoeName(2147483647, 2147483647), "S2147483647");
  EXPECT_THROW(DealShoes(-1, 1), std::invalid_argument);
}
