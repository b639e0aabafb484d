#include "bets/TFrameBetAmountLevel.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameBetAmountLevel::TFrameBetAmountLevel(BetAmountLevel& amount, QWidget* parent)
    : TFrameCommonBet(parent), amount_(amount) {
  setObjectName(QStringLiteral("TFrameBetAmountLevel"));
  const TableFilePanelNames names{
      "DBNavigatorBetAmount", "DataSourceBetAmount", "DBGridBetAmount", "BtnReadAmt", "讀入注碼法", "BtnSaveAmt",
      "儲存注碼法", "BtnSaveBetAmountToServer", "儲存本注碼法到伺服器", "LabelBetAmountInfo", "注碼法說明",
      "MemoBetAmountInfo",
      {QStringLiteral("第一級"), QStringLiteral("上一級"), QStringLiteral("下一級"), QStringLiteral("最後一級"),
       QStringLiteral("插入一級"), QStringLiteral("刪除這一級"), QStringLiteral("修改這一級"),
       QStringLiteral("確認修改"), QStringLiteral("取消修改")},
      QStringLiteral("刪除這一級注碼?"), "百家樂注碼法(*.AMT)|*.AMT", "AMT"};
  // The level steps sit between the file buttons and the server button.
  auto makeSteps = [this]() -> QLayout* {
    SpinEditWinlevelMove = Spin(this, "SpinEditWinlevelMove", amount_.WinLevelMove);
    SpinEditLoseLevelMove = Spin(this, "SpinEditLoseLevelMove", amount_.LoseLevelMove);
    auto* winLabel = Label(this, "LabelWinlevelMove", "羸時注碼級數變動");
    winLabel->setBuddy(SpinEditWinlevelMove);
    auto* loseLabel = Label(this, "LabelLoseLevelMove", "輸時注碼級數變動");
    loseLabel->setBuddy(SpinEditLoseLevelMove);
    auto* steps = new QGridLayout;
    steps->addWidget(winLabel, 0, 0);
    steps->addWidget(SpinEditWinlevelMove, 0, 1);
    steps->addWidget(loseLabel, 1, 0);
    steps->addWidget(SpinEditLoseLevelMove, 1, 1);
    steps->setColumnStretch(2, 1);
    return steps;
  };
  files_ = std::make_unique<QtTableFilePanel>(
      this, names,
      TableFileComponent{amount_.Table(), amount_.Info, amount_.LastFileName,
                         [this](const std::string& path) { amount_.ReadAmt(path); },
                         [this](const std::string& path) { amount_.SaveAmt(path); }},
      makeSteps, [this] { LoadSettings(); });
  DBNavigatorBetAmount = files_->Navigator;
  DataSourceBetAmount = files_->Model;
  DBGridBetAmount = files_->Grid;
  BtnReadAmt = files_->ReadButton;
  BtnSaveAmt = files_->SaveButton;
  BtnSaveBetAmountToServer = files_->ServerButton;
  MemoBetAmountInfo = files_->Memo;
  connect(SpinEditWinlevelMove, &QSpinBox::valueChanged, this, [this](int v) { amount_.WinLevelMove = v; });
  connect(SpinEditLoseLevelMove, &QSpinBox::valueChanged, this, [this](int v) { amount_.LoseLevelMove = v; });
  LoadSettings();
}

TFrameBetAmountLevel::~TFrameBetAmountLevel() { files_->Detach(); }

void TFrameBetAmountLevel::LoadSettings() {
  SpinEditWinlevelMove->setValue(amount_.WinLevelMove);
  SpinEditLoseLevelMove->setValue(amount_.LoseLevelMove);
  files_->ShowInfo();
}

void TFrameBetAmountLevel::BtnReadAmtClick() { files_->ReadClick(); }
void TFrameBetAmountLevel::BtnSaveAmtClick() { files_->SaveClick(); }

}  // namespace zavuv
