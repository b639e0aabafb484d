// BAFollowLast.so: the bet method "跟隨上一局" (follow the last result).
//
// Before each game it reads the strategy's road ("選擇路做分析") over the results of
// the current shoe and bets for the road to repeat its last entry: on the big road
// the side of the last result that was not a tie, on a derived road the side that
// makes the next entry the same colour as the last, on a bead road the last result
// of the coming game's row. The setting "reverse" bets the other way.
//
// It shows the host calls a bet method needs: GetIntVar("GameNo") to see a new shoe
// begin, GetAnalysisRoad and GetPredict to read the road.
#include <string>

#include "zavuv_plugin.hpp"

class FollowLast : public zavuv_sdk::BetComponent {
 public:
  bool Reverse = false;   // "反跟": bet against the last entry instead

  void Prepare() override { shoe_.clear(); }
  void Restart() override { shoe_.clear(); }

  char GetBet(zavuv_sdk::Strategy& strategy) override {
    // Game 1 starts a shoe: the road is read over the current shoe only, so each
    // call costs at most one shoe's worth of work.
    if (strategy.GetIntVar("GameNo") <= 1) shoe_.clear();
    std::string_view road = strategy.GetAnalysisRoad(shoe_.c_str());
    if (road.empty()) return ' ';
    char side = road.back();
    if (Reverse) side = side == 'B' ? 'P' : 'B';
    return strategy.GetPredict(side);
  }

  void AddGameResult(char result) override { shoe_ += result; }

  bool SetSetting(std::string_view name, std::string_view value) override {
    if (name != "reverse" || (value != "0" && value != "1")) return false;
    Reverse = value == "1";
    return true;
  }
  std::string GetSettings() const override { return std::string("reverse=") + (Reverse ? "1" : "0") + "\n"; }

 private:
  std::string shoe_;   // the results seen in the current shoe
};

// "跟隨上一局" in Big5.
ZAVUV_PLUGIN(FollowLast, ZAVUV_KIND_BET_METHOD, "\xb8\xf2\xc0\x48\xa4\x57\xa4\x40\xa7\xbd")

#ifdef ZAVUV_WITH_PANEL
// The settings panel, for the window only.
#include <QCheckBox>
#include <QVBoxLayout>
#include <QWidget>

static QWidget* MakeFollowLastPanel(FollowLast& method, QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QVBoxLayout(panel);
  auto* reverse = new QCheckBox(QStringLiteral("反跟 (投注路上最後一口相反的一方)"), panel);
  reverse->setObjectName(QStringLiteral("CheckBoxReverse"));
  reverse->setChecked(method.Reverse);
  QObject::connect(reverse, &QCheckBox::toggled, panel, [&method](bool on) { method.Reverse = on; });
  layout->addWidget(reverse);
  layout->addStretch(1);
  return panel;
}

ZAVUV_PLUGIN_PANEL(FollowLast, MakeFollowLastPanel)
#endif
