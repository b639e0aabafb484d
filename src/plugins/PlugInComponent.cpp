#include "plugins/PlugInComponent.h"

#include "contracts/BaseStrategy.h"
#include "strategy/Strategy.h"

namespace zavuv {

// ---- PlugInCore ----

PlugInCore::~PlugInCore() {
  for (auto& hook : releaseHooks_) hook();
  if (made_ && c_.Free) {
    // Nothing may be raised from here: an error the module leaves is dropped.
    c_.Free(c_.self);
    ClearPlugInError();
  }
}

bool PlugInCore::Make() {
  if (!record_.MakeIt) return false;
  c_ = ZavuvComponent{};
  c_.size = sizeof(ZavuvComponent);
  int answer = CallPlugIn([&] { return record_.MakeIt(&PlugInHost(), &c_); });
  made_ = answer != 0;
  if (!made_) c_ = ZavuvComponent{};
  return made_;
}

bool PlugInCore::SetSetting(const std::string& name, const std::string& value) {
  if (!c_.SetSetting) return false;
  return CallPlugIn([&] { return c_.SetSetting(c_.self, name.c_str(), value.c_str()); }) != 0;
}

std::vector<std::pair<std::string, std::string>> PlugInCore::Settings() {
  std::vector<std::pair<std::string, std::string>> out;
  if (!c_.GetSettings) return out;
  const char* text = CallPlugIn([&] { return c_.GetSettings(c_.self); });
  std::string_view rest = text ? std::string_view(text) : std::string_view();
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t eq = line.find('=');
    if (line.empty() || eq == 0) continue;
    if (eq == std::string_view::npos) out.emplace_back(std::string(line), std::string());
    else out.emplace_back(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
  }
  return out;
}

// ---- PlugInBet ----

std::unique_ptr<PlugInBet> PlugInBet::Make(const TPlugIns& record) {
  std::unique_ptr<PlugInBet> made(new PlugInBet(record));
  if (!made->core_.Make()) return nullptr;
  return made;
}

PlugInBet::~PlugInBet() = default;

void PlugInBet::Prepare() {
  const ZavuvComponent& c = core_.Ops();
  if (c.Prepare) CallPlugIn([&] { c.Prepare(c.self); });
}

void PlugInBet::Restart() {
  const ZavuvComponent& c = core_.Ops();
  if (c.Restart) CallPlugIn([&] { c.Restart(c.self); });
}

void PlugInBet::Finish() {
  const ZavuvComponent& c = core_.Ops();
  if (c.Finish) CallPlugIn([&] { c.Finish(c.self); });
}

char PlugInBet::GetBet(BaseStrategy& strategy) {
  const ZavuvComponent& c = core_.Ops();
  if (!c.GetBet) return CommonBet::GetBet(strategy);
  return CallPlugIn([&] { return c.GetBet(c.self, PlugInHandle(strategy)); });
}

std::int32_t PlugInBet::GetBetAmount(BaseStrategy& strategy) {
  const ZavuvComponent& c = core_.Ops();
  if (!c.GetBetAmount) return CommonBet::GetBetAmount(strategy);
  return CallPlugIn([&] { return c.GetBetAmount(c.self, PlugInHandle(strategy)); });
}

void PlugInBet::AddGameResult(char result) {
  const ZavuvComponent& c = core_.Ops();
  if (c.AddGameResult) CallPlugIn([&] { c.AddGameResult(c.self, result); });
}

const PublishedClass& PlugInBet::StaticClass() {
  static PublishedClass info("PlugInBet", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<PlugInBet>(info, {.Prepare = true, .Restart = true, .Finish = true, .GetBet = true,
                                             .GetBetAmount = true, .AddGameResult = true}), true);
  (void)published;
  return info;
}

// ---- PlugInSetup ----

std::unique_ptr<PlugInSetup> PlugInSetup::Make(const TPlugIns& record) {
  std::unique_ptr<PlugInSetup> made(new PlugInSetup(record));
  if (!made->core_.Make()) return nullptr;
  return made;
}

PlugInSetup::~PlugInSetup() = default;

void PlugInSetup::Hook(void (*hook)(void*, ZavuvStrategy*), Strategy& strategy) {
  if (!hook) return;
  void* self = core_.Self();
  // The handle is always the strategy's BaseStrategy part, whatever calls.
  ZavuvStrategy* handle = PlugInHandle(static_cast<BaseStrategy&>(strategy));
  CallPlugIn([&] { hook(self, handle); });
}

void PlugInSetup::Prepare() {
  const ZavuvComponent& c = core_.Ops();
  if (c.Prepare) CallPlugIn([&] { c.Prepare(c.self); });
}

void PlugInSetup::NewShoe(Strategy& s) { Hook(core_.Ops().NewShoe, s); }
void PlugInSetup::BeforeAnalysisGame(Strategy& s) { Hook(core_.Ops().BeforeAnalysisGame, s); }
void PlugInSetup::AfterGetBet(Strategy& s) { Hook(core_.Ops().AfterGetBet, s); }
void PlugInSetup::AfterGetBetAmount(Strategy& s) { Hook(core_.Ops().AfterGetBetAmount, s); }
void PlugInSetup::AfterCalProfit(Strategy& s) { Hook(core_.Ops().AfterCalProfit, s); }
void PlugInSetup::AfterMakeRecord(Strategy& s) { Hook(core_.Ops().AfterMakeRecord, s); }

const PublishedClass& PlugInSetup::StaticClass() {
  static const PublishedClass info("PlugInSetup", &CommonAdditionalSetup::StaticClass());
  return info;
}

// ---- helpers ----

PlugInCore* PlugInCoreOf(Published* component) {
  if (auto* bet = dynamic_cast<PlugInBet*>(component)) return &bet->Core();
  if (auto* setup = dynamic_cast<PlugInSetup*>(component)) return &setup->Core();
  return nullptr;
}

BetPlugIn MakeBetPlugIn(const TPlugIns& record) {
  return BetPlugIn{record.Description,
                   [record](BetSelector&) -> std::unique_ptr<CommonBet> { return PlugInBet::Make(record); }};
}

SetupPlugIn MakeSetupPlugIn(const TPlugIns& record) {
  return SetupPlugIn{record.Description, [record](AdditionalSetup&) -> std::unique_ptr<CommonAdditionalSetup> {
                       return PlugInSetup::Make(record);
                     }};
}

}  // namespace zavuv
