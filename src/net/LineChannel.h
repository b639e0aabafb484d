// The connection to the community server as the exchanges see it: lines out, lines in
// with a time limit, whether it is up, and closing it. The window's transport and the
// tests' scripted peers implement it; the login, nickname and sign-up exchanges and
// the chat run against it without knowing which.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "net/Protocol.h"

namespace zavuv::net {

// A failure of a user action on the connection, carrying the text the user sees.
class NetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Shown when a line is to be sent while the connection is down.
inline constexpr std::string_view kNotConnected = "未連線";

// The time limits of the exchanges, in milliseconds.
inline constexpr int kConnectLimitMs = 10000;  // connecting, for the login and the sign-up
inline constexpr int kReplyLimitMs = 5000;     // version, login, nickname and first line
inline constexpr int kSignUpLimitMs = 20000;   // the sign-up reply

// Where a connection goes: the server, and the SOCKS 4 proxy in front of it when one is
// used. Built from the setup page's values before every connect.
struct ConnectionTarget {
  std::string host;  // server host name or address
  int port = kDefaultPort;
  bool useProxy = false;
  std::string proxyHost;
  int proxyPort = 0;
  std::string proxyUserId;  // sent in the SOCKS 4 request, empty or not
  // The same lines inside TLS (the server's TLS port); its certificate must verify
  // for `host`, or carry a fingerprint the user accepted before.
  bool tls = false;
};

class LineChannel {
 public:
  virtual ~LineChannel() = default;

  // Sends the line text (8-bit, without its terminator) followed by CR LF. Throws
  // NetError when the connection is down or the write fails.
  virtual void SendLine(std::string_view text) = 0;
  // The next received line: an empty line when none was complete within the limit,
  // nullopt when the connection is down or fails while waiting. Lines that arrived
  // before the connection closed are still handed out first.
  virtual std::optional<std::string> ReadLine(int timeoutMs) = 0;
  virtual bool Connected() const = 0;
  // Closes the connection; when it was up, the transport reports the disconnect.
  virtual void Disconnect() = 0;
};

// SendLine(name + ":" + data), refused with "未連線" while the connection is down.
void SendCommand(LineChannel& channel, std::string_view name, std::string_view data);

}  // namespace zavuv::net
