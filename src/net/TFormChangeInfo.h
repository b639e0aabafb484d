// The account dialog "更改帳戶資料". In account-change mode it takes the current
// password, a new one twice and an e-mail address; in nickname mode (the first login)
// it asks only for the nickname, the password and e-mail fields hidden and a notice
// shown in their place.
#pragma once

#include "net/QtAccountDialog.h"

namespace zavuv {

class TFormChangeInfo : public QtAccountDialog {
  Q_OBJECT

 public:
  explicit TFormChangeInfo(QWidget* parent = nullptr);

  // Nickname mode: EditNickName emptied and enabled, the four fields hidden, the
  // notice shown. Account-change mode: EditNickName disabled, the fields back.
  void SetNickNameMode(bool on);
  bool NickNameMode() const;

  QLineEdit* EditUserID = nullptr;           // "使用者帳號", disabled, at most 10
  QLineEdit* EditNickName = nullptr;         // "網名", disabled, at most 20
  QLineEdit* EditUserPassword = nullptr;     // "使用者密碼"
  QLineEdit* EditNewPassword = nullptr;      // "新密碼"
  QLineEdit* EditConfirmPassword = nullptr;  // "確認新密碼"
  QLineEdit* EditEmail = nullptr;            // "電郵地址", at most 30
  QLabel* LabelSetNickName = nullptr;
  QPushButton* BtnLogin = nullptr;  // "更改"
  QPushButton* BtnCancel = nullptr;

 public slots:
  void BtnLoginClick();

 protected:
  // The three passwords and the e-mail are emptied.
  void showEvent(QShowEvent* event) override;

 private:
  QList<QWidget*> accountFields_;  // the four fields and their captions
};

}  // namespace zavuv
