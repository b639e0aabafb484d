// 問路 checked against marks worked out by hand on the big road.
#include <gtest/gtest.h>

#include "roads/AskRoad.h"

using namespace zavuv;

namespace {

AskRoadMarks Marks(const char* results) {
  TRoad road;
  road.SetResult(results);
  return AskRoad(road);
}

}  // namespace

TEST(AskRoad, MarksWorkedOutByHand) {
  // Nothing to compare yet.
  EXPECT_EQ(Marks(""), AskRoadMarks{});
  EXPECT_EQ(Marks("B"), AskRoadMarks{});
  // BB PP: a banker opens column 3 after two columns of two (even: red on the big eye
  // boy); a player makes column 2 three long where column 1 stopped at two (blue).
  AskRoadMarks m = Marks("BBPP");
  EXPECT_EQ(m.Banker, (std::array<char, 3>{'B', ' ', ' '}));
  EXPECT_EQ(m.Player, (std::array<char, 3>{'P', ' ', ' '}));
  // B P B: a player opens column 4 after two single columns on both roads (red); a
  // banker drops column 3 to a second row that columns 2 and 1 never reached (blue).
  m = Marks("BPB");
  EXPECT_EQ(m.Banker, (std::array<char, 3>{'P', 'P', ' '}));
  EXPECT_EQ(m.Player, (std::array<char, 3>{'B', 'B', ' '}));
  // Ties change nothing.
  EXPECT_EQ(Marks("BTPTB"), m);
  // B P BB P: columns 1, 1, 2, 1. A banker opens column 5: column 4 against 3 (1 vs 2)
  // blue, against 2 (1 vs 1) red, against 1 (1 vs 1) red. A player drops column 4 to a
  // second row: column 3 has one (red), column 2 not and had one above (blue), column
  // 1 likewise (blue).
  m = Marks("BPBBP");
  EXPECT_EQ(m.Banker, (std::array<char, 3>{'P', 'B', 'B'}));
  EXPECT_EQ(m.Player, (std::array<char, 3>{'B', 'P', 'P'}));
}
