#include "strategy/StrategyFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "bets/BetAmountAntiCancel.h"
#include "bets/BetAmountCancel.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodLoop.h"
#include "bets/BetMethodPattern.h"
#include "strategy/AdditionalSetupContinuousWin.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupStartBet.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/StrategyPlugIns.h"
#include "table/Big5.h"
#include "table/FileIo.h"

namespace zavuv {

namespace {

using nlohmann::json;
using ordered = nlohmann::ordered_json;

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw StrategyFileError(where + ": " + what);
}

std::string Quote(const std::string& text) { return json(text).dump(-1, ' ', false, json::error_handler_t::replace); }

std::string Join(const std::string& where, const std::string& key) { return where.empty() ? key : where + "." + key; }

// Reading one JSON object with the keys it may have.
class Obj {
 public:
  Obj(const json& j, std::string where, std::initializer_list<const char*> keys) : j_(j), where_(std::move(where)) {
    if (!j.is_object()) Fail(where_.empty() ? "document" : where_, "應為物件");
    for (const auto& item : j.items()) {
      bool known = false;
      for (const char* k : keys) known = known || item.key() == k;
      if (!known) Fail(Join(where_, item.key()), "不明的項目");
    }
  }

  const std::string& Where() const { return where_; }
  std::string At(const char* key) const { return Join(where_, key); }
  bool Has(const char* key) const { return j_.contains(key); }
  const json& operator[](const char* key) const { return j_.at(key); }

  bool Bool(const char* key, bool fallback) const {
    if (!Has(key)) return fallback;
    if (!j_.at(key).is_boolean()) Fail(At(key), "應為 true 或 false");
    return j_.at(key).get<bool>();
  }

  std::int64_t Int(const char* key, std::int64_t fallback, std::int64_t min, std::int64_t max) const {
    if (!Has(key)) return fallback;
    return IntValue(j_.at(key), At(key), min, max);
  }

  std::string Text(const char* key, const std::string& fallback) const {
    if (!Has(key)) return fallback;
    if (!j_.at(key).is_string()) Fail(At(key), "應為文字");
    return j_.at(key).get<std::string>();
  }

  static std::int64_t IntValue(const json& v, const std::string& where, std::int64_t min, std::int64_t max) {
    std::int64_t n = 0;
    if (v.is_number_integer() && !v.is_number_unsigned()) n = v.get<std::int64_t>();
    else if (v.is_number_unsigned() && v.get<std::uint64_t>() <= static_cast<std::uint64_t>(kInt32Max) * 4)
      n = static_cast<std::int64_t>(v.get<std::uint64_t>());
    else if (v.is_number_unsigned()) n = std::numeric_limits<std::int64_t>::max();
    else Fail(where, "應為整數");
    if (n < min || n > max)
      Fail(where, std::to_string(n) + " 超出範圍 (" + std::to_string(min) + " 至 " + std::to_string(max) + ")");
    return n;
  }

 private:
  const json& j_;
  std::string where_;
};

std::string PathFrom(const std::string& folder, const std::string& file) {
  std::filesystem::path p(file);
  if (p.is_absolute() || folder.empty()) return file;
  return (std::filesystem::path(folder) / p).string();
}

template <class F>
void FromFile(const Obj& o, const std::string& folder, F read) {
  std::string file = o.Text("file", "");
  std::string path = PathFrom(folder, file);
  try {
    read(path);
  } catch (const std::exception& e) {
    Fail(o.At("file"), Quote(file) + ": " + e.what());
  }
}

void ReadPattern(const Obj& o, BetMethodPattern& m, const std::string& folder) {
  if (o.Has("file") && o.Has("rows")) Fail(o.Where(), "\"rows\" 與 \"file\" 只可擇一");
  if (o.Has("file")) FromFile(o, folder, [&](const std::string& path) { m.ReadBet(path); });
  if (o.Has("rows")) {
    const json& rows = o["rows"];
    if (!rows.is_array()) Fail(o.At("rows"), "應為 [形態, 下注] 的列表");
    ClientDataSet& table = m.Table();
    table.EmptyDataSet();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::string where = o.At("rows") + "[" + std::to_string(i) + "]";
      const json& row = rows[i];
      if (!row.is_array() || row.size() != 2 || !row[0].is_string() || !row[1].is_string())
        Fail(where, "應為 [形態, 下注] 兩段文字");
      std::string pattern = row[0].get<std::string>();
      std::string bet = row[1].get<std::string>();
      if (pattern.size() > BetMethodPattern::kPatternWidth)
        Fail(where + "[0]", "形態最多 " + std::to_string(BetMethodPattern::kPatternWidth) + " 個字母");
      if (!(bet.empty() || bet == " " || bet == "B" || bet == "P" || bet == "b" || bet == "p"))
        Fail(where + "[1]", "下注應為 \"B\"、\"P\" 或 \"\" (不下注), 不是 " + Quote(bet));
      table.Append();
      table.SetFieldValue("Pattern", pattern);
      table.SetFieldValue("Bet", bet);
      table.Post();
    }
    if (!table.IsEmpty()) table.First();
  }
  if (o.Has("info")) m.Info = Utf8ToBig5(o.Text("info", ""));
}

