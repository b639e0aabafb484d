#include "stats/TFrameShoeStats.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "stats/TFrameContinuous.h"
#include "verdict/TFrameFairness.h"

namespace zavuv {

namespace {

QLineEdit* Field(QWidget* parent, const char* name) { return kit::FigureField(parent, name, 110); }

}  // namespace

TFrameShoeStats::TFrameShoeStats(ShoeStats& stats, QWidget* parent) : QWidget(parent), stats_(stats) {
  setObjectName(QStringLiteral("TFrameShoeStats"));
  EditNoOfBanker = Field(this, "EditNoOfBanker");
  EditNoOfPlayer = Field(this, "EditNoOfPlayer");
  EditNoOfTie = Field(this, "EditNoOfTie");
  EditB_Ratio = Field(this, "EditB_Ratio");
  EditP_Ratio = Field(this, "EditP_Ratio");
  EditNoOfSame = Field(this, "EditNoOfSame");
  EditNoOfDiff = Field(this, "EditNoOfDiff");

  auto* form = new QGridLayout;
  form->setHorizontalSpacing(6);
  kit::AddCaptionedRows(form, this,
                        {{"開莊次數", EditNoOfBanker}, {"開閒次數", EditNoOfPlayer}, {"開和次數", EditNoOfTie},
                         {"莊閒比:莊", EditB_Ratio}, {"莊閒比:閒", EditP_Ratio}, {"開黐次數", EditNoOfSame},
                         {"開跳次數", EditNoOfDiff}});

  CheckBoxStatEach = new QCheckBox(QStringLiteral("多靴統計時每靴重新開始計算連莊連閒"), this);
  CheckBoxStatEach->setObjectName(QStringLiteral("CheckBoxStatEach"));
  CheckBoxStatEach->setChecked(true);
  BtnStatAll = new QPushButton(QStringLiteral("統計分段資料"), this);
  BtnStatAll->setObjectName(QStringLiteral("BtnStatAll"));

  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addSpacing(8);
  left->addWidget(CheckBoxStatEach);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(BtnStatAll);
  buttonRow->addStretch(1);
  left->addLayout(buttonRow);
  FrameFairness = new TFrameFairness(this);
  left->addWidget(FrameFairness);
  left->addStretch(1);

  ConBanker = new TFrameContinuous(this);
  ConBanker->setObjectName(QStringLiteral("ConBanker"));
  ConBanker->SetCaption(QStringLiteral("連開莊統計"));
  ConBanker->SetContinuous(&stats_.ConBanker);
  ConPlayer = new TFrameContinuous(this);
  ConPlayer->setObjectName(QStringLiteral("ConPlayer"));
  ConPlayer->SetCaption(QStringLiteral("連開閒統計"));
  ConPlayer->SetContinuous(&stats_.ConPlayer);
  for (TFrameContinuous* frame : {ConBanker, ConPlayer}) frame->setFixedWidth(150);

  // The page scrolls inside itself when the window is smaller than it needs.
  auto* contents = new QWidget;
  contents->setObjectName(QStringLiteral("ScrollBoxShoeStatsContents"));
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setParent(contents);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("ScrollBoxShoeStats"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);
  auto* layout = new QHBoxLayout(contents);
  layout->addLayout(left);
  layout->addSpacing(12);
  layout->addWidget(ConBanker);
  layout->addWidget(ConPlayer);
  layout->addStretch(1);
  scroll->setWidget(contents);
  ShowShoeStats();
}

void TFrameShoeStats::ShowShoeStats() {
  EditNoOfBanker->setText(QString::number(stats_.NoOfBanker));
  EditNoOfPlayer->setText(QString::number(stats_.NoOfPlayer));
  EditNoOfTie->setText(QString::number(stats_.NoOfTie));
  EditB_Ratio->setText(QString::fromStdString(stats_.BankerRatioText()));
  EditP_Ratio->setText(QString::fromStdString(stats_.PlayerRatioText()));
  EditNoOfSame->setText(QString::number(stats_.NoOfSame));
  EditNoOfDiff->setText(QString::number(stats_.NoOfDiff));
  // The same check as Workbench::ShoeFairness, of the counts shown above.
  FrameFairness->ShowFairness(CheckFairness(stats_.NoOfBanker, stats_.NoOfPlayer, stats_.NoOfTie));
}

}  // namespace zavuv
