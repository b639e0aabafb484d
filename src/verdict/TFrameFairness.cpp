#include "verdict/TFrameFairness.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "verdict/TFrameVerdict.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

TFrameFairness::TFrameFairness(QWidget* parent) : QGroupBox(QStringLiteral("理論與實際"), parent) {
  setObjectName(QStringLiteral("TFrameFairness"));
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  const char* const heads[] = {"實際比例", "95% 信賴區間", "八副牌理論機率"};
  for (int c = 0; c < 3; ++c) grid->addWidget(new QLabel(QString::fromUtf8(heads[c]), this), 0, c + 1);
  const char* const sides[] = {"莊", "閒", "和"};
  const char* const keys[] = {"Banker", "Player", "Tie"};
  for (int r = 0; r < 3; ++r) {
    grid->addWidget(new QLabel(QString::fromUtf8(sides[r]), this), r + 1, 0);
    const QString key = QString::fromLatin1(keys[r]);
    EditObserved[r] = kit::FigureField(this, "", 80);
    EditObserved[r]->setObjectName(QStringLiteral("EditObserved") + key);
    EditInterval[r] = kit::FigureField(this, "", 150);
    EditInterval[r]->setObjectName(QStringLiteral("EditInterval") + key);
    EditExpected[r] = kit::FigureField(this, "", 80);
    EditExpected[r]->setObjectName(QStringLiteral("EditExpected") + key);
    grid->addWidget(EditObserved[r], r + 1, 1);
    grid->addWidget(EditInterval[r], r + 1, 2);
    grid->addWidget(EditExpected[r], r + 1, 3);
  }
  EditChiSquareP = kit::FigureField(this, "EditChiSquareP", 80);
  EditChiSquareP->setToolTip(QStringLiteral("記錄與公平的八副牌相符時, 出現至少這麼大偏差的機會 (卡方檢定)"));
  auto* caption = kit::Label(this, "LabelChiSquareP", "卡方檢定 p 值");
  caption->setBuddy(EditChiSquareP);
  grid->addWidget(caption, 4, 0, 1, 2, Qt::AlignRight);
  grid->addWidget(EditChiSquareP, 4, 3);
  LabelFairness = kit::Label(this, "LabelFairness", "");
  LabelFairness->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->addLayout(grid);
  layout->addWidget(LabelFairness);
  ShowFairness(CheckFairness(0, 0, 0));
}

void TFrameFairness::ShowFairness(const Fairness& f) {
  for (int i = 0; i < 3; ++i) {
    const bool games = f.Games > 0;
    EditObserved[i]->setText(games ? PercentText(f.Observed[i], 2) : QStringLiteral("—"));
    EditInterval[i]->setText(games ? PercentText(f.Low[i], 2) + QStringLiteral(" 至 ") + PercentText(f.High[i], 2)
                                   : QStringLiteral("—"));
    EditExpected[i]->setText(PercentText(f.Expected[i], 2));
  }
  EditChiSquareP->setText(f.HasP ? PValueText(f.P) : QStringLiteral("—"));
  LabelFairness->setText(QString::fromStdString(f.Text()));
}

}  // namespace zavuv