std::vector<std::int32_t> IntRows(const Obj& o, const char* key) {
  const json& rows = o[key];
  if (!rows.is_array()) Fail(o.At(key), "應為整數的列表");
  std::vector<std::int32_t> out;
  for (std::size_t i = 0; i < rows.size(); ++i)
    out.push_back(static_cast<std::int32_t>(
        Obj::IntValue(rows[i], o.At(key) + "[" + std::to_string(i) + "]", kInt32Min, kInt32Max)));
  return out;
}

// ---- plug-in components: {"kind": "plugin", "description": CAPTION, "settings": {...}} ----

// The position of the plug-in item with that caption among the items, or -1.
int PlugInItem(const std::vector<std::string>& items, int builtIns, const std::string& description) {
  for (std::size_t i = static_cast<std::size_t>(builtIns); i < items.size(); ++i)
    if (items[i] == description) return static_cast<int>(i);
  return -1;
}

std::string PlugInDescription(const Obj& o, const char* what) {
  if (!o.Has("description")) Fail(o.Where(), "外掛模組須以 \"description\" 指明");
  std::string description = o.Text("description", "");
  if (description.empty()) Fail(o.At("description"), "應為" + std::string(what) + "外掛模組的名稱");
  return description;
}

[[noreturn]] void NoPlugIn(const Obj& o, const char* what, const std::string& description) {
  Fail(o.At("description"), "未載入" + std::string(what) + "外掛模組 " + Quote(description));
}

// Makes the plug-in's component (its MakeIt may fail like any of its operations).
template <class F>
void MakePlugIn(const Obj& o, F choose) {
  try {
    choose();
  } catch (const PlugInError& e) {
    Fail(o.At("description"), e.what());
  }
}

void ApplySettings(const Obj& o, Published* component) {
  if (!o.Has("settings")) return;
  const json& settings = o["settings"];
  if (!settings.is_object()) Fail(o.At("settings"), "應為設定的物件");
  PlugInPart* plugIn = PlugInPartOf(component);
  if (!plugIn) {
    if (!settings.empty()) Fail(o.At("settings"), "外掛模組沒有建立接受設定的元件");
    return;
  }
  for (const auto& item : settings.items()) {
    std::string where = o.At("settings") + "." + item.key();
    const json& value = item.value();
    std::string text;
    if (value.is_string()) text = Utf8ToBig5(value.get<std::string>());
    else if (value.is_boolean()) text = value.get<bool>() ? "1" : "0";
    else if (value.is_number()) text = value.dump();
    else Fail(where, "應為文字、數字或 true/false");
    bool taken = false;
    try {
      taken = plugIn->SetSetting(item.key(), text);
    } catch (const std::exception& e) {
      Fail(where, e.what());
    }
    if (!taken) Fail(where, "外掛模組不接受 " + value.dump(-1, ' ', false, json::error_handler_t::replace));
  }
}

