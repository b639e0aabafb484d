#include "strategy/CommonAdditionalSetup.h"

#include "strategy/Strategy.h"

namespace zavuv {

CommonAdditionalSetup::~CommonAdditionalSetup() = default;

namespace {

template <void (CommonAdditionalSetup::*Hook)(Strategy&)>
PubValue CallHook(Published& self, PubArgs args) {
  (static_cast<CommonAdditionalSetup&>(self).*Hook)(ArgAs<Strategy>(args, 0));
  return {};
}

}  // namespace

const PublishedClass& CommonAdditionalSetup::StaticClass() {
  static const PublishedClass info(
      "CommonAdditionalSetup", &Published::StaticClass(),
      {{"Prepare", [](Published& self, PubArgs) -> PubValue {
          static_cast<CommonAdditionalSetup&>(self).Prepare();
          return {};
        }},
       {"NewShoe", CallHook<&CommonAdditionalSetup::NewShoe>},
       {"BeforeAnalysisGame", CallHook<&CommonAdditionalSetup::BeforeAnalysisGame>},
       {"AfterGetBet", CallHook<&CommonAdditionalSetup::AfterGetBet>},
       {"AfterGetBetAmount", CallHook<&CommonAdditionalSetup::AfterGetBetAmount>},
       {"AfterCalProfit", CallHook<&CommonAdditionalSetup::AfterCalProfit>},
       {"AfterMakeRecord", CallHook<&CommonAdditionalSetup::AfterMakeRecord>}});
  return info;
}

}  // namespace zavuv
