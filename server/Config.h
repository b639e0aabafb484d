// The server's settings: command-line options and the config file (key = value lines,
// "#" starts a comment). Every limit the server enforces on its clients lives here.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zavuv::server {

enum class Pace { Normal, Fast };

struct Config {
  // Where and how to listen.
  std::string host = "0.0.0.0";
  std::uint16_t port = 24;
  std::string db = "zavuv-server.db";
  std::string outbox = "outbox";
  std::string sendmail;           // empty: mail goes to the outbox folder
  int sendmailTimeoutMs = 10000;  // the mailer is stopped after this and the mail counts as failed (at most 15 s)
  std::string mailFrom = "zavuv-server <noreply@localhost>";
  std::int64_t dbMaxBytes = 0;    // the database may not grow past this (0: no limit)
  Pace pace = Pace::Normal;
  // A second port that speaks the same lines inside TLS (-1: none; 0 picks a free
  // port), with its certificate chain and private key, both PEM files.
  int tlsPort = -1;
  std::string tlsCert, tlsKey;

  // Connections.
  int maxConnections = 20000;
  int maxConnectionsPerAddress = 16;
  double loginTimeoutSeconds = 30;        // idle time before a successful login
  std::size_t pauseReadingBytes = 64 * 1024;   // output queued: stop reading input
  std::size_t disconnectBytes = 256 * 1024;    // output queued: disconnect
  double writeStallSeconds = 10;               // output waiting without progress: disconnect
  int socketSendBuffer = 64 * 1024;            // kernel send buffer per connection

  // Rates (token buckets: a burst, then a steady rate).
  double chatPerSecond = 1;               // per connection
  double chatBurst = 5;
  double globalChatDeliveriesPerSecond = 2'000'000;   // chat lines x recipients
  double loginPerMinutePerAddress = 30;
  double loginPerMinutePerAccount = 10;
  double signupPerHourPerAddress = 10;
  double resendIntervalSeconds = 3600;    // a known address is mailed at most this often

  // Password hashing: Argon2id, never below 2 passes and 19 MiB.
  int hashWorkers = 0;                    // 0: one per core
  int hashQueue = 256;                    // jobs waiting beyond the workers: refused
  unsigned long long hashOpsLimit = 2;
  std::size_t hashMemLimitMiB = 19;

  // Rooms.
  int betSeconds = 15;
  int fastBetMs = 60;                     // fast pace: the betting time of a game
  int roomListMax = 50;                   // names in a room's bet and guess lists
  int expPerGame = 10;
  // Not a config file key: rooms dealt from seeds derived from this one, so that a
  // test or a fuzzing input sees the same cards every time. 0: random.
  std::uint64_t roomSeed = 0;

  // Storage per account: articles shared (beyond, a new one is refused) and items in
  // each private list (beyond, the oldest go as the rooms keep new shoes).
  int maxArticlesPerAccount = 200;
  int maxPrivateItemsPerAccount = 500;

  // Seasons: each lasts this long from its start; its leader becomes champion.
  double seasonSeconds = 30.0 * 24 * 3600;

  std::string welcome = "歡迎光臨 zavuv 社群伺服器";
  // The battle rooms' news ticker (UTF-8; empty: none). SIGHUP re-reads it and the
  // welcome from the config file.
  std::string rollingText;
  std::string configFile;   // the file the settings came from, if any
};

// Reads a config file into config; an unknown key or a bad value is an error naming
// the line.
void LoadConfigFile(Config& config, const std::string& path);
// Parses a duration into seconds: a number with an optional unit ms, s, m, h or d;
// a bare number counts `bareScale` seconds (1: seconds; 0.001 for keys given in ms).
double ParseDuration(const std::string& text, double bareScale = 1);

// The longest wait for a mailer: the client waits 20 s for the sign-up reply.
constexpr double kMaxSendmailSeconds = 15;

// A config value refused for a reason the operator is told.
struct ConfigValueError : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

}  // namespace zavuv::server
