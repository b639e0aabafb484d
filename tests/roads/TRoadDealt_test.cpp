// The road model over real dealt shoes: every prediction the model names comes true.
#include <gtest/gtest.h>

#include "roads/TRoad.h"
#include "shoes/Dealer.h"

using namespace zavuv;

TEST(TRoadDealt, AppendingThePredictionShowsTheAskedColour) {
  int checked = 0;
  for (const ShoeRecord& shoe : DealShoes(40, 99)) {
    TRoad road;
    for (char game : shoe.result) {
      for (int k = 1; k <= 3; ++k) {
        for (char colour : {'B', 'P'}) {
          char bet = road.PredictFromDerived(k, colour);
          if (bet == ' ') {
            EXPECT_LT(road.GetColumns().size(), static_cast<std::size_t>(k + 1));
            continue;
          }
          TRoad next;
          next.SetResult(road.Result());
          std::size_t before = next.GetDerivedRoad(k).size();
          next.AddResult(bet);
          ASSERT_EQ(next.GetDerivedRoad(k).size(), before + 1);
          EXPECT_EQ(next.GetDerivedRoad(k).back(), colour) << shoe.result << " k=" << k;
          ++checked;
        }
      }
      road.AddResult(game);
    }
  }
  EXPECT_GT(checked, 10000);
}
