// The plug-in loader on real modules: the sample plug-ins built with the tree and the
// small test modules of tests/plugins (a module without PlugInType, without MakeIt,
// with an empty caption, of another interface version, a foreign library), plus
// files that are no module at all.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "plugins/PlugInComponent.h"
#include "plugins/PlugInRegistry.h"
#include "strategy/Strategy.h"
#include "table/Big5.h"

namespace fs = std::filesystem;
using namespace zavuv;

#if defined(ZAVUV_PLUGIN_DIR) && defined(ZAVUV_TEST_PLUGIN_DIR)

namespace {

const fs::path kSamples = ZAVUV_PLUGIN_DIR;
const fs::path kTestModules = ZAVUV_TEST_PLUGIN_DIR;

// A folder of its own per test, filled with copies (each copy is a module of its own
// to the dynamic loader).
class Folder {
 public:
  explicit Folder(const std::string& name)
      : path_(fs::temp_directory_path() / ("zavuv-plugins-" + name + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~Folder() { fs::remove_all(path_); }
  void Copy(const fs::path& from, const std::string& as) { fs::copy_file(from, path_ / as); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  std::string Path() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

bool StillLoaded(const std::string& path) {
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

using Outcome = PlugInScanEntry::Outcome;

}  // namespace

TEST(PlugInLoader, SampleModulesAreRegisteredAndOfferedAfterTheBuiltIns) {
  PlugInRegistry registry;
  std::vector<std::string> messages;
  auto entries = registry.LoadFolder(kSamples.string(), [&](const std::string& m) { messages.push_back(m); });
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(entries.size(), 3u);
  for (const auto& e : entries) EXPECT_EQ(e.Result, Outcome::Registered) << e.FileName << ": " << e.Detail;

  // In file-name order, kinds as the modules answer them (Big5), captions in UTF-8.
  const auto& r = registry.Records();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].FileName, "BAFollowLast.so");
  EXPECT_EQ(r[0].PlugInType, Utf8ToBig5("投注法"));
  EXPECT_EQ(r[0].Description, "跟隨上一局");
  EXPECT_EQ(r[1].PlugInType, Utf8ToBig5("注碼法"));
  EXPECT_EQ(r[1].Description, "馬丁加倍注碼");
  EXPECT_EQ(r[2].PlugInType, Utf8ToBig5("附加設定"));
  EXPECT_EQ(r[2].Description, "連輸後停止本靴");
  EXPECT_EQ(registry.ItemOf(r[0]), 2);
  EXPECT_EQ(registry.ItemOf(r[1]), 5);
  EXPECT_EQ(registry.ItemOf(r[2]), 4);
  EXPECT_EQ(registry.Find(TPlugIns::kBetAmount, "馬丁加倍注碼"), &r[1]);
  EXPECT_EQ(registry.Find(TPlugIns::kBetMethod, "馬丁加倍注碼"), nullptr);

  // Every strategy offers each in the list of its kind only.
  Strategy s;
  registry.AddTo(s);
  EXPECT_EQ(s.FrameBetMethod.Items(), (std::vector<std::string>{"依形態下注", "循環形式下注", "跟隨上一局"}));
  EXPECT_EQ(s.FrameBetAmount.Items().size(), 6u);
  EXPECT_EQ(s.FrameBetAmount.Items()[5], "馬丁加倍注碼");
  AdditionalSetup& setup = s.CreateSetup();
  ASSERT_EQ(setup.Items().size(), 5u);
  EXPECT_EQ(setup.Items()[3], "連羸的附加設定");
  EXPECT_EQ(setup.Items()[4], "連輸後停止本靴");
  EXPECT_TRUE(s.FrameBetMethod.IsPlugInItem(2));
  EXPECT_FALSE(s.FrameBetMethod.IsPlugInItem(1));
  EXPECT_TRUE(StillLoaded((kSamples / "BAFollowLast.so").string()));
}

TEST(PlugInLoader, TwoBetMethodModulesAreItemsTwoAndThree) {
  Folder folder("two");
  folder.Copy(kTestModules / "BACMethod.so", "BA2.so");
  folder.Copy(kSamples / "BAFollowLast.so", "BA1.so");
  PlugInRegistry registry;
  registry.LoadFolder(folder.Path());
  Strategy a, b;
  registry.AddTo(a);
  registry.AddTo(b);
  for (Strategy* s : {&a, &b}) {
    ASSERT_EQ(s->FrameBetMethod.Items().size(), 4u);
    EXPECT_EQ(s->FrameBetMethod.Items()[2], "跟隨上一局");
    EXPECT_EQ(s->FrameBetMethod.Items()[3], "C method");
    EXPECT_EQ(s->FrameBetAmount.Items().size(), 5u);
    EXPECT_TRUE(s->CreateSetup().SetupPlugIns().empty());
  }
}

TEST(PlugInLoader, ModulesThatCannotRegisterAreReleasedAndDamagedFilesSkipped) {
  Folder folder("bad");
  folder.Copy(kTestModules / "BANoType.so", "BANoType.so");
  folder.Copy(kTestModules / "BANoMakeIt.so", "BANoMakeIt.so");
  folder.Copy(kTestModules / "BAEmptyDescription.so", "BAEmptyDescription.so");
  folder.Copy(kTestModules / "BAOtherVersion.so", "BAOtherVersion.so");
  folder.Copy(kTestModules / "BAForeign.so", "BAForeign.so");
  folder.Copy(kSamples / "BAMartingale.so", "BAMartingale.so");
  folder.Write("BAText.so", "this is not a module\n");
  folder.Write("BAEmpty.so", "");
  {
    // The first part of a real module: a damaged ELF file.
    std::ifstream in(kSamples / "BAFollowLast.so", std::ios::binary);
    std::string head(300, '\0');
    in.read(head.data(), 300);
    folder.Write("BATruncated.so", head);
  }
  fs::create_directory(fs::path(folder.Path()) / "BADirectory.so");
  folder.Copy(kSamples / "BAFollowLast.so", "ba_lower.so");      // not BA...
  folder.Copy(kSamples / "BAFollowLast.so", "BAFollow.so.bak");  // not ....so

  EXPECT_EQ(PlugInRegistry::ModuleFiles(folder.Path()),
            (std::vector<std::string>{"BAEmpty.so", "BAEmptyDescription.so", "BAForeign.so", "BAMartingale.so",
                                      "BANoMakeIt.so", "BANoType.so", "BAOtherVersion.so", "BAText.so",
                                      "BATruncated.so"}));

  PlugInRegistry registry;
  std::vector<std::string> messages;
  auto entries = registry.LoadFolder(folder.Path(), [&](const std::string& m) { messages.push_back(m); });
  ASSERT_EQ(entries.size(), 9u);
  std::map<std::string, Outcome> outcome;
  for (const auto& e : entries) outcome[e.FileName] = e.Result;
  EXPECT_EQ(outcome["BAEmpty.so"], Outcome::NotLoadable);
  EXPECT_EQ(outcome["BAText.so"], Outcome::NotLoadable);
  EXPECT_EQ(outcome["BATruncated.so"], Outcome::NotLoadable);
  EXPECT_EQ(outcome["BANoType.so"], Outcome::NoPlugInType);
  EXPECT_EQ(outcome["BAForeign.so"], Outcome::NoPlugInType);
  EXPECT_EQ(outcome["BANoMakeIt.so"], Outcome::Released);
  EXPECT_EQ(outcome["BAEmptyDescription.so"], Outcome::Released);
  EXPECT_EQ(outcome["BAOtherVersion.so"], Outcome::WrongVersion);
  EXPECT_EQ(outcome["BAMartingale.so"], Outcome::Registered);
  EXPECT_NE(entries[7].Detail.find("BAText.so"), std::string::npos) << entries[7].Detail;   // the loader's message

  // "no plugintype" once per module without its kind; the version message names the
  // file; nothing else is said.
  EXPECT_EQ(messages, (std::vector<std::string>{"no plugintype", "no plugintype",
                                                "Plugins與主程式版本不配合: BAOtherVersion.so"}));
  ASSERT_EQ(registry.Records().size(), 1u);
  EXPECT_EQ(registry.Records()[0].Description, "馬丁加倍注碼");

  // Released modules leave nothing loaded; the registered one stays.
  for (const char* name : {"BANoType.so", "BANoMakeIt.so", "BAEmptyDescription.so", "BAOtherVersion.so",
                           "BAForeign.so"})
    EXPECT_FALSE(StillLoaded(folder.File(name))) << name;
  EXPECT_TRUE(StillLoaded(folder.File("BAMartingale.so")));

  // A folder that does not exist offers nothing.
  EXPECT_TRUE(registry.LoadFolder(folder.File("nowhere")).empty());
}

TEST(PlugInLoader, OtherKindsAreRegisteredButOfferedNowhere) {
  PlugInRegistry registry;
  PlugInScanEntry e = registry.LoadModule((kTestModules / "BAOtherKind.so").string());
  EXPECT_EQ(e.Result, Outcome::Registered);
  ASSERT_EQ(registry.Records().size(), 1u);
  EXPECT_EQ(registry.ItemOf(registry.Records()[0]), -1);
  Strategy s;
  registry.AddTo(s);
  EXPECT_EQ(s.FrameBetMethod.Items().size(), 2u);
  EXPECT_EQ(s.FrameBetAmount.Items().size(), 5u);
  EXPECT_TRUE(s.SetupPlugIns.empty());
}

#endif
