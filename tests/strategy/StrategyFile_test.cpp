#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "StrategyTestKit.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodPattern.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"
#include "strategy/StrategyFile.h"
#include "table/Big5.h"

using namespace zavuv;
using namespace zavuv::testkit;

namespace {

std::string ErrorOf(const std::string& text, const std::string& folder = "") {
  try {
    ParseStrategySet(text, folder);
  } catch (const StrategyFileError& e) {
    return e.what();
  }
  return "(accepted)";
}

}  // namespace

TEST(StrategyFile, ReadsEveryKindAndTheDefaults) {
  StrategySet set = ParseStrategySet(R"({
    "road_settings": {"beads": [6, 4, 20], "ignore_ties": [false, true, false]},
    "strategies": [
      {"name": "策略1", "use": false, "road": 2, "restart_method_each_shoe": false,
       "method": {"kind": "pattern", "rows": [["ppp", "b"], ["BPPP", ""]], "info": "說明"},
       "amount": {"kind": "level", "rows": [100, 200], "win_move": 2, "lose_move": -1},
       "setups": [{"kind": "start-bet"},
                  {"kind": "risk", "apply": "whole", "take_profit": 1000, "stop_loss": 0},
                  {"kind": "group", "games": 3, "include_tie": true},
                  {"kind": "continuous-win", "wins": 4}]},
      {"method": {"kind": "loop", "text": "BXP", "unchanged_next_to_tie": false},
       "amount": {"kind": "anti-cancel", "rows": [100], "pair": "first-second", "break": 0, "limit": -1}},
      {"amount": {"kind": "flat", "stake": 250}},
      {"amount": {"kind": "double"}}]})",
                                     "");
  EXPECT_EQ(set.Roads.beads[1], 4);
  EXPECT_TRUE(set.Roads.ignoreTies[1]);
  ASSERT_EQ(set.Strategies.size(), 4u);
  Strategy& a = *set.Strategies[0];
  EXPECT_EQ(a.StrategyName, "策略1");
  EXPECT_FALSE(a.Use);
  EXPECT_EQ(a.RoadIndex, 2);
  EXPECT_FALSE(a.BetMethodEach());
  EXPECT_TRUE(a.BetAmountEach());
  auto& pattern = MethodOf<BetMethodPattern>(a);
  ASSERT_EQ(pattern.Table().RecordCount(), 2);
  EXPECT_EQ(AsString(pattern.Table().GetValue(0, 0)), "PPP");
  EXPECT_EQ(AsString(pattern.Table().GetValue(0, 1)), "B");
  EXPECT_EQ(Big5ToUtf8(pattern.Info), "說明");
  auto& level = AmountOf<BetAmountLevel>(a);
  EXPECT_EQ(level.Table().RecordCount(), 2);
  EXPECT_EQ(level.WinLevelMove, 2);
  ASSERT_EQ(a.AdditionalSetups.size(), 4u);
  auto* risk = a.AdditionalSetups[1]->ComponentAs<AdditionalSetupTakeProfitStopLoss>();
  ASSERT_NE(risk, nullptr);
  EXPECT_EQ(risk->RadioGroupApply, AdditionalSetupTakeProfitStopLoss::kWhole);
  EXPECT_EQ(risk->TakeProfit, 1000);
  EXPECT_EQ(risk->StopLoss, 0);
  EXPECT_EQ(risk->Rise, 50000);   // omitted keys keep the defaults
  EXPECT_TRUE(a.AdditionalSetups[2]->ComponentAs<AdditionalSetupGroup>()->IncludeTie);

  Strategy& b = *set.Strategies[1];
  EXPECT_EQ(b.StrategyName, "策略2");   // named like a new page
  EXPECT_EQ(MethodOf<BetMethodLoop>(b).LoopText, "BXP");
  EXPECT_EQ(b.FrameBetAmount.ItemIndex(), BetAmount::kAntiCancel);
  EXPECT_EQ(AmountOf<BetAmountCancel>(b).BetAmountNoType, BetAmountCancel::kFirstAndSecond);
  EXPECT_EQ(AmountOf<BetAmountCancel>(b).UpperLimit, -1);
  EXPECT_EQ(set.Strategies[2]->FrameBetMethod.ItemIndex(), BetMethod::kPattern);   // the default method
  EXPECT_EQ(MethodOf<BetMethodPattern>(*set.Strategies[2]).Table().RecordCount(), 21);
  EXPECT_EQ(AmountOf<BetAmountFlat>(*set.Strategies[2]).FlatBet, 250);
  EXPECT_EQ(set.Strategies[3]->FrameBetAmount.ItemIndex(), BetAmount::kDouble);

  // Written and read back, the set is the same.
  std::vector<const Strategy*> list;
  for (auto& s : set.Strategies) list.push_back(s.get());
  std::string text = FormatStrategySet(set.Roads, list);
  StrategySet back = ParseStrategySet(text, "");
  std::vector<const Strategy*> backList;
  for (auto& s : back.Strategies) backList.push_back(s.get());
  EXPECT_EQ(FormatStrategySet(back.Roads, backList), text);
}

