// Random strategies checked against a plain model of the betting rules: every
// combination of road, bet method, bet amount method, additional setups and per-shoe
// restarts over several shoes must give the same rows, stakes and figures as a
// straightforward step-by-step reading of the rules. The unit tests pin single rules;
// this one catches faults in how they meet (hook order, restarts from setups in the
// middle of a shoe, the level or line reading the outcome of the bet before).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <random>

#include "StrategyTestKit.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodPattern.h"
#include "strategy/AdditionalSetupContinuousWin.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"
#include "plugins/PlugInRegistry.h"
#include "strategy/MultiStrategyAnalysis.h"

using namespace zavuv;
using namespace zavuv::testkit;

namespace {

// One strategy's settings.
struct Settings {
  int road = 0, method = 0, amount = 0;
  std::vector<std::pair<std::string, std::string>> patterns;
  std::string loop;
  bool tieKeeps = true;
  std::vector<int> levels;
  int winMove = 1, loseMove = -5;
  std::vector<int> line;
  int noType = 0, largest = 0, limit = 0;
  int flat = 0;
  bool methodEach = true, amountEach = true;
  std::vector<int> setups;   // kinds, in page order
  int apply = 0, takeProfit = 0, stopLoss = 0, rise = 0, fall = 0;
  bool stopRestartsAmount = false;
  int unit = 5;
  bool includeTie = false, groupMethod = false, groupAmount = true;
  int conWin = 2;
  int beads = 6;
  bool ignoreTies = false;
};

std::string RandomText(std::mt19937& g, const char* alphabet, int maxLength) {
  std::string s;
  int n = static_cast<int>(g() % (maxLength + 1));
  for (int i = 0; i < n; ++i) s += alphabet[g() % std::strlen(alphabet)];
  return s;
}

Settings RandomSettings(std::mt19937& g) {
  Settings c;
  c.road = g() % 7;
  c.method = g() % 2;
  c.amount = g() % 5;
  for (int i = 0, n = g() % 8; i < n; ++i) c.patterns.push_back({RandomText(g, "BPBPx", 4), RandomText(g, "BPx", 1)});
  c.loop = RandomText(g, "BPXbpx-", 6);
  c.tieKeeps = g() % 2;
  for (int i = 0, n = g() % 5; i < n; ++i) c.levels.push_back(100 * (1 + g() % 20));
  c.winMove = static_cast<int>(g() % 5) - 2;
  c.loseMove = static_cast<int>(g() % 9) - 5;
  for (int i = 0, n = g() % 4; i < n; ++i) c.line.push_back(100 * (1 + g() % 5));
  c.noType = g() % 2;
  c.largest = static_cast<int>(g() % 4) * 700 - 100;
  c.limit = static_cast<int>(g() % 4) * 1000 - 100;
  c.flat = static_cast<int>(g() % 500) - 50;
  c.methodEach = g() % 2;
  c.amountEach = g() % 2;
  for (int i = 0, n = g() % 4; i < n; ++i) c.setups.push_back(g() % 4);
  c.apply = g() % 2;
  c.takeProfit = (g() % 3) * 500;
  c.stopLoss = -static_cast<int>(g() % 3) * 500;
  c.rise = (g() % 3) * 400;
  c.fall = (g() % 3) * 400;
  c.stopRestartsAmount = g() % 2;
  c.unit = 1 + g() % 6;
  c.includeTie = g() % 2;
  c.groupMethod = g() % 2;
  c.groupAmount = g() % 2;
  c.conWin = 2 + g() % 3;
  c.beads = 1 + g() % 6;
  c.ignoreTies = g() % 2;
  return c;
}

// The same settings on a real strategy.
std::unique_ptr<Strategy> MakeStrategy(Host& h, const Settings& c) {
  if (c.road >= 4) {
    h.roads.beads[c.road - 4] = c.beads;
    h.roads.ignoreTies[c.road - 4] = c.ignoreTies;
  }
  auto s = std::make_unique<Strategy>(&h.host);
  s->RoadIndex = c.road;
  s->SelectBetMethod(c.method);
  s->SelectBetAmount(c.amount);
  if (c.method == BetMethod::kPattern) {
    ClientDataSet& t = MethodOf<BetMethodPattern>(*s).Table();
    t.EmptyDataSet();
    for (const auto& [pattern, bet] : c.patterns) {
      t.Append();
      t.SetFieldValue("Pattern", pattern);
      t.SetFieldValue("Bet", bet);
      t.Post();
    }
  } else {
    auto& loop = MethodOf<BetMethodLoop>(*s);
    loop.LoopText = c.loop;
    loop.UnchangeNextToTie = c.tieKeeps;
  }
  if (c.amount == BetAmount::kLevel) {
    auto& level = AmountOf<BetAmountLevel>(*s);
    level.Table().EmptyDataSet();
    for (int v : c.levels) level.Table().AppendRow({v});
    level.WinLevelMove = c.winMove;
    level.LoseLevelMove = c.loseMove;
  } else if (c.amount == BetAmount::kFlat) {
    AmountOf<BetAmountFlat>(*s).FlatBet = c.flat;
  } else if (c.amount == BetAmount::kCancel || c.amount == BetAmount::kAntiCancel) {
    auto& cancel = AmountOf<BetAmountCancel>(*s);
    cancel.Table().EmptyDataSet();
    for (int v : c.line) cancel.Table().AppendRow({v});
    cancel.BetAmountNoType = c.noType;
    cancel.Largest = c.largest;
    cancel.UpperLimit = c.limit;
  }
  s->SetBetMethodEach(c.methodEach);
  s->SetBetAmountEach(c.amountEach);
  for (int kind : c.setups) {
    AdditionalSetup& page = s->CreateSetup();
    page.ComboBoxSelectChange(kind);
    if (auto* r = page.ComponentAs<AdditionalSetupTakeProfitStopLoss>()) {
      r->RadioGroupApply = c.apply;
      r->TakeProfit = c.takeProfit;
      r->StopLoss = c.stopLoss;
      r->Rise = c.rise;
      r->Fall = c.fall;
      r->RestartBetAmount = c.stopRestartsAmount;
    } else if (auto* g = page.ComponentAs<AdditionalSetupGroup>()) {
      g->UnitNoOfGame = c.unit;
      g->IncludeTie = c.includeTie;
      g->RestartBetMethod = c.groupMethod;
      g->RestartBetAmount = c.groupAmount;
    } else if (auto* w = page.ComponentAs<AdditionalSetupContinuousWin>()) {
      w->ConWin = c.conWin;
    }
  }
  return s;
}

// The rules read step by step, with plain strings and lists for the state.
class Model {
 public:
  explicit Model(const Settings& c) : c_(c) {}

