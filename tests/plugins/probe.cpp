// BAProbe.so: an additional setup ("probe") that the tests steer through its
// settings to reach into the running analysis the way any plug-in can.
//   ratio_game=K, ratio=R     SetRealVar("bankerwinratio", R) before game K
//   jump_game=K, jump_to=J    after game K's row, SetIntVar("GAMENO", J - 1): the
//                             loop goes on with game J (once per run)
//   blank_game=K              SetCharVar("bet", ' ') after game K's bet
//   bad_game=K, bad=NAME      GetIntVar(NAME) before game K; with catch=1 the error
//                             is read into "caught" and cleared
//   bool_game=K               GetBoolVar("GameNo") before game K
//   throw_game=K              throws a C++ exception before game K
// and reports what it saw: "shoes_name" (GetPCharVar at the last settlement),
// "ratio_seen" (GetRealVar("BankerWinRatio") at game 1), "caught".
#include <map>
#include <stdexcept>
#include <string>

#include "zavuv_plugin.hpp"

class Probe : public zavuv_sdk::AdditionalSetup {
 public:
  void Prepare() override { jumped_ = false; }

  void BeforeAnalysisGame(zavuv_sdk::Strategy& s) override {
    int game = s.GetIntVar("GameNo");
    if (game == 1) seen_["ratio_seen"] = std::to_string(s.GetRealVar("BankerWinRatio"));
    if (game == Int("ratio_game")) s.SetRealVar("bankerwinratio", std::stod(Text("ratio", "0.95")));
    if (game == Int("bad_game")) {
      s.GetIntVar(Text("bad", "").c_str());
      if (Int("catch") == 1 && s.PendingError()) {
        seen_["caught"] = s.PendingError();
        s.ClearError();
      }
    }
    if (game == Int("bool_game")) s.Host()->GetBoolVar(s.Handle(), "GameNo");
    if (game == Int("throw_game")) throw std::runtime_error("probe failed");
  }

  void AfterGetBet(zavuv_sdk::Strategy& s) override {
    if (s.GetIntVar("GameNo") == Int("blank_game")) s.SetCharVar("bet", ' ');
  }

  void AfterCalProfit(zavuv_sdk::Strategy& s) override { seen_["shoes_name"] = std::string(s.GetPCharVar("shoesname")); }

  void AfterMakeRecord(zavuv_sdk::Strategy& s) override {
    if (!jumped_ && s.GetIntVar("GameNo") == Int("jump_game")) {
      jumped_ = true;
      s.SetIntVar("GAMENO", Int("jump_to") - 1);
    }
  }

  bool SetSetting(std::string_view name, std::string_view value) override {
    settings_[std::string(name)] = std::string(value);
    return true;
  }
  std::string GetSettings() const override {
    std::string out;
    for (const auto& [k, v] : settings_) out += k + "=" + v + "\n";
    for (const auto& [k, v] : seen_) out += k + "=" + v + "\n";
    return out;
  }

 private:
  int Int(const char* name) const {
    auto it = settings_.find(name);
    return it == settings_.end() ? -1 : std::stoi(it->second);
  }
  std::string Text(const char* name, const char* fallback) const {
    auto it = settings_.find(name);
    return it == settings_.end() ? fallback : it->second;
  }
  std::map<std::string, std::string> settings_;
  std::map<std::string, std::string> seen_;
  bool jumped_ = false;
};

ZAVUV_PLUGIN(Probe, ZAVUV_KIND_SETUP, "probe")
