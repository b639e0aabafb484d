#include "strategy/AdditionalSetup.h"

#include "strategy/AdditionalSetupContinuousWin.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupStartBet.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"
#include "strategy/Strategy.h"

namespace zavuv {

const std::vector<std::string>& AdditionalSetup::BuiltInItems() {
  static const std::vector<std::string> items = {"每靴入路設定", "風險管理", "以數局為一組分析",
                                                 "連羸的附加設定"};
  return items;
}

AdditionalSetup::~AdditionalSetup() = default;

std::unique_ptr<CommonAdditionalSetup> AdditionalSetup::MakeBuiltIn(int index) {
  switch (index) {
    case kStartBet: return std::make_unique<AdditionalSetupStartBet>();
    case kTakeProfitStopLoss: return std::make_unique<AdditionalSetupTakeProfitStopLoss>();
    case kGroup: return std::make_unique<AdditionalSetupGroup>();
    case kContinuousWin: return std::make_unique<AdditionalSetupContinuousWin>();
    default: return nullptr;
  }
}

void AdditionalSetup::Prepare() {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->Prepare();
}
void AdditionalSetup::NewShoe(Strategy& s) {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->NewShoe(s);
}
void AdditionalSetup::BeforeAnalysisGame(Strategy& s) {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->BeforeAnalysisGame(s);
}
void AdditionalSetup::AfterGetBet(Strategy& s) {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->AfterGetBet(s);
}
void AdditionalSetup::AfterGetBetAmount(Strategy& s) {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->AfterGetBetAmount(s);
}
void AdditionalSetup::AfterCalProfit(Strategy& s) {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->AfterCalProfit(s);
}
void AdditionalSetup::AfterMakeRecord(Strategy& s) {
  if (CommonAdditionalSetup* c = CurrentSetup()) c->AfterMakeRecord(s);
}

const PublishedClass& AdditionalSetup::StaticClass() {
  static const PublishedClass info("AdditionalSetup", &CommonAdditionalSetup::StaticClass());
  return info;
}

// ---- 每靴入路設定 ----

void AdditionalSetupStartBet::AfterGetBet(Strategy& strategy) {
  if (Entered) return;
  VirtualBet = strategy.Bet;
  strategy.Bet = ' ';
}

void AdditionalSetupStartBet::AfterCalProfit(Strategy& strategy) {
  if (!Entered) Entered = VirtualBet != ' ' && VirtualBet == strategy.GameResult;
}

const PublishedClass& AdditionalSetupStartBet::StaticClass() {
  static const PublishedClass info("AdditionalSetupStartBet", &CommonAdditionalSetup::StaticClass());
  return info;
}

// ---- 風險管理 ----

void AdditionalSetupTakeProfitStopLoss::Prepare() {
  ShoeProfit = HighProfit = LowProfit = 0;
  Stopped = false;
}

void AdditionalSetupTakeProfitStopLoss::NewShoe(Strategy& strategy) {
  if (RadioGroupApply != kEachShoe) return;
  ShoeProfit = HighProfit = LowProfit = 0;
  if (Stopped) {
    Stopped = false;
    strategy.Resume();
  }
}

void AdditionalSetupTakeProfitStopLoss::AfterCalProfit(Strategy& strategy) {
  if (Stopped) return;
  ShoeProfit += strategy.GameProfit;
  if (ShoeProfit > HighProfit) HighProfit = ShoeProfit;
  if (ShoeProfit < LowProfit) LowProfit = ShoeProfit;
  bool stop = (TakeProfit != 0 && ShoeProfit >= TakeProfit) || (StopLoss != 0 && ShoeProfit <= StopLoss) ||
              (Rise != 0 && ShoeProfit - LowProfit >= Rise) || (Fall != 0 && HighProfit - ShoeProfit >= Fall);
  if (!stop) return;
  Stopped = true;
  strategy.Suspend();
  if (RestartBetAmount) strategy.FrameBetAmount.Restart();
}

const PublishedClass& AdditionalSetupTakeProfitStopLoss::StaticClass() {
  static const PublishedClass info("AdditionalSetupTakeProfitStopLoss", &CommonAdditionalSetup::StaticClass());
  return info;
}

// ---- 以數局為一組分析 ----

void AdditionalSetupGroup::BeforeAnalysisGame(Strategy& strategy) {
  if (GameCount < UnitNoOfGame) return;
  GameCount = 0;
  if (RestartBetMethod) strategy.FrameBetMethod.Restart();
  if (RestartBetAmount) strategy.FrameBetAmount.Restart();
  strategy.ClientDataSetAnalysis.AppendNull();
}

void AdditionalSetupGroup::AfterCalProfit(Strategy& strategy) {
  if (IncludeTie || strategy.GameResult != 'T') GameCount += 1;
}

const PublishedClass& AdditionalSetupGroup::StaticClass() {
  static const PublishedClass info("AdditionalSetupGroup", &CommonAdditionalSetup::StaticClass());
  return info;
}

// ---- 連羸的附加設定 ----

void AdditionalSetupContinuousWin::NewShoe(Strategy& strategy) {
  if (strategy.BetAmountEach()) WinCount = 0;
}

void AdditionalSetupContinuousWin::AfterCalProfit(Strategy& strategy) {
  if (strategy.Bet == ' ' || strategy.GameResult == 'T') return;
  if (strategy.Bet == strategy.GameResult) {
    WinCount += 1;
    if (WinCount >= ConWin) {
      WinCount = 0;
      strategy.FrameBetAmount.Restart();
    }
  } else {
    WinCount = 0;
  }
}

const PublishedClass& AdditionalSetupContinuousWin::StaticClass() {
  static const PublishedClass info("AdditionalSetupContinuousWin", &CommonAdditionalSetup::StaticClass());
  return info;
}

}  // namespace zavuv