bool IsWholeNumber(const std::string& text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  if (i >= text.size() || text.size() - i > 15) return false;
  if (text[i] == '0' && text.size() - i > 1) return false;
  for (; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return text != "-0";
}

ordered PlugInJson(const std::string& description, Published* component) {
  ordered o;
  o["kind"] = "plugin";
  o["description"] = description;
  if (PlugInPart* plugIn = PlugInPartOf(component)) {
    ordered settings = ordered::object();
    for (const auto& [name, value] : plugIn->Settings()) {
      if (IsWholeNumber(value)) settings[name] = std::stoll(value);
      else settings[name] = Big5ToUtf8(value);
    }
    if (!settings.empty()) o["settings"] = settings;
  }
  return o;
}

void FillAmounts(ClientDataSet& table, const std::vector<std::int32_t>& amounts) {
  if (table.State() != DataSetState::Browse) table.Cancel();
  table.EmptyDataSet();
  for (std::int32_t a : amounts) table.AppendRow({a});
  if (!table.IsEmpty()) table.First();
}

void ReadMethod(const json& j, const std::string& where, Strategy& s, const std::string& folder) {
  if (!j.is_object() || !j.contains("kind")) Fail(where, "應為含 \"kind\" 的物件");
  if (!j.at("kind").is_string()) Fail(where + ".kind", "應為文字");
  std::string kind = j.at("kind").get<std::string>();
  if (kind == "pattern") {
    Obj o(j, where, {"kind", "rows", "file", "info"});
    s.SelectBetMethod(BetMethod::kPattern);
    ReadPattern(o, *static_cast<BetMethodPattern*>(s.FrameBetMethod.CurrentComponent()), folder);
  } else if (kind == "loop") {
    Obj o(j, where, {"kind", "text", "unchanged_next_to_tie"});
    s.SelectBetMethod(BetMethod::kLoop);
    auto& m = *static_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent());
    m.LoopText = o.Text("text", m.LoopText);
    m.UnchangeNextToTie = o.Bool("unchanged_next_to_tie", m.UnchangeNextToTie);
  } else if (kind == "plugin") {
    Obj o(j, where, {"kind", "description", "settings"});
    std::string description = PlugInDescription(o, "投注法");
    int item = PlugInItem(s.FrameBetMethod.Items(), s.FrameBetMethod.BuiltInCount(), description);
    if (item < 0) NoPlugIn(o, "投注法", description);
    MakePlugIn(o, [&] { s.SelectBetMethod(item); });
    ApplySettings(o, s.FrameBetMethod.CurrentComponent());
  } else {
    Fail(where + ".kind", "不明的 kind " + Quote(kind) + " (pattern、loop 或 plugin)");
  }
}

void ReadAmount(const json& j, const std::string& where, Strategy& s, const std::string& folder) {
  if (!j.is_object() || !j.contains("kind")) Fail(where, "應為含 \"kind\" 的物件");
  if (!j.at("kind").is_string()) Fail(where + ".kind", "應為文字");
  std::string kind = j.at("kind").get<std::string>();
  if (kind == "level") {
    Obj o(j, where, {"kind", "rows", "file", "win_move", "lose_move", "info"});
    if (o.Has("file") && o.Has("rows")) Fail(where, "\"rows\" 與 \"file\" 只可擇一");
    s.SelectBetAmount(BetAmount::kLevel);
    auto& m = *static_cast<BetAmountLevel*>(s.FrameBetAmount.CurrentComponent());
    if (o.Has("file")) FromFile(o, folder, [&](const std::string& path) { m.ReadAmt(path); });
    if (o.Has("rows")) FillAmounts(m.Table(), IntRows(o, "rows"));
    m.WinLevelMove = static_cast<std::int32_t>(o.Int("win_move", m.WinLevelMove, kInt32Min, kInt32Max));
    m.LoseLevelMove = static_cast<std::int32_t>(o.Int("lose_move", m.LoseLevelMove, kInt32Min, kInt32Max));
    if (o.Has("info")) m.Info = Utf8ToBig5(o.Text("info", ""));
  } else if (kind == "flat") {
    Obj o(j, where, {"kind", "stake"});
    s.SelectBetAmount(BetAmount::kFlat);
    auto& m = *static_cast<BetAmountFlat*>(s.FrameBetAmount.CurrentComponent());
    m.FlatBet = static_cast<std::int32_t>(o.Int("stake", m.FlatBet, kInt32Min, kInt32Max));
  } else if (kind == "cancel" || kind == "anti-cancel") {
    Obj o(j, where, {"kind", "rows", "pair", "break", "limit"});
    s.SelectBetAmount(kind == "cancel" ? BetAmount::kCancel : BetAmount::kAntiCancel);
    auto& m = *static_cast<BetAmountCancel*>(s.FrameBetAmount.CurrentComponent());
    if (o.Has("rows")) FillAmounts(m.Table(), IntRows(o, "rows"));
    std::string pair = o.Text("pair", "first-last");
    if (pair == "first-last") m.BetAmountNoType = BetAmountCancel::kFirstAndLast;
    else if (pair == "first-second") m.BetAmountNoType = BetAmountCancel::kFirstAndSecond;
    else Fail(o.At("pair"), "不明的 pair " + Quote(pair) + " (first-last 或 first-second)");
    m.Largest = static_cast<std::int32_t>(o.Int("break", m.Largest, kInt32Min, kInt32Max));
    m.UpperLimit = static_cast<std::int32_t>(o.Int("limit", m.UpperLimit, kInt32Min, kInt32Max));
  } else if (kind == "double") {
    Obj o(j, where, {"kind"});
    s.SelectBetAmount(BetAmount::kDouble);
  } else if (kind == "plugin") {
    Obj o(j, where, {"kind", "description", "settings"});
    std::string description = PlugInDescription(o, "注碼法");
    int item = PlugInItem(s.FrameBetAmount.Items(), s.FrameBetAmount.BuiltInCount(), description);
    if (item < 0) NoPlugIn(o, "注碼法", description);
    MakePlugIn(o, [&] { s.SelectBetAmount(item); });
    ApplySettings(o, s.FrameBetAmount.CurrentComponent());
  } else {
    Fail(where + ".kind", "不明的 kind " + Quote(kind) + " (level、flat、cancel、anti-cancel、double 或 plugin)");
  }
}

