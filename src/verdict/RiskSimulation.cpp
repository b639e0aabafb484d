#include "verdict/RiskSimulation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "shoes/Dealer.h"
#include "strategy/Strategy.h"
#include "strategy/StrategyFile.h"
#include "verdict/Random.h"

namespace zavuv {

namespace {

double SortedQuantile(const std::vector<double>& sorted, double q) {
  if (sorted.empty()) return 0;
  const double h = (static_cast<double>(sorted.size()) - 1) * q;
  const auto i = static_cast<std::size_t>(std::floor(h));
  if (i + 1 >= sorted.size()) return sorted.back();
  return sorted[i] + (h - static_cast<double>(i)) * (sorted[i + 1] - sorted[i]);
}

// One bankroll through one session.
struct Track {
  double bankroll = 0;
  double high = 0;
  double drawdown = 0;
  bool playing = true;
  bool ruined = false;
  int losing = 0;
  int longest = 0;

  void Start(double start) {
    bankroll = high = start;
    drawdown = 0;
    playing = true;
    ruined = false;
    losing = longest = 0;
  }

  // A bet of `stake` that booked `profit`; result is measured from `start`.
  void Bet(double stake, double profit, double start, const RiskSettings& settings) {
    if (!playing) return;
    // A stake the bankroll cannot pay ends the session before the game is played.
    // (A hair of slack, so that 0.95 steps summed in binary do not ruin early.)
    if (stake > bankroll + 1e-9) {
      ruined = true;
      playing = false;
      return;
    }
    bankroll += profit;
    high = std::max(high, bankroll);
    drawdown = std::max(drawdown, high - bankroll);
    if (profit < 0) longest = std::max(longest, ++losing);
    else if (profit > 0) losing = 0;
    const double result = bankroll - start;
    if ((settings.StopLoss && result <= *settings.StopLoss) || (settings.StopWin && result >= *settings.StopWin))
      playing = false;
  }
};

// What the sessions of one bankroll leave behind.
struct Tally {
  std::vector<double> finals, drawdowns;
  std::vector<float> path;   // session by session, the bankroll after each shoe (0: the start)
  int ruined = 0;
  int longest = 0;
};

RiskResult Summarise(std::string name, Tally& tally, int shoesPerSession) {
  RiskResult r;
  r.Name = std::move(name);
  r.Sessions = static_cast<int>(tally.finals.size());
  r.Ruined = tally.ruined;
  r.LongestLosingRun = tally.longest;
  r.Finals = tally.finals;
  if (r.Sessions == 0) return r;
  const double n = r.Sessions;
  r.PRuin = r.Ruined / n;
  constexpr double z = 1.959963984540054;
  const double centre = (r.PRuin + z * z / (2 * n)) / (1 + z * z / n);
  const double half = z / (1 + z * z / n) * std::sqrt(r.PRuin * (1 - r.PRuin) / n + z * z / (4 * n * n));
  r.PRuinLow = std::max(0.0, centre - half);
  r.PRuinHigh = std::min(1.0, centre + half);
  r.PAhead = static_cast<double>(std::count_if(tally.finals.begin(), tally.finals.end(), [](double f) { return f > 0; })) / n;
  std::vector<double> sorted = tally.finals;
  std::sort(sorted.begin(), sorted.end());
  r.FinalMedian = SortedQuantile(sorted, 0.5);
  r.FinalP05 = SortedQuantile(sorted, 0.05);
  r.FinalP95 = SortedQuantile(sorted, 0.95);
  sorted = tally.drawdowns;
  std::sort(sorted.begin(), sorted.end());
  r.DrawdownMedian = SortedQuantile(sorted, 0.5);
  r.DrawdownP95 = SortedQuantile(sorted, 0.95);
  const std::size_t width = static_cast<std::size_t>(shoesPerSession) + 1;
  std::vector<double> column(static_cast<std::size_t>(r.Sessions));
  for (std::size_t k = 0; k < width; ++k) {
    for (std::size_t s = 0; s < column.size(); ++s) column[s] = tally.path[s * width + k];
    std::sort(column.begin(), column.end());
    r.Fan.push_back({SortedQuantile(column, 0.05), SortedQuantile(column, 0.25), SortedQuantile(column, 0.5),
                     SortedQuantile(column, 0.75), SortedQuantile(column, 0.95)});
  }
  return r;
}

}  // namespace

void RiskSettings::Validate() const {
  if (!(Bankroll > 0) || !std::isfinite(Bankroll)) throw std::invalid_argument("資金必須大於 0");
  if (ShoesPerSession < 1 || ShoesPerSession > kMaxShoesPerSession)
    throw std::invalid_argument("每節靴數必須在 1 到 " + std::to_string(kMaxShoesPerSession) + " 之間");
  if (StopLoss && (!(*StopLoss <= 0) || !std::isfinite(*StopLoss))) throw std::invalid_argument("止蝕必須為 0 或負數");
  if (StopWin && (!(*StopWin > 0) || !std::isfinite(*StopWin))) throw std::invalid_argument("止賺必須大於 0");
  if (Sessions < 1 || Sessions > kMaxSessions)
    throw std::invalid_argument("節數必須在 1 到 " + std::to_string(kMaxSessions) + " 之間");
  if (static_cast<std::int64_t>(Sessions) * ShoesPerSession > kMaxShoes)
    throw std::invalid_argument("節數乘每節靴數不可超過 " + std::to_string(kMaxShoes));
}

std::vector<RiskResult::Bin> RiskResult::Histogram(int bins) const {
  std::vector<Bin> out;
  if (Finals.empty() || bins < 1) return out;
  const auto [lo, hi] = std::minmax_element(Finals.begin(), Finals.end());
  const double low = *lo, width = (*hi - *lo) / bins;
  for (int b = 0; b < bins; ++b) out.push_back({low + b * width, low + (b + 1) * width, 0});
  out.back().High = *hi;
  for (double f : Finals) {
    int b = width > 0 ? static_cast<int>((f - low) / width) : 0;
    ++out[static_cast<std::size_t>(std::clamp(b, 0, bins - 1))].Count;
  }
  return out;
}

RiskSimulation::RiskSimulation() : host_{&shoes_, &display_, &analysis_, &roads_} {}

RiskSimulation::~RiskSimulation() {
  for (auto& s : strategies_) s->ReleaseComponents();
}

std::unique_ptr<RiskSimulation> RiskSimulation::CopyOf(const RoadSettings& roads,
                                                       const std::vector<const Strategy*>& strategies,
                                                       const StrategyPlugIns* plugIns) {
  auto sim = std::make_unique<RiskSimulation>();
  StrategySet set = ParseStrategySet(FormatStrategySet(roads, strategies), ".", &sim->Host(), plugIns);
  sim->roads_ = set.Roads;
  for (auto& s : set.Strategies) sim->Add(std::move(s));
  return sim;
}

void RiskSimulation::Add(std::unique_ptr<Strategy> strategy) {
  strategy->SetMainForm(&host_);
  strategy->ClientDataSetAnalysis.KeepRows = false;
  strategy->Sums.Enabled = false;
  strategies_.push_back(std::move(strategy));
}

std::size_t RiskSimulation::StrategiesInUse() const {
  return static_cast<std::size_t>(std::count_if(strategies_.begin(), strategies_.end(), [](const auto& s) { return s->Use; }));
}

RiskReport RiskSimulation::Run(const RiskSettings& settings) {
  settings.Validate();
  Dealer dealer(settings.Seed);
  return Play(settings, [&](int, int) { return dealer.DealShoe().Result(); });
}

RiskReport RiskSimulation::Run(const RiskSettings& settings, std::span<const std::string> shoes) {
  settings.Validate();
  if (shoes.empty()) throw std::invalid_argument("沒有可抽取的牌靴");
  if (shoes.size() > 0xFFFFFFFFu) throw std::invalid_argument("牌靴太多");
  Random random(settings.Seed);
  return Play(settings, [&](int, int) { return shoes[random.Below(static_cast<std::uint32_t>(shoes.size()))]; });
}

RiskReport RiskSimulation::Play(const RiskSettings& settings, const std::function<std::string(int, int)>& nextShoe) {
  std::vector<Strategy*> players;
  for (auto& s : strategies_)
    if (s->Use) players.push_back(s.get());
  if (players.empty()) throw std::invalid_argument("沒有使用中的策略");

  const double start = settings.Bankroll;
  const int shoesPerSession = settings.ShoesPerSession;
  const std::size_t width = static_cast<std::size_t>(shoesPerSession) + 1;
  std::vector<Track> tracks(players.size() + 1);   // the strategies, then the combined bet
  std::vector<Tally> tallies(tracks.size());
  for (Tally& t : tallies) t.path.reserve(static_cast<std::size_t>(settings.Sessions) * width);

  RiskReport report;
  for (int session = 0; session < settings.Sessions; ++session) {
    if (Cancel && Cancel()) {
      report.Cancelled = true;
      break;
    }
    for (Strategy* s : players) s->PrepareAnalysis();
    for (Track& t : tracks) t.Start(start);
    for (Tally& t : tallies) t.path.push_back(static_cast<float>(start));
    for (int k = 0; k < shoesPerSession; ++k) {
      // The shoe is taken even when every bankroll has stopped, so that the sessions
      // after it get the same shoes whatever the stakes were.
      const std::string results = nextShoe(session, k);
      const bool anyPlaying = std::any_of(tracks.begin(), tracks.end(), [](const Track& t) { return t.playing; });
      if (anyPlaying) {
        for (Strategy* s : players) s->NewShoe("");
        for (std::size_t g = 0; g < results.size(); ++g) {
          const char result = results[g];
          std::int64_t net = 0;
          for (std::size_t i = 0; i < players.size(); ++i) {
            Strategy& s = *players[i];
            s.GameNo = static_cast<std::int32_t>(g + 1);
            s.AnalysisGame(result);
            if (s.Bet == ' ') continue;
            tracks[i].Bet(s.BetAmount, s.GameProfit, start, settings);
            net += s.Bet == 'B' ? s.BetAmount : -static_cast<std::int64_t>(s.BetAmount);
          }
          if (net != 0) {
            const char side = net > 0 ? 'B' : 'P';
            const double amount = static_cast<double>(net > 0 ? net : -net);
            const double profit = result == 'T' ? 0 : result == side ? (side == 'B' ? amount * 0.95 : amount) : -amount;
            tracks.back().Bet(amount, profit, start, settings);
          }
        }
      }
      for (std::size_t i = 0; i < tracks.size(); ++i) tallies[i].path.push_back(static_cast<float>(tracks[i].bankroll));
    }
    for (std::size_t i = 0; i < tracks.size(); ++i) {
      tallies[i].finals.push_back(tracks[i].bankroll - start);
      tallies[i].drawdowns.push_back(tracks[i].drawdown);
      tallies[i].ruined += tracks[i].ruined ? 1 : 0;
      tallies[i].longest = std::max(tallies[i].longest, tracks[i].longest);
    }
    if (Progress) Progress(session + 1, settings.Sessions);
  }
  for (Strategy* s : players) s->FinishAnalysis();
  for (std::size_t i = 0; i < players.size(); ++i)
    report.Strategies.push_back(Summarise(players[i]->StrategyName, tallies[i], shoesPerSession));
  report.Combined = Summarise("綜合", tallies.back(), shoesPerSession);
  return report;
}

}  // namespace zavuv
