#include "plugins/PlugInRegistry.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include "plugins/PlugInComponent.h"
#include "strategy/AdditionalSetup.h"
#include "strategy/Strategy.h"
#include "table/Big5.h"

namespace zavuv {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "BA";
constexpr std::string_view kSuffix = ".so";

bool IsModuleName(const std::string& name) {
  return name.size() >= kPrefix.size() + kSuffix.size() && name.compare(0, kPrefix.size(), kPrefix) == 0 &&
         name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

template <class Fn>
Fn Export(void* module, const char* name) {
  return reinterpret_cast<Fn>(dlsym(module, name));
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

std::vector<std::string> PlugInRegistry::ModuleFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code typeError;
    if (IsModuleName(name) && it->is_regular_file(typeError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<PlugInScanEntry> PlugInRegistry::LoadFolder(const std::string& folder, const MessageSink& message) {
  std::vector<PlugInScanEntry> entries;
  fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
  for (const std::string& name : ModuleFiles(folder)) entries.push_back(LoadModule((dir / name).string(), message));
  return entries;
}

PlugInScanEntry PlugInRegistry::LoadModule(const std::string& path, const MessageSink& message) {
  PlugInScanEntry entry;
  entry.FileName = fs::path(path).filename().string();
  // A name without a folder would send dlopen along the library search path.
  std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  void* module = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* why = dlerror();
    entry.Result = PlugInScanEntry::Outcome::NotLoadable;
    entry.Detail = why ? why : "cannot be loaded";
    return entry;
  }
  auto release = [&](PlugInScanEntry::Outcome outcome, std::string detail) {
    dlclose(module);
    entry.Result = outcome;
    entry.Detail = std::move(detail);
    return entry;
  };

  std::string kind;
  if (auto plugInType = Export<ZavuvPlugInTypeFn>(module, "PlugInType")) {
    kind = Text(plugInType());
  } else {
    if (message) message(std::string(kNoPlugInType));
    return release(PlugInScanEntry::Outcome::NoPlugInType, std::string(kNoPlugInType));
  }
  std::string description;
  if (auto describe = Export<ZavuvDescriptionFn>(module, "Description")) description = Text(describe());
  auto makeIt = Export<ZavuvMakeItFn>(module, "MakeIt");
  if (kind.empty()) return release(PlugInScanEntry::Outcome::Released, "empty kind");
  if (description.empty()) return release(PlugInScanEntry::Outcome::Released, "empty description");
  if (!makeIt) return release(PlugInScanEntry::Outcome::Released, "no MakeIt");

  auto version = Export<ZavuvPlugInAbiVersionFn>(module, "PlugInAbiVersion");
  if (!version || version() != ZAVUV_PLUGIN_ABI_VERSION) {
    std::string text = std::string(kWrongVersion) + ": " + entry.FileName;
    if (message) message(text);
    return release(PlugInScanEntry::Outcome::WrongVersion,
                   version ? std::string(kWrongVersion) + " (interface version " + std::to_string(version()) +
                                 ", the program's is " + std::to_string(ZAVUV_PLUGIN_ABI_VERSION) + ")"
                           : std::string(kWrongVersion) + " (no PlugInAbiVersion)");
  }

  TPlugIns record;
  record.Module = module;
  record.PlugInType = kind;
  record.Description = Big5ToUtf8(description);
  record.MakeIt = makeIt;
  record.MakePanel = Export<ZavuvMakePanelFn>(module, "MakePanel");
  record.FileName = entry.FileName;
  if (auto serialOnly = Export<ZavuvPlugInSerialOnlyFn>(module, "PlugInSerialOnly")) record.SerialOnly = serialOnly() != 0;
  records_.push_back(std::move(record));
  entry.Result = PlugInScanEntry::Outcome::Registered;
  return entry;
}

std::vector<const TPlugIns*> PlugInRegistry::OfKind(std::string_view kind) const {
  std::vector<const TPlugIns*> out;
  for (const TPlugIns& r : records_)
    if (r.PlugInType == kind) out.push_back(&r);
  return out;
}

const TPlugIns* PlugInRegistry::Find(std::string_view kind, std::string_view description) const {
  for (const TPlugIns& r : records_)
    if (r.PlugInType == kind && r.Description == description) return &r;
  return nullptr;
}

int PlugInRegistry::ItemOf(const TPlugIns& record) const {
  int first = record.IsBetMethod() ? 2 : record.IsBetAmount() ? 5 : record.IsSetup() ? 4 : -1;
  if (first < 0) return -1;
  int k = 0;
  for (const TPlugIns& r : records_) {
    if (r.Module == record.Module && r.Description == record.Description) return first + k;
    if (r.PlugInType == record.PlugInType) ++k;
  }
  return -1;
}

void PlugInRegistry::AddTo(Strategy& strategy) const {
  for (const TPlugIns& r : records_) {
    if (r.IsBetMethod()) strategy.AddBetMethodPlugIn(MakeBetPlugIn(r));
    else if (r.IsBetAmount()) strategy.AddBetAmountPlugIn(MakeBetPlugIn(r));
    else if (r.IsSetup()) strategy.AddSetupPlugIn(MakeSetupPlugIn(r));
  }
}

}  // namespace zavuv
