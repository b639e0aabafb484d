// Every file the program saves, with each system call of the save failing in turn:
// the nth open, fchmod, write, fsync, close or rename for every n the save makes,
// with ENOSPC and with EIO. The old file must stay as it was, no temporary file may
// be left, the error must name the file and the reason, and what is in memory must
// not change; a short write must still give the whole file. The matrix is printed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "../strategy/StrategyTestKit.h"
#include "app/IniFile.h"
#include "bets/BetAmountLevel.h"
#include "bets/BetMethodPattern.h"
#include "shoes/ShoesData.h"
#include "strategy/StrategyFile.h"
#include "table/FileIo.h"
#include "table/TableCsv.h"
#include "table/TableFile.h"

using namespace zavuv;
namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

// One kind of file: how to save it, and what of it is in memory.
struct Kind {
  std::string name;
  std::function<void(const std::string&)> save;
  std::function<std::string()> memory;
  std::function<void()> change;  // changes what is in memory after the first save
};

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zavuv-faults-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    ResetFileFaults();
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Saves the kind once, changes it, then fails every call of the next save in turn.
  // Returns "call: outcome" per call kind for the matrix.
  std::map<std::string, std::string> Drive(Kind& kind, const std::string& file) {
    const std::string path = Path(file);
    kind.save(path);
    ::chmod(path.c_str(), 0640);
    const std::string old = ReadBytes(path);
    kind.change();

    // A clean save elsewhere counts the calls and gives the new bytes.
    const std::string probe = Path("probe-" + file);
    kind.save(probe);  // a new file: no fchmod
    fs::copy_file(path, probe, fs::copy_options::overwrite_existing);
    ResetFileFaults();
    kind.save(probe);
    std::map<FileCall, int> counts;
    for (int c = 0; c < static_cast<int>(FileCall::kCount); ++c)
      counts[FileCall(c)] = FileCallCount(FileCall(c));
    const std::string fresh = ReadBytes(probe);
    fs::remove(probe);
    const std::string memory = kind.memory();  // (a save may remember its file name)
    EXPECT_NE(fresh, old) << kind.name;
    EXPECT_GE(counts[FileCall::Chmod], 1) << kind.name;

    std::map<std::string, std::string> row;
    for (auto [call, n] : counts) {
      EXPECT_GE(n, 1) << kind.name << " " << FileCallName(call);
      int failures = 0;
      for (int err : {ENOSPC, EIO}) {
        for (int nth = 1; nth <= n; ++nth) {
          SCOPED_TRACE(kind.name + " " + FileCallName(call) + " #" + std::to_string(nth) + " " + std::strerror(err));
          InjectFileFault({call, nth, err});
          std::string message;
          try {
            kind.save(path);
          } catch (const std::exception& e) {
            message = e.what();
          }
          EXPECT_TRUE(FileFaultFired());
          ResetFileFaults();
          EXPECT_NE(message.find(path), std::string::npos) << message;
          EXPECT_NE(message.find(std::strerror(err)), std::string::npos) << message;
          EXPECT_EQ(ReadBytes(path), old);
          EXPECT_EQ(Names(dir_), std::vector<std::string>{file});
          EXPECT_EQ(kind.memory(), memory);
          failures += !message.empty() && ReadBytes(path) == old;
        }
      }
      row[FileCallName(call)] = std::to_string(n) + (n == 1 ? " call" : " calls") +
                                (failures == 2 * n ? ": refused, old file kept" : ": WRONG");
    }
    // A write cut short anywhere still writes the whole file.
    for (int nth = 1; nth <= counts[FileCall::Write]; ++nth) {
      InjectFileFault({FileCall::Write, nth, 0, true});
      kind.save(path);
      EXPECT_TRUE(FileFaultFired());
      ResetFileFaults();
      EXPECT_EQ(ReadBytes(path), fresh) << kind.name << " short write #" << nth;
    }
    row["short write"] = "whole file written";
    // And with no fault the save goes through, keeping the permissions (the settings
    // file, which holds passwords, becomes its owner's alone).
    kind.save(path);
    EXPECT_EQ(ReadBytes(path), fresh);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, fs::perms(file == "BA.ini" ? 0600 : 0640)) << kind.name;
    return row;
  }

  fs::path dir_;
};

