// The page "系統設定" (TabSheetSetup): the server choice, the automatic login and the
// proxy settings, read from BA.ini when the window is shown and written when it
// closes. The values take effect at the next connect or sign-up. The class declares
// no signals of its own (the widget dump shows it as the page it is).
#pragma once

#include <QWidget>

#include "app/Settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace zavuv {

class TFrameSystemSetup : public QWidget {
 public:
  explicit TFrameSystemSetup(QWidget* parent = nullptr);

  // The page's values.
  Settings CurrentSettings() const;
  // Puts settings read from the file on the page. A box set to a new state runs its
  // handler as a click would; one already in that state runs nothing.
  void ShowSettings(const Settings& settings);

  // EditServer enabled exactly while "其他" is selected (all three radio buttons).
  void RBtnMainServerClick();
  // The account fields enabled exactly while automatic login is ticked.
  void CheckBoxUseAutoLoginClick();
  // The four proxy fields enabled exactly while the proxy is ticked.
  void CheckBoxUseProxyClick();

  QGroupBox* GroupBoxServer = nullptr;
  QRadioButton* RBtnMainServer = nullptr;
  QRadioButton* RBtnLocalHost = nullptr;
  QRadioButton* RBtnOthersServer = nullptr;
  QLineEdit* EditServer = nullptr;
  QCheckBox* CheckBoxUseTLS = nullptr;
  QSpinBox* SpinEditTLSPort = nullptr;
  QGroupBox* GroupBoxAutoLogin = nullptr;
  QCheckBox* CheckBoxUseAutoLogin = nullptr;
  QLineEdit* EditUserID = nullptr;
  QLineEdit* EditUserPassword = nullptr;
  QGroupBox* GroupBoxProxy = nullptr;
  QCheckBox* CheckBoxUseProxy = nullptr;
  QLineEdit* EditProxy = nullptr;
  QSpinBox* SpinEditProxyPort = nullptr;
  QLineEdit* EditProxyUserID = nullptr;
  QLineEdit* EditProxyPassword = nullptr;
  QLabel* LabelProxyList = nullptr;
};

}  // namespace zavuv
