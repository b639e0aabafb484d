#include "net/TFormChangeInfo.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zavuv {

TFormChangeInfo::TFormChangeInfo(QWidget* parent) : QtAccountDialog(parent) {
  setObjectName(QStringLiteral("TFormChangeInfo"));
  setWindowTitle(QStringLiteral("更改帳戶資料"));
  SetClientSize({260, 230});
  EditUserID = Edit("EditUserID", 10);
  EditUserID->setEnabled(false);
  EditNickName = Edit("EditNickName", 20);
  EditNickName->setEnabled(false);
  EditUserPassword = Edit("EditUserPassword", 10, true);
  EditNewPassword = Edit("EditNewPassword", 10, true);
  EditConfirmPassword = Edit("EditConfirmPassword", 10, true);
  EditEmail = Edit("EditEmail", 30);
  LabelSetNickName = Caption("LabelSetNickName",
                             "\n閣下可於第一次登入時選定網名\n\n該網名可作為與其他用戶交流分享之用\n\n"
                             "而且網名一經選定後便不能更改",
                             nullptr);
  LabelSetNickName->setAlignment(Qt::AlignCenter);
  LabelSetNickName->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  LabelSetNickName->hide();
  BtnLogin = Button("BtnLogin", "更改");
  BtnCancel = Button("BtnCancel", "取消");

  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(4);
  int row = 0;
  auto add = [&](const char* name, const char* caption, QLineEdit* edit, bool accountField) {
    QLabel* label = Caption(name, caption, edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row++, 1);
    if (accountField) accountFields_ << label << edit;
  };
  add("LabelUserID", "使用者帳號", EditUserID, false);
  add("LabelNickName", "網名", EditNickName, false);
  int first = row;
  add("LabelUserPassword", "使用者密碼", EditUserPassword, true);
  add("LabelNewPassword", "新密碼", EditNewPassword, true);
  add("LabelConfirmPassword", "確認新密碼", EditConfirmPassword, true);
  add("LabelEmail", "電郵地址", EditEmail, true);
  // The notice takes the place of the four fields.
  grid->addWidget(LabelSetNickName, first, 0, 4, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(ButtonRow(BtnLogin, BtnCancel));
  connect(BtnLogin, &QPushButton::clicked, this, &TFormChangeInfo::BtnLoginClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  WatchKeys();
}

void TFormChangeInfo::SetNickNameMode(bool on) {
  if (on) EditNickName->clear();
  EditNickName->setEnabled(on);
  for (QWidget* w : accountFields_) w->setVisible(!on);
  LabelSetNickName->setVisible(on);
}

bool TFormChangeInfo::NickNameMode() const { return EditNickName->isEnabled(); }

void TFormChangeInfo::BtnLoginClick() {
  bool ok = NickNameMode()
                ? Passed(net::CheckNickName(EditNickName->text().toStdString()))
                : Passed(net::CheckChangeInfo(EditUserPassword->text().toStdString(),
                                              EditNewPassword->text().toStdString(),
                                              EditConfirmPassword->text().toStdString()));
  if (ok) accept();
}

void TFormChangeInfo::showEvent(QShowEvent* event) {
  EditUserPassword->clear();
  EditNewPassword->clear();
  EditConfirmPassword->clear();
  EditEmail->clear();
  QtAccountDialog::showEvent(event);
}

}  // namespace zavuv
