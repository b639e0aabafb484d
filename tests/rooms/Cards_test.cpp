#include "rooms/Cards.h"
#include "rooms/GameRoom.h"

#include <gtest/gtest.h>

using namespace zavuv;

TEST(CardCode, CharactersMapToSuitsAndRanks) {
  EXPECT_EQ(CardNumber('A'), 1);
  EXPECT_EQ(CardNumber('M'), 13);
  EXPECT_EQ(CardNumber('N'), 14);
  EXPECT_EQ(CardNumber('t'), 52);
  // Just outside the range, and bytes above 127, are no card.
  EXPECT_EQ(CardNumber('@'), 0);
  EXPECT_EQ(CardNumber('u'), 0);
  EXPECT_EQ(CardNumber('\xC1'), 0);
  EXPECT_EQ(CardNumber(CardCode(52)), 52);

  EXPECT_EQ(CardSuit(13), Suit::Spades);
  EXPECT_EQ(CardSuit(14), Suit::Hearts);
  EXPECT_EQ(CardSuit(39), Suit::Clubs);
  EXPECT_EQ(CardSuit(40), Suit::Diamonds);
  EXPECT_EQ(CardRankText(1), "A");
  EXPECT_EQ(CardRankText(23), "10");
  EXPECT_EQ(CardRankText(52), "K");
  EXPECT_FALSE(CardIsRed(1));
  EXPECT_TRUE(CardIsRed(14));
  EXPECT_FALSE(CardIsRed(30));
  EXPECT_TRUE(CardIsRed(45));
  EXPECT_EQ(CardPictureName(7), "CARD7");
  EXPECT_EQ(CardPictureName(0), "");
}

namespace {

// Runs the animation until it has performed the given step.
CardAnimation DealTo(std::string_view cards, int step) {
  CardAnimation a;
  a.Start(cards);
  for (int s = 0; s <= step; ++s) EXPECT_TRUE(a.Tick());
  return a;
}

}  // namespace

TEST(CardAnimation, CardsFanOutFromTheDeckAndTurnAtTheirSteps) {
  // Step 3: card 1 half way from the deck (84, 64) to (8, 104), face down.
  auto a = DealTo("ABCDEF", 3);
  EXPECT_EQ(a.Pictures()[0], (CardPicture{true, false, 1, {46, 84}}));
  EXPECT_FALSE(a.Pictures()[1].visible);
  // Step 5: on its place.
  a = DealTo("ABCDEF", 5);
  EXPECT_EQ(a.Pictures()[0].position, (CardPoint{8, 104}));
  EXPECT_FALSE(a.Pictures()[0].faceUp);
  // Step 21: the player's two cards turn, the banker's stay down.
  a = DealTo("ABCDEF", 21);
  EXPECT_TRUE(a.Pictures()[0].faceUp);
  EXPECT_TRUE(a.Pictures()[2].faceUp);
  EXPECT_FALSE(a.Pictures()[1].faceUp);
  EXPECT_FALSE(a.Pictures()[3].faceUp);
  EXPECT_EQ(a.Pictures()[3].position, (CardPoint{144, 104}));
  EXPECT_FALSE(a.Pictures()[4].visible);
  // Step 46: the banker's third card is on (160, 104), face up; the deal is done.
  a = DealTo("ABCDEF", 46);
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(a.Pictures()[i].visible) << i;
    EXPECT_TRUE(a.Pictures()[i].faceUp) << i;
    EXPECT_EQ(a.Pictures()[i].position, CardAnimation::kPlaces[i]) << i;
    EXPECT_EQ(a.Pictures()[i].number, i + 1);
  }
  EXPECT_FALSE(a.Tick());   // step 47: stops
  EXPECT_FALSE(a.Running());
}

TEST(CardAnimation, MovesTruncateTowardsTheDeck) {
  for (int place = 0; place < 6; ++place) {
    EXPECT_EQ(CardAnimation::MovePosition(place, 0), CardAnimation::kDeck);
    EXPECT_EQ(CardAnimation::MovePosition(place, 4), CardAnimation::kPlaces[place]);
  }
  // Card 1 moves left: -76 * 3 / 4 = -57.
  EXPECT_EQ(CardAnimation::MovePosition(0, 3), (CardPoint{27, 94}));
  EXPECT_EQ(CardAnimation::MovePosition(5, 1), (CardPoint{103, 74}));
}

TEST(CardAnimation, MissingAndBadCardsStayHidden) {
  // "AB" shows the two first cards only.
  auto a = DealTo("AB", 46);
  EXPECT_TRUE(a.Pictures()[0].visible && a.Pictures()[0].faceUp);
  EXPECT_TRUE(a.Pictures()[1].visible && a.Pictures()[1].faceUp);
  for (int i = 2; i < 6; ++i) EXPECT_FALSE(a.Pictures()[i].visible) << i;
  // A character outside the card range is no card; the later ones still deal.
  a = DealTo("A?CD", 46);
  EXPECT_FALSE(a.Pictures()[1].visible);
  EXPECT_TRUE(a.Pictures()[3].visible);
  EXPECT_EQ(a.Pictures()[3].number, 4);
}

TEST(CardAnimation, NewCardsRestartTheDealFromTheBeginning) {
  CardAnimation a;
  // Before the first deal the first four pictures stand on their places.
  EXPECT_TRUE(a.Pictures()[3].visible);
  EXPECT_FALSE(a.Pictures()[4].visible);
  a.Start("ABCDEF");
  for (int s = 0; s < 40; ++s) a.Tick();
  a.Start("GH");
  EXPECT_EQ(a.Step(), 0);
  a.Tick();   // step 0 hides every picture of the old deal
  for (const CardPicture& p : a.Pictures()) EXPECT_FALSE(p.visible);
  int ticks = 1;
  while (a.Tick()) ++ticks;
  EXPECT_EQ(ticks, 47);
  EXPECT_EQ(a.Pictures()[0].number, 7);
  EXPECT_FALSE(a.Pictures()[4].visible);
}

TEST(RoadPanel, UpperSheetScalesWithTheWidthAndKeepsThirtyPixels) {
  // (405 - 5) / (205 - 5) = 2: twice as high.
  EXPECT_EQ(GameRoom::UpperSheetHeight(100, 205, 405), 200);
  EXPECT_EQ(GameRoom::UpperSheetHeight(100, 305, 105), 33);   // 33.33 rounds down
  EXPECT_EQ(GameRoom::UpperSheetHeight(50, 305, 105), 30);    // 16.7 is raised to 30
  EXPECT_EQ(GameRoom::UpperSheetHeight(10, 200, 200), 30);
  // A panel narrower than the margin does not divide by zero.
  EXPECT_EQ(GameRoom::UpperSheetHeight(80, 5, 300), 80);
}