  // One row per game ('|' for a group separator), with its stake and AccProfit.
  std::string rows;
  std::vector<int> stakes;
  std::vector<double> accProfits;
  char bet = ' ';
  int stake = 0, noOfBet = 0, won = 0, lost = 0;
  double acc = 0, maxProfit = 0, maxLoss = 0;

  void Prepare() {
    MethodPrepare();
    AmountPrepare();
    rows.clear();
    stakes.clear();
    accProfits.clear();
    bet = ' ';
    acc = maxProfit = maxLoss = 0;
    noOfBet = won = lost = 0;
    lastWin_ = 'T';
    std::size_t n = c_.setups.size();
    entered_.assign(n, false);
    virtualBet_.assign(n, ' ');
    shoeProfit_.assign(n, 0);
    high_.assign(n, 0);
    low_.assign(n, 0);
    stopped_.assign(n, false);
    count_.assign(n, 0);
    suspended_ = 0;
  }

  void NewShoe() {
    if (c_.methodEach) MethodRestart();
    if (c_.amountEach) AmountRestart();
    for (std::size_t i = 0; i < c_.setups.size(); ++i) {
      switch (c_.setups[i]) {
        case AdditionalSetup::kStartBet: entered_[i] = false; break;
        case AdditionalSetup::kTakeProfitStopLoss:
          if (c_.apply == 0) {
            shoeProfit_[i] = high_[i] = low_[i] = 0;
            if (stopped_[i]) {
              stopped_[i] = false;
              if (suspended_ > 0) --suspended_;
            }
          }
          break;
        case AdditionalSetup::kGroup: count_[i] = 0; break;
        case AdditionalSetup::kContinuousWin:
          if (c_.amountEach) count_[i] = 0;
          break;
      }
    }
  }