TEST(StrategyFile, RefusesBadInputNamingThePlace) {
  EXPECT_EQ(ErrorOf(R"({"strategies": [{}, {"amount": {"kind": "foo"}}]})"),
            "strategies[1].amount.kind: 不明的 kind \"foo\" (level、flat、cancel、anti-cancel、double 或 plugin)");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"road": 7}]})"), "strategies[0].road: 7 超出範圍 (0 至 6)");
  // A number no double can hold (found by fuzzing: it escaped as the JSON library's own error).
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"road": 2e3354}]})"), "此檔案不是策略組合 (JSON 中的數字太大)");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"road": 1.5}]})"), "strategies[0].road: 應為整數");
  EXPECT_EQ(ErrorOf(R"({"road_settings": {"beads": [6, 0, 6]}})"), "road_settings.beads[1]: 0 超出範圍 (1 至 20)");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"setups": [{"kind": "group", "games": 21}]}]})"),
            "strategies[0].setups[0].games: 21 超出範圍 (1 至 20)");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"setups": [{"kind": "risk", "stop_loss": 5}]}]})"),
            "strategies[0].setups[0].stop_loss: 5 超出範圍 (-10000000 至 0)");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"amount": {"kind": "flat", "stake": 3000000000}}]})"),
            "strategies[0].amount.stake: 3000000000 超出範圍 (-2147483648 至 2147483647)");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"method": {"kind": "pattern", "rows": [["PP", "T"]]}}]})"),
            "strategies[0].method.rows[0][1]: 下注應為 \"B\"、\"P\" 或 \"\" (不下注), 不是 \"T\"");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"usee": true}]})"), "strategies[0].usee: 不明的項目");
  EXPECT_EQ(ErrorOf(R"({"strategies": [{"amount": {"kind": "cancel", "pair": "last"}}]})"),
            "strategies[0].amount.pair: 不明的 pair \"last\" (first-last 或 first-second)");
  EXPECT_EQ(ErrorOf("[1, 2]"), "此檔案不是策略組合");
  EXPECT_EQ(ErrorOf(R"([{"name": "S1", "result": "BP", "info": ""}])"), "此檔案不是策略組合 (它是靴資料)");
  EXPECT_EQ(ErrorOf("{\n\"strategies\": ["), "此檔案不是策略組合 (JSON 格式錯誤, 第 2 行)");
  EXPECT_NE(ErrorOf(R"({"strategies": [{"method": {"kind": "pattern", "file": "none.MED"}}]})", "/nonexistent")
                .find("strategies[0].method.file: \"none.MED\": "),
            std::string::npos);
}

TEST(StrategyFile, TableFilesAreFoundBesideTheStrategyFile) {
  namespace fs = std::filesystem;
  fs::path folder = fs::path(::testing::TempDir()) / "zavuv_set";
  fs::create_directories(folder);
  BetMethodPattern pattern;
  pattern.Table().EmptyDataSet();
  pattern.Table().AppendRow({std::string("BB"), std::string("P")});
  pattern.SaveBet((folder / "x.MED").string());
  BetAmountLevel level;
  level.Table().EmptyDataSet();
  level.Table().AppendRow({123});
  level.SaveAmt((folder / "x.AMT").string());
  std::ofstream((folder / "set.json").string())
      << R"({"strategies": [{"method": {"kind": "pattern", "file": "x.MED"},
                             "amount": {"kind": "level", "file": "x.AMT"}}]})";
  StrategySet set = ReadStrategySet((folder / "set.json").string());
  ASSERT_EQ(set.Strategies.size(), 1u);
  EXPECT_EQ(MethodOf<BetMethodPattern>(*set.Strategies[0]).Table().RecordCount(), 1);
  EXPECT_EQ(AsInteger(AmountOf<BetAmountLevel>(*set.Strategies[0]).Table().GetValue(0, 0)), 123);
  fs::remove_all(folder);
}

TEST(BacktestCommand, PrintsTheCombinedAndStrategyResults) {
  namespace fs = std::filesystem;
  fs::path folder = fs::path(::testing::TempDir()) / "zavuv_cli";
  fs::create_directories(folder);
  std::ofstream((folder / "shoes.json").string())
      << R"([{"name": "S1", "result": "BBPTPB", "info": ""}, {"name": "靴二", "result": "BBP", "info": ""}])";
  std::ofstream((folder / "set.json").string())
      << R"({"strategies": [{"name": "A", "method": {"kind": "loop", "text": "B"}, "amount": {"kind": "flat", "stake": 100}},
                            {"name": "B", "method": {"kind": "loop", "text": "P"}, "amount": {"kind": "flat", "stake": 60},
                             "setups": [{"kind": "group", "games": 2}]}]})";
  std::string out = (folder / "out.json").string();
  std::string command = std::string(ZAVUV_CLI) + " backtest " + (folder / "shoes.json").string() + " " +
                        (folder / "set.json").string() + " --rows all --from 靴二 > " + out;
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(out);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(R"("combined":[["靴二",1,"B",40,"B",38,38],["靴二",2,"B",40,"B",38,76],)"), std::string::npos)
      << text;
  EXPECT_NE(text.find(R"([null,null,null,null,null,null,null])"), std::string::npos);
  EXPECT_NE(text.find(R"("win_lose_points":[0,1,2,1])"), std::string::npos);

  std::string bad = std::string(ZAVUV_CLI) + " backtest " + (folder / "shoes.json").string() + " " +
                    (folder / "shoes.json").string() + " 2> " + out;
  EXPECT_NE(std::system(bad.c_str()), 0);
  fs::remove_all(folder);
}