void ReadSetup(const json& j, const std::string& where, Strategy& s) {
  if (!j.is_object() || !j.contains("kind")) Fail(where, "應為含 \"kind\" 的物件");
  if (!j.at("kind").is_string()) Fail(where + ".kind", "應為文字");
  std::string kind = j.at("kind").get<std::string>();
  if (kind == "plugin") {
    Obj o(j, where, {"kind", "description", "settings"});
    std::string description = PlugInDescription(o, "附加設定");
    std::vector<std::string> items = AdditionalSetup::BuiltInItems();
    for (const SetupPlugIn& p : s.SetupPlugIns) items.push_back(p.Description);
    int item = PlugInItem(items, static_cast<int>(AdditionalSetup::BuiltInItems().size()), description);
    if (item < 0) NoPlugIn(o, "附加設定", description);
    AdditionalSetup& setup = s.CreateSetup();
    MakePlugIn(o, [&] { setup.ComboBoxSelectChange(item); });
    ApplySettings(o, setup.CurrentSetup());
    return;
  }
  int item = kind == "start-bet" ? AdditionalSetup::kStartBet
             : kind == "risk"    ? AdditionalSetup::kTakeProfitStopLoss
             : kind == "group"   ? AdditionalSetup::kGroup
             : kind == "continuous-win" ? AdditionalSetup::kContinuousWin
                                        : -1;
  if (item < 0)
    Fail(where + ".kind", "unknown kind " + Quote(kind) + " (start-bet, risk, group, continuous-win or plugin)");
  // Check the whole entry before the setup is added.
  std::unique_ptr<Obj> o;
  if (item == AdditionalSetup::kStartBet) o = std::make_unique<Obj>(j, where, std::initializer_list<const char*>{"kind"});
  if (item == AdditionalSetup::kTakeProfitStopLoss)
    o = std::make_unique<Obj>(j, where, std::initializer_list<const char*>{
                                            "kind", "apply", "take_profit", "stop_loss", "rise", "fall", "restart_amount"});
  if (item == AdditionalSetup::kGroup)
    o = std::make_unique<Obj>(j, where, std::initializer_list<const char*>{"kind", "games", "include_tie",
                                                                           "restart_method", "restart_amount"});
  if (item == AdditionalSetup::kContinuousWin)
    o = std::make_unique<Obj>(j, where, std::initializer_list<const char*>{"kind", "wins"});

  AdditionalSetup& setup = s.CreateSetup();
  setup.ComboBoxSelectChange(item);
  if (auto* r = setup.ComponentAs<AdditionalSetupTakeProfitStopLoss>()) {
    std::string apply = o->Text("apply", "each-shoe");
    if (apply == "each-shoe") r->RadioGroupApply = AdditionalSetupTakeProfitStopLoss::kEachShoe;
    else if (apply == "whole") r->RadioGroupApply = AdditionalSetupTakeProfitStopLoss::kWhole;
    else Fail(o->At("apply"), "unknown value " + Quote(apply) + " (each-shoe or whole)");
    r->TakeProfit = static_cast<std::int32_t>(o->Int("take_profit", r->TakeProfit, 0, 10000000));
    r->StopLoss = static_cast<std::int32_t>(o->Int("stop_loss", r->StopLoss, -10000000, 0));
    r->Rise = static_cast<std::int32_t>(o->Int("rise", r->Rise, 0, 10000000));
    r->Fall = static_cast<std::int32_t>(o->Int("fall", r->Fall, 0, 10000000));
    r->RestartBetAmount = o->Bool("restart_amount", r->RestartBetAmount);
  } else if (auto* g = setup.ComponentAs<AdditionalSetupGroup>()) {
    g->UnitNoOfGame = static_cast<std::int32_t>(o->Int("games", g->UnitNoOfGame, 1, 20));
    g->IncludeTie = o->Bool("include_tie", g->IncludeTie);
    g->RestartBetMethod = o->Bool("restart_method", g->RestartBetMethod);
    g->RestartBetAmount = o->Bool("restart_amount", g->RestartBetAmount);
  } else if (auto* c = setup.ComponentAs<AdditionalSetupContinuousWin>()) {
    c->ConWin = static_cast<std::int32_t>(o->Int("wins", c->ConWin, 2, 20));
  }
}

