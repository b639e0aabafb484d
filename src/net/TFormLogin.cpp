#include "net/TFormLogin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zavuv {

TFormLogin::TFormLogin(QWidget* parent) : QtAccountDialog(parent) {
  setObjectName(QStringLiteral("TFormLogin"));
  setWindowTitle(QStringLiteral("登入"));
  SetClientSize({200, 100});
  EditUserID = Edit("EditUserID", 10);
  EditUserPassword = Edit("EditUserPassword", 10, true);
  BtnLogin = Button("BtnLogin", "登入");
  BtnCancel = Button("BtnCancel", "取消");
  auto* grid = new QGridLayout;
  grid->addWidget(Caption("LabelUserID", "帳戶編號", EditUserID), 0, 0);
  grid->addWidget(EditUserID, 0, 1);
  grid->addWidget(Caption("LabelUserPassword", "帳戶密碼", EditUserPassword), 1, 0);
  grid->addWidget(EditUserPassword, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addLayout(grid);
  layout->addLayout(ButtonRow(BtnLogin, BtnCancel));
  connect(BtnLogin, &QPushButton::clicked, this, &TFormLogin::BtnLoginClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  WatchKeys();
}

void TFormLogin::BtnLoginClick() {
  if (Passed(net::CheckLogin(EditUserID->text().toStdString(), EditUserPassword->text().toStdString()))) accept();
}

void TFormLogin::showEvent(QShowEvent* event) {
  EditUserPassword->clear();
  EditUserID->setFocus();
  QtAccountDialog::showEvent(event);
}

}  // namespace zavuv
