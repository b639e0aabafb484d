// zavuv-cli run as a program: its JSON, its files and its failures.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct CliRun {
  int status;
  std::string out;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

CliRun Cli(const std::string& args) {
  std::string cmd = std::string(ZAVUV_CLI) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  int status = pclose(p);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zavuv-cli-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string P(const std::string& name) { return Quote((dir / name).string()); }
  void Write(const std::string& name, const std::string& text) { std::ofstream(dir / name, std::ios::binary) << text; }
  fs::path dir;
};

}  // namespace

TEST_F(CliTest, RoadsFollowTheRoadRulesAndRefuseBadOptions) {
  CliRun r = Cli("roads bbppbpppb");  // lower case goes through as upper case
  ASSERT_EQ(r.status, 0);
  json j = json::parse(r.out);
  EXPECT_EQ(j["result"], "BBPPBPPPB");
  EXPECT_EQ(j["columns"], json({2, 2, 1, 3, 1}));
  EXPECT_EQ(j["small_road"], "PBPP");
  EXPECT_EQ(j["predict"]["small_road"]["B"], "P");
  j = json::parse(Cli("roads TTB --beads 1 --ignore-ties").out);
  EXPECT_EQ(j["bead_columns"], "B");
  EXPECT_EQ(j["predict"]["big_eye_boy"]["B"], " ");  // one column: nothing to predict

  EXPECT_NE(Cli("roads BPB --beads 0").status, 0);
  EXPECT_NE(Cli("roads BPB --beads x").status, 0);
  EXPECT_NE(Cli("roads BPB --bogus").status, 0);
  EXPECT_NE(Cli("roads").status, 0);
  EXPECT_NE(Cli("nonsense").status, 0);
}

TEST_F(CliTest, ConvertRoundTripsNormalisesAndExports) {
  Write("in.json", R"([{"name":"第一靴很長的名字超過二十個位元組","result":"b p,t x","info":"註記"},
                      {"name":"S2","result":"","info":""}])");
  ASSERT_EQ(Cli("convert " + P("in.json") + " " + P("a.DAT")).status, 0);
  ASSERT_EQ(Cli("convert " + P("a.DAT") + " " + P("back.json")).status, 0);
  json back = json::parse(ReadFile(dir / "back.json"));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0]["name"], "第一靴很長的名字超過");  // 20 Big5 bytes: ten whole characters
  EXPECT_EQ(back[0]["result"], "BPT");
  EXPECT_EQ(back[0]["info"], "註記");

  ASSERT_EQ(Cli("convert " + P("a.DAT") + " " + P("plain.TXT") + " --no-name --delimiter ''").status, 0);
  EXPECT_EQ(ReadFile(dir / "plain.TXT"), "BPT\r\n\r\n");
  ASSERT_EQ(Cli("convert " + P("a.DAT") + " " + P("words.txt") +
                " --no-name --no-game-delimiter --banker 莊 --player 閒 --tie 和").status, 0);
  EXPECT_EQ(ReadFile(dir / "words.txt").substr(0, 6), "\xB2\xF8\xB6\xA2\xA9\x4D");  // 莊閒和 in Big5
}

TEST_F(CliTest, FailuresLeaveNoHalfWrittenFiles) {
  Write("bad.DAT", std::string("ZVTBL\r\n\x1A", 8) + "garbage");
  Write("keep.json", "[]");
  EXPECT_NE(Cli("convert " + P("bad.DAT") + " " + P("keep.json")).status, 0);
  EXPECT_EQ(ReadFile(dir / "keep.json"), "[]");
  Write("broken.json", "[{\"name\": 1}]");
  EXPECT_NE(Cli("convert " + P("broken.json") + " " + P("out.DAT")).status, 0);
  EXPECT_FALSE(fs::exists(dir / "out.DAT"));
  EXPECT_NE(Cli("convert " + P("keep.json") + " " + P("out.xls")).status, 0);
  EXPECT_NE(Cli("stats " + P("missing.DAT")).status, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // no temporaries
}

TEST_F(CliTest, AFailedSaveExitsWithTheReason) {
  Write("keep.json", "[]");
  fs::create_directories(dir / "folder.DAT");
  // Standard error is read instead of standard output.
  FILE* p = popen((std::string(ZAVUV_CLI) + " convert " + P("keep.json") + " " + P("folder.DAT") + " 2>&1 >/dev/null").c_str(), "r");
  std::string err;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) err.append(buf, n);
  int status = pclose(p);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_NE(err.find("zavuv-cli convert: 無法寫入檔案 " + (dir / "folder.DAT").string() + ": 這是資料夾"),
            std::string::npos) << err;
  EXPECT_TRUE(fs::is_directory(dir / "folder.DAT"));
}

TEST_F(CliTest, DealIsRepeatableAndNamesSortInDealingOrder) {
  ASSERT_EQ(Cli("deal --shoes 12 --seed 7 " + P("a.json")).status, 0);
  ASSERT_EQ(Cli("deal --seed 7 --shoes 12 " + P("b.json")).status, 0);
  EXPECT_EQ(ReadFile(dir / "a.json"), ReadFile(dir / "b.json"));
  ASSERT_EQ(Cli("deal --shoes 12 --seed 8 " + P("c.DAT")).status, 0);
  ASSERT_EQ(Cli("convert " + P("c.DAT") + " " + P("c.json")).status, 0);
  json a = json::parse(ReadFile(dir / "a.json")), c = json::parse(ReadFile(dir / "c.json"));
  EXPECT_NE(a, c);
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::string result = a[i]["result"];
    EXPECT_GE(result.size(), 60u);
    EXPECT_LE(result.size(), 100u);
    if (i > 0) {
      EXPECT_LT(a[i - 1]["name"].get<std::string>(), a[i]["name"].get<std::string>());
    }
  }
  EXPECT_NE(Cli("deal " + P("x.json")).status, 0);  // --shoes is required
}

