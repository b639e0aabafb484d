#include "bets/TFrameBetAmountLevel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"

namespace zavuv {

using namespace kit;

namespace {
const char* const kAmtFilter = "百家樂注碼法(*.AMT)|*.AMT";
}

TFrameBetAmountLevel::TFrameBetAmountLevel(BetAmountLevel& amount, QWidget* parent)
    : TFrameCommonBet(parent), amount_(amount) {
  setObjectName(QStringLiteral("TFrameBetAmountLevel"));
  DBNavigatorBetAmount = Named(new QtNavigator(this), "DBNavigatorBetAmount");
  DBNavigatorBetAmount->SetTable(&amount_.Table());
  DBNavigatorBetAmount->SetHints({QStringLiteral("第一級"), QStringLiteral("上一級"), QStringLiteral("下一級"),
                                  QStringLiteral("最後一級"), QStringLiteral("插入一級"), QStringLiteral("刪除這一級"),
                                  QStringLiteral("修改這一級"), QStringLiteral("確認修改"), QStringLiteral("取消修改")});
  DBNavigatorBetAmount->SetDeleteQuestion(QStringLiteral("刪除這一級注碼?"));
  DBNavigatorBetAmount->setFixedWidth(9 * 26);
  DBGridBetAmount = Named(new QTableView(this), "DBGridBetAmount");
  DataSourceBetAmount = Named(new QtTableModel(&amount_.Table(), this), "DataSourceBetAmount");
  DataSourceBetAmount->BindView(DBGridBetAmount);
  DBGridBetAmount->horizontalHeader()->setStretchLastSection(true);
  BtnReadAmt = Button(this, "BtnReadAmt", "讀入注碼法");
  BtnSaveAmt = Button(this, "BtnSaveAmt", "儲存注碼法");
  SpinEditWinlevelMove = Spin(this, "SpinEditWinlevelMove", amount_.WinLevelMove);
  SpinEditLoseLevelMove = Spin(this, "SpinEditLoseLevelMove", amount_.LoseLevelMove);
  auto* winLabel = Label(this, "LabelWinlevelMove", "羸時注碼級數變動");
  winLabel->setBuddy(SpinEditWinlevelMove);
  auto* loseLabel = Label(this, "LabelLoseLevelMove", "輸時注碼級數變動");
  loseLabel->setBuddy(SpinEditLoseLevelMove);
  BtnSaveBetAmountToServer = Button(this, "BtnSaveBetAmountToServer", "儲存本注碼法到伺服器");
  BtnSaveBetAmountToServer->setEnabled(false);
  auto* infoLabel = Label(this, "LabelBetAmountInfo", "注碼法說明");
  MemoBetAmountInfo = Named(new QPlainTextEdit(this), "MemoBetAmountInfo");
  infoLabel->setBuddy(MemoBetAmountInfo);

  connect(BtnReadAmt, &QPushButton::clicked, this, &TFrameBetAmountLevel::BtnReadAmtClick);
  connect(BtnSaveAmt, &QPushButton::clicked, this, &TFrameBetAmountLevel::BtnSaveAmtClick);
  connect(SpinEditWinlevelMove, &QSpinBox::valueChanged, this, [this](int v) { amount_.WinLevelMove = v; });
  connect(SpinEditLoseLevelMove, &QSpinBox::valueChanged, this, [this](int v) { amount_.LoseLevelMove = v; });
  connect(MemoBetAmountInfo, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) amount_.Info = Utf8ToBig5(MemoBetAmountInfo->toPlainText().toStdString());
  });

  auto* left = new QVBoxLayout;
  left->addWidget(DBNavigatorBetAmount);
  left->addWidget(DBGridBetAmount, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnReadAmt);
  buttons->addWidget(BtnSaveAmt);
  buttons->addStretch(1);
  auto* steps = new QGridLayout;
  steps->addWidget(winLabel, 0, 0);
  steps->addWidget(SpinEditWinlevelMove, 0, 1);
  steps->addWidget(loseLabel, 1, 0);
  steps->addWidget(SpinEditLoseLevelMove, 1, 1);
  steps->setColumnStretch(2, 1);
  auto* right = new QVBoxLayout;
  right->addLayout(buttons);
  right->addLayout(steps);
  right->addWidget(BtnSaveBetAmountToServer, 0, Qt::AlignLeft);
  right->addWidget(infoLabel);
  right->addWidget(MemoBetAmountInfo, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);
  LoadSettings();
}

TFrameBetAmountLevel::~TFrameBetAmountLevel() {
  DataSourceBetAmount->SetTable(nullptr);
  DBNavigatorBetAmount->SetTable(nullptr);
}

void TFrameBetAmountLevel::LoadSettings() {
  loading_ = true;
  SpinEditWinlevelMove->setValue(amount_.WinLevelMove);
  SpinEditLoseLevelMove->setValue(amount_.LoseLevelMove);
  const QString info = QString::fromStdString(Big5ToUtf8(amount_.Info));
  if (MemoBetAmountInfo->toPlainText() != info) MemoBetAmountInfo->setPlainText(info);
  loading_ = false;
}

void TFrameBetAmountLevel::BtnReadAmtClick() {
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kAmtFilter), QStringLiteral("AMT"),
                                      FromFileName(amount_.LastFileName));
  if (path.isEmpty()) return;
  Guarded(this, [&] { amount_.ReadAmt(FileName(path)); });
  LoadSettings();
}

void TFrameBetAmountLevel::BtnSaveAmtClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kAmtFilter), QStringLiteral("AMT"),
                                      FromFileName(amount_.LastFileName));
  if (path.isEmpty()) return;
  Guarded(this, [&] { amount_.SaveAmt(FileName(path)); });
}

}  // namespace zavuv
