// What the strategies need of the plug-in modules, declared here so that they never
// include the plug-in folder, which sits above them: the plug-in registry
// (PlugInRegistry) offers its modules to a new strategy through StrategyPlugIns, and
// each component a module made (PlugInBet, PlugInSetup) is also a PlugInPart. The
// workbench and the command-line tool hand their registry to the strategy set reader
// and to CreateStrategy as a StrategyPlugIns.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "contracts/Published.h"

namespace zavuv {

class Strategy;

// An error a plug-in left pending (an unknown variable name, GetBoolVar, SetBoolVar,
// or the plug-in's own RaiseError); it ends the run that called the plug-in.
class PlugInError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a component made by a plug-in module answers beyond its contract: the
// module's settings and whether it may run beside other threads.
class PlugInPart {
 public:
  // One setting (value in Big5); false when the module refuses it or takes none.
  virtual bool SetSetting(const std::string& name, const std::string& value) = 0;
  // The settings as the module reports them, in its order (values in Big5).
  virtual std::vector<std::pair<std::string, std::string>> Settings() = 0;
  // The module exports PlugInSerialOnly answering nonzero: its components share state,
  // so strategies that use them stay on one thread.
  virtual bool SerialOnly() const = 0;

 protected:
  ~PlugInPart() = default;
};

// The plug-in part of a component, or null for a built-in one (or none).
inline PlugInPart* PlugInPartOf(Published* component) { return dynamic_cast<PlugInPart*>(component); }

// The plug-in modules offered to the strategies.
class StrategyPlugIns {
 public:
  // Offers every module to the strategy, in load order, by its kind: "投注法" an item
  // of the bet method list, "注碼法" of the bet amount list, "附加設定" of every setup
  // list made from then on; any other kind is left out.
  virtual void AddTo(Strategy& strategy) const = 0;

 protected:
  ~StrategyPlugIns() = default;
};

}  // namespace zavuv
