#include "net/QtLineChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QCursor>
#include <QGuiApplication>
#include <QHostAddress>
#include <QHostInfo>
#include <QSslCertificate>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "net/Socks4.h"

namespace zavuv::net {

namespace {

// Holds back the user's input while an exchange waits, as a modal dialog would: mouse,
// key and wheel events are dropped, everything else (painting, timers, the socket)
// goes on. Closing a window is not dropped: it cancels the exchange at once, and the
// close is delivered again as soon as the exchange has ended, so that the window
// closes as it always does (its settings are written, its questions asked).
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(std::function<void()> onClose) : onClose_(std::move(onClose)) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
      QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  }
  ~InputBlocker() override {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::restoreOverrideCursor();
    for (const QPointer<QWidget>& w : closing_)
      if (w) QTimer::singleShot(0, w, [w] { w->close(); });
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::TouchBegin:
        return true;
      case QEvent::Close:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
          auto* w = static_cast<QWidget*>(watched);
          if (!closing_.contains(w)) closing_.append(w);
          e->ignore();  // not now: once the exchange has given up
          if (onClose_) onClose_();
          return true;
        }
        return false;
      default:
        return false;
    }
  }

 private:
  std::function<void()> onClose_;
  QList<QPointer<QWidget>> closing_;
};

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QtLineChannel::QtLineChannel(QObject* parent) : QObject(parent), socket_(new QSslSocket(this)) {
  // The socket holds only this much unread: past it the system's buffers fill and the
  // server is held back, rather than this program's memory growing.
  socket_->setReadBufferSize(kSocketBufferBytes);
  connect(socket_, &QTcpSocket::readyRead, this, &QtLineChannel::OnReadyRead);
  connect(socket_, &QTcpSocket::disconnected, this, &QtLineChannel::OnDisconnected);
  connect(socket_, &QSslSocket::sslErrors, this, &QtLineChannel::OnSslErrors);
}

// A certificate that does not verify is taken only when its fingerprint is the one
// accepted before for this server; otherwise the handshake fails and the problem is
// kept for the caller.
void QtLineChannel::OnSslErrors(const QList<QSslError>& errors) {
  const QByteArray digest = socket_->peerCertificate().digest(QCryptographicHash::Sha256);
  std::string fingerprint = digest.toHex(':').toUpper().toStdString();
  std::optional<std::string> known = known_ ? known_(peer_) : std::nullopt;
  if (!digest.isEmpty() && known && *known == fingerprint) {
    socket_->ignoreSslErrors(errors);
    return;
  }
  QStringList reasons;
  for (const QSslError& e : errors) reasons << e.errorString();
  tlsProblem_ = {known ? TlsProblem::Kind::Changed : TlsProblem::Kind::Unverified, peer_, fingerprint,
                 known.value_or(""), reasons.join(QStringLiteral("; ")).toStdString()};
}

QtLineChannel::~QtLineChannel() {
  // Closing the window must not run handlers any more.
  handler_ = nullptr;
  receiving_ = false;
  wasUp_ = false;
  socket_->abort();
}

bool QtLineChannel::WaitFor(const std::function<bool()>& done, int limitMs) {
  if (cancelled_) return false;
  if (done()) return true;
  QEventLoop loop;
  auto check = [&] {
    if (done()) loop.quit();
  };
  QMetaObject::Connection c[5] = {
      connect(socket_, &QSslSocket::encrypted, &loop, check),
      connect(socket_, &QTcpSocket::readyRead, &loop, check),
      connect(socket_, &QTcpSocket::stateChanged, &loop, check),
      connect(socket_, &QTcpSocket::errorOccurred, &loop, check),
      connect(socket_, &QTcpSocket::bytesWritten, &loop, check),
  };
  // A slow poll as well: inside a readyRead handler the socket does not signal again.
  QTimer poll;
  connect(&poll, &QTimer::timeout, &loop, check);
  poll.start(50);
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5 % early
  if (limitMs >= 0) {
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(limitMs);
  }
  {
    InputBlocker block([&] {
      cancelled_ = true;
      loop.quit();
    });
    loop.exec();
  }
  for (auto& conn : c) disconnect(conn);
  return !cancelled_ && done();
}

