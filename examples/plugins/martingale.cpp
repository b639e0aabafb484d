// BAMartingale.so: the bet amount method "馬丁加倍注碼" (martingale with a cap).
//
// The first bet stakes "base". After a lost bet the stake doubles, but never beyond
// "cap"; after a won bet it goes back to "base"; a tie keeps it. A restart (a new
// shoe with "多靴分析時每靴重新開始注碼法" on, or an additional setup's wish) starts
// again from "base".
//
// It shows how a bet amount method reads the strategy: GetCharVar("LastWin") is the
// outcome of the last settled bet, which is this method's own last bet, since the
// method is asked for a stake only in games that have a bet.
#include <algorithm>
#include <string>

#include "zavuv_plugin.hpp"

class Martingale : public zavuv_sdk::BetComponent {
 public:
  std::int32_t Base = 100;   // "基本注碼"
  std::int32_t Cap = 3200;   // "上限"

  void Prepare() override { Restart(); }
  void Restart() override {
    stake_ = 0;
    staked_ = false;
  }

  std::int32_t GetBetAmount(zavuv_sdk::Strategy& strategy) override {
    if (!staked_) {
      stake_ = Base;
    } else {
      switch (strategy.GetCharVar("LastWin")) {
        case 'L': stake_ = static_cast<std::int32_t>(std::min<long long>(2LL * stake_, Cap)); break;
        case 'W': stake_ = Base; break;
        default: break;   // a tie keeps the stake
      }
    }
    staked_ = true;
    return std::min(stake_, Cap);
  }

  bool SetSetting(std::string_view name, std::string_view value) override {
    if (name == "base") return ParseInt(value, 1, 10000000, Base);
    if (name == "cap") return ParseInt(value, 1, 2147483647, Cap);
    return false;
  }
  std::string GetSettings() const override {
    return "base=" + std::to_string(Base) + "\ncap=" + std::to_string(Cap) + "\n";
  }

 private:
  std::int32_t stake_ = 0;
  bool staked_ = false;   // a stake was given since the last restart
};

// "馬丁加倍注碼" in Big5.
ZAVUV_PLUGIN(Martingale, ZAVUV_KIND_BET_AMOUNT, "\xb0\xa8\xa4\x42\xa5\x5b\xad\xbf\xaa\x60\xbd\x58")

#ifdef ZAVUV_WITH_PANEL
#include <QFormLayout>
#include <QSpinBox>
#include <QWidget>

static QSpinBox* Field(QWidget* panel, const char* name, int min, int max, std::int32_t& value) {
  auto* spin = new QSpinBox(panel);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(min, max);
  spin->setValue(value);
  QObject::connect(spin, &QSpinBox::valueChanged, panel, [&value](int v) { value = v; });
  return spin;
}

static QWidget* MakeMartingalePanel(Martingale& amount, QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* layout = new QFormLayout(panel);
  layout->addRow(QStringLiteral("基本注碼"), Field(panel, "SpinEditBase", 1, 10000000, amount.Base));
  layout->addRow(QStringLiteral("上限"), Field(panel, "SpinEditCap", 1, 2147483647, amount.Cap));
  return panel;
}

ZAVUV_PLUGIN_PANEL(Martingale, MakeMartingalePanel)
#endif
