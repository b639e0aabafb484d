#include "roads/TRoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

using namespace zavuv;

namespace {

// Straightforward computations over a whole result string, written from the road
// rules without any of the model's bookkeeping.
std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string NoTies(const std::string& s) {
  std::string t;
  for (char c : s)
    if (c != 'T') t += c;
  return t;
}

std::vector<std::int32_t> RefColumns(const std::string& s) {
  std::vector<std::int32_t> cols;
  char prev = 0;
  for (char c : s) {
    if (c == 'T') continue;
    if (c == prev) ++cols.back();
    else cols.push_back(1);
    prev = c;
  }
  return cols;
}

std::string RefDerived(const std::vector<std::int32_t>& L, int k) {
  std::string road;
  const int m = static_cast<int>(L.size());
  for (int j = k + 1; j <= m; ++j) {
    const int c = L[j - 1], d = L[j - k - 1];
    if (c < d) {
      road.append(c - 1, 'B');
    } else {
      road.append(d - 1, 'B');
      if (c > d) road += 'P' + std::string(c - d - 1, 'B');
    }
    if (j < m) road += c == d ? 'B' : 'P';
  }
  return road;
}

std::string RefBeadRow(const std::string& result, int n, bool ignoreTies) {
  const std::string t = ignoreTies ? NoTies(result) : result;
  std::string row;
  for (long p = static_cast<long>(t.size()) + 1 - n; p >= 1; p -= n)
    if (t[p - 1] != 'T') row.insert(row.begin(), t[p - 1]);
  return row;
}

std::string RandomShoe(std::mt19937& rng, int length, bool dealtLike) {
  // Dealt-like: banker 45.9 %, player 44.6 %, tie 9.5 %. Otherwise an even mix that
  // also has lower case and a stray symbol.
  static const char mixed[] = "BPTBPTbptX";
  std::uniform_int_distribution<int> pick(0, dealtLike ? 999 : 9);
  std::string s;
  for (int i = 0; i < length; ++i) {
    const int r = pick(rng);
    s += dealtLike ? (r < 459 ? 'B' : r < 905 ? 'P' : 'T') : mixed[r];
  }
  return s;
}

struct LogSheet : RoadSheet {
  LogSheet(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}
  void Refresh() override {
    log->push_back(name);
    if (onRefresh) onRefresh();
  }
  std::string name;
  std::vector<std::string>* log;
  std::function<void()> onRefresh;
};

}  // namespace

TEST(TRoad, WorkedExamples) {
  TRoad road;
  road.SetResult("BBTBPPTPBBBPB");
  EXPECT_EQ(road.GetColumns(), (std::vector<std::int32_t>{3, 3, 3, 1, 1}));
  EXPECT_EQ(road.ResultNoTie(), "BBBPPPBBBPB");

  road.SetResult("BBPPBPPPB");  // 2, 2, 1, 3, 1
  EXPECT_EQ(road.GetBigEyeBoy(), "BBPPBP");
  EXPECT_EQ(road.GetSmallRoad(), "PBPP");
  EXPECT_EQ(road.GetCockroachRoad(), "BPP");

  road.SetResult("BBBPBB");  // 3, 1, 2
  EXPECT_EQ(road.GetColumns(), (std::vector<std::int32_t>{3, 1, 2}));
  EXPECT_EQ(road.GetBigEyeBoy(), "PP");
  EXPECT_EQ(road.GetSmallRoad(), "B");
  EXPECT_EQ(road.GetCockroachRoad(), "");
  EXPECT_EQ(road.GetDerivedRoad(0), "");
  EXPECT_EQ(road.GetDerivedRoad(4), "");

  road.SetResult("BTBPPTPBBBPB");
  EXPECT_EQ(road.GetBeadColumns(6, false), "BTBPPT/PBBBPB");
  EXPECT_EQ(road.GetBeadRow(6, false), "BP");
  EXPECT_EQ(road.GetBeadColumns(6, true), "BBPPPB/BBPB");
  EXPECT_EQ(road.GetBeadRow(6, true), "P");
}

