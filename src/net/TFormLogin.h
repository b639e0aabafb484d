// The login dialog "登入": account number and password, checked before it closes.
// Shown when the user presses "登入" without automatic login; with automatic login the
// window copies the setup page's account into its fields and does not show it.
#pragma once

#include "net/QtAccountDialog.h"

namespace zavuv {

class TFormLogin : public QtAccountDialog {
  Q_OBJECT

 public:
  explicit TFormLogin(QWidget* parent = nullptr);

  QLineEdit* EditUserID = nullptr;        // "帳戶編號", at most 10 characters
  QLineEdit* EditUserPassword = nullptr;  // "帳戶密碼", at most 10, shown as *
  QPushButton* BtnLogin = nullptr;
  QPushButton* BtnCancel = nullptr;

 public slots:
  void BtnLoginClick();

 protected:
  // Client area 200 x 100, the password emptied, the focus on the account number.
  void showEvent(QShowEvent* event) override;
};

}  // namespace zavuv
