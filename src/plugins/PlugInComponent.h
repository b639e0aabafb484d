// Plug-in components as the engine drives them. PlugInBet is a bet component
// (CommonBet) and PlugInSetup an additional setup (CommonAdditionalSetup) whose
// operations call the module's; the selectors find them by published name and call
// them exactly as they call the built-in ones.
//
// What the host does at the edges:
// - MakeIt gives nothing (answers 0): no component is made; the selector keeps none
//   and the strategy goes on with the contract's defaults (no bet, stake 0, setup
//   hooks that do nothing).
// - The module leaves an operation out (a null entry): the contract's default for
//   that operation (nothing; GetBet a blank; GetBetAmount 0).
// - An operation returns with an error pending (a failed host call the plug-in did
//   not clear, or its own RaiseError): the error is raised as PlugInError and ends
//   the run at that call.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bets/BetSelector.h"
#include "plugins/TPlugIns.h"
#include "strategy/AdditionalSetup.h"
#include "strategy/StrategyPlugIns.h"

namespace zavuv {

// The part both kinds share: the record, the module's filled-in component, its
// settings and the hooks run just before the component is freed.
class PlugInCore {
 public:
  explicit PlugInCore(TPlugIns record) : record_(std::move(record)) {}
  ~PlugInCore();
  PlugInCore(const PlugInCore&) = delete;
  PlugInCore& operator=(const PlugInCore&) = delete;

  // Calls MakeIt; false when it made nothing.
  bool Make();
  const TPlugIns& Record() const { return record_; }
  const ZavuvComponent& Ops() const { return c_; }
  void* Self() const { return c_.self; }

  // One setting (value in Big5); false when the module refuses it or takes none.
  bool SetSetting(const std::string& name, const std::string& value);
  // The settings as the module reports them, in its order (values in Big5).
  std::vector<std::pair<std::string, std::string>> Settings();

  // Runs just before the component is freed, in the order added (the window deletes
  // the component's panel here).
  void OnRelease(std::function<void()> hook) { releaseHooks_.push_back(std::move(hook)); }

 private:
  TPlugIns record_;
  ZavuvComponent c_{};
  bool made_ = false;
  std::vector<std::function<void()>> releaseHooks_;
};

class PlugInBet : public CommonBet, public PlugInPart {
 public:
  // The component made by the record's MakeIt, or null when it makes nothing.
  static std::unique_ptr<PlugInBet> Make(const TPlugIns& record);
  ~PlugInBet() override;

  void Prepare() override;
  void Restart() override;
  void Finish() override;
  char GetBet(BaseStrategy& strategy) override;
  std::int32_t GetBetAmount(BaseStrategy& strategy) override;
  void AddGameResult(char result) override;

  PlugInCore& Core() { return core_; }
  // PlugInPart: the module's settings and its PlugInSerialOnly.
  bool SetSetting(const std::string& name, const std::string& value) override {
    return core_.SetSetting(name, value);
  }
  std::vector<std::pair<std::string, std::string>> Settings() override { return core_.Settings(); }
  bool SerialOnly() const override { return core_.Record().SerialOnly; }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  explicit PlugInBet(const TPlugIns& record) : core_(record) {}
  PlugInCore core_;
};

class PlugInSetup : public CommonAdditionalSetup, public PlugInPart {
 public:
  static std::unique_ptr<PlugInSetup> Make(const TPlugIns& record);
  ~PlugInSetup() override;

  void Prepare() override;
  void NewShoe(Strategy& strategy) override;
  void BeforeAnalysisGame(Strategy& strategy) override;
  void AfterGetBet(Strategy& strategy) override;
  void AfterGetBetAmount(Strategy& strategy) override;
  void AfterCalProfit(Strategy& strategy) override;
  void AfterMakeRecord(Strategy& strategy) override;
  // What a module keeps between shoes is its own: taken to carry over.
  bool CarriesAcrossShoes() const override { return true; }

  PlugInCore& Core() { return core_; }
  // PlugInPart: the module's settings and its PlugInSerialOnly.
  bool SetSetting(const std::string& name, const std::string& value) override {
    return core_.SetSetting(name, value);
  }
  std::vector<std::pair<std::string, std::string>> Settings() override { return core_.Settings(); }
  bool SerialOnly() const override { return core_.Record().SerialOnly; }

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }

 private:
  explicit PlugInSetup(const TPlugIns& record) : core_(record) {}
  void Hook(void (*hook)(void*, ZavuvStrategy*), Strategy& strategy);
  PlugInCore core_;
};

// The plug-in part of a component, or null for a built-in one (or none).
PlugInCore* PlugInCoreOf(Published* component);

// The selector items of a record.
BetPlugIn MakeBetPlugIn(const TPlugIns& record);
SetupPlugIn MakeSetupPlugIn(const TPlugIns& record);

}  // namespace zavuv
