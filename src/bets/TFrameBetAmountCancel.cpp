#include "bets/TFrameBetAmountCancel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"

namespace zavuv {

using namespace kit;

TFrameBetAmountCancel::TFrameBetAmountCancel(BetAmountCancel& amount, QWidget* parent)
    : TFrameCommonBet(parent), amount_(amount) {
  setObjectName(QStringLiteral("TFrameBetAmountCancel"));
  DBNavigatorBetAmount = Named(new QtNavigator(this), "DBNavigatorBetAmount");
  DBNavigatorBetAmount->SetTable(&amount_.Table());
  DBNavigatorBetAmount->SetHints({QStringLiteral("第一個注碼"), QStringLiteral("上一個注碼"),
                                  QStringLiteral("下一個注碼"), QStringLiteral("最後一個注碼"),
                                  QStringLiteral("插入注碼"), QStringLiteral("刪除注碼"), QStringLiteral("修改注碼"),
                                  QStringLiteral("確認修改"), QStringLiteral("取消修改")});
  DBNavigatorBetAmount->SetDeleteQuestion(QStringLiteral("刪除這個注碼?"));
  DBNavigatorBetAmount->setFixedWidth(9 * 26);
  DBGridBetAmount = Named(new QTableView(this), "DBGridBetAmount");
  DataSourceBetAmount = Named(new QtTableModel(&amount_.Table(), this), "DataSourceBetAmount");
  DataSourceBetAmount->BindView(DBGridBetAmount);
  DBGridBetAmount->horizontalHeader()->setStretchLastSection(true);

  RadioGroupBetAmountNoType = Named(new QGroupBox(QStringLiteral("選擇注碼方式"), this), "RadioGroupBetAmountNoType");
  RadioFirstAndLast = Named(new QRadioButton(QStringLiteral("第一及最後一注"), RadioGroupBetAmountNoType),
                            "RadioFirstAndLast");
  RadioFirstAndSecond = Named(new QRadioButton(QStringLiteral("第一及第二注"), RadioGroupBetAmountNoType),
                              "RadioFirstAndSecond");
  auto* radios = new QVBoxLayout(RadioGroupBetAmountNoType);
  radios->addWidget(RadioFirstAndLast);
  radios->addWidget(RadioFirstAndSecond);
  SpinEditLargest = Spin(this, "SpinEditLargest", amount_.Largest);
  SpinEditLargest->setToolTip(QStringLiteral("當下注等於或大於此注碼, 而又輸了的話便當作斷纜\n輸入0或負數即表示不使用此設定"));
  SpinEditUpperLimit = Spin(this, "SpinEditUpperLimit", amount_.UpperLimit);
  SpinEditUpperLimit->setToolTip(QStringLiteral("當下注大於此注碼, 即是爆了紅不能下注, 亦當作斷纜\n輸入0或負數即表示不使用此設定"));
  auto* largestLabel = Label(this, "LabelLargest", "斷纜注碼");
  largestLabel->setBuddy(SpinEditLargest);
  auto* limitLabel = Label(this, "LabelUpperLimit", "限紅注碼");
  limitLabel->setBuddy(SpinEditUpperLimit);

  connect(RadioFirstAndLast, &QRadioButton::toggled, this, [this](bool on) {
    amount_.BetAmountNoType = on ? BetAmountCancel::kFirstAndLast : BetAmountCancel::kFirstAndSecond;
  });
  connect(SpinEditLargest, &QSpinBox::valueChanged, this, [this](int v) { amount_.Largest = v; });
  connect(SpinEditUpperLimit, &QSpinBox::valueChanged, this, [this](int v) { amount_.UpperLimit = v; });

  auto* left = new QVBoxLayout;
  left->addWidget(DBNavigatorBetAmount);
  left->addWidget(DBGridBetAmount, 1);
  auto* fields = new QGridLayout;
  fields->addWidget(largestLabel, 0, 0);
  fields->addWidget(SpinEditLargest, 0, 1);
  fields->addWidget(limitLabel, 1, 0);
  fields->addWidget(SpinEditUpperLimit, 1, 1);
  fields->setColumnStretch(2, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(RadioGroupBetAmountNoType);
  right->addLayout(fields);
  right->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  main_ = new QVBoxLayout(this);
  main_->setContentsMargins(0, 0, 0, 0);
  main_->addLayout(columns, 1);
  LoadSettings();
}

TFrameBetAmountCancel::~TFrameBetAmountCancel() {
  DataSourceBetAmount->SetTable(nullptr);
  DBNavigatorBetAmount->SetTable(nullptr);
}

void TFrameBetAmountCancel::LoadSettings() {
  (amount_.BetAmountNoType == BetAmountCancel::kFirstAndSecond ? RadioFirstAndSecond : RadioFirstAndLast)
      ->setChecked(true);
  SpinEditLargest->setValue(amount_.Largest);
  SpinEditUpperLimit->setValue(amount_.UpperLimit);
}

}  // namespace zavuv
