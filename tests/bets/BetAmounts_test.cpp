#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <vector>

#include "../strategy/StrategyTestKit.h"
#include "bets/BetAmountAntiCancel.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetAmountDouble.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetAmountLevel.h"
#include "contracts/BaseStrategy.h"
#include "shoes/RecordTable.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::testkit;

namespace {

// Asks the amount method for one stake per outcome; each outcome is the LastWin the
// method sees at the next bet ("W", "L" or "T").
std::vector<std::int32_t> Stakes(CommonBet& amount, const std::string& outcomes) {
  BaseStrategy s;
  std::vector<std::int32_t> out;
  s.LastWin = 'T';
  out.push_back(amount.GetBetAmount(s));
  for (char outcome : outcomes) {
    s.LastWin = outcome;
    out.push_back(amount.GetBetAmount(s));
  }
  return out;
}

using V = std::vector<std::int32_t>;

}  // namespace

TEST(BetAmountLevel, StepsThroughTheTableAndStartsOver) {
  BetAmountLevel level;
  level.Prepare();
  // The worked example: six bets won, won, won, won, lost, lost (each stake follows
  // the outcome of the bet before it).
  EXPECT_EQ(Stakes(level, "WWWWL"), (V{300, 600, 1200, 300, 600, 300}));

  // A tie leaves the level where it is.
  level.Restart();
  EXPECT_EQ(Stakes(level, "WT"), (V{300, 600, 600}));

  // Climbing one row per loss, staying on a win, wrapping past the last row.
  level.WinLevelMove = 0;
  level.LoseLevelMove = 1;
  level.Restart();
  EXPECT_EQ(Stakes(level, "LWLL"), (V{300, 600, 600, 1200, 300}));

  // The first bet after a restart is level 1 whatever the last outcome was.
  level.Restart();
  BaseStrategy s;
  s.LastWin = 'L';
  EXPECT_EQ(level.GetBetAmount(s), 300);

  // Steps at the ends of the 32-bit range do not wrap into the table.
  level.WinLevelMove = std::numeric_limits<std::int32_t>::max();
  level.Restart();
  EXPECT_EQ(Stakes(level, "WW"), (V{300, 300, 300}));

  level.Table().EmptyDataSet();
  level.Restart();
  EXPECT_EQ(Stakes(level, "WL"), (V{0, 0, 0}));
}

TEST(BetAmountLevel, AmtFilesRoundTripAndBadFilesChangeNothing) {
  std::string path = TempPath("levels.AMT");
  BetAmountLevel level;
  level.Table().EmptyDataSet();
  for (int a : {100, 250, 475, 1000}) level.Table().AppendRow({a});
  level.WinLevelMove = 2;
  level.LoseLevelMove = -1;
  level.Info = Utf8ToBig5("三步纜\r\n第二行");
  level.SaveAmt(path);
  EXPECT_EQ(level.LastFileName, path);

  BetAmountLevel back;
  back.ReadAmt(path);
  ASSERT_EQ(back.Table().RecordCount(), 4);
  EXPECT_EQ(AsInteger(back.Table().GetValue(2, 0)), 475);
  EXPECT_EQ(back.WinLevelMove, 2);
  EXPECT_EQ(back.LoseLevelMove, -1);
  EXPECT_EQ(Big5ToUtf8(back.Info), "三步纜\r\n第二行");
  EXPECT_EQ(back.LastFileName, path);

  // A file that is not a record table.
  std::string junk = TempPath("junk.AMT");
  std::ofstream(junk) << "not a record table";
  EXPECT_THROW(back.ReadAmt(junk), std::exception);
  EXPECT_EQ(back.Table().RecordCount(), 4);
  EXPECT_EQ(back.LastFileName, path);

  // A level row naming another field: refused, and the levels stay as they were.
  RecordTable records;
  records.AppendSetting("WinLevelMove", "I", 7);
  ClientDataSet source({{"BetAmount", FieldType::Integer}, {"Other", FieldType::Integer}});
  source.AppendRow({5, 6});
  source.First();
  records.AppendTempData(source, 1, "I", "BetAmount");
  records.AppendTempData(source, 1, "I", "Other");
  std::string wrong = TempPath("wrong.AMT");
  records.SaveToFile(wrong);
  EXPECT_THROW(back.ReadAmt(wrong), TableError);
  EXPECT_EQ(back.Table().RecordCount(), 4);
  EXPECT_EQ(back.WinLevelMove, 2);
  EXPECT_EQ(back.LastFileName, path);
  std::remove(path.c_str());
  std::remove(junk.c_str());
  std::remove(wrong.c_str());
}

