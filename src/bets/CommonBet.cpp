#include "bets/CommonBet.h"

#include "contracts/BaseStrategy.h"

namespace zavuv {

CommonBet::~CommonBet() = default;

const PublishedClass& CommonBet::StaticClass() {
  // The contract's own entries call the virtual operations, so a class that does not
  // publish an override of its own is still reached through its override.
  static PublishedClass info(
      "CommonBet", &Published::StaticClass(),
      {{"Prepare", [](Published& self, PubArgs) -> PubValue {
          static_cast<CommonBet&>(self).Prepare();
          return {};
        }},
       {"Restart", [](Published& self, PubArgs) -> PubValue {
          static_cast<CommonBet&>(self).Restart();
          return {};
        }},
       {"Finish", [](Published& self, PubArgs) -> PubValue {
          static_cast<CommonBet&>(self).Finish();
          return {};
        }},
       {"GetBet", [](Published& self, PubArgs args) -> PubValue {
          return static_cast<CommonBet&>(self).GetBet(ArgAs<BaseStrategy>(args, 0));
        }},
       {"GetBetAmount", [](Published& self, PubArgs args) -> PubValue {
          return static_cast<CommonBet&>(self).GetBetAmount(ArgAs<BaseStrategy>(args, 0));
        }},
       {"AddGameResult", [](Published& self, PubArgs args) -> PubValue {
          static_cast<CommonBet&>(self).AddGameResult(ArgChar(args, 0));
          return {};
        }}});
  static const bool direct = [] {
    info.PublishDirect("GetBet", reinterpret_cast<PubDirect>(static_cast<DirectGetBet>(
                                     [](CommonBet& self, BaseStrategy& strategy) { return self.GetBet(strategy); })));
    info.PublishDirect("GetBetAmount", reinterpret_cast<PubDirect>(static_cast<DirectGetBetAmount>(
                                           [](CommonBet& self, BaseStrategy& strategy) { return self.GetBetAmount(strategy); })));
    return true;
  }();
  (void)direct;
  return info;
}

}  // namespace zavuv
