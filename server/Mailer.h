// The mail that carries a new account's number and password. The server sends no
// mail itself: by default each message is written as one RFC 5322 file into the
// outbox folder, for an operator's mail relay to pick up; with a sendmail program set
// the message is piped to it instead.
#pragma once

#include <cstdint>
#include <string>

namespace zavuv::server {

struct MailMessage {
  std::string from;
  std::string to;        // a checked address: printable ASCII, no blanks or brackets
  std::string subject;   // UTF-8
  std::string body;      // UTF-8, lines separated by LF
};

// The message text with CR LF line ends: Date, From, To, Subject (RFC 2047 encoded),
// Message-ID and MIME headers for UTF-8 text, then the body.
std::string ComposeMail(const MailMessage& message, std::int64_t unixTime);
// Writes the message into the folder under a fresh name (temporary name, then
// renamed) and returns the file's path. Errors are thrown.
std::string WriteToOutbox(const std::string& folder, const std::string& text);
struct MailResult {
  bool ok = false;
  std::string error;   // why not, for the log
};
// Pipes the message to `program -t -i` (a sendmail-compatible program, run directly,
// not through a shell). Not ok when it cannot be started, does not take the whole
// message, exits with a status other than 0, or runs longer than the limit (it is
// then killed).
MailResult PipeToSendmail(const std::string& program, const std::string& text, int timeoutMs = 10000);
// Whether the address is acceptable for sign-up and safe in a mail header.
bool ValidEmail(const std::string& address);

}  // namespace zavuv::server
