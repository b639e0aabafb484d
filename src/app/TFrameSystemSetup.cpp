#include "app/TFrameSystemSetup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "widgets/QtLinkLabel.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameSystemSetup::TFrameSystemSetup(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheetSetup"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  GroupBoxServer = Named(new QGroupBox(QStringLiteral("伺服器設定"), this), "GroupBoxServer");
  RBtnMainServer = Named(new QRadioButton(QStringLiteral("主伺服器"), GroupBoxServer), "RBtnMainServer");
  RBtnMainServer->setChecked(true);
  RBtnLocalHost = Named(new QRadioButton(QStringLiteral("本機"), GroupBoxServer), "RBtnLocalHost");
  RBtnOthersServer = Named(new QRadioButton(QStringLiteral("其他"), GroupBoxServer), "RBtnOthersServer");
  EditServer = Named(new QLineEdit(GroupBoxServer), "EditServer");
  EditServer->setEnabled(false);
  CheckBoxUseTLS = Named(new QCheckBox(QStringLiteral("加密連線 (TLS)"), GroupBoxServer), "CheckBoxUseTLS");
  SpinEditTLSPort = Named(new QSpinBox(GroupBoxServer), "SpinEditTLSPort");
  SpinEditTLSPort->setRange(1, 65535);
  SpinEditTLSPort->setValue(kDefaultTlsPort);
  SpinEditTLSPort->setEnabled(false);
  auto* sg = new QGridLayout(GroupBoxServer);
  sg->addWidget(RBtnMainServer, 0, 0);
  sg->addWidget(RBtnLocalHost, 0, 1);
  sg->addWidget(RBtnOthersServer, 0, 2);
  sg->addWidget(Label(GroupBoxServer, "LabelServer", "伺服器網址"), 1, 0);
  sg->addWidget(EditServer, 1, 1, 1, 2);
  sg->addWidget(CheckBoxUseTLS, 2, 0);
  sg->addWidget(Label(GroupBoxServer, "LabelTLSPort", "連接埠(Port)"), 2, 1);
  sg->addWidget(SpinEditTLSPort, 2, 2);

  GroupBoxAutoLogin = Named(new QGroupBox(QStringLiteral("自動登入設定"), this), "GroupBoxAutoLogin");
  CheckBoxUseAutoLogin = Named(new QCheckBox(QStringLiteral("使用自動登入"), GroupBoxAutoLogin), "CheckBoxUseAutoLogin");
  EditUserID = Named(new QLineEdit(GroupBoxAutoLogin), "EditUserID");
  EditUserID->setMaxLength(10);
  EditUserPassword = Named(new QLineEdit(GroupBoxAutoLogin), "EditUserPassword");
  EditUserPassword->setMaxLength(10);
  EditUserPassword->setEchoMode(QLineEdit::Password);
  auto* lg = new QGridLayout(GroupBoxAutoLogin);
  lg->addWidget(CheckBoxUseAutoLogin, 0, 0, 1, 2);
  lg->addWidget(Label(GroupBoxAutoLogin, "LabelUserID", "帳戶編號"), 1, 0);
  lg->addWidget(EditUserID, 1, 1);
  lg->addWidget(Label(GroupBoxAutoLogin, "LabelUserPassword", "帳戶密碼"), 2, 0);
  lg->addWidget(EditUserPassword, 2, 1);

  GroupBoxProxy = Named(new QGroupBox(QStringLiteral("設定代理伺服器"), this), "GroupBoxProxy");
  QGroupBox* proxy = GroupBoxProxy;
  auto* notice = Label(proxy, "LabelProxyNotice",
                       "設定Proxy前必須先清楚所用Proxy的IP及所用的Port, 如不知道有甚麼Proxy可用, 可在以下的網址中找尋");
  notice->setWordWrap(true);
  auto* list = Named(new QtLinkLabel(QStringLiteral("https://zavuv.example.org/socks-proxies"), proxy,
                                     QtLinkLabel::Underline::Always),
                     "LabelProxyList");
  LabelProxyList = list;
  CheckBoxUseProxy = Named(new QCheckBox(QStringLiteral("使用代理伺服器(Proxy)"), proxy), "CheckBoxUseProxy");
  EditProxy = Named(new QLineEdit(proxy), "EditProxy");
  SpinEditProxyPort = Named(new QSpinBox(proxy), "SpinEditProxyPort");
  SpinEditProxyPort->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  SpinEditProxyPort->setValue(0);
  EditProxyUserID = Named(new QLineEdit(proxy), "EditProxyUserID");
  EditProxyPassword = Named(new QLineEdit(proxy), "EditProxyPassword");
  EditProxyPassword->setEchoMode(QLineEdit::Password);
  for (QWidget* w : {static_cast<QWidget*>(EditProxy), static_cast<QWidget*>(SpinEditProxyPort),
                     static_cast<QWidget*>(EditProxyUserID), static_cast<QWidget*>(EditProxyPassword)})
    w->setEnabled(false);
  auto* pg = new QGridLayout(proxy);
  pg->addWidget(notice, 0, 0, 1, 2);
  pg->addWidget(list, 1, 0, 1, 2);
  pg->addWidget(CheckBoxUseProxy, 2, 0, 1, 2);
  pg->addWidget(Label(proxy, "LabelProxy", "代理伺服器(Proxy)"), 3, 0);
  pg->addWidget(EditProxy, 3, 1);
  pg->addWidget(Label(proxy, "LabelProxyPort", "連接埠(Port)"), 4, 0);
  pg->addWidget(SpinEditProxyPort, 4, 1);
  pg->addWidget(Label(proxy, "LabelProxyUserID", "使用者ID(如適用)"), 5, 0);
  pg->addWidget(EditProxyUserID, 5, 1);
  pg->addWidget(Label(proxy, "LabelProxyPassword", "使用者密碼(如適用)"), 6, 0);
  pg->addWidget(EditProxyPassword, 6, 1);

  for (QRadioButton* r : {RBtnMainServer, RBtnLocalHost, RBtnOthersServer})
    connect(r, &QRadioButton::toggled, this, [this](bool) { RBtnMainServerClick(); });
  connect(CheckBoxUseAutoLogin, &QCheckBox::toggled, this, [this](bool) { CheckBoxUseAutoLoginClick(); });
  connect(CheckBoxUseProxy, &QCheckBox::toggled, this, [this](bool) { CheckBoxUseProxyClick(); });
  connect(CheckBoxUseTLS, &QCheckBox::toggled, SpinEditTLSPort, &QWidget::setEnabled);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(GroupBoxServer);
  left->addWidget(GroupBoxAutoLogin);
  left->addStretch(1);
  columns->addLayout(left, 1);
  columns->addWidget(GroupBoxProxy, 1, Qt::AlignTop);
  layout->addLayout(columns);
  layout->addStretch(1);
}