  void Game(char result) {
    for (std::size_t i = 0; i < c_.setups.size(); ++i) {
      if (c_.setups[i] != AdditionalSetup::kGroup || count_[i] < c_.unit) continue;
      count_[i] = 0;
      if (c_.groupMethod) MethodRestart();
      if (c_.groupAmount) AmountRestart();
      rows += '|';
    }
    bet = MethodBet();
    if (suspended_ > 0) bet = ' ';
    for (std::size_t i = 0; i < c_.setups.size(); ++i) {
      if (c_.setups[i] != AdditionalSetup::kStartBet || entered_[i]) continue;
      virtualBet_[i] = bet;
      bet = ' ';
    }
    stake = 0;
    if (bet != ' ') {
      stake = AmountStake();
      ++noOfBet;
    }
    history_ += result;
    LoopMoves(result);
    double profit = 0;
    if (bet != ' ') {
      if (result == 'T') {
        lastWin_ = 'T';
      } else if (result == bet) {
        lastWin_ = 'W';
        profit = bet == 'P' ? stake : stake * 0.95;
        ++won;
      } else {
        lastWin_ = 'L';
        profit = -stake;
        ++lost;
      }
      acc += profit;
      if (acc > maxProfit) maxProfit = acc;
      else if (acc < maxLoss) maxLoss = acc;
    }
    for (std::size_t i = 0; i < c_.setups.size(); ++i) {
      switch (c_.setups[i]) {
        case AdditionalSetup::kStartBet:
          if (!entered_[i]) entered_[i] = virtualBet_[i] == result;
          break;
        case AdditionalSetup::kTakeProfitStopLoss: {
          if (stopped_[i]) break;
          shoeProfit_[i] += profit;
          high_[i] = std::max(high_[i], shoeProfit_[i]);
          low_[i] = std::min(low_[i], shoeProfit_[i]);
          bool stop = (c_.takeProfit != 0 && shoeProfit_[i] >= c_.takeProfit) ||
                      (c_.stopLoss != 0 && shoeProfit_[i] <= c_.stopLoss) ||
                      (c_.rise != 0 && shoeProfit_[i] - low_[i] >= c_.rise) ||
                      (c_.fall != 0 && high_[i] - shoeProfit_[i] >= c_.fall);
          if (stop) {
            stopped_[i] = true;
            ++suspended_;
            if (c_.stopRestartsAmount) AmountRestart();
          }
          break;
        }
        case AdditionalSetup::kGroup:
          if (c_.includeTie || result != 'T') ++count_[i];
          break;
        case AdditionalSetup::kContinuousWin:
          if (bet == ' ' || result == 'T') break;
          if (bet != result) {
            count_[i] = 0;
          } else if (++count_[i] >= c_.conWin) {
            count_[i] = 0;
            AmountRestart();
          }
          break;
      }
    }
    rows += bet;
    stakes.push_back(stake);
    accProfits.push_back(acc);
  }

 private:
  std::string RoadOf() const {
    TRoad r;
    r.SetResult(history_);
    if (c_.road == 0) return std::string(r.ResultNoTie());
    if (c_.road <= 3) return std::string(r.GetDerivedRoad(c_.road));
    return std::string(r.GetBeadRow(c_.beads, c_.ignoreTies));
  }
  char Predict(char side) const {
    if (c_.road < 1 || c_.road > 3) return side;
    TRoad r;
    r.SetResult(history_);
    return r.PredictFromDerived(c_.road, side);
  }

  void MethodPrepare() {
    history_.clear();
    loop_ = BetMethodLoop::Normalise(c_.loop);
    positions_.assign(c_.road >= 4 ? c_.beads : 1, 1);
    slot_ = 1;
  }
  void MethodRestart() {
    history_.clear();
    slot_ = 1;
    std::fill(positions_.begin(), positions_.end(), 1);
  }
  char MethodBet() {
    if (c_.method == BetMethod::kPattern) {
      std::string road = RoadOf();
      for (auto row = c_.patterns.rbegin(); row != c_.patterns.rend(); ++row) {
        std::string pattern = BetMethodPattern::Normalise(row->first);
        if (pattern.size() > road.size() || road.substr(road.size() - pattern.size()) != pattern) continue;
        std::string side = BetMethodPattern::Normalise(row->second);
        return side.empty() ? ' ' : Predict(side[0]);
      }
      return ' ';
    }
    if (loop_.empty()) return ' ';
    advance_ = true;
    int& position = positions_[slot_ - 1];
    if (position > static_cast<int>(loop_.size())) position = 1;
    char letter = loop_[position - 1];
    if (c_.road < 1 || c_.road > 3) return letter == 'X' ? ' ' : letter;
    char side = Predict(letter == 'X' ? 'B' : letter);
    if (side == ' ') advance_ = false;
    return letter == 'X' ? ' ' : side;
  }
  void LoopMoves(char result) {
    if (c_.method != BetMethod::kLoop || loop_.empty()) return;
    if (advance_ && !(result == 'T' && c_.tieKeeps)) ++positions_[slot_ - 1];
    slot_ = slot_ == static_cast<int>(positions_.size()) ? 1 : slot_ + 1;
  }

