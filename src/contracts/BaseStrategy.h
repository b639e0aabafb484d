// The state of a strategy that bet components, additional setups and plug-ins read
// and write, and the operations they call back by name: Suspend, Resume,
// GetAnalysisRoad, GetPredict and the host variable accessors (GetCharVar ...
// SetBoolVar). Strategy adds the analysis loop.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "contracts/Published.h"
#include "roads/RoadSettings.h"

namespace zavuv {

class TRoad;
struct StrategyHost;

// Raised by the host variable accessors for a name they do not know (and always by
// GetBoolVar and SetBoolVar).
class HostVariableError : public std::runtime_error {
 public:
  HostVariableError();
};

class BaseStrategy;
// The plain functions of GetAnalysisRoad over a road model and of GetPredict
// (PublishedClass::PublishDirect).
using DirectAnalysisRoad = std::string_view (*)(BaseStrategy& self, const TRoad& history);
using DirectPredict = char (*)(BaseStrategy& self, char side);

class BaseStrategy : public Published {
 public:
  // Road choices of "選擇路做分析" (UTF-8 captions).
  static constexpr int kRoadCount = 7;
  static const std::array<std::string_view, kRoadCount>& RoadCaptions();

  explicit BaseStrategy(StrategyHost* mainForm = nullptr);
  ~BaseStrategy() override;

  // ---- state (the names plug-ins reach through the accessors) ----
  char Bet = ' ';              // "B", "P" or a blank for no bet
  char GameResult = ' ';       // "B", "P" or "T"
  char LastWin = 'T';          // outcome of the last settled bet: "W", "L" or "T"
  std::string ShoesName;       // label of the result rows (Big5)
  std::int32_t GameNo = 0;
  std::int32_t BetAmount = 0;
  std::int32_t NoOfBet = 0;
  // Kept 64 bits wide so that a long run cannot wrap it; the 32-bit accessor reads it
  // clamped to the 32-bit range.
  std::int64_t TotalBetAmount = 0;
  std::int32_t WinGame = 0;
  std::int32_t LoseGame = 0;
  double GameProfit = 0;
  double AccProfit = 0;
  double MaxProfit = 0;
  double MaxLoss = 0;
  double BankerWinRatio = 0.95;
  double TotalWinAmount = 0;
  double TotalLoseAmount = 0;
  std::int32_t SuspendCount = 0;

  // ---- settings read at each use ----
  int RoadIndex = 0;                 // "選擇路做分析": 0 大路 ... 6 珠路3
  StrategyHost* MainForm = nullptr;  // not owned
  // On: GetAnalysisRoad over a text fills a road model of the strategy's own rather
  // than the main window's shared one, so that strategies can run on several threads
  // at once (the answers are the same: the model is refilled at every call).
  bool PrivateAnalysisRoad = false;

  // The bead settings in force (the main window's, or the defaults without one).
  const RoadSettings& Roads() const;
  // For road choices 4 to 6 the beads per column of that bead road, otherwise 1.
  int SlotCount() const;

  // ---- published operations ----
  void Suspend() { ++SuspendCount; }
  void Resume() {
    if (SuspendCount > 0) --SuspendCount;
  }
  // The road of the strategy's road choice over the given results. The text form
  // loads the results into the main window's analysis road model (a plug-in's
  // call); the model form reads the roads of a model that a bet method keeps up to
  // date with its own history, so nothing is rebuilt. The view stays valid until
  // that model next changes. GetPredict then works on the model last used.
  std::string_view GetAnalysisRoad(std::string_view results);
  std::string_view GetAnalysisRoad(const TRoad& history);
  // The side to bet for a side predicted on the analysed road: on a derived road the
  // result that makes its next entry that colour (blank when it cannot continue
  // yet); on every other road the side itself.
  char GetPredict(char side) const;

  char GetCharVar(std::string_view name) const;
  void SetCharVar(std::string_view name, char value);
  const char* GetPCharVar(std::string_view name) const;
  void SetPCharVar(std::string_view name, std::string_view value);
  std::int32_t GetIntVar(std::string_view name) const;
  void SetIntVar(std::string_view name, std::int32_t value);
  double GetRealVar(std::string_view name) const;
  void SetRealVar(std::string_view name, double value);
  bool GetBoolVar(std::string_view name) const;
  void SetBoolVar(std::string_view name, bool value);

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 protected:
  // Forget the model used for predictions (the next GetPredict uses the analysis
  // road model), so that no prediction reads a model that has gone.
  void ForgetPredictRoad() { predictRoad_ = nullptr; }
  TRoad& AnalysisRoad() const;

 private:
  std::string_view RoadOf(const TRoad& road) const;
  const TRoad* predictRoad_ = nullptr;
  mutable std::unique_ptr<TRoad> ownAnalysisRoad_;   // when the host has none
};

}  // namespace zavuv