void QtLineChannel::Cancel() {
  cancelled_ = true;
  Disconnect();
}

bool QtLineChannel::Open(const ConnectionTarget& target, int limitMs) {
  Disconnect();
  if (closePending_) FinishClose();
  framer_.Clear();
  waiting_.clear();
  waitingBytes_ = 0;
  error_.clear();
  tlsProblem_ = {};
  peer_ = target.host + ":" + std::to_string(target.port);
  // The socket is reused: errors ignored for an earlier server must not carry over.
  socket_->ignoreSslErrors(QList<QSslError>{});
  cancelled_ = false;
  QElapsedTimer clock;
  clock.start();
  auto left = [&]() -> int {
    if (limitMs < 0) return -1;
    return std::max<int>(0, limitMs - static_cast<int>(clock.elapsed()));
  };
  auto fail = [&](std::string why) {
    error_ = cancelled_ ? std::string("已取消") : std::move(why);
    handshaking_ = false;
    wasUp_ = false;
    socket_->abort();
    return false;
  };
  ++exchangeDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{exchangeDepth_};

  QString host = Q(target.host);
  int port = target.port;
  Ipv4Address address{};
  if (target.useProxy) {
    // SOCKS 4 takes an IPv4 address: the server's name is resolved here.
    QHostAddress literal;
    QList<QHostAddress> found;
    if (literal.setAddress(host)) {
      found = {literal};
    } else {
      bool resolved = false;
      QHostInfo info;
      int id = QHostInfo::lookupHost(host, this, [&](const QHostInfo& i) {
        info = i;
        resolved = true;
      });
      if (!WaitFor([&] { return resolved; }, left())) {
        QHostInfo::abortHostLookup(id);
        return fail("查詢伺服器位址逾時");
      }
      found = info.addresses();
    }
    auto v4 = std::find_if(found.begin(), found.end(),
                           [](const QHostAddress& a) { return a.protocol() == QAbstractSocket::IPv4Protocol; });
    if (v4 == found.end()) return fail("伺服器沒有 IPv4 位址: " + target.host);
    quint32 ip = v4->toIPv4Address();
    address = {static_cast<std::uint8_t>(ip >> 24), static_cast<std::uint8_t>(ip >> 16),
               static_cast<std::uint8_t>(ip >> 8), static_cast<std::uint8_t>(ip)};
    if (target.proxyPort < 1 || target.proxyPort > 65535)
      return fail("代理伺服器連接埠不正確: " + std::to_string(target.proxyPort));
    host = Q(target.proxyHost);
    port = target.proxyPort;
    handshaking_ = true;
  }
  if (port < 1 || port > 65535) return fail("連接埠不正確: " + std::to_string(port));
  socket_->connectToHost(host, static_cast<quint16>(port));
  auto settled = [&] {
    auto s = socket_->state();
    return s == QAbstractSocket::ConnectedState || s == QAbstractSocket::UnconnectedState;
  };
  if (!WaitFor(settled, left())) return fail("連線逾時");
  if (socket_->state() != QAbstractSocket::ConnectedState) return fail(socket_->errorString().toStdString());

  if (target.useProxy) {
    std::string request = Socks4ConnectRequest(address, static_cast<std::uint16_t>(target.port), target.proxyUserId);
    socket_->write(request.data(), static_cast<qint64>(request.size()));
    auto answered = [&] {
      return socket_->bytesAvailable() >= static_cast<qint64>(kSocks4ReplyBytes) ||
             socket_->state() != QAbstractSocket::ConnectedState;
    };
    if (!WaitFor(answered, left())) return fail("代理伺服器沒有回應");
    QByteArray reply = socket_->read(static_cast<qint64>(kSocks4ReplyBytes));
    if (!Socks4Granted(std::string_view(reply.constData(), static_cast<std::size_t>(reply.size()))))
      return fail(Socks4ReplyText(std::string_view(reply.constData(), static_cast<std::size_t>(reply.size()))));
    handshaking_ = false;
  }
  if (target.tls) {
    // Checked against the server's own name, also through a proxy.
    socket_->setPeerVerifyName(Q(target.host));
    socket_->startClientEncryption();
    auto secured = [&] { return socket_->isEncrypted() || socket_->state() != QAbstractSocket::ConnectedState; };
    if (!WaitFor(secured, left()) || !socket_->isEncrypted()) {
      if (tlsProblem_.kind != TlsProblem::Kind::None) return fail("伺服器憑證未能驗證: " + tlsProblem_.reasons);
      return fail(socket_->state() == QAbstractSocket::ConnectedState ? std::string("加密連線逾時")
                                                                        : "加密連線失敗: " + socket_->errorString().toStdString());
    }
  }
  wasUp_ = true;
  // The server may have spoken already, right behind the proxy's answer.
  if (socket_->bytesAvailable() > 0) OnReadyRead();
  return true;
}