  bool IsLine() const { return c_.amount == BetAmount::kCancel || c_.amount == BetAmount::kAntiCancel; }
  long long LineStake() {
    if (base_.empty()) return 0;
    first_ = 0;
    second_ = line_.size() == 1 ? -1 : c_.noType == 0 ? static_cast<int>(line_.size()) - 1 : 1;
    return line_[0] + (second_ >= 0 ? line_[second_] : 0);
  }
  void LineRestart() {
    firstBet_ = true;
    line_.assign(base_.begin(), base_.end());
    first_ = second_ = -1;
    lastStake_ = 0;
  }
  void AmountPrepare() {
    level_ = 0;
    if (!IsLine()) return;
    base_ = c_.line;
    LineRestart();
    overLimit_ = c_.limit > 0 && LineStake() > c_.limit;
    LineRestart();
  }
  void AmountRestart() {
    level_ = 0;
    if (IsLine()) LineRestart();
  }
  int AmountStake() {
    switch (c_.amount) {
      case BetAmount::kLevel: {
        if (level_ == 0) {
          level_ = 1;
        } else {
          long long next = level_ + (lastWin_ == 'W' ? c_.winMove : lastWin_ == 'L' ? c_.loseMove : 0);
          level_ = next < 1 || next > static_cast<long long>(c_.levels.size()) ? 1 : static_cast<int>(next);
        }
        return c_.levels.empty() ? 0 : c_.levels[level_ - 1];
      }
      case BetAmount::kFlat: return std::max(c_.flat, 0);
      case BetAmount::kDouble: return 0;
    }
    if (overLimit_) return 0;
    const bool anti = c_.amount == BetAmount::kAntiCancel;
    if (firstBet_) {
      firstBet_ = false;
    } else if (lastWin_ == (anti ? 'L' : 'W')) {
      std::deque<long long> rest;
      for (int i = 0; i < static_cast<int>(line_.size()); ++i)
        if (i != first_ && i != second_) rest.push_back(line_[i]);
      if (rest.empty()) LineRestart();
      else line_ = rest;
    } else if (lastWin_ == (anti ? 'W' : 'L') && lastStake_ != 0) {
      if (c_.largest > 0 && lastStake_ >= c_.largest) LineRestart();
      else line_.push_back(lastStake_);
    }
    long long s = LineStake();
    if (c_.limit > 0 && s > c_.limit) {
      LineRestart();
      s = LineStake();
    }
    lastStake_ = s;
    return static_cast<int>(s);
  }

  Settings c_;
  char lastWin_ = 'T';
  int suspended_ = 0;
  std::string history_;
  std::string loop_;
  int slot_ = 1;
  std::vector<int> positions_;
  bool advance_ = false;
  int level_ = 0;
  std::vector<int> base_;
  std::deque<long long> line_;
  int first_ = -1, second_ = -1;
  long long lastStake_ = 0;
  bool firstBet_ = true, overLimit_ = false;
  std::vector<bool> entered_, stopped_;
  std::vector<char> virtualBet_;
  std::vector<double> shoeProfit_, high_, low_;
  std::vector<int> count_;
};

void ExpectSame(const Strategy& s, const Model& m, int trial) {
  const ResultTable& t = s.ClientDataSetAnalysis;
  ASSERT_EQ(Bets(t), m.rows) << "trial " << trial;
  for (int r = 0, game = 0; r < t.RecordCount(); ++r) {
    if (t.IsNullRow(r)) continue;
    ASSERT_EQ(t.At(r).betAmount, m.stakes[game]) << "trial " << trial << ", row " << r;
    ASSERT_NEAR(t.At(r).accProfit, m.accProfits[game], 1e-6) << "trial " << trial << ", row " << r;
    ++game;
  }
  ASSERT_EQ(s.NoOfBet, m.noOfBet) << "trial " << trial;
  ASSERT_EQ(s.WinGame, m.won) << "trial " << trial;
  ASSERT_EQ(s.LoseGame, m.lost) << "trial " << trial;
  ASSERT_NEAR(s.MaxProfit, m.maxProfit, 1e-6) << "trial " << trial;
  ASSERT_NEAR(s.MaxLoss, m.maxLoss, 1e-6) << "trial " << trial;
}

}  // namespace