std::unique_ptr<Strategy> ReadStrategy(const json& j, const std::string& where, const std::string& folder,
                                       StrategyHost* host, const StrategyPlugIns* plugIns,
                                       const std::vector<std::string>& namesSoFar) {
  Obj o(j, where, {"name", "use", "road", "restart_method_each_shoe", "restart_amount_each_shoe", "method",
                   "amount", "setups"});
  std::string name = o.Has("name") ? o.Text("name", "") : MultiStrategyAnalysis::NextStrategyName(namesSoFar);
  auto s = MultiStrategyAnalysis::CreateStrategy(host, name, BetMethod::kPattern, BetAmount::kLevel, plugIns);
  s->Use = o.Bool("use", true);
  s->RoadIndex = static_cast<int>(o.Int("road", 0, 0, BaseStrategy::kRoadCount - 1));
  s->SetBetMethodEach(o.Bool("restart_method_each_shoe", true));
  s->SetBetAmountEach(o.Bool("restart_amount_each_shoe", true));
  if (o.Has("method")) ReadMethod(o["method"], o.At("method"), *s, folder);
  if (o.Has("amount")) ReadAmount(o["amount"], o.At("amount"), *s, folder);
  if (o.Has("setups")) {
    const json& setups = o["setups"];
    if (!setups.is_array()) Fail(o.At("setups"), "應為列表");
    for (std::size_t i = 0; i < setups.size(); ++i)
      ReadSetup(setups[i], o.At("setups") + "[" + std::to_string(i) + "]", *s);
  }
  return s;
}

void ReadRoadSettings(const json& j, RoadSettings& roads) {
  Obj o(j, "road_settings", {"beads", "ignore_ties"});
  if (o.Has("beads")) {
    const json& beads = o["beads"];
    if (!beads.is_array() || beads.size() != 3) Fail(o.At("beads"), "應為三個整數");
    for (int i = 0; i < 3; ++i)
      roads.beads[i] = static_cast<int>(Obj::IntValue(beads[i], o.At("beads") + "[" + std::to_string(i) + "]",
                                                         RoadSettings::kMinBeads, RoadSettings::kMaxBeads));
  }
  if (o.Has("ignore_ties")) {
    const json& ties = o["ignore_ties"];
    if (!ties.is_array() || ties.size() != 3) Fail(o.At("ignore_ties"), "應為三個 true 或 false");
    for (int i = 0; i < 3; ++i) {
      if (!ties[i].is_boolean()) Fail(o.At("ignore_ties") + "[" + std::to_string(i) + "]", "應為 true 或 false");
      roads.ignoreTies[i] = ties[i].get<bool>();
    }
  }
}