void QtLineChannel::SendLine(std::string_view text) {
  if (!Connected()) throw NetError(std::string(kNotConnected));
  std::string bytes = FrameLine(text);
  if (socket_->write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
    throw NetError(socket_->errorString().toStdString());
  socket_->flush();
}

std::optional<std::string> QtLineChannel::ReadLine(int timeoutMs) {
  std::string line;
  if (!cancelled_ && Next(line)) return line;
  if (!Connected()) return std::nullopt;
  ++exchangeDepth_;
  WaitFor(
      [&] {
        Pull();
        return !waiting_.empty() || !Connected();
      },
      std::max(timeoutMs, 0));
  --exchangeDepth_;
  if (cancelled_) {
    Disconnect();
    return std::nullopt;
  }
  if (Next(line)) return line;
  if (!Connected()) return std::nullopt;
  return std::string();
}

bool QtLineChannel::Connected() const {
  return wasUp_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void QtLineChannel::Disconnect() {
  if (socket_->state() == QAbstractSocket::UnconnectedState) {
    if (wasUp_) OnDisconnected();
    return;
  }
  socket_->abort();
  // abort() reports the disconnect itself when the connection was up; make sure of it.
  if (wasUp_) OnDisconnected();
}

void QtLineChannel::SetReceiving(bool on) {
  receiving_ = on;
  if (on) HandOver();
}

void QtLineChannel::Pull() {
  if (handshaking_ || !socket_->isOpen()) return;
  // Lines are taken from the socket only while few enough wait; the rest stays with
  // the socket and the system, which hold the server back.
  // One line (or a piece of an overlong one) at a time, so that the bound holds exactly.
  while (waiting_.size() < kMaxWaitingLines && waitingBytes_ < kMaxWaitingBytes) {
    if (socket_->bytesAvailable() <= 0) break;
    QByteArray bytes = socket_->readLine(kReadPieceBytes);
    if (bytes.isEmpty()) break;
    framer_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    std::string line;
    while (framer_.Next(line)) {
      waitingBytes_ += line.size();
      waiting_.push_back(std::move(line));
    }
  }
}

bool QtLineChannel::Next(std::string& line) {
  if (waiting_.empty()) Pull();
  if (waiting_.empty()) return false;
  line = std::move(waiting_.front());
  waiting_.pop_front();
  waitingBytes_ -= line.size();
  return true;
}

void QtLineChannel::OnReadyRead() {
  Pull();  // the proxy's answer is left for Open
  HandOver();
}

void QtLineChannel::HandOver() {
  if (handing_ || !handler_) return;
  handing_ = true;
  std::string line;
  // The socket does not signal again for bytes that arrive while a handler runs its
  // own event loop inside our readyRead, nor for bytes it held back while lines
  // waited, so each turn takes what it holds.
  while (receiving_ && exchangeDepth_ == 0 && Next(line)) {
    try {
      handler_(line);
    } catch (...) {
      // An error while a line is handled is dropped; the next line is read.
    }
  }
  handing_ = false;
  // The connection went down while lines waited: now that they are handled.
  if (closePending_) FinishClose();
}

void QtLineChannel::OnDisconnected() {
  if (!wasUp_) return;
  wasUp_ = false;
  if (receiving_ && handler_) {
    // Every line that arrived before the close is handed over first; a handler that
    // is still busy (a message box) hands over the rest, then the close follows.
    closePending_ = true;
    HandOver();
    return;
  }
  FinishClose();
}

void QtLineChannel::FinishClose() {
  closePending_ = false;
  emit disconnected();
  if (receiving_) {
    receiving_ = false;
    emit connectionLost();
  }
}

}  // namespace zavuv::net