TEST(StrategyReference, RandomStrategiesOverSeveralShoes) {
  std::mt19937 g(20261209);
  for (int trial = 0; trial < 3000; ++trial) {
    const Settings c = RandomSettings(g);
    Host h;
    auto s = MakeStrategy(h, c);
    Model m(c);
    m.Prepare();
    s->PrepareAnalysis();
    for (int shoe = 0, shoes = 1 + g() % 3; shoe < shoes; ++shoe) {
      const std::string games = RandomText(g, "BBBPPPT", 30);
      m.NewShoe();
      for (char r : games) m.Game(r);
      s->NewShoe();
      s->AnalysisShoe(games);
    }
    s->FinishAnalysis();
    ExpectSame(*s, m, trial);
  }
}

// A range run plays every strategy in use exactly as it plays alone, and books the
// net of their bets.
TEST(StrategyReference, CombinedRangeRunNetsTheStrategies) {
  std::mt19937 g(99);
  for (int trial = 0; trial < 300; ++trial) {
    Host h;
    MultiStrategyAnalysis multi(&h.host);
    std::vector<Settings> settings;
    std::vector<std::unique_ptr<Strategy>> strategies;
    std::vector<Model> models;
    for (int i = 0, n = 1 + g() % 3; i < n; ++i) {
      settings.push_back(RandomSettings(g));
      settings.back().road = g() % 4;   // bead settings are the host's, shared by all
      strategies.push_back(MakeStrategy(h, settings.back()));
      strategies.back()->Use = g() % 4 != 0;
      multi.Strategies.push_back(strategies.back().get());
      models.emplace_back(settings.back());
    }
    std::vector<std::string> shoes;
    for (int i = 0, n = 1 + g() % 3; i < n; ++i) {
      shoes.push_back(RandomText(g, "BBBPPPT", 25));
      h.shoes.AppendShoe({"S" + std::to_string(i), shoes.back(), ""});
    }
    multi.AnalysisAllShoes();

    std::string bets;
    std::vector<double> acc;
    double combined = 0;
    for (Model& m : models) m.Prepare();
    for (const std::string& shoe : shoes) {
      for (Model& m : models) m.NewShoe();
      for (char r : shoe) {
        long long net = 0;
        for (std::size_t i = 0; i < models.size(); ++i) {
          if (!strategies[i]->Use) continue;
          models[i].Game(r);
          if (models[i].bet == 'B') net += models[i].stake;
          if (models[i].bet == 'P') net -= models[i].stake;
        }
        char side = net > 0 ? 'B' : net < 0 ? 'P' : ' ';
        double amount = static_cast<double>(net < 0 ? -net : net);
        if (r != 'T') combined += side == r ? (side == 'B' ? amount * 0.95 : amount) : -amount;
        bets += side;
        acc.push_back(combined);
      }
    }
    const ResultTable& t = multi.ClientDataSetAnalysis;
    ASSERT_EQ(Bets(t), bets) << "trial " << trial;
    for (int r = 0; r < t.RecordCount(); ++r) ASSERT_NEAR(t.At(r).accProfit, acc[r], 1e-6) << "trial " << trial;
    for (std::size_t i = 0; i < models.size(); ++i) {
      if (strategies[i]->Use) ExpectSame(*strategies[i], models[i], trial);
      else EXPECT_EQ(strategies[i]->ClientDataSetAnalysis.RecordCount(), 0);
    }
  }
}

#if defined(ZAVUV_PLUGIN_DIR) && defined(ZAVUV_TEST_PLUGIN_DIR)

