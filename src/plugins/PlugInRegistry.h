// The plug-in registry (the main window's PlugIns): the records of the modules
// registered at start-up, in load order, and the scan that fills it.
//
// The scan lists the files named BA*.so in a folder (sorted by name, so every run
// and every machine lists them alike), loads each with dlopen and registers it:
//   1. no PlugInType export: "no plugintype" is reported and the module released;
//   2. an empty kind or description, or no MakeIt: released, nothing reported;
//   3. built against another interface version (PlugInAbiVersion missing or
//      different): "Plugins與主程式版本不配合" is reported and the module released;
//   4. otherwise the record is appended and the module stays loaded for good.
// A file that cannot be loaded (damaged, foreign, not a module) is skipped.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/TPlugIns.h"
#include "strategy/StrategyPlugIns.h"

namespace zavuv {

// What became of one file of a scan.
struct PlugInScanEntry {
  enum class Outcome { Registered, NotLoadable, NoPlugInType, Released, WrongVersion };
  std::string FileName;   // without the folder
  Outcome Result = Outcome::NotLoadable;
  std::string Detail;     // why it was skipped (UTF-8); empty when registered
};

class PlugInRegistry : public StrategyPlugIns {
 public:
  // Told the messages a scan shows the user ("no plugintype", and the version
  // message with the file name).
  using MessageSink = std::function<void(const std::string& messageUtf8)>;

  static constexpr std::string_view kNoPlugInType = "no plugintype";
  static constexpr std::string_view kWrongVersion = "Plugins與主程式版本不配合";

  // The module files of a folder: regular files named "BA" ... ".so", by name.
  static std::vector<std::string> ModuleFiles(const std::string& folder);

  // Scans a folder and registers what it offers; returns one entry per file.
  std::vector<PlugInScanEntry> LoadFolder(const std::string& folder, const MessageSink& message = {});
  // Loads and registers one module file.
  PlugInScanEntry LoadModule(const std::string& path, const MessageSink& message = {});

  const std::vector<TPlugIns>& Records() const { return records_; }
  bool Empty() const { return records_.empty(); }
  // The records of one kind (Big5), in load order.
  std::vector<const TPlugIns*> OfKind(std::string_view kind) const;
  // The record of that kind whose caption (UTF-8) is the given text, or null.
  const TPlugIns* Find(std::string_view kind, std::string_view description) const;
  // The item of a record in its strategy list: k + 2 in the bet method lists, k + 5
  // in the bet amount lists, k + 4 in the setup lists; -1 for any other kind.
  int ItemOf(const TPlugIns& record) const;

  // Every record offered to the strategy, in load order, by its kind.
  void AddTo(Strategy& strategy) const override;

  // Appends a record made by hand (tests, or a host that links a component in).
  void Add(TPlugIns record) { records_.push_back(std::move(record)); }

 private:
  std::vector<TPlugIns> records_;
};

}  // namespace zavuv
