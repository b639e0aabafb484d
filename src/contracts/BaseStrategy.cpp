#include "contracts/BaseStrategy.h"

#include <algorithm>
#include <limits>

#include "contracts/StrategyHost.h"
#include "roads/TRoad.h"
#include "table/Table.h"

namespace zavuv {

namespace {

const RoadSettings& DefaultRoads() {
  static const RoadSettings roads;
  return roads;
}

}  // namespace

HostVariableError::HostVariableError() : std::runtime_error("Plugins與主程式版本不配合") {}

const std::array<std::string_view, BaseStrategy::kRoadCount>& BaseStrategy::RoadCaptions() {
  static const std::array<std::string_view, kRoadCount> captions = {
      "大路", "大眼仔", "小路", "蟑螂路", "珠路1", "珠路2", "珠路3"};
  return captions;
}

BaseStrategy::BaseStrategy(StrategyHost* mainForm) : MainForm(mainForm) {}

BaseStrategy::~BaseStrategy() = default;

const RoadSettings& BaseStrategy::Roads() const {
  return (MainForm && MainForm->Roads) ? *MainForm->Roads : DefaultRoads();
}

int BaseStrategy::SlotCount() const {
  if (RoadIndex >= 4 && RoadIndex <= 6) return Roads().Beads(RoadIndex - 4);
  return 1;
}

TRoad& BaseStrategy::AnalysisRoad() const {
  if (!PrivateAnalysisRoad && MainForm && MainForm->AnalysisRoad) return *MainForm->AnalysisRoad;
  if (!ownAnalysisRoad_) ownAnalysisRoad_ = std::make_unique<TRoad>();
  return *ownAnalysisRoad_;
}

std::string_view BaseStrategy::RoadOf(const TRoad& road) const {
  switch (RoadIndex) {
    case 0: return road.ResultNoTie();
    case 1:
    case 2:
    case 3: return road.GetDerivedRoad(RoadIndex);
    case 4:
    case 5:
    case 6: {
      const RoadSettings& roads = Roads();
      return road.GetBeadRow(roads.Beads(RoadIndex - 4), roads.IgnoreTies(RoadIndex - 4));
    }
    default: return {};
  }
}

std::string_view BaseStrategy::GetAnalysisRoad(std::string_view results) {
  TRoad& road = AnalysisRoad();
  road.SetResult(results);
  predictRoad_ = nullptr;
  return RoadOf(road);
}

std::string_view BaseStrategy::GetAnalysisRoad(const TRoad& history) {
  predictRoad_ = &history;
  return RoadOf(history);
}

char BaseStrategy::GetPredict(char side) const {
  if (RoadIndex >= 1 && RoadIndex <= 3) {
    const TRoad& road = predictRoad_ ? *predictRoad_ : AnalysisRoad();
    return road.PredictFromDerived(RoadIndex, side);
  }
  return side;
}

// ---- host variable accessors ----

char BaseStrategy::GetCharVar(std::string_view name) const {
  if (EqualNoCase(name, "Bet")) return Bet;
  if (EqualNoCase(name, "GameResult")) return GameResult;
  if (EqualNoCase(name, "LastWin")) return LastWin;
  throw HostVariableError();
}

void BaseStrategy::SetCharVar(std::string_view name, char value) {
  if (EqualNoCase(name, "Bet")) Bet = value;
  else if (EqualNoCase(name, "GameResult")) GameResult = value;
  else if (EqualNoCase(name, "LastWin")) LastWin = value;
  else throw HostVariableError();
}

const char* BaseStrategy::GetPCharVar(std::string_view name) const {
  if (EqualNoCase(name, "ShoesName")) return ShoesName.c_str();
  throw HostVariableError();
}

void BaseStrategy::SetPCharVar(std::string_view name, std::string_view value) {
  if (!EqualNoCase(name, "ShoesName")) throw HostVariableError();
  ShoesName.assign(value);
}

std::int32_t BaseStrategy::GetIntVar(std::string_view name) const {
  if (EqualNoCase(name, "NoOfBet")) return NoOfBet;
  if (EqualNoCase(name, "TotalBetAmount"))
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        TotalBetAmount, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  if (EqualNoCase(name, "WinGame")) return WinGame;
  if (EqualNoCase(name, "LoseGame")) return LoseGame;
  if (EqualNoCase(name, "GameNo")) return GameNo;
  if (EqualNoCase(name, "BetAmount")) return BetAmount;
  throw HostVariableError();
}

void BaseStrategy::SetIntVar(std::string_view name, std::int32_t value) {
  if (EqualNoCase(name, "NoOfBet")) NoOfBet = value;
  else if (EqualNoCase(name, "TotalBetAmount")) TotalBetAmount = value;
  else if (EqualNoCase(name, "WinGame")) WinGame = value;
  else if (EqualNoCase(name, "LoseGame")) LoseGame = value;
  else if (EqualNoCase(name, "GameNo")) GameNo = value;
  else if (EqualNoCase(name, "BetAmount")) BetAmount = value;
  else throw HostVariableError();
}

double BaseStrategy::GetRealVar(std::string_view name) const {
  if (EqualNoCase(name, "MaxProfit")) return MaxProfit;
  if (EqualNoCase(name, "MaxLoss")) return MaxLoss;
  if (EqualNoCase(name, "AccProfit")) return AccProfit;
  if (EqualNoCase(name, "BankerWinRatio")) return BankerWinRatio;
  if (EqualNoCase(name, "GameProfit")) return GameProfit;
  throw HostVariableError();
}

void BaseStrategy::SetRealVar(std::string_view name, double value) {
  if (EqualNoCase(name, "MaxProfit")) MaxProfit = value;
  else if (EqualNoCase(name, "MaxLoss")) MaxLoss = value;
  else if (EqualNoCase(name, "AccProfit")) AccProfit = value;
  else if (EqualNoCase(name, "BankerWinRatio")) BankerWinRatio = value;
  else if (EqualNoCase(name, "GameProfit")) GameProfit = value;
  else throw HostVariableError();
}

bool BaseStrategy::GetBoolVar(std::string_view) const { throw HostVariableError(); }
void BaseStrategy::SetBoolVar(std::string_view, bool) { throw HostVariableError(); }

// ---- the published table ----

const PublishedClass& BaseStrategy::StaticClass() {
  auto self = [](Published& p) -> BaseStrategy& { return static_cast<BaseStrategy&>(p); };
  static PublishedClass info(
      "BaseStrategy", &Published::StaticClass(),
      {{"Suspend", [self](Published& p, PubArgs) -> PubValue {
          self(p).Suspend();
          return {};
        }},
       {"Resume", [self](Published& p, PubArgs) -> PubValue {
          self(p).Resume();
          return {};
        }},
       {"GetAnalysisRoad", [self](Published& p, PubArgs args) -> PubValue {
          if (!args.empty())
            if (auto road = std::get_if<const TRoad*>(&args[0]); road && *road)
              return self(p).GetAnalysisRoad(**road);
          return self(p).GetAnalysisRoad(ArgText(args, 0));
        }},
       {"GetPredict", [self](Published& p, PubArgs args) -> PubValue {
          return self(p).GetPredict(ArgChar(args, 0));
        }},
       {"GetCharVar", [self](Published& p, PubArgs args) -> PubValue {
          return self(p).GetCharVar(ArgText(args, 0));
        }},
       {"SetCharVar", [self](Published& p, PubArgs args) -> PubValue {
          self(p).SetCharVar(ArgText(args, 0), ArgChar(args, 1));
          return {};
        }},
       {"GetPCharVar", [self](Published& p, PubArgs args) -> PubValue {
          return self(p).GetPCharVar(ArgText(args, 0));
        }},
       {"SetPCharVar", [self](Published& p, PubArgs args) -> PubValue {
          self(p).SetPCharVar(ArgText(args, 0), ArgText(args, 1));
          return {};
        }},
       {"GetIntVar", [self](Published& p, PubArgs args) -> PubValue {
          return self(p).GetIntVar(ArgText(args, 0));
        }},
       {"SetIntVar", [self](Published& p, PubArgs args) -> PubValue {
          self(p).SetIntVar(ArgText(args, 0), ArgInt(args, 1));
          return {};
        }},
       {"GetRealVar", [self](Published& p, PubArgs args) -> PubValue {
          return self(p).GetRealVar(ArgText(args, 0));
        }},
       {"SetRealVar", [self](Published& p, PubArgs args) -> PubValue {
          self(p).SetRealVar(ArgText(args, 0), ArgReal(args, 1));
          return {};
        }},
       {"GetBoolVar", [self](Published& p, PubArgs args) -> PubValue {
          return self(p).GetBoolVar(ArgText(args, 0));
        }},
       {"SetBoolVar", [self](Published& p, PubArgs args) -> PubValue {
          self(p).SetBoolVar(ArgText(args, 0), ArgBool(args, 1));
          return {};
        }}});
  static const bool direct = [] {
    info.PublishDirect("GetAnalysisRoad", reinterpret_cast<PubDirect>(static_cast<DirectAnalysisRoad>(
                                              [](BaseStrategy& self, const TRoad& history) {
                                                return self.GetAnalysisRoad(history);
                                              })));
    info.PublishDirect("GetPredict", reinterpret_cast<PubDirect>(static_cast<DirectPredict>(
                                         [](BaseStrategy& self, char side) { return self.GetPredict(side); })));
    return true;
  }();
  (void)direct;
  return info;
}

}  // namespace zavuv
