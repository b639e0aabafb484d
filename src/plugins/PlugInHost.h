// The host side of the plug-in interface: the table of operations every plug-in
// component gets from MakeIt, and the pending error through which a failure inside
// a plug-in reaches the engine. Plug-ins call the strategy's published operations
// through this table; no C++ exception ever crosses into a module: a failing call
// leaves the error pending, and when the plug-in's operation returns the host raises
// it (PlugInError, declared with what the strategies need of the plug-ins) unless
// the plug-in cleared it.
#pragma once

#include <string>

#include "strategy/StrategyPlugIns.h"
// The public interface, shared with the plug-in authors.
#include "../../sdk/zavuv_plugin.h"

namespace zavuv {

class BaseStrategy;

// The table handed to MakeIt. Its functions call the strategy's published operations
// by name; a failure becomes the pending error and a default answer.
const ZavuvHost& PlugInHost();

// The handle a plug-in gets for a strategy during one call.
inline ZavuvStrategy* PlugInHandle(BaseStrategy& strategy) { return reinterpret_cast<ZavuvStrategy*>(&strategy); }

// The pending error of this thread, if any ("" when none).
bool PlugInErrorPending();
void ClearPlugInError();
// Throws the pending error as PlugInError (and clears it); does nothing without one.
void RaisePendingPlugInError();

// Runs one call into a plug-in: a stale error is forgotten first, a pending one
// raised after.
template <class F>
auto CallPlugIn(F&& call) -> decltype(call()) {
  ClearPlugInError();
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    RaisePendingPlugInError();
  } else {
    auto answer = call();
    RaisePendingPlugInError();
    return answer;
  }
}

}  // namespace zavuv