// ---- writing ----

ordered MethodJson(const Strategy& s) {
  ordered m;
  CommonBet* c = s.FrameBetMethod.CurrentComponent();
  if (int item = s.FrameBetMethod.ItemIndex(); item >= 0 && s.FrameBetMethod.IsPlugInItem(item))
    return PlugInJson(s.FrameBetMethod.Items()[static_cast<std::size_t>(item)], c);
  if (auto* p = dynamic_cast<BetMethodPattern*>(c)) {
    m["kind"] = "pattern";
    ordered rows = ordered::array();
    const ClientDataSet& t = p->Table();
    for (int r = 0; r < t.RecordCount(); ++r)
      rows.push_back({AsString(t.GetValue(r, 0)), AsString(t.GetValue(r, 1))});
    m["rows"] = rows;
    m["info"] = Big5ToUtf8(p->Info);
  } else if (auto* l = dynamic_cast<BetMethodLoop*>(c)) {
    m["kind"] = "loop";
    m["text"] = l->LoopText;
    m["unchanged_next_to_tie"] = l->UnchangeNextToTie;
  } else {
    throw StrategyFileError("策略 " + Quote(s.StrategyName) + ": 其投注法無法存入檔案");
  }
  return m;
}

ordered AmountRows(const ClientDataSet& t) {
  ordered rows = ordered::array();
  for (int r = 0; r < t.RecordCount(); ++r) rows.push_back(AsInteger(t.GetValue(r, 0)));
  return rows;
}

ordered AmountJson(const Strategy& s) {
  ordered a;
  CommonBet* c = s.FrameBetAmount.CurrentComponent();
  if (int item = s.FrameBetAmount.ItemIndex(); item >= 0 && s.FrameBetAmount.IsPlugInItem(item))
    return PlugInJson(s.FrameBetAmount.Items()[static_cast<std::size_t>(item)], c);
  if (auto* l = dynamic_cast<BetAmountLevel*>(c)) {
    a["kind"] = "level";
    a["rows"] = AmountRows(l->Table());
    a["win_move"] = l->WinLevelMove;
    a["lose_move"] = l->LoseLevelMove;
    a["info"] = Big5ToUtf8(l->Info);
  } else if (auto* f = dynamic_cast<BetAmountFlat*>(c)) {
    a["kind"] = "flat";
    a["stake"] = f->FlatBet;
  } else if (auto* x = dynamic_cast<BetAmountCancel*>(c)) {
    a["kind"] = dynamic_cast<BetAmountAntiCancel*>(c) ? "anti-cancel" : "cancel";
    a["rows"] = AmountRows(x->Table());
    a["pair"] = x->BetAmountNoType == BetAmountCancel::kFirstAndSecond ? "first-second" : "first-last";
    a["break"] = x->Largest;
    a["limit"] = x->UpperLimit;
  } else if (s.FrameBetAmount.ItemIndex() == BetAmount::kDouble) {
    a["kind"] = "double";
  } else {
    throw StrategyFileError("策略 " + Quote(s.StrategyName) + ": 其注碼法無法存入檔案");
  }
  return a;
}

ordered SetupJson(const AdditionalSetup& setup, const Strategy& s) {
  ordered o;
  if (setup.ItemIndex() >= 0 && setup.IsPlugInItem(setup.ItemIndex()))
    return PlugInJson(setup.Caption(), setup.CurrentSetup());
  if (setup.ComponentAs<AdditionalSetupStartBet>()) {
    o["kind"] = "start-bet";
  } else if (auto* r = setup.ComponentAs<AdditionalSetupTakeProfitStopLoss>()) {
    o["kind"] = "risk";
    o["apply"] = r->RadioGroupApply == AdditionalSetupTakeProfitStopLoss::kWhole ? "whole" : "each-shoe";
    o["take_profit"] = r->TakeProfit;
    o["stop_loss"] = r->StopLoss;
    o["rise"] = r->Rise;
    o["fall"] = r->Fall;
    o["restart_amount"] = r->RestartBetAmount;
  } else if (auto* g = setup.ComponentAs<AdditionalSetupGroup>()) {
    o["kind"] = "group";
    o["games"] = g->UnitNoOfGame;
    o["include_tie"] = g->IncludeTie;
    o["restart_method"] = g->RestartBetMethod;
    o["restart_amount"] = g->RestartBetAmount;
  } else if (auto* c = setup.ComponentAs<AdditionalSetupContinuousWin>()) {
    o["kind"] = "continuous-win";
    o["wins"] = c->ConWin;
  } else {
    throw StrategyFileError("策略 " + Quote(s.StrategyName) + ": 其附加設定無法存入檔案");
  }
  return o;
}

}  // namespace

