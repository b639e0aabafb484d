// The page "系統設定" (TabSheetSetup): the server choice, the automatic login and the
// proxy settings. Until the settings file and the connection are built the groups
// stand disabled. The class declares no signals of its own (the widget dump shows it
// as the page it is); the networking adds its handlers here.
#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace zavuv {

class TFrameSystemSetup : public QWidget {
 public:
  explicit TFrameSystemSetup(QWidget* parent = nullptr);

  QGroupBox* GroupBoxServer = nullptr;
  QRadioButton* RBtnMainServer = nullptr;
  QRadioButton* RBtnLocalHost = nullptr;
  QRadioButton* RBtnOthersServer = nullptr;
  QLineEdit* EditServer = nullptr;
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
};

}  // namespace zavuv
