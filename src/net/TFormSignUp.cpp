#include "net/TFormSignUp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zavuv {

TFormSignUp::TFormSignUp(QWidget* parent) : QtAccountDialog(parent) {
  setObjectName(QStringLiteral("TFormSignUp"));
  setWindowTitle(QStringLiteral("開戶"));
  SetClientSize({250, 100});
  EditEMail = Edit("EditEMail", 30);
  LabelNotice = Caption("LabelNotice", "閣下之帳號及密碼將電郵到以下郵址", nullptr);
  LabelNotice->setStyleSheet(QStringLiteral("color: red"));
  BtnSignUp = Button("BtnSignUp", "開戶");
  BtnCancel = Button("BtnCancel", "取消");
  auto* row = new QHBoxLayout;
  row->addWidget(Caption("LabelEMail", "電郵地址", EditEMail));
  row->addWidget(EditEMail, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(LabelNotice);
  layout->addLayout(row);
  layout->addLayout(ButtonRow(BtnSignUp, BtnCancel));
  connect(BtnSignUp, &QPushButton::clicked, this, &TFormSignUp::BtnSignUpClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  WatchKeys();
}

void TFormSignUp::BtnSignUpClick() {
  if (Passed(net::CheckSignUp(EditEMail->text().toStdString()))) accept();
}

void TFormSignUp::showEvent(QShowEvent* event) {
  EditEMail->setFocus();
  QtAccountDialog::showEvent(event);
}

}  // namespace zavuv
