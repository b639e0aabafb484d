// BAStopAfterLosses.so: the additional setup "連輸後停止本靴" (stop the shoe after N
// losses in a row).
//
// It counts the lost bets in a row; once "losses" of them are reached, every later
// game of the shoe is played without a bet: its AfterGetBet hook blanks the bet the
// bet method chose. A won bet sets the count back to 0; ties and games without a bet
// leave it. A new shoe of a multi-shoe run starts afresh; a run over the current
// shoe alone has no new shoe, so the stop lasts to the end of the run.
//
// It shows the hooks of a setup and the variables: GetCharVar("Bet") and
// GetCharVar("GameResult") after the settlement, SetCharVar("Bet", ' ') to turn a
// game into one without a bet.
#include <string>

#include "zavuv_plugin.hpp"

class StopAfterLosses : public zavuv_sdk::AdditionalSetup {
 public:
  std::int32_t Losses = 3;   // "連輸局數"

  void Prepare() override { Reset(); }
  void NewShoe(zavuv_sdk::Strategy&) override { Reset(); }

  void AfterGetBet(zavuv_sdk::Strategy& strategy) override {
    if (stopped_) strategy.SetCharVar("Bet", ' ');
  }

  void AfterCalProfit(zavuv_sdk::Strategy& strategy) override {
    char bet = strategy.GetCharVar("Bet");
    char result = strategy.GetCharVar("GameResult");
    if (stopped_ || bet == ' ' || result == 'T') return;
    count_ = result == bet ? 0 : count_ + 1;
    if (count_ >= Losses) stopped_ = true;
  }

  bool SetSetting(std::string_view name, std::string_view value) override {
    return name == "losses" && ParseInt(value, 1, 100, Losses);
  }
  std::string GetSettings() const override { return "losses=" + std::to_string(Losses) + "\n"; }

 private:
  void Reset() {
    count_ = 0;
    stopped_ = false;
  }
  std::int32_t count_ = 0;
  bool stopped_ = false;
};

// "連輸後停止本靴" in Big5.
ZAVUV_PLUGIN(StopAfterLosses, ZAVUV_KIND_SETUP, "\xb3\x73\xbf\xe9\xab\xe1\xb0\xb1\xa4\xee\xa5\xbb\xb9\x75")

#ifdef ZAVUV_WITH_PANEL
#include <QFormLayout>
#include <QSpinBox>
#include <QWidget>

static QWidget* MakeStopAfterLossesPanel(StopAfterLosses& setup, QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QFormLayout(panel);
  auto* spin = new QSpinBox(panel);
  spin->setObjectName(QStringLiteral("SpinEditLosses"));
  spin->setRange(1, 100);
  spin->setValue(setup.Losses);
  QObject::connect(spin, &QSpinBox::valueChanged, panel, [&setup](int v) { setup.Losses = v; });
  layout->addRow(QStringLiteral("連輸局數後停止本靴"), spin);
  return panel;
}

ZAVUV_PLUGIN_PANEL(StopAfterLosses, MakeStopAfterLossesPanel)
#endif
