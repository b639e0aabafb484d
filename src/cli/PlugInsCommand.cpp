// zavuv-cli plugins: what the plug-in modules of a folder offer, as JSON; and the
// loading that backtest shares with it.
#include <nlohmann/json.hpp>

#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "plugins/PlugInComponent.h"
#include "plugins/PlugInRegistry.h"
#include "table/Big5.h"

namespace zavuv::cli {

using json = nlohmann::ordered_json;

namespace {

const char* kHelp =
    "zavuv-cli plugins [DIR]\n"
    "\n"
    "Loads the plug-in modules BA*.so of DIR (default: the working directory) the way\n"
    "the program does at start-up and prints what they offer as JSON (UTF-8):\n"
    "  {\"folder\": DIR,\n"
    "   \"plugins\": [{\"file\", \"kind\" (投注法, 注碼法, 附加設定 or another),\n"
    "                \"description\" (the caption a strategy file names),\n"
    "                \"list\" (\"method\", \"amount\", \"setup\" or null: offered nowhere),\n"
    "                \"item\" (its place in that list), \"panel\" (has a settings panel),\n"
    "                \"serial_only\" (its components must all run on one thread),\n"
    "                \"settings\" (a new component's settings, null when MakeIt makes none)}],\n"
    "   \"skipped\": [{\"file\", \"reason\"}]}\n"
    "A module without PlugInType is skipped with \"no plugintype\"; one built against\n"
    "another plug-in interface with \"Plugins與主程式版本不配合\"; a file that is no\n"
    "loadable module with the loader's message.\n";

bool IsWholeNumber(const std::string& text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  if (i >= text.size() || text.size() - i > 15 || (text[i] == '0' && text.size() - i > 1)) return false;
  for (; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return text != "-0";
}

json SettingsOf(const TPlugIns& record) {
  std::unique_ptr<Published> component;
  PlugInCore* core = nullptr;
  if (record.IsSetup()) {
    auto setup = PlugInSetup::Make(record);
    if (setup) core = &setup->Core();
    component = std::move(setup);
  } else {
    auto bet = PlugInBet::Make(record);
    if (bet) core = &bet->Core();
    component = std::move(bet);
  }
  if (!core) return nullptr;
  json settings = json::object();
  for (const auto& [name, value] : core->Settings()) {
    if (IsWholeNumber(value)) settings[name] = std::stoll(value);
    else settings[name] = Big5ToUtf8(value);
  }
  return settings;
}

}  // namespace

std::vector<PlugInScanEntry> LoadPlugIns(PlugInRegistry& registry, const std::string& folder,
                                         const std::string& command) {
  std::vector<PlugInScanEntry> entries = registry.LoadFolder(folder);
  for (const PlugInScanEntry& e : entries)
    if (e.Result == PlugInScanEntry::Outcome::NoPlugInType || e.Result == PlugInScanEntry::Outcome::WrongVersion)
      std::fprintf(stderr, "zavuv-cli %s: %s: %s\n", command.c_str(), e.FileName.c_str(), e.Detail.c_str());
  return entries;
}

int RunPlugIns(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  ArgReader reader(args);
  std::vector<std::string> rest;
  for (const std::string& a : args)
    if (!(a.size() > 1 && a[0] == '-' && a[1] == '-')) rest.push_back(a);
  auto folders = reader.Positional(rest.empty() ? 0 : 1, "zavuv-cli plugins [DIR]");
  std::string folder = folders.empty() ? "." : folders[0];

  PlugInRegistry registry;
  std::vector<PlugInScanEntry> entries = registry.LoadFolder(folder);
  json plugins = json::array();
  for (const TPlugIns& r : registry.Records()) {
    const char* list = r.IsBetMethod() ? "method" : r.IsBetAmount() ? "amount" : r.IsSetup() ? "setup" : nullptr;
    int item = registry.ItemOf(r);
    json settings;
    try {
      settings = SettingsOf(r);
    } catch (const std::exception& e) {
      settings = nullptr;
      std::fprintf(stderr, "zavuv-cli plugins: %s: %s\n", r.FileName.c_str(), e.what());
    }
    plugins.push_back({{"file", r.FileName},
                       {"kind", Big5ToUtf8(r.PlugInType)},
                       {"description", r.Description},
                       {"list", list ? json(list) : json(nullptr)},
                       {"item", item >= 0 ? json(item) : json(nullptr)},
                       {"panel", r.MakePanel != nullptr},
                       {"serial_only", r.SerialOnly},
                       {"settings", settings}});
  }
  json skipped = json::array();
  for (const PlugInScanEntry& e : entries)
    if (e.Result != PlugInScanEntry::Outcome::Registered)
      skipped.push_back({{"file", e.FileName}, {"reason", e.Detail}});
  PrintJson(json{{"folder", folder}, {"plugins", plugins}, {"skipped", skipped}});
  return 0;
}

}  // namespace zavuv::cli
