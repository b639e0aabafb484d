// The connection to the community server in the window: one socket on the
// user-interface thread, optionally through a SOCKS 4 proxy and optionally inside TLS,
// cut into lines by the shared LineFramer.
//
// TLS: the server's certificate must verify for the server's name, or have the SHA-256
// fingerprint the user accepted before for that server and port (the lookup given by
// SetKnownFingerprints, like ssh's known hosts). Anything else fails the connect and
// TlsProblem() says what was seen, so that the caller can ask the user once.
//
// Two modes. While an exchange runs (login, nickname, sign-up), ReadLine waits for a
// reply in a local event loop that keeps the window painting but holds back user
// input, under a busy cursor, up to its time limit; closing a window during such a
// wait cancels the exchange (Cancelled()) and the window then closes. Once the login
// has succeeded the window turns receiving on: every line is handed to the line
// handler on this thread, completely and in arrival order; a line that arrives while
// the handler is still busy (say inside a message box) waits for it. No line is handed
// over while receiving is off or an exchange is reading.
//
// What waits is bounded (kMaxWaitingLines lines or kMaxWaitingBytes bytes): past it the
// socket is not read until the lines have been handed over, so the server is held
// back and nothing is dropped. A close of the connection that arrives while lines wait
// is acted on (the disconnect event, the loss) once they have been handed over.
//
// A line longer than 16,384 bytes is dropped up to its LF and counted (Discarded());
// the lines after it are read as usual, and the memory held stays bounded however long
// the sender goes on without an LF.
#pragma once

#include <QObject>
#include <QSslSocket>
#include <optional>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "net/LineChannel.h"
#include "net/Protocol.h"

namespace zavuv::net {

// A server certificate that did not verify.
struct TlsProblem {
  enum class Kind { None, Unverified, Changed };
  Kind kind = Kind::None;
  std::string peer;          // "host:port" as connected
  std::string fingerprint;   // SHA-256 of the certificate, hex pairs joined by ":"
  std::string known;         // the fingerprint accepted before (Changed)
  std::string reasons;       // why it did not verify, in the toolkit's words
};

class QtLineChannel : public QObject, public LineChannel {
  Q_OBJECT

 public:
  using LineHandler = std::function<void(const std::string& line)>;
  // The fingerprint accepted for "host:port", if any.
  using KnownFingerprints = std::function<std::optional<std::string>(const std::string& peer)>;

  static constexpr std::size_t kMaxWaitingLines = 4096;
  static constexpr std::size_t kMaxWaitingBytes = std::size_t{4} << 20;

  explicit QtLineChannel(QObject* parent = nullptr);
  ~QtLineChannel() override;

  // Connects (closing any earlier connection first) within limitMs, or with no limit
  // of its own when limitMs is below 0. Through the proxy: the server's name is
  // resolved here to an IPv4 address, the proxy is asked to connect to it, and
  // anything but its grant fails. Every wait (the name, the connect, the proxy's
  // answer) counts against the one limit. Returns whether the connection is up;
  // ErrorText() says why not.
  bool Open(const ConnectionTarget& target, int limitMs);
  // Ends a waiting exchange at once and closes the connection; the exchange then sees
  // a lost connection. Closing a window during a wait does this.
  void Cancel();
  // Whether the exchange under way was cancelled: its messages are not shown. Cleared
  // by the next Open.
  bool Cancelled() const { return cancelled_; }

  void SendLine(std::string_view text) override;
  std::optional<std::string> ReadLine(int timeoutMs) override;
  bool Connected() const override;
  void Disconnect() override;

  void SetLineHandler(LineHandler handler) { handler_ = std::move(handler); }
  // Turns handing lines over on or off; turning it on hands over the lines waiting.
  void SetReceiving(bool on);
  bool Receiving() const { return receiving_; }

  void SetKnownFingerprints(KnownFingerprints lookup) { known_ = std::move(lookup); }
  // Why the last Open failed on the certificate (Kind::None: it did not).
  const TlsProblem& LastTlsProblem() const { return tlsProblem_; }
  bool Encrypted() const { return socket_->isEncrypted(); }

  std::size_t Discarded() const { return framer_.Discarded(); }
  // Received lines not handed over yet.
  std::size_t Waiting() const { return waiting_.size(); }
  const std::string& ErrorText() const { return error_; }

 signals:
  // The disconnect event: the connection that was up is down, by either side.
  void disconnected();
  // The connection went down while receiving (a loss, or the user's own logout):
  // receiving is off again. Emitted once per connection, after `disconnected`.
  void connectionLost();

 private:
  static constexpr qint64 kSocketBufferBytes = 256 * 1024;
  static constexpr qint64 kReadPieceBytes = 16 * 1024;

  void Pull();  // moves what the socket holds into the waiting lines, within the bound
  bool Next(std::string& line);  // the next waiting line
  void OnReadyRead();
  void OnDisconnected();
  void FinishClose();  // the disconnect event, and the loss while receiving
  void HandOver();
  // Runs a local event loop until done() holds or the limit (below 0: none) passes;
  // true when done() held.
  bool WaitFor(const std::function<bool()>& done, int limitMs);

  void OnSslErrors(const QList<QSslError>& errors);

  QSslSocket* socket_;
  KnownFingerprints known_;
  TlsProblem tlsProblem_;
  std::string peer_;
  LineFramer framer_;
  std::deque<std::string> waiting_;
  std::size_t waitingBytes_ = 0;
  LineHandler handler_;
  std::string error_;
  bool receiving_ = false;
  bool handing_ = false;     // the handler is running
  int exchangeDepth_ = 0;    // ReadLine or Open is waiting
  bool handshaking_ = false;  // the SOCKS answer is being read
  bool wasUp_ = false;
  bool closePending_ = false;  // the connection is down; lines still wait
  bool cancelled_ = false;
};

}  // namespace zavuv::net
