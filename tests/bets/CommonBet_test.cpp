#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bets/CommonBet.h"
#include "contracts/BaseStrategy.h"

using namespace zavuv;

namespace {

// Answers every operation of the contract and writes down which one ran.
struct Own : CommonBet {
  std::string ran;
  void Prepare() override { ran += "Own.Prepare "; }
  void Restart() override { ran += "Own.Restart "; }
  void Finish() override { ran += "Own.Finish "; }
  char GetBet(BaseStrategy&) override {
    ran += "Own.GetBet ";
    return 'B';
  }
  std::int32_t GetBetAmount(BaseStrategy&) override {
    ran += "Own.GetBetAmount ";
    return 100;
  }
  void AddGameResult(char) override { ran += "Own.AddGameResult "; }
};

// Overrides all of them again: a published entry of Own must not reach these.
struct Later : Own {
  void Prepare() override { ran += "Later "; }
  void Restart() override { ran += "Later "; }
  void Finish() override { ran += "Later "; }
  char GetBet(BaseStrategy&) override {
    ran += "Later ";
    return 'P';
  }
  std::int32_t GetBetAmount(BaseStrategy&) override {
    ran += "Later ";
    return 7;
  }
  void AddGameResult(char) override { ran += "Later "; }
};

}  // namespace

TEST(PublishBetOverrides, EachNamedOperationIsPublishedAloneAndCallsTheClassItsOwn) {
  struct Case {
    BetOverrides overrides;
    std::string name;
  };
  const std::vector<Case> cases = {{{.Prepare = true}, "Prepare"},
                                   {{.Restart = true}, "Restart"},
                                   {{.Finish = true}, "Finish"},
                                   {{.GetBet = true}, "GetBet"},
                                   {{.GetBetAmount = true}, "GetBetAmount"},
                                   {{.AddGameResult = true}, "AddGameResult"}};
  BaseStrategy strategy;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PublishedClass info("Own", &CommonBet::StaticClass());
    PublishBetOverrides<Own>(info, c.overrides);
    EXPECT_EQ(info.OwnNames(), std::vector<std::string>{c.name});

    Later later;
    const PubOperation* op = info.FindOwn(c.name);
    ASSERT_NE(op, nullptr);
    // GetBet and GetBetAmount take the strategy, AddGameResult the result; the rest
    // ignore what they are given.
    PubValue arg = c.name == "AddGameResult" ? PubValue('B') : PubValue(static_cast<Published*>(&strategy));
    (*op)(later, PubArgs(&arg, 1));
    EXPECT_EQ(later.ran, "Own." + c.name + " ");
  }
}

TEST(PublishBetOverrides, NothingNamedPublishesNothing) {
  PublishedClass info("Own", &CommonBet::StaticClass());
  PublishBetOverrides<Own>(info, {});
  EXPECT_TRUE(info.OwnNames().empty());
  // Every operation is still reached through the contract's own entries.
  EXPECT_EQ(info.Find("Finish"), CommonBet::StaticClass().FindOwn("Finish"));
}

TEST(PublishBetOverrides, ThePlainFunctionsOfGetBetAndGetBetAmountCallTheClassItsOwn) {
  PublishedClass info("Own", &CommonBet::StaticClass());
  PublishBetOverrides<Own>(info, {.GetBet = true, .GetBetAmount = true});
  EXPECT_EQ(info.OwnNames(), (std::vector<std::string>{"GetBet", "GetBetAmount"}));
  BaseStrategy strategy;
  Later later;
  auto getBet = reinterpret_cast<DirectGetBet>(info.FindDirect("GetBet"));
  auto getBetAmount = reinterpret_cast<DirectGetBetAmount>(info.FindDirect("GetBetAmount"));
  ASSERT_TRUE(getBet && getBetAmount);
  EXPECT_EQ(getBet(later, strategy), 'B');
  EXPECT_EQ(getBetAmount(later, strategy), 100);
  EXPECT_EQ(later.ran, "Own.GetBet Own.GetBetAmount ");
}
