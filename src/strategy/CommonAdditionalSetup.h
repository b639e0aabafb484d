// The contract of every additional setup: seven hooks that a strategy calls on each
// of its setups, in page order, at fixed points of its analysis loop. Each does
// nothing here; each is also published under its name.
#pragma once

#include "contracts/Published.h"

namespace zavuv {

class Strategy;

class CommonAdditionalSetup : public Published {
 public:
  ~CommonAdditionalSetup() override;

  virtual void Prepare() {}
  virtual void NewShoe(Strategy& strategy) {}
  virtual void BeforeAnalysisGame(Strategy& strategy) {}
  virtual void AfterGetBet(Strategy& strategy) {}
  virtual void AfterGetBetAmount(Strategy& strategy) {}
  virtual void AfterCalProfit(Strategy& strategy) {}
  virtual void AfterMakeRecord(Strategy& strategy) {}
  // Whether the setup carries state from one shoe into the next (not a published
  // operation: the judging of results asks it).
  virtual bool CarriesAcrossShoes() const { return false; }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

}  // namespace zavuv