std::string PrintMatrix(const std::vector<std::pair<std::string, std::map<std::string, std::string>>>& rows) {
  std::string out = "\nfile kind      | call        | ENOSPC and EIO at every nth call\n";
  for (const auto& [kind, row] : rows)
    for (const auto& [call, outcome] : row) {
      std::string k = kind, c = call;
      k.resize(14, ' ');
      c.resize(11, ' ');
      out += k + " | " + c + " | " + outcome + "\n";
    }
  return out;
}

}  // namespace

TEST_F(FileFaults, EverySaveSurvivesEveryFailingCall) {
  ShoesData shoes;
  // Big enough for several writes.
  for (int i = 0; i < 1500; ++i) shoes.AppendShoe({"shoe" + std::to_string(i), std::string(80, "BPT"[i % 3]), "note"});
  BetMethodPattern pattern;
  BetAmountLevel level;
  testkit::Host host;
  auto scripted = testkit::Scripted(host, "BPX");
  Strategy& strategy = *scripted;
  ClientDataSet csv({{"Name", FieldType::String, 20}, {"Amount", FieldType::Integer}});
  csv.AppendRow({std::string("a"), 1});
  IniFile ini;
  for (int i = 0; i < 3; ++i) ini.Write("系統設定", "Key" + std::to_string(i), "value");
  std::vector<Kind> kinds = {
      {".DAT", [&](const std::string& p) { shoes.SaveData(p); }, [&] { return EncodeTable(shoes.Table()); },
       [&] { shoes.AppendShoe({"new", "BBB", ""}); }},
      {"JSON list", [&](const std::string& p) { shoes.SaveJson(p); }, [&] { return EncodeTable(shoes.Table()); },
       [&] { shoes.AppendShoe({"newer", "PPP", ""}); }},
      {"text export", [&](const std::string& p) { shoes.ExportText(p, ExportOptions{}); },
       [&] { return EncodeTable(shoes.Table()) + std::to_string(shoes.Table().RecNo()); },
       [&] { shoes.AppendShoe({"newest", "TTT", ""}); }},
      {".MED", [&](const std::string& p) { pattern.SaveBet(p); },
       [&] { return EncodeTable(pattern.Table()) + pattern.Info + "|" + pattern.LastFileName; },
       [&] { pattern.Info = "changed"; }},
      {".AMT", [&](const std::string& p) { level.SaveAmt(p); },
       [&] { return EncodeTable(level.Table()) + level.Info + "|" + level.LastFileName; },
       [&] { level.WinLevelMove = 3; }},
      {"strategy set",
       [&](const std::string& p) { WriteStrategySet(p, RoadSettings{}, {&strategy}); },
       [&] { return FormatStrategySet(RoadSettings{}, {&strategy}); }, [&] { strategy.StrategyName = "策略2"; }},
      {"CSV", [&](const std::string& p) { WriteTableCsv(csv, p); }, [&] { return EncodeTable(csv); },
       [&] { csv.AppendRow({std::string("b"), 2}); }},
      {"BA.ini", [&](const std::string& p) { ini.Save(p); }, [&] { return ini.Text(); },
       [&] { ini.Write("Proxy", "Password", " p w "); }},
  };
  const std::vector<std::string> files = {"a.DAT", "a.json", "a.TXT", "a.MED", "a.AMT", "set.json", "a.CSV", "BA.ini"};
  std::vector<std::pair<std::string, std::map<std::string, std::string>>> matrix;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    matrix.emplace_back(kinds[k].name, Drive(kinds[k], files[k]));
    fs::remove(Path(files[k]));
  }
  EXPECT_GE(std::stoi(matrix[0].second["write"]), 3);  // the .DAT took several writes
  std::printf("%s", PrintMatrix(matrix).c_str());
}
