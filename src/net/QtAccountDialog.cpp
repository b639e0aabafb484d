#include "net/QtAccountDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "widgets/QtDialogKeys.h"
#include "widgets/QtMessages.h"

namespace zavuv {

QtAccountDialog::QtAccountDialog(QWidget* parent) : QDialog(parent) { setModal(true); }

bool QtAccountDialog::Passed(const std::optional<net::CheckFailure>& failure) {
  if (!failure) return true;
  ShowMessage(this, QString::fromStdString(failure->message));
  if (auto* field = findChild<QWidget*>(QString::fromStdString(failure->field))) field->setFocus();
  return false;
}

QLineEdit* QtAccountDialog::Edit(const char* name, int maxLength, bool password) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  if (password) edit->setEchoMode(QLineEdit::Password);
  return edit;
}

QLabel* QtAccountDialog::Caption(const char* name, const char* text, QWidget* buddy) {
  auto* label = new QLabel(QString::fromUtf8(text), this);
  label->setObjectName(QString::fromLatin1(name));
  label->setBuddy(buddy);
  return label;
}

QPushButton* QtAccountDialog::Button(const char* name, const char* text) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QHBoxLayout* QtAccountDialog::ButtonRow(QPushButton* ok, QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addStretch(1);
  return row;
}

void QtAccountDialog::WatchKeys() {
  for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(this);
}

bool QtAccountDialog::eventFilter(QObject* watched, QEvent* event) {
  switch (DialogKeyOf(event)) {
    case DialogKey::Next: focusNextChild(); return true;
    case DialogKey::Previous: focusPreviousChild(); return true;
    case DialogKey::None: break;
  }
  return QDialog::eventFilter(watched, event);
}

void QtAccountDialog::showEvent(QShowEvent* event) {
  if (clientSize_.isValid()) setFixedSize(clientSize_);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(event);
}

}  // namespace zavuv
