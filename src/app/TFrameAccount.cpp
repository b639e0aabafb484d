#include "app/TFrameAccount.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameAccount::TFrameAccount(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelConnectServer"));
  setFixedWidth(169);
  auto* lvlCaption = Label(this, "LabelLvlCaption", "等級:");
  LabelLvl = Label(this, "LabelLvl", "");
  BtnLevelboard = Button(this, "BtnLevelboard", "英雄榜");
  auto* expCaption = Label(this, "LabelExpCaption", "經驗:");
  ImageExp = Label(this, "ImageExp", "");
  ImageExp->setFixedSize(121, 20);
  LabelExp = Label(ImageExp, "LabelExp", "");
  LabelExp->setGeometry(8, 0, 105, 20);
  LabelExp->setAlignment(Qt::AlignCenter);
  BtnConnect = Button(this, "BtnConnect", "登入");
  BtnConnect->setCheckable(true);
  BtnChangeInfo = Button(this, "BtnChangeInfo", "更改帳戶資料");
  BtnGetOnlineList = Button(this, "BtnGetOnlineList", "在線名單");
  BtnSignUp = Button(this, "BtnSignUp", "開新帳戶");
  auto* infoCaption = Label(this, "LabelMessage", "資訊");
  MemoMessage = Named(new QTextEdit(this), "MemoMessage");
  MemoMessage->setReadOnly(true);
  MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* chatCaption = Label(this, "LabelChat", "交談");
  BtnChatFont = Button(this, "BtnChatFont", "對話字型");
  BtnClearMsg = Button(this, "BtnClearMsg", "清除");
  EditMessage = Named(new QLineEdit(this), "EditMessage");
  EditMessage->setMaxLength(100);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(3);
  auto* lvlRow = new QHBoxLayout;
  lvlRow->addWidget(lvlCaption);
  lvlRow->addWidget(LabelLvl, 1);
  lvlRow->addWidget(BtnLevelboard);
  layout->addLayout(lvlRow);
  auto* expRow = new QHBoxLayout;
  expRow->addWidget(expCaption);
  expRow->addWidget(ImageExp);
  expRow->addStretch(1);
  layout->addLayout(expRow);
  auto* account = new QGridLayout;
  account->setSpacing(2);
  account->addWidget(BtnConnect, 0, 0);
  account->addWidget(BtnChangeInfo, 0, 1);
  account->addWidget(BtnGetOnlineList, 1, 0);
  account->addWidget(BtnSignUp, 1, 1);
  layout->addLayout(account);
  layout->addWidget(infoCaption);
  layout->addWidget(MemoMessage, 1);
  auto* chatRow = new QHBoxLayout;
  chatRow->addWidget(chatCaption);
  chatRow->addStretch(1);
  chatRow->addWidget(BtnChatFont);
  chatRow->addWidget(BtnClearMsg);
  layout->addLayout(chatRow);
  layout->addWidget(EditMessage);
  for (QPushButton* b : {BtnConnect, BtnChangeInfo, BtnGetOnlineList, BtnSignUp, BtnLevelboard, BtnChatFont, BtnClearMsg})
    b->setStyleSheet(QStringLiteral("padding: 2px 3px;"));

  // No server connection yet: the account controls wait for the networking.
  for (QWidget* w : {static_cast<QWidget*>(BtnLevelboard), static_cast<QWidget*>(BtnConnect),
                     static_cast<QWidget*>(BtnChangeInfo), static_cast<QWidget*>(BtnGetOnlineList),
                     static_cast<QWidget*>(BtnSignUp), static_cast<QWidget*>(BtnChatFont),
                     static_cast<QWidget*>(BtnClearMsg), static_cast<QWidget*>(EditMessage)})
    w->setEnabled(false);
}

}  // namespace zavuv
