// What the three account dialogs (login, sign-up, account data) share: they live for
// the whole run, open centred on the desktop, and see keys before their controls:
// Enter moves to the next control and is swallowed (it never presses a button); the
// down arrow moves to the next control and the up arrow to the previous one, both
// only with no Shift, Ctrl or Alt held. A failed check shows its message in a message
// box, puts the focus on the field it names and keeps the dialog open.
#pragma once

#include <QDialog>
#include <optional>

#include "net/AccountExchange.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zavuv {

class QtAccountDialog : public QDialog {
  Q_OBJECT

 public:
  explicit QtAccountDialog(QWidget* parent = nullptr);

  // The client area the dialog takes when shown.
  void SetClientSize(QSize size) { clientSize_ = size; }

 protected:
  // Shows a failed check; true when there was none.
  bool Passed(const std::optional<net::CheckFailure>& failure);
  QLineEdit* Edit(const char* name, int maxLength, bool password = false);
  QLabel* Caption(const char* name, const char* text, QWidget* buddy);
  QPushButton* Button(const char* name, const char* text);
  // The confirm and cancel buttons side by side, centred.
  static QHBoxLayout* ButtonRow(QPushButton* ok, QPushButton* cancel);
  // Installs the key handling on every control made so far.
  void WatchKeys();

  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QSize clientSize_;
};

}  // namespace zavuv
