#include "app/QtServerClient.h"

#include <QLineEdit>
#include <QSettings>

#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "widgets/QtMessages.h"

namespace zavuv {

namespace {

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

QtServerClient::QtServerClient(QWidget* window, net::DispatchSink& sink, std::string baseCaption, QObject* parent)
    : QObject(parent), window_(window), channel_(new net::QtLineChannel(this)), dispatcher_(sink, std::move(baseCaption)) {
  channel_->SetKnownFingerprints([this](const std::string& peer) -> std::optional<std::string> {
    const QString file = knownHosts_ ? knownHosts_() : QString();
    if (file.isEmpty()) return std::nullopt;
    QSettings ini(file, QSettings::IniFormat);
    const QString value = ini.value(QStringLiteral("KnownHosts/") + QString::fromStdString(peer)).toString();
    if (value.isEmpty()) return std::nullopt;
    return value.toStdString();
  });
  channel_->SetLineHandler([this](const std::string& line) { dispatcher_.HandleLine(line); });
  connect(channel_, &net::QtLineChannel::disconnected, this, &QtServerClient::disconnected);
  connect(channel_, &net::QtLineChannel::connectionLost, this,
          [this] { zavuv::ShowMessage(window_, QString::fromUtf8(net::kDisconnected.data())); });
}

QtServerClient::~QtServerClient() {
  // Closing the program: no handler and no message any more.
  channel_->SetLineHandler(nullptr);
  disconnect(channel_, nullptr, this, nullptr);
}

void QtServerClient::SetDialogs(TFormLogin* login, TFormSignUp* signUp, TFormChangeInfo* changeInfo) {
  login_ = login;
  signUp_ = signUp;
  changeInfo_ = changeInfo;
}

void QtServerClient::ShowMessage(std::string_view text) {
  // An exchange the user cancelled by closing the window ends without a word.
  if (channel_->Cancelled()) return;
  zavuv::ShowMessage(window_, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::optional<std::string> QtServerClient::AskNickName() {
  if (channel_->Cancelled() || changeInfo_->exec() != QDialog::Accepted) return std::nullopt;
  return Text(changeInfo_->EditNickName);
}

bool QtServerClient::Open(const Settings& settings, int limitMs) {
  const net::ConnectionTarget target = ConfigureConnection(settings, port_);
  if (channel_->Open(target, limitMs)) return true;
  const net::TlsProblem problem = channel_->LastTlsProblem();
  const QString peer = QString::fromStdString(problem.peer);
  const QString fingerprint = QString::fromStdString(problem.fingerprint);
  switch (problem.kind) {
    case net::TlsProblem::Kind::None:
      break;
    case net::TlsProblem::Kind::Changed:
      zavuv::ShowMessage(window_, QStringLiteral("警告: 伺服器 %1 的加密憑證已改變, 已拒絕連線!\n\n之前接受的 SHA-256 指紋:\n%2\n"
                                                 "現在的指紋:\n%3\n\n可能有人冒充伺服器。如伺服器確實已更換憑證, "
                                                 "請在 BAWindow.ini 的 [KnownHosts] 刪除此伺服器一行, 再登入。")
                                      .arg(peer, QString::fromStdString(problem.known), fingerprint));
      return false;
    case net::TlsProblem::Kind::Unverified: {
      const QString file = knownHosts_ ? knownHosts_() : QString();
      const bool accepted =
          !file.isEmpty() &&
          AskYesNo(window_, QStringLiteral("伺服器 %1 的加密憑證未能驗證:\n%2\n\nSHA-256 指紋:\n%3\n\n"
                                           "只有在確定這是閣下要連線的伺服器時才可接受。是否接受此憑證 (以後不再詢問)?")
                                .arg(peer, QString::fromStdString(problem.reasons), fingerprint));
      if (!accepted) {
        zavuv::ShowMessage(window_, QStringLiteral("伺服器 %1 的加密憑證未能驗證, 已拒絕連線").arg(peer));
        return false;
      }
      {
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue(QStringLiteral("KnownHosts/") + peer, fingerprint);
      }
      if (channel_->Open(target, limitMs)) return true;
      break;
    }
  }
  ShowMessage(net::kConnectFailed);
  return false;
}

bool QtServerClient::Login() {
  Settings settings = settings_ ? settings_() : Settings{};
  bool cancelled = false;
  if (settings.autoLogin) {
    login_->EditUserID->setText(QString::fromStdString(settings.userId));
    login_->EditUserPassword->setText(QString::fromStdString(settings.userPassword));
  } else {
    cancelled = login_->exec() != QDialog::Accepted;
  }
  if (!cancelled) Open(settings, net::kConnectLimitMs);
  if (!channel_->Connected()) return false;

  net::AccountExchange exchange(*channel_, dispatcher_, *this);
  net::LoginResult result;
  {
    // The account dialog asks for the nickname and goes back to account changes
    // afterwards, however the exchange ends.
    changeInfo_->EditUserID->setText(login_->EditUserID->text());
    struct Mode {
      TFormChangeInfo* dialog;
      ~Mode() { dialog->SetNickNameMode(false); }
    } mode{changeInfo_};
    changeInfo_->SetNickNameMode(true);
    result = exchange.Login(Text(login_->EditUserID), Text(login_->EditUserPassword));
  }
  if (result != net::LoginResult::LoggedIn) return false;
  channel_->SetReceiving(true);
  emit loggedIn();
  return true;
}

void QtServerClient::Logout() { channel_->Disconnect(); }

void QtServerClient::SignUp() {
  if (channel_->Connected()) return;
  Settings settings = settings_ ? settings_() : Settings{};
  if (signUp_->exec() != QDialog::Accepted) return;
  // The sign-up's connect has the login's limit: nobody waits longer behind a busy window.
  Open(settings, net::kConnectLimitMs);
  if (!channel_->Connected()) return;
  net::AccountExchange(*channel_, dispatcher_, *this).SignUp(Text(signUp_->EditEMail));
}

void QtServerClient::ChangeInfo() {
  changeInfo_->EditUserID->setText(login_->EditUserID->text());
  changeInfo_->EditNickName->setText(QString::fromStdString(dispatcher_.NickName()));
  if (changeInfo_->exec() != QDialog::Accepted) return;
  channel_->SendLine(net::ChangeInfoLine(Text(changeInfo_->EditUserPassword), Text(changeInfo_->EditNewPassword),
                                         Text(changeInfo_->EditConfirmPassword), Text(changeInfo_->EditEmail)));
}

void QtServerClient::SendChat(const QString& text) { net::SendChat(*channel_, text.toStdString()); }

void QtServerClient::GetOnlineList() { net::RequestOnlineList(*channel_); }

}  // namespace zavuv
