#include "plugins/PlugInHost.h"

#include <optional>

#include "contracts/BaseStrategy.h"
#include "contracts/Published.h"

namespace zavuv {

namespace {

// All plug-in code runs on the thread that runs the analysis; each thread keeps its
// own pending error and road text.
thread_local std::optional<std::string> g_pending;
thread_local std::string g_road;

void Leave(const char* message) {
  if (!g_pending) g_pending = message ? message : "";
}

BaseStrategy* StrategyOf(ZavuvStrategy* handle) { return reinterpret_cast<BaseStrategy*>(handle); }

// Calls a published operation of the strategy by name; a failure is left pending and
// the answer is empty.
PubValue Call(ZavuvStrategy* handle, PublishedCall& call, std::initializer_list<PubValue> args) {
  BaseStrategy* strategy = StrategyOf(handle);
  if (!strategy) {
    Leave("no strategy in this call");
    return {};
  }
  try {
    return call(*strategy, args);
  } catch (const std::exception& e) {
    Leave(e.what());
  } catch (...) {
    Leave("host error");
  }
  return {};
}

PubValue Text(const char* text) { return PubValue(std::in_place_type<const char*>, text ? text : ""); }

// One call site per operation, so that each name is looked up once per class.
struct Calls {
  PublishedCall suspend{"Suspend"}, resume{"Resume"}, getAnalysisRoad{"GetAnalysisRoad"},
      getPredict{"GetPredict"}, getCharVar{"GetCharVar"}, setCharVar{"SetCharVar"}, getPCharVar{"GetPCharVar"},
      setPCharVar{"SetPCharVar"}, getIntVar{"GetIntVar"}, setIntVar{"SetIntVar"}, getRealVar{"GetRealVar"},
      setRealVar{"SetRealVar"}, getBoolVar{"GetBoolVar"}, setBoolVar{"SetBoolVar"};
};
thread_local Calls t;

void Suspend(ZavuvStrategy* s) { Call(s, t.suspend, {}); }
void Resume(ZavuvStrategy* s) { Call(s, t.resume, {}); }

const char* GetAnalysisRoad(ZavuvStrategy* s, const char* results) {
  PubValue road = Call(s, t.getAnalysisRoad, {Text(results)});
  // The road lives in a model that the next call refills: the plug-in gets a copy
  // that ends with a null.
  g_road.assign(ResultText(road));
  return g_road.c_str();
}

char GetPredict(ZavuvStrategy* s, char side) { return ResultChar(Call(s, t.getPredict, {side})); }

char GetCharVar(ZavuvStrategy* s, const char* name) { return ResultChar(Call(s, t.getCharVar, {Text(name)})); }
void SetCharVar(ZavuvStrategy* s, const char* name, char value) { Call(s, t.setCharVar, {Text(name), value}); }
const char* GetPCharVar(ZavuvStrategy* s, const char* name) {
  PubValue v = Call(s, t.getPCharVar, {Text(name)});
  if (auto p = std::get_if<const char*>(&v)) return *p;
  return nullptr;
}
void SetPCharVar(ZavuvStrategy* s, const char* name, const char* value) {
  Call(s, t.setPCharVar, {Text(name), Text(value)});
}
std::int32_t GetIntVar(ZavuvStrategy* s, const char* name) { return ResultInt(Call(s, t.getIntVar, {Text(name)})); }
void SetIntVar(ZavuvStrategy* s, const char* name, std::int32_t value) {
  Call(s, t.setIntVar, {Text(name), value});
}
double GetRealVar(ZavuvStrategy* s, const char* name) { return ResultReal(Call(s, t.getRealVar, {Text(name)})); }
void SetRealVar(ZavuvStrategy* s, const char* name, double value) { Call(s, t.setRealVar, {Text(name), value}); }
int GetBoolVar(ZavuvStrategy* s, const char* name) {
  return ResultBool(Call(s, t.getBoolVar, {Text(name)})) ? 1 : 0;
}
void SetBoolVar(ZavuvStrategy* s, const char* name, int value) {
  Call(s, t.setBoolVar, {Text(name), value != 0});
}

const char* PendingError() { return g_pending ? g_pending->c_str() : nullptr; }
void ClearError() { g_pending.reset(); }
void RaiseError(const char* message) { Leave(message && *message ? message : "plug-in error"); }

}  // namespace

const ZavuvHost& PlugInHost() {
  static const ZavuvHost host = {
      ZAVUV_PLUGIN_ABI_VERSION, sizeof(ZavuvHost), Suspend,    Resume,     GetAnalysisRoad, GetPredict,
      GetCharVar,               SetCharVar,        GetPCharVar, SetPCharVar, GetIntVar,       SetIntVar,
      GetRealVar,               SetRealVar,        GetBoolVar, SetBoolVar, PendingError,    ClearError,
      RaiseError};
  return host;
}

bool PlugInErrorPending() { return g_pending.has_value(); }
void ClearPlugInError() { g_pending.reset(); }

void RaisePendingPlugInError() {
  if (!g_pending) return;
  std::string message = std::move(*g_pending);
  g_pending.reset();
  throw PlugInError(message);
}

}  // namespace zavuv