StrategySet ParseStrategySet(std::string_view text, const std::string& folder, StrategyHost* host,
                             const StrategyPlugIns* plugIns) {
  json doc;
  try {
    doc = json::parse(text.begin(), text.end());
  } catch (const json::parse_error& e) {
    // The line of the fault, counted as an editor shows it.
    const std::size_t end = std::min<std::size_t>(e.byte, text.size());
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
    throw StrategyFileError("此檔案不是策略組合 (JSON 格式錯誤, 第 " + std::to_string(line) + " 行)");
  } catch (const json::exception&) {  // a number too large for any value
    throw StrategyFileError("此檔案不是策略組合 (JSON 中的數字太大)");
  }
  // A shoe list (what "匯出資料" and zavuv-cli write as .json) is the likely mix-up.
  if (!doc.is_object()) {
    const bool shoes = doc.is_array() && !doc.empty() &&
                       std::all_of(doc.begin(), doc.end(), [](const json& x) { return x.is_object() && x.contains("result"); });
    throw StrategyFileError(shoes ? "此檔案不是策略組合 (它是靴資料)" : "此檔案不是策略組合");
  }
  Obj top(doc, "", {"road_settings", "strategies"});
  StrategySet set;
  if (top.Has("road_settings")) ReadRoadSettings(top["road_settings"], set.Roads);
  if (top.Has("strategies")) {
    const json& list = top["strategies"];
    if (!list.is_array()) Fail("strategies", "應為列表");
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i) {
      set.Strategies.push_back(ReadStrategy(list[i], "strategies[" + std::to_string(i) + "]", folder, host, plugIns, names));
      names.push_back(set.Strategies.back()->StrategyName);
    }
  }
  return set;
}

StrategySet ReadStrategySet(const std::string& path, StrategyHost* host, const StrategyPlugIns* plugIns) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw StrategyFileError(path + ": 無法開啟");
  std::ostringstream text;
  text << in.rdbuf();
  std::string folder = std::filesystem::path(path).parent_path().string();
  try {
    return ParseStrategySet(text.str(), folder, host, plugIns);
  } catch (const StrategyFileError& e) {
    throw StrategyFileError(path + ": " + e.what());
  }
}

std::string FormatStrategySet(const RoadSettings& roads, const std::vector<const Strategy*>& strategies) {
  ordered doc;
  doc["road_settings"]["beads"] = {roads.beads[0], roads.beads[1], roads.beads[2]};
  doc["road_settings"]["ignore_ties"] = {roads.ignoreTies[0], roads.ignoreTies[1],
                                         roads.ignoreTies[2]};
  ordered list = ordered::array();
  for (const Strategy* s : strategies) {
    ordered o;
    o["name"] = s->StrategyName;
    o["use"] = s->Use;
    o["road"] = s->RoadIndex;
    o["restart_method_each_shoe"] = s->BetMethodEach();
    o["restart_amount_each_shoe"] = s->BetAmountEach();
    o["method"] = MethodJson(*s);
    o["amount"] = AmountJson(*s);
    ordered setups = ordered::array();
    for (const auto& setup : s->AdditionalSetups) setups.push_back(SetupJson(*setup, *s));
    o["setups"] = setups;
    list.push_back(o);
  }
  doc["strategies"] = list;
  return doc.dump(1, ' ', false, ordered::error_handler_t::replace) + "\n";
}

void WriteStrategySet(const std::string& path, const RoadSettings& roads,
                      const std::vector<const Strategy*>& strategies) {
  try {
    WriteFileReplacing(path, FormatStrategySet(roads, strategies));
  } catch (const TableError& e) {
    throw StrategyFileError(e.what());
  }
}

}  // namespace zavuv
