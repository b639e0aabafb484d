// The sign-up dialog "開戶": the e-mail address the server mails the new account to.
#pragma once

#include "net/QtAccountDialog.h"

namespace zavuv {

class TFormSignUp : public QtAccountDialog {
  Q_OBJECT

 public:
  explicit TFormSignUp(QWidget* parent = nullptr);

  QLabel* LabelNotice = nullptr;
  QLineEdit* EditEMail = nullptr;  // "電郵地址", at most 30 characters
  QPushButton* BtnSignUp = nullptr;
  QPushButton* BtnCancel = nullptr;

 public slots:
  void BtnSignUpClick();

 protected:
  // Client area 250 x 100, the focus on the e-mail.
  void showEvent(QShowEvent* event) override;
};

}  // namespace zavuv
