#include "bets/TFrameBetMethodPattern.h"

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
const char* const kMedFilter = "百家樂投注法(*.MED)|*.MED";
}

TFrameBetMethodPattern::TFrameBetMethodPattern(BetMethodPattern& method, QWidget* parent)
    : TFrameCommonBet(parent), method_(method) {
  setObjectName(QStringLiteral("TFrameBetMethodPattern"));
  DBNavigatorBet = Named(new QtNavigator(this), "DBNavigatorBet");
  DBNavigatorBet->SetTable(&method_.Table());
  DBNavigatorBet->SetHints({QStringLiteral("第一個形態"), QStringLiteral("上一個形態"), QStringLiteral("下一個形態"),
                            QStringLiteral("最後一個形態"), QStringLiteral("插入形態"), QStringLiteral("刪除形態"),
                            QStringLiteral("修改形態"), QStringLiteral("確認修改"), QStringLiteral("取消修改")});
  DBNavigatorBet->SetDeleteQuestion(QStringLiteral("刪除這個形態?"));
  DBGridBet = Named(new QTableView(this), "DBGridBet");
  DataSourceBetMethod = Named(new QtTableModel(&method_.Table(), this), "DataSourceBetMethod");
  DataSourceBetMethod->BindView(DBGridBet);
  DBGridBet->setColumnWidth(0, 110);
  DBGridBet->setColumnWidth(1, 50);
  DBGridBet->horizontalHeader()->setStretchLastSection(true);
  BtnReadBet = Button(this, "BtnReadBet", "讀入投注法");
  BtnSaveBet = Button(this, "BtnSaveBet", "儲存投注法");
  BtnSaveBetToServer = Button(this, "BtnSaveBetToServer", "儲存本投注法到伺服器");
  BtnSaveBetToServer->setEnabled(false);
  auto* infoLabel = Label(this, "LabelBetInfo", "投注法說明");
  MemoBetInfo = Named(new QPlainTextEdit(this), "MemoBetInfo");
  infoLabel->setBuddy(MemoBetInfo);

  connect(BtnReadBet, &QPushButton::clicked, this, &TFrameBetMethodPattern::BtnReadBetClick);
  connect(BtnSaveBet, &QPushButton::clicked, this, &TFrameBetMethodPattern::BtnSaveBetClick);
  connect(MemoBetInfo, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) method_.Info = Utf8ToBig5(MemoBetInfo->toPlainText().toStdString());
  });

  auto* left = new QVBoxLayout;
  left->addWidget(DBNavigatorBet);
  left->addWidget(DBGridBet, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnReadBet);
  buttons->addWidget(BtnSaveBet);
  buttons->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addLayout(buttons);
  right->addWidget(BtnSaveBetToServer, 0, Qt::AlignLeft);
  right->addWidget(infoLabel);
  right->addWidget(MemoBetInfo, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);
  DBNavigatorBet->setFixedWidth(9 * 26);
  LoadSettings();
}

TFrameBetMethodPattern::~TFrameBetMethodPattern() {
  // Let go of the table first: the component may go right after its panel.
  DataSourceBetMethod->SetTable(nullptr);
  DBNavigatorBet->SetTable(nullptr);
}

void TFrameBetMethodPattern::LoadSettings() {
  loading_ = true;
  const QString info = QString::fromStdString(Big5ToUtf8(method_.Info));
  if (MemoBetInfo->toPlainText() != info) MemoBetInfo->setPlainText(info);
  loading_ = false;
}

void TFrameBetMethodPattern::BtnReadBetClick() {
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kMedFilter), QStringLiteral("MED"),
                                      FromFileName(method_.LastFileName));
  if (path.isEmpty()) return;
  Guarded(this, [&] { method_.ReadBet(FileName(path)); });
  LoadSettings();
}

void TFrameBetMethodPattern::BtnSaveBetClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kMedFilter), QStringLiteral("MED"),
                                      FromFileName(method_.LastFileName));
  if (path.isEmpty()) return;
  Guarded(this, [&] { method_.SaveBet(FileName(path)); });
}

}  // namespace zavuv