TEST(TRoad, EmptyTiesOnlyAndShortHistories) {
  TRoad road;
  for (std::string text : {"", "TTT"}) {
    road.SetResult(text);
    EXPECT_EQ(road.Result(), text);
    EXPECT_TRUE(road.GetColumns().empty());
    for (int k = 1; k <= 3; ++k) {
      EXPECT_EQ(road.GetDerivedRoad(k), "");
      EXPECT_EQ(road.PredictFromDerived(k, 'B'), ' ');
      EXPECT_EQ(road.PredictFromDerived(k, 'P'), ' ');
    }
    EXPECT_EQ(road.GetBeadColumns(2, false), text.empty() ? "" : "TT/T");
    EXPECT_EQ(road.GetBeadColumns(2, true), "");
    EXPECT_EQ(road.GetBeadRow(2, false), "");
  }

  road.SetResult("BBBTBBBBTTBBBBB");  // one column of 12 banker results
  EXPECT_EQ(road.GetColumns(), (std::vector<std::int32_t>{12}));
  EXPECT_EQ(road.PredictBigEyeBoy('B'), ' ');

  road.SetResult("BBP");  // two columns: only the big eye boy can continue
  EXPECT_EQ(road.GetSmallRoad(), "");
  EXPECT_EQ(road.GetCockroachRoad(), "");
  EXPECT_EQ(road.PredictSmallRoad('B'), ' ');
  EXPECT_EQ(road.PredictCockroachRoad('P'), ' ');
  EXPECT_NE(road.PredictBigEyeBoy('B'), ' ');
  EXPECT_EQ(road.PredictBigEyeBoy(' '), ' ');
  EXPECT_EQ(road.PredictBigEyeBoy('T'), ' ');
  EXPECT_EQ(road.PredictFromDerived(7, 'B'), ' ');
}

TEST(TRoad, LowerCaseAndBeadHeights) {
  TRoad road;
  road.SetResult("bbppbpppb");
  EXPECT_EQ(road.Result(), "BBPPBPPPB");
  EXPECT_EQ(road.GetBigEyeBoy(), "BBPPBP");
  road.AddResult('t');
  EXPECT_EQ(road.Result(), "BBPPBPPPBT");

  road.SetResult("BTPB");
  EXPECT_EQ(road.GetBeadColumns(1, false), "B/T/P/B");
  EXPECT_EQ(road.GetBeadRow(1, false), "BPB");  // every bead is in row 0
  EXPECT_EQ(road.GetBeadColumns(0, false), "B/T/P/B");  // below 1 counts as 1
  EXPECT_EQ(road.GetBeadRow(-3, true), "BPB");

  const std::string shoe = "BPBBPTPPBBPBPTBBPPBPBBPB";  // 24 games
  road.SetResult(shoe);
  EXPECT_EQ(road.GetBeadColumns(20, false), shoe.substr(0, 20) + "/" + shoe.substr(20));
  EXPECT_EQ(road.GetBeadRow(20, false), "P");  // next bead under position 5
  EXPECT_EQ(road.GetBeadRow(1000000, false), "");
}

TEST(TRoad, SheetsAttachOnceAndRefreshInOrder) {
  std::vector<std::string> log;
  LogSheet a("a", &log), b("b", &log), c("c", &log);
  TRoad road;
  road.AddSheet(&a);
  road.AddSheet(&b);
  road.AddSheet(&a);
  road.AddSheet(&c);
  road.RemoveSheet(&b);
  road.RemoveSheet(&b);  // not attached any more: nothing happens
  EXPECT_EQ(road.Sheets(), (std::vector<RoadSheet*>{&a, &c}));

  road.SetResult("BP");
  road.AddResult('B');
  EXPECT_TRUE(log.empty());  // AutoRedraw starts off

  road.SetAutoRedraw(true);
  road.AddSheet(&b);
  road.SetResult("PPB");
  road.AddResult('T');
  EXPECT_EQ(log, (std::vector<std::string>{"a", "c", "b", "a", "c", "b"}));

  // A sheet that detaches itself while refreshing does not upset the others.
  log.clear();
  a.onRefresh = [&] { road.RemoveSheet(&a); };
  road.AddResult('P');
  road.AddResult('P');
  EXPECT_EQ(log, (std::vector<std::string>{"a", "c", "b", "c", "b"}));
}

