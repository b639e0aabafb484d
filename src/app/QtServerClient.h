// The account side of the window without its widgets: the connection, the dispatcher,
// the three account dialogs, and the login, logout, sign-up, account change, chat and
// online-list actions behind the account panel's buttons. The panel shows what the
// dispatcher's sink receives and follows the two signals: `loggedIn` (sign-up off;
// account change, online list and chat input on) and `disconnected` (the disconnect
// event: "登入" released, sign-up on, the three others off).
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/Settings.h"
#include "net/AccountExchange.h"
#include "net/Dispatcher.h"
#include "net/QtLineChannel.h"

class QWidget;

namespace zavuv {

class TFormChangeInfo;
class TFormLogin;
class TFormSignUp;

class QtServerClient : public QObject, private net::AccountPrompts {
  Q_OBJECT

 public:
  // window: the parent of the message boxes; sink: the account panel.
  QtServerClient(QWidget* window, net::DispatchSink& sink, std::string baseCaption, QObject* parent = nullptr);
  ~QtServerClient() override;

  // The dialogs, created once by the program and reused for the whole run.
  void SetDialogs(TFormLogin* login, TFormSignUp* signUp, TFormChangeInfo* changeInfo);
  // Where the setup page's values come from, read before every connect.
  void SetSettingsSource(std::function<Settings()> source) { settings_ = std::move(source); }
  // The server port: 24 unless a test or `zavuv --port` changes it.
  void SetPort(int port) { port_ = port; }
  // Where the fingerprints of accepted TLS certificates are kept (section
  // "KnownHosts", one "host:port" key each), read when a connection is opened.
  void SetKnownHostsFile(std::function<QString()> file) { knownHosts_ = std::move(file); }
  int Port() const { return port_; }

  // "登入" pressed down: the login dialog (or the automatic-login account), the connect
  // within 10 s, the version check, the login and the first line. True when logged in;
  // otherwise the button is to be released.
  bool Login();
  // "登入" released: disconnect; a waiting receive side then reports "已離線".
  void Logout();
  // "開新帳戶": nothing while connected; otherwise the sign-up dialog, connect, the
  // exchange, disconnect.
  void SignUp();
  // "更改帳戶資料": the account dialog; when confirmed, the account-change line.
  // Raises NetError when the connection is down.
  void ChangeInfo();
  // The chat input's Enter; raises "未連線" when the connection is down.
  void SendChat(const QString& text);
  // "在線名單"; raises "未連線" when the connection is down.
  void GetOnlineList();

  bool Connected() const { return channel_->Connected(); }
  bool LoggedIn() const { return channel_->Receiving(); }
  net::QtLineChannel& Channel() { return *channel_; }
  net::Dispatcher& Dispatcher() { return dispatcher_; }

 signals:
  void loggedIn();
  void disconnected();

 private:
  void ShowMessage(std::string_view text) override;
  // Connects as the settings say. A TLS certificate that does not verify is refused
  // with a message unless the user accepts it (once: its fingerprint is kept); one
  // whose fingerprint changed for a known server is refused outright.
  bool Open(const Settings& settings, int limitMs);
  std::optional<std::string> AskNickName() override;

  QPointer<QWidget> window_;
  net::QtLineChannel* channel_;
  net::Dispatcher dispatcher_;
  std::function<Settings()> settings_;
  std::function<QString()> knownHosts_;
  int port_ = net::kDefaultPort;
  TFormLogin* login_ = nullptr;
  TFormSignUp* signUp_ = nullptr;
  TFormChangeInfo* changeInfo_ = nullptr;
};

}  // namespace zavuv
