// The strategy set reader, with the sample plug-ins loaded or not (the first byte's
// lowest bit). Relative file names are taken from a folder holding a pattern and a
// level file ("patterns.MED", "levels.AMT"). A set that reads must write out and
// read back to the same text.
#include <cstdint>
#include <filesystem>

#include "FuzzKit.h"
#include "plugins/PlugInRegistry.h"
#include "strategy/StrategyFile.h"
#include "table/TableFile.h"

using namespace zavuv;

namespace {

const PlugInRegistry& Samples() {
  static const PlugInRegistry registry = [] {
    PlugInRegistry r;
    r.LoadFolder(ZAVUV_PLUGIN_DIR);
    if (r.Empty()) fuzz::Broken("no sample plug-ins in " ZAVUV_PLUGIN_DIR);
    return r;
  }();
  return registry;
}

const std::string& Folder() {
  static const std::string folder = [] {
    const std::string seeds = ZAVUV_SOURCE_DIR "/fuzz/corpus/fuzz_record_files/";
    for (const char* name : {"patterns.MED", "levels.AMT"}) {
      std::string bytes = ReadWholeFile(seeds + name, 1 << 20);
      fuzz::WriteScratch(name, bytes.substr(1));  // the seeds begin with the harness's mode byte
    }
    return fuzz::ScratchDir();
  }();
  return folder;
}

std::string Format(const StrategySet& set) {
  std::vector<const Strategy*> list;
  for (const auto& s : set.Strategies) list.push_back(s.get());
  return FormatStrategySet(set.Roads, list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const PlugInRegistry* plugIns = (in.Byte() & 1) ? &Samples() : nullptr;
  StrategySet set;
  try {
    set = ParseStrategySet(in.Rest(), Folder(), nullptr, plugIns);
  } catch (const StrategyFileError&) {
    return 0;
  }
  std::string text;
  try {
    text = Format(set);
  } catch (const StrategyFileError&) {
    return 0;  // a set holding something that cannot be written says so
  }
  try {
    if (Format(ParseStrategySet(text, "", nullptr, plugIns)) != text) fuzz::Broken("a set reads back differently");
  } catch (const StrategyFileError& e) {
    fuzz::Broken(std::string("a written set is refused: ") + e.what());
  }
  return 0;
}