namespace {

// The sample modules and the test modules in one registry: a road-reading bet method
// (it fills the analysis road shared through the host), a bet amount, a setup, and
// "shared turn", whose components share state and must stay on one thread.
const PlugInRegistry& AllPlugIns() {
  static const PlugInRegistry registry = [] {
    PlugInRegistry r;
    r.LoadFolder(ZAVUV_PLUGIN_DIR);
    r.LoadFolder(ZAVUV_TEST_PLUGIN_DIR);
    return r;
  }();
  return registry;
}

// Everything a range run leaves behind, in a form that compares exactly.
struct RunOutcome {
  std::vector<std::vector<std::string>> rows;   // per table: one text per row
  std::vector<std::vector<double>> figures;     // per strategy
  std::vector<std::vector<std::int32_t>> runs;
  std::vector<std::vector<double>> points;
  double combinedProfit = 0;
  int shoes = 0;
  bool operator==(const RunOutcome&) const = default;
};

std::vector<std::string> RowTexts(const ResultTable& t) {
  std::vector<std::string> out;
  char buffer[160];
  for (int r = 0; r < t.RecordCount(); ++r) {
    const ResultTable::Row& row = t.At(r);
    if (row.isNull) {
      out.emplace_back("null");
      continue;
    }
    std::snprintf(buffer, sizeof buffer, "%s|%d|%c|%d|%c|%.17g|%.17g", std::string(t.ShoesNameAt(r)).c_str(),
                  row.gameNo, row.bet, row.betAmount, row.gameResult, row.profit, row.accProfit);
    out.emplace_back(buffer);
  }
  return out;
}

RunOutcome Outcome(const MultiStrategyAnalysis& multi, const std::vector<std::unique_ptr<Strategy>>& strategies) {
  RunOutcome o;
  o.rows.push_back(RowTexts(multi.ClientDataSetAnalysis));
  o.combinedProfit = multi.AccProfit;
  o.shoes = multi.ShoesAnalysed;
  for (const auto& s : strategies) {
    o.rows.push_back(RowTexts(s->ClientDataSetAnalysis));
    o.figures.push_back({s->MaxProfit, s->MaxLoss, double(s->NoOfBet), double(s->TotalBetAmount), double(s->WinGame),
                         double(s->LoseGame), s->TotalWinAmount, s->TotalLoseAmount, s->AccProfit});
    o.runs.push_back(s->ConWin.RunCounts());
    o.runs.push_back(s->ConLose.RunCounts());
    o.points.emplace_back(s->FrameWinLostChart.Points.begin(), s->FrameWinLostChart.Points.end());
    o.points.emplace_back(s->FrameChartProfit.Points.begin(), s->FrameChartProfit.Points.end());
  }
  return o;
}

// Where two outcomes part, for the failure message.
std::string FirstDifference(const RunOutcome& a, const RunOutcome& b) {
  if (a.shoes != b.shoes) return "shoes analysed " + std::to_string(a.shoes) + " vs " + std::to_string(b.shoes);
  for (std::size_t t = 0; t < std::min(a.rows.size(), b.rows.size()); ++t)
    for (std::size_t r = 0; r < std::max(a.rows[t].size(), b.rows[t].size()); ++r) {
      std::string x = r < a.rows[t].size() ? a.rows[t][r] : "(none)";
      std::string y = r < b.rows[t].size() ? b.rows[t][r] : "(none)";
      if (x != y) return "table " + std::to_string(t) + " row " + std::to_string(r) + ": " + x + " vs " + y;
    }
  if (a.figures != b.figures) return "figures";
  if (a.runs != b.runs) return "run tables";
  if (a.points != b.points) return "chart points";
  if (a.combinedProfit != b.combinedProfit) return "combined profit";
  return "";
}

}  // namespace