// After every single append each answer must equal the computation from scratch,
// including bead rows first asked for in the middle of the history.
TEST(TRoad, IncrementalAnswersMatchFromScratch) {
  std::mt19937 rng(20240611);
  for (int shoe = 0; shoe < 120; ++shoe) {
    const std::string text = RandomShoe(rng, 1 + shoe * 2, shoe % 2 == 0);
    TRoad road;
    std::set<std::pair<int, bool>> asked;
    std::uniform_int_distribution<int> height(1, 8), coin(0, 9);
    std::string result;
    for (char c : text) {
      road.AddResult(c);
      result = Upper(result + c);
      if (coin(rng) == 0) asked.insert({height(rng), coin(rng) < 5});
      const auto cols = RefColumns(result);
      ASSERT_EQ(road.Result(), result);
      ASSERT_EQ(road.ResultNoTie(), NoTies(result));
      ASSERT_EQ(road.GetColumns(), cols);
      for (int k = 1; k <= 3; ++k) ASSERT_EQ(road.GetDerivedRoad(k), RefDerived(cols, k)) << result;
      for (auto [n, flag] : asked) ASSERT_EQ(road.GetBeadRow(n, flag), RefBeadRow(result, n, flag)) << result;
    }

    // Replacing the history (shorter, extended, unrelated) gives a fresh model's answers.
    for (const std::string& next : {text.substr(0, text.size() / 2), text + "PBT", RandomShoe(rng, 30, true)}) {
      road.SetResult(next);
      const std::string up = Upper(next);
      ASSERT_EQ(road.Result(), up);
      ASSERT_EQ(road.GetColumns(), RefColumns(up));
      for (int k = 1; k <= 3; ++k) ASSERT_EQ(road.GetDerivedRoad(k), RefDerived(RefColumns(up), k));
      for (auto [n, flag] : asked) ASSERT_EQ(road.GetBeadRow(n, flag), RefBeadRow(up, n, flag)) << up;
    }
  }
}

// Betting the predicted side always paints the asked colour as road k's next entry.
TEST(TRoad, PredictionPaintsTheAskedColour) {
  std::mt19937 rng(7);
  TRoad road;
  int named = 0;
  for (int shoe = 0; shoe < 300; ++shoe) {
    const std::string history = RandomShoe(rng, shoe % 60, true);
    for (int k = 1; k <= 3; ++k) {
      for (char colour : {'B', 'P'}) {
        road.SetResult(history);
        const char side = road.PredictFromDerived(k, colour);
        if (side == ' ') {
          EXPECT_LT(road.GetColumns().size(), static_cast<std::size_t>(k) + 1);
          continue;
        }
        ++named;
        const std::size_t before = road.GetDerivedRoad(k).size();
        road.AddResult(side);
        ASSERT_EQ(road.GetDerivedRoad(k).size(), before + 1) << history << " k=" << k;
        EXPECT_EQ(road.GetDerivedRoad(k).back(), colour) << history << " k=" << k;
      }
    }
  }
  EXPECT_GT(named, 1000);
}

// A road with a history limit keeps at least the last n entries of every road, and
// they equal the ends of an unbounded model's roads; predictions are unchanged. Bead
// rows first asked for after the front was let go start at the right bead.
TEST(TRoad, BoundedHistoryKeepsTheEndsExactly) {
  std::mt19937 rng(14);
  for (std::size_t limit : {std::size_t{1}, std::size_t{5}, std::size_t{40}}) {
    TRoad full, bounded;
    bounded.SetHistoryLimit(limit);
    std::set<std::pair<int, bool>> asked;
    std::uniform_int_distribution<int> height(1, 8), coin(0, 99);
    auto tail = [](std::string_view s, std::size_t n) { return s.substr(s.size() - std::min(s.size(), n)); };
    const std::string text = RandomShoe(rng, 3000, true);
    for (std::size_t i = 0; i < text.size(); ++i) {
      full.AddResult(text[i]);
      bounded.AddResult(text[i]);
      // Bead rows asked for before the front is first let go (a bead row first asked
      // for later holds only the kept results).
      if (i < limit && coin(rng) < 10) asked.insert({height(rng), coin(rng) < 50});
      ASSERT_LT(bounded.Result().size(), std::max<std::size_t>(3 * limit, 4));
      ASSERT_EQ(tail(bounded.Result(), limit), tail(full.Result(), limit));
      ASSERT_EQ(tail(bounded.ResultNoTie(), limit), tail(full.ResultNoTie(), limit));
      for (int k = 1; k <= 3; ++k) {
        ASSERT_EQ(tail(bounded.GetDerivedRoad(k), limit), tail(full.GetDerivedRoad(k), limit)) << i;
        for (char colour : {'B', 'P'})
          ASSERT_EQ(bounded.PredictFromDerived(k, colour), full.PredictFromDerived(k, colour)) << i;
      }
      for (auto [n, flag] : asked)
        ASSERT_EQ(tail(bounded.GetBeadRow(n, flag), limit), tail(full.GetBeadRow(n, flag), limit)) << i;
    }
    // A new history starts over: nothing of the old one is left.
    TRoad fresh;
    fresh.SetResult("BPTBBT");
    bounded.SetResult("BPTBBT");
    EXPECT_EQ(tail(bounded.Result(), limit), tail(fresh.Result(), limit));
    for (auto [n, flag] : asked) EXPECT_EQ(tail(bounded.GetBeadRow(n, flag), limit), tail(fresh.GetBeadRow(n, flag), limit));
  }
}
