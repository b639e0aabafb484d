// The contract of every bet component (bet methods, bet amount methods, their two
// selectors and the plug-in components): six operations in a fixed order, each also
// published under its name so that a selector or a plug-in can call it by name.
#pragma once

#include <cstdint>
#include <type_traits>

#include "contracts/Published.h"

namespace zavuv {

class BaseStrategy;
struct StrategyHost;

class CommonBet : public Published {
 public:
  ~CommonBet() override;

  virtual void Prepare() {}
  virtual void Restart() {}
  virtual void Finish() {}
  // "B", "P" or a blank for no bet.
  virtual char GetBet(BaseStrategy& strategy) { return ' '; }
  virtual std::int32_t GetBetAmount(BaseStrategy& strategy) { return 0; }
  virtual void AddGameResult(char result) {}

  // Whether the component's own tables differ from what was last read or saved, or
  // from its defaults when it has neither been read nor saved; what a switch of
  // component would throw away. Components without tables are never modified.
  virtual bool Modified() const { return false; }
  // Takes the tables as they are as the saved state (a strategy set read or saved).
  virtual void MarkUnchanged() {}

  // The main window, handed on by the selector that made the component.
  StrategyHost* MainForm = nullptr;
  void SetMainForm(StrategyHost* mainForm) { MainForm = mainForm; }
  // The strategy whose selector made the component (null while it stands alone).
  BaseStrategy* OwnerStrategy = nullptr;

  static const PublishedClass& StaticClass();
  const PublishedClass& ClassInfo() const override { return StaticClass(); }
};

// The plain functions of GetBet and GetBetAmount (PublishedClass::PublishDirect): the
// component and the strategy, already known to be a BaseStrategy.
using DirectGetBet = char (*)(CommonBet& self, BaseStrategy& strategy);
using DirectGetBetAmount = std::int32_t (*)(CommonBet& self, BaseStrategy& strategy);

// The operations of the contract that a derived class publishes its own versions of,
// named at the call: {.Prepare = true, .GetBet = true}.
struct BetOverrides {
  bool Prepare = false;
  bool Restart = false;
  bool Finish = false;
  bool GetBet = false;
  bool GetBetAmount = false;
  bool AddGameResult = false;
};

// Builds the table of a class derived from CommonBet that publishes its own versions
// of some of the six operations: each entry calls the class's own function, not the
// virtual one, so that a lookup by name reaches exactly the most derived publisher.
// Name the operations the class overrides.
template <class T, class S = BaseStrategy>
void PublishBetOverrides(PublishedClass& info, BetOverrides overrides) {
  if (overrides.Prepare)
    info.Publish("Prepare", [](Published& self, PubArgs) -> PubValue {
      static_cast<T&>(self).T::Prepare();
      return {};
    });
  if (overrides.Restart)
    info.Publish("Restart", [](Published& self, PubArgs) -> PubValue {
      static_cast<T&>(self).T::Restart();
      return {};
    });
  if (overrides.Finish)
    info.Publish("Finish", [](Published& self, PubArgs) -> PubValue {
      static_cast<T&>(self).T::Finish();
      return {};
    });
  if (overrides.GetBet) {
    info.Publish("GetBet", [](Published& self, PubArgs args) -> PubValue {
      return static_cast<T&>(self).T::GetBet(ArgAs<S>(args, 0));
    });
    if constexpr (std::is_same_v<S, BaseStrategy>)
      info.PublishDirect("GetBet", reinterpret_cast<PubDirect>(static_cast<DirectGetBet>(
                                       [](CommonBet& self, BaseStrategy& strategy) -> char {
                                         return static_cast<T&>(self).T::GetBet(strategy);
                                       })));
  }
  if (overrides.GetBetAmount) {
    info.Publish("GetBetAmount", [](Published& self, PubArgs args) -> PubValue {
      return static_cast<T&>(self).T::GetBetAmount(ArgAs<S>(args, 0));
    });
    if constexpr (std::is_same_v<S, BaseStrategy>)
      info.PublishDirect("GetBetAmount", reinterpret_cast<PubDirect>(static_cast<DirectGetBetAmount>(
                                             [](CommonBet& self, BaseStrategy& strategy) -> std::int32_t {
                                               return static_cast<T&>(self).T::GetBetAmount(strategy);
                                             })));
  }
  if (overrides.AddGameResult)
    info.Publish("AddGameResult", [](Published& self, PubArgs args) -> PubValue {
      static_cast<T&>(self).T::AddGameResult(ArgChar(args, 0));
      return {};
    });
}

}  // namespace zavuv
