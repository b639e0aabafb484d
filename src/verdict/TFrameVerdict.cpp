#include "verdict/TFrameVerdict.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "widgets/QtPanelKit.h"

namespace zavuv {

QString PercentText(double fraction, int decimals) {
  if (!std::isfinite(fraction)) return QStringLiteral("—");
  return QString::number(fraction * 100, 'f', decimals) + QLatin1Char('%');
}

QString PValueText(double p) {
  if (!std::isfinite(p)) return QStringLiteral("—");
  if (p < 0.0001) return QString::number(p, 'g', 2);
  return QString::number(p, 'f', 4);
}

namespace {

QString Amount(double value) { return QString::number(value, 'f', 2); }

}  // namespace

TFrameVerdict::TFrameVerdict(QWidget* parent) : QGroupBox(QStringLiteral("勝負判定"), parent) {
  setObjectName(QStringLiteral("TFrameVerdict"));
  auto field = [this](const char* name) { return kit::FigureField(this, name, 150); };
  EditStaked = field("EditStaked");
  EditProfit = field("EditProfit");
  EditReturn = field("EditReturn");
  EditInterval = field("EditInterval");
  EditHouseEdge = field("EditHouseEdge");
  EditPHouseEdge = field("EditPHouseEdge");
  EditPBreakEven = field("EditPBreakEven");
  EditHolmP = field("EditHolmP");
  EditInterval->setMinimumWidth(150);
  EditPHouseEdge->setToolTip(QStringLiteral("真實回報與所下注的莊家優勢相同時, 出現至少這麼大差距的機會 (雙尾)"));
  EditPBreakEven->setToolTip(QStringLiteral("策略不賺錢時, 出現至少這麼好的結果的機會 (單尾); 越小越可能真的賺錢"));
  EditHolmP->setToolTip(QStringLiteral("同時判定多個策略時, 以 Holm 方法校正的 p 值"));
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  // Two columns of captioned fields.
  const std::pair<const char*, QLineEdit*> rows[] = {
      {"投注總額", EditStaked},          {"損益", EditProfit},
      {"每單位投注回報", EditReturn},    {"95% 信賴區間", EditInterval},
      {"所下注的莊家優勢", EditHouseEdge}, {"p 值 (對莊家優勢)", EditPHouseEdge},
      {"p 值 (對不輸不贏)", EditPBreakEven}, {"Holm 校正 p 值", EditHolmP}};
  int i = 0;
  for (const auto& [caption, edit] : rows) {
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QStringLiteral("Label") + edit->objectName().mid(4));
    label->setBuddy(edit);
    grid->addWidget(label, i / 2, (i % 2) * 2);
    grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
    ++i;
  }
  LabelVerdict = kit::Label(this, "LabelVerdict", "");
  LabelVerdict->setWordWrap(true);
  QFont bold = LabelVerdict->font();
  bold.setBold(true);
  LabelVerdict->setFont(bold);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(4);
  layout->addLayout(grid);
  layout->addWidget(LabelVerdict);
  Clear();
}

void TFrameVerdict::Clear() {
  for (QLineEdit* e : findChildren<QLineEdit*>()) e->clear();
  LabelVerdict->setText(QStringLiteral("判定: 尚未分析"));
}

void TFrameVerdict::ShowVerdict(const Verdict& v, double holmP) {
  const bool bets = v.Kind != VerdictKind::NoBets;
  EditStaked->setText(Amount(v.Staked));
  EditProfit->setText(Amount(v.Profit));
  EditReturn->setText(bets ? PercentText(v.ReturnPerUnit) : QStringLiteral("—"));
  EditInterval->setText(v.HasInterval ? PercentText(v.CiLow) + QStringLiteral(" 至 ") + PercentText(v.CiHigh)
                                      : QStringLiteral("—"));
  EditHouseEdge->setText(bets ? PercentText(v.HouseEdge) : QStringLiteral("—"));
  EditPHouseEdge->setText(v.HasInterval ? PValueText(v.PVsHouseEdge) : QStringLiteral("—"));
  EditPBreakEven->setText(v.HasInterval ? PValueText(v.PVsBreakEven) : QStringLiteral("—"));
  EditHolmP->setText(std::isfinite(holmP) ? PValueText(holmP) : QString());
  LabelVerdict->setText(QStringLiteral("判定: ") + QString::fromStdString(v.Text()));
}

}  // namespace zavuv