TEST(BetAmountCancel, WorkedExamplesOfTheLine) {
  BetAmountCancel cancel;
  cancel.Prepare();
  // Lost, lost, won, won (line won: restart), lost; the bet after a restart reuses
  // the same numbers.
  EXPECT_EQ(Stakes(cancel, "LLWWL"), (V{600, 900, 1200, 900, 600, 600}));

  cancel.Prepare();
  EXPECT_EQ(Stakes(cancel, "LT"), (V{600, 900, 900}));   // a tie leaves the line

  // First and second: line 300, 300, 600 stakes 600; a win leaves 600; another win
  // empties the line, which starts again.
  cancel.BetAmountNoType = BetAmountCancel::kFirstAndSecond;
  cancel.Table().AppendRow({600});
  cancel.Prepare();
  EXPECT_EQ(Stakes(cancel, "WW"), (V{600, 600, 600}));
  EXPECT_EQ(cancel.Line.size(), 3u);

  // A line of one number.
  cancel.Table().EmptyDataSet();
  cancel.Table().AppendRow({500});
  cancel.Prepare();
  EXPECT_EQ(Stakes(cancel, "WLL"), (V{500, 500, 500, 1000}));

  BetAmountAntiCancel anti;
  anti.Prepare();
  EXPECT_EQ(Stakes(anti, "WWL"), (V{600, 900, 1200, 900}));
}

TEST(BetAmountCancel, BreakAmountTableLimitAndEmptyLine) {
  BetAmountCancel cancel;
  cancel.Largest = 900;
  cancel.Prepare();
  // The 900 stake loses: the line breaks; the next stake is the restarted 600, and
  // the one after it uses the same numbers again.
  EXPECT_EQ(Stakes(cancel, "LLL"), (V{600, 900, 600, 600}));

  cancel.Largest = 30000;
  cancel.UpperLimit = 1000;
  cancel.Prepare();
  EXPECT_EQ(Stakes(cancel, "LLL"), (V{600, 900, 600, 600}));

  cancel.UpperLimit = 500;   // the first stake is already above the limit
  cancel.Prepare();
  EXPECT_TRUE(cancel.OverLimit);
  EXPECT_EQ(Stakes(cancel, "LLW"), (V{0, 0, 0, 0}));

  BetAmountAntiCancel anti;
  anti.Largest = 900;
  anti.Prepare();
  EXPECT_EQ(Stakes(anti, "WWW"), (V{600, 900, 600, 600}));   // a winning 900 breaks it

  cancel.Table().EmptyDataSet();
  cancel.UpperLimit = 40000;
  cancel.Prepare();
  EXPECT_EQ(Stakes(cancel, "LWL"), (V{0, 0, 0, 0}));
}

TEST(BetAmountCancel, AGrowingLineNeverWrapsAround) {
  // Break and limit off: the line grows while the bets lose. The third stake would
  // be 1e9 + 2e9, which 32 bits cannot hold: it breaks the line as the table limit
  // does instead of wrapping to a negative stake.
  BetAmountCancel cancel;
  cancel.Largest = 0;
  cancel.UpperLimit = 0;
  cancel.Table().EmptyDataSet();
  cancel.Table().AppendRow({1000000000});
  cancel.Table().AppendRow({1000000000});
  cancel.Prepare();
  EXPECT_FALSE(cancel.OverLimit);
  EXPECT_EQ(Stakes(cancel, "LLL"), (V{2000000000, 2000000000, 2000000000, 2000000000}));

  // With a small line the stakes grow by one number per loss and stay positive.
  cancel.Table().EmptyDataSet();
  cancel.Table().AppendRow({300});
  cancel.Table().AppendRow({300});
  cancel.Prepare();
  BaseStrategy s;
  s.LastWin = 'T';
  std::int32_t stake = cancel.GetBetAmount(s);
  s.LastWin = 'L';
  for (int bet = 0; bet < 1000; ++bet) {
    std::int32_t next = cancel.GetBetAmount(s);
    ASSERT_EQ(next, stake + 300);
    stake = next;
  }

  // The anti line grows on wins the same way.
  BetAmountAntiCancel anti;
  anti.Largest = 0;
  anti.UpperLimit = 0;
  anti.Table().EmptyDataSet();
  anti.Table().AppendRow({1500000000});
  anti.Prepare();
  EXPECT_EQ(Stakes(anti, "WW"), (V{1500000000, 1500000000, 1500000000}));

  // A first stake that is already out of range stakes 0 for the whole run.
  cancel.Table().EmptyDataSet();
  cancel.Table().AppendRow({std::numeric_limits<std::int32_t>::max()});
  cancel.Table().AppendRow({5});
  cancel.Prepare();
  EXPECT_TRUE(cancel.OverLimit);
  EXPECT_EQ(cancel.GetBetAmount(s), 0);
}

TEST(BetAmountFlatAndDouble, Stakes) {
  BetAmountFlat flat;
  BaseStrategy s;
  EXPECT_EQ(flat.GetBetAmount(s), 300);
  flat.FlatBet = -5;
  EXPECT_EQ(flat.GetBetAmount(s), 0);
  BetAmountDouble twin;
  EXPECT_EQ(twin.GetBetAmount(s), 0);
  // An amount component asked for a side answers a blank; a method asked for a stake 0.
  EXPECT_EQ(flat.GetBet(s), ' ');
  BetMethodLoop loop;
  EXPECT_EQ(loop.GetBetAmount(s), 0);
}