// The range run on two threads (strategies side by side over blocks of shoes, netted
// block by block) and the figures-only run give, game for game, what the run on one
// thread gives: every row, figure, run table and chart point, plug-ins included. Blocks
// of a few shoes put block ends everywhere, also next to the range's first and last
// shoe.
TEST(StrategyReference, ParallelAndFiguresOnlyRunsGiveTheSingleThreadedResults) {
  const PlugInRegistry& plugIns = AllPlugIns();
  const TPlugIns* follow = plugIns.Find(TPlugIns::kBetMethod, "跟隨上一局");
  const TPlugIns* shared = plugIns.Find(TPlugIns::kBetMethod, "shared turn");
  const TPlugIns* martingale = plugIns.Find(TPlugIns::kBetAmount, "馬丁加倍注碼");
  ASSERT_TRUE(follow && shared && martingale);
  ASSERT_TRUE(shared->SerialOnly);
  ASSERT_FALSE(follow->SerialOnly);
  std::vector<const TPlugIns*> setups = plugIns.OfKind(TPlugIns::kSetup);
  ASSERT_FALSE(setups.empty());

  std::mt19937 g(14);
  int serialRuns = 0;
  for (int trial = 0; trial < 150; ++trial) {
    std::vector<Settings> settings;
    std::vector<int> methodPlugIn, amountPlugIn, setupPlugIn;
    std::vector<bool> use;
    for (int i = 0, n = 1 + g() % 5; i < n; ++i) {
      settings.push_back(RandomSettings(g));
      const int pick = g() % 8;
      methodPlugIn.push_back(pick == 0 ? plugIns.ItemOf(*follow) : pick == 1 ? plugIns.ItemOf(*shared) : -1);
      amountPlugIn.push_back(g() % 6 == 0 ? plugIns.ItemOf(*martingale) : -1);
      setupPlugIn.push_back(g() % 6 == 0 ? plugIns.ItemOf(*setups[g() % setups.size()]) : -1);
      use.push_back(g() % 5 != 0);
    }
    std::vector<ShoeRecord> shoes;
    for (int i = 0, n = 1 + g() % 30; i < n; ++i)
      shoes.push_back({"S" + std::to_string(i), RandomText(g, "BBBPPPT", 40), ""});
    std::string from, to;
    if (g() % 4 == 0) from = shoes[g() % shoes.size()].name;
    if (g() % 4 == 0) to = shoes[g() % shoes.size()].name;
    const int block = 1 + static_cast<int>(g() % 6);

    auto run = [&](int threads, bool keepRows, bool keepStrategyRows = true) {
      Host h;
      for (const ShoeRecord& shoe : shoes) h.shoes.AppendShoe(shoe);
      MultiStrategyAnalysis multi(&h.host);
      std::vector<std::unique_ptr<Strategy>> strategies;
      for (std::size_t i = 0; i < settings.size(); ++i) {
        strategies.push_back(MakeStrategy(h, settings[i]));
        Strategy& s = *strategies.back();
        plugIns.AddTo(s);
        if (methodPlugIn[i] >= 0) s.SelectBetMethod(methodPlugIn[i]);
        if (amountPlugIn[i] >= 0) s.SelectBetAmount(amountPlugIn[i]);
        if (setupPlugIn[i] >= 0) s.CreateSetup().ComboBoxSelectChange(setupPlugIn[i]);
        s.Use = use[i];
        multi.Strategies.push_back(&s);
      }
      multi.EditShoeFrom = from;
      multi.EditShoeTo = to;
      multi.Threads = threads;
      multi.BlockShoes = block;
      multi.KeepRows = keepRows;
      multi.KeepStrategyRows = keepStrategyRows;
      multi.AnalysisAllShoes();
      if (threads == 1 && keepRows)
        for (const auto& s : strategies) serialRuns += !s->ParallelSafe();
      return std::pair(Outcome(multi, strategies), h.shoes.Table().CurrentRow());
    };

    const auto [single, singleRow] = run(1, true);
    const auto [parallel, parallelRow] = run(2, true);
    ASSERT_TRUE(parallel == single) << "trial " << trial << ": " << FirstDifference(single, parallel);
    EXPECT_EQ(parallelRow, singleRow) << "trial " << trial;   // the cursor ends on the same shoe

    // Figures only: no rows at all, everything else the same.
    for (int threads : {1, 2}) {
      RunOutcome figures = run(threads, false).first;
      for (const auto& rows : figures.rows) ASSERT_TRUE(rows.empty()) << "trial " << trial;
      figures.rows = single.rows;
      ASSERT_TRUE(figures == single) << "trial " << trial << ", threads " << threads << ": "
                                     << FirstDifference(single, figures);
      // The combined rows only: the strategies' tables stay empty.
      RunOutcome combined = run(threads, true, false).first;
      ASSERT_EQ(combined.rows.front(), single.rows.front()) << "trial " << trial << ", threads " << threads;
      for (std::size_t t = 1; t < combined.rows.size(); ++t) ASSERT_TRUE(combined.rows[t].empty()) << "trial " << trial;
      combined.rows = single.rows;
      ASSERT_TRUE(combined == single) << "trial " << trial << ", threads " << threads << ": "
                                      << FirstDifference(single, combined);
    }
  }
  EXPECT_GT(serialRuns, 10);   // strategies that had to stay on one thread took part
}

#endif