void TFrameSystemSetup::RBtnMainServerClick() { EditServer->setEnabled(RBtnOthersServer->isChecked()); }

void TFrameSystemSetup::CheckBoxUseAutoLoginClick() {
  const bool on = CheckBoxUseAutoLogin->isChecked();
  EditUserID->setEnabled(on);
  EditUserPassword->setEnabled(on);
}

void TFrameSystemSetup::CheckBoxUseProxyClick() {
  const bool on = CheckBoxUseProxy->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(EditProxy), static_cast<QWidget*>(SpinEditProxyPort),
                     static_cast<QWidget*>(EditProxyUserID), static_cast<QWidget*>(EditProxyPassword)})
    w->setEnabled(on);
}

Settings TFrameSystemSetup::CurrentSettings() const {
  Settings s;
  s.autoLogin = CheckBoxUseAutoLogin->isChecked();
  s.userId = EditUserID->text().toStdString();
  s.userPassword = EditUserPassword->text().toStdString();
  s.server = RBtnMainServer->isChecked()   ? ServerChoice::Main
             : RBtnLocalHost->isChecked() ? ServerChoice::LocalHost
                                          : ServerChoice::Other;
  s.otherServer = EditServer->text().toStdString();
  s.useTls = CheckBoxUseTLS->isChecked();
  s.tlsPort = SpinEditTLSPort->value();
  s.useProxy = CheckBoxUseProxy->isChecked();
  s.proxyHost = EditProxy->text().toStdString();
  s.proxyPort = SpinEditProxyPort->value();
  s.proxyUserId = EditProxyUserID->text().toStdString();
  s.proxyPassword = EditProxyPassword->text().toStdString();
  return s;
}

void TFrameSystemSetup::ShowSettings(const Settings& s) {
  // In the file's order: the account number whether automatic login is on or not.
  EditUserID->setText(QString::fromStdString(s.userId));
  CheckBoxUseAutoLogin->setChecked(s.autoLogin);
  if (s.autoLogin) EditUserPassword->setText(QString::fromStdString(s.userPassword));
  switch (s.server) {
    case ServerChoice::Main: RBtnMainServer->setChecked(true); break;
    case ServerChoice::LocalHost: RBtnLocalHost->setChecked(true); break;
    case ServerChoice::Other:
      RBtnOthersServer->setChecked(true);
      EditServer->setText(QString::fromStdString(s.otherServer));
      break;
  }
  CheckBoxUseTLS->setChecked(s.useTls);
  SpinEditTLSPort->setValue(s.tlsPort);
  CheckBoxUseProxy->setChecked(s.useProxy);
  EditProxy->setText(QString::fromStdString(s.proxyHost));
  SpinEditProxyPort->setValue(s.proxyPort);
  EditProxyUserID->setText(QString::fromStdString(s.proxyUserId));
  EditProxyPassword->setText(QString::fromStdString(s.proxyPassword));
}

}  // namespace zavuv
