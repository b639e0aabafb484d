// The risk to a bankroll ("資金風險"): sessions of a few shoes each, played by copies of
// the strategies in use, from freshly dealt shoes (the dealer, seeded) or from shoes
// drawn with replacement out of a record. Each strategy plays from a bankroll of its
// own, and so does the combined bet. A session ends for a bankroll at its last shoe,
// at a stop-loss or stop-win, or at ruin: a stake the remaining bankroll cannot pay.
//
// Runs on the thread that calls Run, which may be a worker: the copies share nothing
// with the strategy pages. Progress is told after every session; Cancel is asked
// before each and stops the run with the sessions played so far.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "contracts/StrategyHost.h"
#include "roads/RoadSettings.h"
#include "roads/TRoad.h"
#include "shoes/ShoesData.h"

namespace zavuv {

class Strategy;
class StrategyPlugIns;

struct RiskSettings {
  double Bankroll = 1000;            // "資金", above 0
  int ShoesPerSession = 10;          // 1 to kMaxShoesPerSession
  std::optional<double> StopLoss;    // 0 or below: stop once the session's result is at or below it
  std::optional<double> StopWin;     // above 0: stop once the session's result is at or above it
  int Sessions = 1000;               // 1 to kMaxSessions
  std::uint64_t Seed = 1;

  static constexpr int kMaxShoesPerSession = 1000;
  static constexpr int kMaxSessions = 1000000;
  static constexpr std::int64_t kMaxShoes = 20000000;   // sessions times shoes per session

  // Throws std::invalid_argument naming the field (Chinese, as the page shows it).
  void Validate() const;
};

// The outcome for one bankroll: a strategy's or the combined bet's.
struct RiskResult {
  std::string Name;                  // the strategy's name (UTF-8); "綜合" for the combined bet
  int Sessions = 0;
  int Ruined = 0;
  double PRuin = 0;
  double PRuinLow = 0;               // 95 % Wilson interval of PRuin
  double PRuinHigh = 0;
  double PAhead = 0;                 // sessions that ended above the starting bankroll
  double FinalMedian = 0;            // quantiles of the session's result (final bankroll - start)
  double FinalP05 = 0;
  double FinalP95 = 0;
  double DrawdownMedian = 0;         // quantiles of the session's largest fall from a high
  double DrawdownP95 = 0;
  int LongestLosingRun = 0;          // the most lost bets in a row in any session
  // Shoe by shoe (0: the start, then after each shoe): the 5, 25, 50, 75 and 95 %
  // quantiles of the bankroll, for the fan chart. A session that ended early keeps
  // its last bankroll.
  std::vector<std::array<double, 5>> Fan;
  std::vector<double> Finals;        // each session's result, in session order

  struct Bin {
    double Low = 0;
    double High = 0;
    int Count = 0;
  };
  // The finals in `bins` bins of equal width from the lowest to the highest.
  std::vector<Bin> Histogram(int bins = 30) const;
};

struct RiskReport {
  std::vector<RiskResult> Strategies;   // the strategies in use, in page order
  RiskResult Combined;
  bool Cancelled = false;
};

class RiskSimulation {
 public:
  RiskSimulation();
  ~RiskSimulation();
  RiskSimulation(const RiskSimulation&) = delete;
  RiskSimulation& operator=(const RiskSimulation&) = delete;

  // Copies of the given strategies (as a strategy set would save and read them) with
  // their bead road settings.
  static std::unique_ptr<RiskSimulation> CopyOf(const RoadSettings& roads, const std::vector<const Strategy*>& strategies,
                                                const StrategyPlugIns* plugIns = nullptr);

  // The host to make strategies with, and the strategies that play (only those in use).
  StrategyHost& Host() { return host_; }
  RoadSettings& Roads() { return roads_; }
  void Add(std::unique_ptr<Strategy> strategy);
  std::size_t StrategiesInUse() const;

  std::function<void(int done, int total)> Progress;
  std::function<bool()> Cancel;

  // From freshly dealt shoes, the dealer seeded with settings.Seed.
  RiskReport Run(const RiskSettings& settings);
  // From shoes (result strings) drawn with replacement, seeded with settings.Seed.
  RiskReport Run(const RiskSettings& settings, std::span<const std::string> shoes);

 private:
  RiskReport Play(const RiskSettings& settings, const std::function<std::string(int session, int shoe)>& shoe);

  ShoesData shoes_;
  TRoad display_;
  TRoad analysis_;
  RoadSettings roads_;
  StrategyHost host_;
  std::vector<std::unique_ptr<Strategy>> strategies_;
};

}  // namespace zavuv