TEST_F(CliTest, StatsCountTheNamedRange) {
  Write("s.json", R"([{"name":"甲","result":"BB"},{"name":"乙","result":"BP"},{"name":"丙","result":"PPP"}])");
  json j = json::parse(Cli("stats " + P("s.json") + " --from 甲 --to 乙").out);
  EXPECT_EQ(j["banker"], 3);
  EXPECT_EQ(j["player"], 1);
  EXPECT_EQ(j["banker_runs"], json({{1, 1, 1}, {2, 1, 0}}));
  j = json::parse(Cli("stats " + P("s.json") + " --from 甲 --to 乙 --runs-across-shoes").out);
  EXPECT_EQ(j["banker_runs"], json({{3, 1, 0}}));
  EXPECT_EQ(j["same"], 1);
  EXPECT_EQ(j["diff"], 1);
  j = json::parse(Cli("stats " + P("s.json") + " --from 無此靴").out);
  EXPECT_EQ(j["banker"], 0);
  EXPECT_EQ(j["banker_ratio"], "");
}

TEST_F(CliTest, RiskAndVerdictsRefuseBadInputNamingTheField) {
  const std::string one = R"({"name": "莊", "method": {"kind": "loop", "text": "B"}, "amount": {"kind": "flat", "stake": 1}})";
  Write("set.json", "{\"strategies\": [" + one + "]}");
  Write("idle.json", "{\"strategies\": [" + one.substr(0, one.size() - 1) + ", \"use\": false}]}");
  Write("never.json", R"({"strategies": [{"method": {"kind": "loop", "text": "X"}}]})");
  Write("shoes.json", R"([{"name": "S1", "result": "BBPTPBPPBB", "info": ""}])");
  // Standard error to the pipe, standard output to a file.
  auto run = [&](const std::string& args, std::string& err) {
    const std::string cmd = std::string(ZAVUV_CLI) + " " + args + " 2>&1 >" + P("out.txt");
    FILE* p = popen(cmd.c_str(), "r");
    err.clear();
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) err.append(buf, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  const std::string dealt = "risk --deal 1 ";
  const std::pair<std::string, std::string> bad[] = {
      {dealt + P("set.json") + " --bankroll 0 --shoes-per-session 10", "--bankroll: must be above 0"},
      {dealt + P("set.json") + " --bankroll -5 --shoes-per-session 10", "--bankroll: must be above 0"},
      {dealt + P("set.json") + " --bankroll 50 --shoes-per-session 0", "--shoes-per-session: must be 1 to 1000"},
      {dealt + P("set.json") + " --bankroll 50 --shoes-per-session 10 --stop-loss 20", "--stop-loss: must be 0 or below"},
      {dealt + P("idle.json") + " --bankroll 50 --shoes-per-session 10", "strategies: no strategy is in use"},
      {"backtest " + P("shoes.json") + " " + P("set.json") + " --verdict maybe", "--verdict"},
  };
  std::string err;
  for (const auto& [args, message] : bad) {
    EXPECT_EQ(run(args, err), 1) << args;
    EXPECT_NE(err.find(message), std::string::npos) << args << "\n" << err;
    EXPECT_EQ(ReadFile(dir / "out.txt"), "") << args;
  }

  // Sessions from dealt shoes: the same seed gives the same figures.
  const std::string good = P("set.json") + " --bankroll 50 --shoes-per-session 2 --sessions 40";
  ASSERT_EQ(run(dealt + good, err), 0) << err;
  json first = json::parse(ReadFile(dir / "out.txt"));
  ASSERT_EQ(run(dealt + good, err), 0);
  EXPECT_EQ(json::parse(ReadFile(dir / "out.txt")), first);
  EXPECT_EQ(first["strategies"][0]["name"], "莊");
  EXPECT_EQ(first["combined"]["sessions"], 40);
  for (const char* key : {"p_ruin", "p_ruin_ci95", "p_ahead", "final", "max_drawdown", "longest_losing_run"})
    EXPECT_TRUE(first["combined"].contains(key)) << key;

  // A range with no bet says so instead of giving an interval of nothing; --verdict
  // off leaves the verdicts out.
  ASSERT_EQ(run("backtest " + P("shoes.json") + " " + P("never.json"), err), 0) << err;
  json b = json::parse(ReadFile(dir / "out.txt"));
  EXPECT_EQ(b["strategies"][0]["verdict"]["text"], "沒有投注");
  EXPECT_TRUE(b["strategies"][0]["verdict"]["ci95"].is_null());
  EXPECT_EQ(b["pages"]["count"], 0);
  ASSERT_EQ(run("backtest " + P("shoes.json") + " " + P("set.json") + " --verdict off", err), 0) << err;
  b = json::parse(ReadFile(dir / "out.txt"));
  EXPECT_FALSE(b.contains("pages") || b.contains("combined_verdict") || b["strategies"][0].contains("verdict"));
}
