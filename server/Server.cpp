#include "Server.h"

#include <sodium.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "Mailer.h"
#include "net/CommaText.h"
#include "net/Protocol.h"
#include "table/Big5.h"
#include "table/Table.h"

namespace zavuv::server {

namespace {

constexpr std::string_view kDigits = "0123456789";
// Passwords avoid letters that are easily confused when read from a mail.
constexpr std::string_view kPasswordAlphabet = "23456789abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int kBoardRows = 50;
constexpr int kListRows = 100;
constexpr std::size_t kChatBytes = 400;
constexpr std::size_t kArticleBytes = 12000;
const char* const kRoomNames[] = {"PRACTICE", "BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"};

std::string CutUtf8(std::string text, std::size_t max) {
  if (text.size() <= max) return text;
  std::size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  text.resize(n);
  return text;
}

std::size_t CodePoints(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Field(std::string_view text, std::size_t from, std::size_t length) {
  if (from >= text.size()) return {};
  return std::string(net::TrimBlanks(text.substr(from, length)));
}

std::string DateText(std::int64_t unixTime, bool withTime) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, withTime ? "%Y/%m/%d %H:%M:%S" : "%Y/%m/%d", &tm);
  return buf;
}

std::string Rounded(double v) { return std::to_string(std::llround(v)); }

bool ParseId(const std::string& text, std::int64_t& id) {
  std::string_view s = net::TrimBlanks(text);
  if (s.empty() || s.size() > 18) return false;
  id = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    id = id * 10 + (c - '0');
  }
  return true;
}

bool PrintableAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c > 32 && c < 127; });
}

// COMMAND:rows as comma text, with as many rows from the front as fit into one line.
// Rows are escaped again inside the list (every quote doubled), so a few rows of
// quotes in their names or titles could otherwise take a list of 100 past the limit
// and the reply would not be sent at all.
std::string RowsLine(const std::string& command, net::StringList rows) {
  std::string line = command + ":" + net::EncodeCommaText(rows);
  while (line.size() > net::kMaxLineBytes && !rows.empty()) {
    rows.pop_back();
    line = command + ":" + net::EncodeCommaText(rows);
  }
  return line;
}

// The download of an article: its title and its lines, in Big5.
std::string ArticleLine(const std::string& title, const std::string& body) {
  return "GETARTICLEOK:" + net::EncodeCommaText({"TITLE=" + Utf8ToBig5(title), "ARTICLE=" + net::EncodeLines(Utf8ToBig5(body))});
}

// What a user is told when a change could not be stored: the database cannot grow
// (a full disk, or db_max_size), or another failure of the store.
std::string NotStored(const std::exception& e, std::string_view consequence) {
  bool full = dynamic_cast<const StoreFull*>(&e) != nullptr;
  return std::string(full ? "伺服器儲存空間已滿, " : "伺服器未能儲存資料, ") + std::string(consequence);
}

}  // namespace

// The queued lines of one gathered write: a fixed array, so that starting a write
// allocates nothing (the operation keeps a copy of the sequence).
struct GatherBuffers {
  std::array<asio::const_buffer, 16> items;
  std::size_t count = 0;
  const asio::const_buffer* begin() const { return items.data(); }
  const asio::const_buffer* end() const { return items.data() + count; }
};

bool TokenBucket::Take(Clock::time_point now, double n) {
  if (last != Clock::time_point{}) {
    double dt = std::chrono::duration<double>(now - last).count();
    tokens = std::min(burst, tokens + dt * rate);
  }
  last = now;
  if (tokens < n) return false;
  tokens -= n;
  return true;
}

bool TokenBucket::Full(Clock::time_point now) {
  double dt = std::chrono::duration<double>(now - last).count();
  return tokens + dt * rate >= burst;
}

struct Server::Connection : std::enable_shared_from_this<Connection> {
  explicit Connection(asio::io_context& io) : socket(io) {}
  enum class State { Fresh, AwaitNickname, Online };

  asio::ip::tcp::socket socket;
  // Set for a connection on the TLS port: the same lines, inside TLS over `socket`.
  // Nothing is read or written before its handshake has finished (`secured`).
  std::unique_ptr<asio::ssl::stream<asio::ip::tcp::socket&>> tls;
  bool secured = false;
  std::string tlsOut;   // the bytes of the write under way, gathered into one record
  // Set for a local connection (no socket): where its output goes.
  std::function<void(std::string_view)> localWrite;
  std::uint64_t id = 0;
  std::string address;
  net::LineFramer framer;
  std::size_t discardedSeen = 0;
  std::array<char, 4096> input;

  std::deque<Buffer> queue;
  std::size_t frontOffset = 0;
  std::size_t queuedBytes = 0;
  bool writing = false, reading = false, readPaused = false;
  bool closed = false, doomed = false, closeAfterFlush = false, flushPosted = false;
  std::string closeReason;
  Clock::time_point connectedAt, lastWriteProgress;

  State state = State::Fresh;
  bool busy = false;   // a job of the worker pool is under way
  std::string account, nickname, nicknameBig5;
  std::int64_t exp = 0;
  double profit = 0, turnover = 0;
  bool wantsUtf8 = true;
  bool hasPendingChat = false;
  std::string pendingChat;
  Clock::time_point pendingAt;
  TokenBucket chat, requests;
  std::size_t onlineIndex = SIZE_MAX;
};

Server::Server(asio::io_context& io, Config config, std::ostream& log, std::shared_ptr<HashPool> pool)
    : io_(io), config_(std::move(config)), log_(log), acceptor_(io), tlsAcceptor_(io), housekeeping_(io), signals_(io),
      globalChat_(config_.globalChatDeliveriesPerSecond, config_.globalChatDeliveriesPerSecond) {
  if (pool) {
    pool_ = std::move(pool);
    ownPool_ = false;
    return;
  }
  int workers = config_.hashWorkers > 0 ? config_.hashWorkers : std::max(1u, std::thread::hardware_concurrency());
  pool_ = std::make_shared<HashPool>(workers, static_cast<std::size_t>(std::max(1, config_.hashQueue)));
}

Server::~Server() {
  // The jobs refer to this server: none may outlive it.
  if (ownPool_) pool_->Stop();
  else pool_->WaitIdle();
}

std::int64_t Server::Now() const { return static_cast<std::int64_t>(std::time(nullptr)); }

void Server::Log(std::string_view event, std::initializer_list<std::pair<std::string_view, std::string>> fields) {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char ts[40];
  std::strftime(ts, sizeof ts, "%Y-%m-%dT%H:%M:%S", &tm);
  int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::string line = "ts=" + std::string(ts) + "." + std::to_string(1000 + ms).substr(1) + "Z event=";
  line += event;
  for (const auto& [key, value] : fields) {
    line += ' ';
    line += key;
    line += '=';
    bool quote = value.empty() || value.find_first_of(" \"=\\") != std::string::npos;
    if (quote) line += '"';
    for (char c : value) {
      if (c == '"' || c == '\\') line += '\\';
      line += (static_cast<unsigned char>(c) < 32) ? ' ' : c;
    }
    if (quote) line += '"';
  }
  line += '\n';
  log_ << line << std::flush;
}

void Server::Open() {
  if (db_) return;
  db_ = std::make_unique<Database>(config_.db);
  db_->LimitSize(config_.dbMaxBytes);
  season_ = db_->CurrentSeason(Now());
  dummyHash_ = HashPassword(RandomText(16, kPasswordAlphabet), {config_.hashOpsLimit, config_.hashMemLimitMiB << 20});
  RoomTiming timing = config_.pace == Pace::Fast ? RoomTiming::Fast(config_.fastBetMs) : RoomTiming::Normal(config_.betSeconds);
  for (const char* name : kRoomNames) {
    std::uint64_t seed = config_.roomSeed + rooms_.size();
    if (config_.roomSeed == 0) randombytes_buf(&seed, sizeof seed);
    rooms_.push_back(std::make_unique<Room>(name, std::string_view(name) == "PRACTICE", seed, timing,
                                            config_.roomListMax, *this));
    roomTimers_.push_back(std::make_unique<asio::steady_timer>(io_));
  }
}

std::uint16_t Server::Listen() {
  Open();
  db_->CheckpointInBackground(1000);
  asio::error_code ec;
  asio::ip::address address = asio::ip::make_address(config_.host, ec);
  if (ec) {
    asio::ip::tcp::resolver resolver(io_);
    auto results = resolver.resolve(config_.host, "", ec);
    if (ec || results.empty()) throw std::runtime_error("cannot resolve host " + config_.host);
    address = results.begin()->endpoint().address();
  }
  std::uint16_t port = Bind(acceptor_, address, config_.port);
  Log("listen", {{"host", config_.host}, {"port", std::to_string(port)}, {"db", config_.db},
                 {"pace", config_.pace == Pace::Fast ? "fast" : "normal"}});
  if (config_.tlsPort >= 0) {
    if (config_.tlsCert.empty() || config_.tlsKey.empty())
      throw std::runtime_error("a TLS port needs its certificate and key (--tls-cert FILE --tls-key FILE)");
    // TLS 1.2 or newer, with OpenSSL's default ciphers; the certificate file may hold
    // the whole chain.
    tlsContext_ = std::make_unique<asio::ssl::context>(asio::ssl::context::tls_server);
    tlsContext_->set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2 |
                             asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1 |
                             asio::ssl::context::no_tlsv1_1 | asio::ssl::context::single_dh_use);
    SSL_CTX_set_min_proto_version(tlsContext_->native_handle(), TLS1_2_VERSION);
    asio::error_code ec;
    tlsContext_->use_certificate_chain_file(config_.tlsCert, ec);
    if (ec) throw std::runtime_error("cannot use the TLS certificate " + config_.tlsCert + ": " + ec.message());
    tlsContext_->use_private_key_file(config_.tlsKey, asio::ssl::context::pem, ec);
    if (ec) throw std::runtime_error("cannot use the TLS key " + config_.tlsKey + ": " + ec.message());
    if (SSL_CTX_check_private_key(tlsContext_->native_handle()) != 1)
      throw std::runtime_error("the TLS key " + config_.tlsKey + " does not belong to the certificate " + config_.tlsCert);
    tlsPort_ = Bind(tlsAcceptor_, address, static_cast<std::uint16_t>(config_.tlsPort));
    Log("listen", {{"host", config_.host}, {"port", std::to_string(tlsPort_)}, {"tls", "on"}, {"cert", config_.tlsCert}});
  }
  return port;
}

std::uint16_t Server::Bind(asio::ip::tcp::acceptor& acceptor, const asio::ip::address& address, std::uint16_t port) {
  asio::error_code ec;
  asio::ip::tcp::endpoint endpoint(address, port);
  acceptor.open(endpoint.protocol());
  acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true));
  acceptor.bind(endpoint, ec);
  if (ec) {
    std::string message = "cannot listen on " + config_.host + ":" + std::to_string(port) + ": " + ec.message();
    if (port != 0 && port < 1024)
      message += " (ports below 1024, such as the default 24, need root: run as root, give the program "
                 "CAP_NET_BIND_SERVICE, or choose another port with --port)";
    throw std::runtime_error(message);
  }
  acceptor.listen(asio::socket_base::max_listen_connections);
  return acceptor.local_endpoint().port();
}

void Server::Start() {
  // At normal pace the rooms start 3 s apart, so that their settlements and lists do
  // not all fall on the same moment.
  for (std::size_t i = 0; i < rooms_.size(); ++i) ScheduleRoom(i, config_.pace == Pace::Fast ? 0 : int(i) * 3000);
  signals_.add(SIGINT);
  signals_.add(SIGTERM);
  signals_.add(SIGHUP);
  WaitForSignal();
  housekeeping_.expires_after(std::chrono::milliseconds(200));
  housekeeping_.async_wait([this](const asio::error_code& ec) {
    if (!ec) Housekeeping();
  });
  Accept(acceptor_, false);
  if (tlsContext_) Accept(tlsAcceptor_, true);
}

void Server::WaitForSignal() {
  signals_.async_wait([this](const asio::error_code& ec, int signal) {
    if (ec) return;
    Log("signal", {{"signal", signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "SIGHUP"}});
    if (signal != SIGHUP) return Shutdown();
    ReloadTexts();
    WaitForSignal();
  });
}

// SIGHUP: the welcome and the news ticker are read again from the config file; a
// changed ticker goes out to everyone at once. Other settings need a restart.
void Server::ReloadTexts() {
  if (config_.configFile.empty()) return;
  Config fresh;
  try {
    LoadConfigFile(fresh, config_.configFile);
  } catch (const std::exception& e) {
    Log("error", {{"where", "reload"}, {"error", e.what()}});
    return;
  }
  config_.welcome = fresh.welcome;
  bool changed = fresh.rollingText != config_.rollingText;
  config_.rollingText = fresh.rollingText;
  Log("reload", {{"file", config_.configFile}, {"rolling_text", changed ? "changed" : "same"}});
  if (!changed) return;
  for (const auto& room : rooms_)
    if (!room->Practice())
      Broadcast({room->Name() + ":ROLLINGTEXT:" + Utf8ToBig5(config_.rollingText),
                 room->Name() + ":UTF8ROLLINGTEXT:" + config_.rollingText});
}

// The battle rooms' news ticker (the practice room has none).
void Server::SendRollingText(Connection& c) {
  if (config_.rollingText.empty()) return;
  for (const auto& room : rooms_)
    if (!room->Practice())
      SendDual(c, {room->Name() + ":ROLLINGTEXT:" + Utf8ToBig5(config_.rollingText),
                   room->Name() + ":UTF8ROLLINGTEXT:" + config_.rollingText});
}

void Server::Shutdown() {
  if (stopping_) return;
  stopping_ = true;
  asio::error_code ec;
  acceptor_.close(ec);
  tlsAcceptor_.close(ec);
  signals_.cancel(ec);
  housekeeping_.cancel();
  for (auto& t : roomTimers_) t->cancel();
  std::vector<ConnectionPtr> all;
  for (auto& [id, c] : connections_) all.push_back(c);
  for (auto& c : all) {
    if (c->state == Connection::State::Online) SendText(*c, "SYSTEMMSG", "伺服器關閉中, 請稍後再登入");
    CloseAfterFlush(*c, "shutdown");
  }
  // Writes that cannot finish in time are cut.
  shutdownTimer_ = std::make_unique<asio::steady_timer>(io_, std::chrono::seconds(3));
  shutdownTimer_->async_wait([this](const asio::error_code&) {
    std::vector<ConnectionPtr> left;
    for (auto& [id, c] : connections_) left.push_back(c);
    for (auto& c : left) Close(*c, "shutdown");
  });
  if (connections_.empty()) shutdownTimer_->cancel();
  Log("shutdown", {{"connections", std::to_string(all.size())}});
}

void Server::Accept(asio::ip::tcp::acceptor& acceptor, bool tls) {
  acceptor.async_accept([this, &acceptor, tls](const asio::error_code& ec, asio::ip::tcp::socket socket) {
    if (stopping_) return;
    if (ec) {
      // Out of descriptors or similar: wait a little rather than spin.
      Log("error", {{"where", "accept"}, {"error", ec.message()}});
      auto timer = std::make_shared<asio::steady_timer>(io_, std::chrono::milliseconds(100));
      timer->async_wait([this, timer, &acceptor, tls](const asio::error_code&) {
        if (!stopping_) Accept(acceptor, tls);
      });
      return;
    }
    OnAccept(std::move(socket), tls);
    Accept(acceptor, tls);
  });
}

void Server::OnAccept(asio::ip::tcp::socket socket, bool tls) {
  asio::error_code ec;
  auto remote = socket.remote_endpoint(ec);
  if (ec) return;
  ConnectionPtr c = Admit(std::move(socket), remote.address().to_string());
  if (!c) return;
  c->socket.set_option(asio::ip::tcp::no_delay(true), ec);
  // A fixed kernel buffer: what a client has not read waits in our queue, where it is
  // counted and bounded, not in an autotuned buffer of several megabytes.
  if (config_.socketSendBuffer > 0)
    c->socket.set_option(asio::socket_base::send_buffer_size(config_.socketSendBuffer), ec);
  if (!tls) return StartRead(c);
  // The handshake is bounded like everything before a login: by login_timeout.
  c->tls = std::make_unique<asio::ssl::stream<asio::ip::tcp::socket&>>(c->socket, *tlsContext_);
  c->tls->async_handshake(asio::ssl::stream_base::server, [this, c](const asio::error_code& ec) {
    if (c->closed) return;
    if (ec) {
      Log("refusal", {{"id", std::to_string(c->id)}, {"addr", c->address}, {"reason", "tls handshake failed"},
                      {"error", ec.message()}});
      return Close(*c, "tls handshake failed");
    }
    c->secured = true;
    SSL* ssl = c->tls->native_handle();
    Log("tls", {{"id", std::to_string(c->id)}, {"version", SSL_get_version(ssl)}, {"cipher", SSL_get_cipher_name(ssl)}});
    StartRead(c);
    if (!c->writing) StartWrite(c);
  });
}

Server::ConnectionPtr Server::Admit(asio::ip::tcp::socket socket, const std::string& address) {
  int& count = perAddress_[address];
  if (static_cast<int>(connections_.size()) >= config_.maxConnections || count >= config_.maxConnectionsPerAddress) {
    ++stats_.refusedConnections;
    if (count == 0) perAddress_.erase(address);
    Log("refuse", {{"addr", address}, {"reason", "connection limit"}});
    asio::error_code ec;
    socket.close(ec);
    return nullptr;
  }
  ++count;
  auto c = std::make_shared<Connection>(io_);
  c->socket = std::move(socket);
  c->id = nextId_++;
  c->address = address;
  c->connectedAt = c->lastWriteProgress = Clock::now();
  c->chat = TokenBucket(config_.chatPerSecond, config_.chatBurst);
  c->requests = TokenBucket(5, 20);
  connections_[c->id] = c;
  ++stats_.accepted;
  stats_.peakConnections = std::max(stats_.peakConnections, connections_.size());
  Log("connect", {{"id", std::to_string(c->id)}, {"addr", address}});
  return c;
}

std::uint64_t Server::ConnectLocal(const std::string& address, std::function<void(std::string_view)> write) {
  ConnectionPtr c = Admit(asio::ip::tcp::socket(io_), address);
  if (!c) return 0;
  c->localWrite = std::move(write);
  return c->id;
}

void Server::ReceiveLocal(std::uint64_t id, std::string_view bytes) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  ConnectionPtr c = it->second;
  if (!c->closed) OnInput(c, bytes);
}

void Server::DisconnectLocal(std::uint64_t id) {
  auto it = connections_.find(id);
  if (it != connections_.end()) Close(*it->second, "closed by client");
}

bool Server::Busy(std::uint64_t id) const {
  auto it = connections_.find(id);
  return it != connections_.end() && it->second->busy;
}

void Server::StartRead(const ConnectionPtr& c) {
  if (c->closed || c->reading || c->localWrite || (c->tls && !c->secured)) return;
  if (c->doomed || c->closeAfterFlush || c->queuedBytes >= config_.pauseReadingBytes) {
    c->readPaused = true;
    return;
  }
  c->readPaused = false;
  c->reading = true;
  auto done = [this, c](const asio::error_code& ec, std::size_t n) {
    c->reading = false;
    if (c->closed) return;
    if (ec) {
      // A TLS peer that hangs up without its close_notify is a client going away too.
      bool eof = ec == asio::error::eof || ec == asio::ssl::error::stream_truncated;
      Close(*c, eof ? "closed by client" : ec.message());
      return;
    }
    OnInput(c, std::string_view(c->input.data(), n));
    StartRead(c);
  };
  if (c->tls) c->tls->async_read_some(asio::buffer(c->input), std::move(done));
  else c->socket.async_read_some(asio::buffer(c->input), std::move(done));
}

void Server::OnInput(const ConnectionPtr& c, std::string_view bytes) {
  c->framer.Feed(bytes);
  if (c->framer.Discarded() != c->discardedSeen) {
    stats_.overlongLines += c->framer.Discarded() - c->discardedSeen;
    c->discardedSeen = c->framer.Discarded();
    Log("refusal", {{"id", std::to_string(c->id)}, {"reason", "line over 16384 bytes discarded"}});
  }
  std::string line;
  while (!c->closed && !c->doomed && c->framer.Next(line)) {
    // A line whose handling fails (the store refusing a read, say) is answered and
    // logged; the connection and everyone else go on.
    try {
      HandleLine(c, line);
    } catch (const std::exception& e) {
      ++stats_.lineErrors;
      Log("error", {{"where", "line"}, {"id", std::to_string(c->id)}, {"command", net::SplitLine(line).command.substr(0, 40)},
                    {"error", e.what()}});
      if (!c->closed) SendText(*c, "SYSTEMMSG", "伺服器暫時未能處理, 請稍後再試");
    }
  }
}

void Server::Enqueue(Connection& c, const Buffer& line) {
  if (c.closed || c.doomed) return;
  if (c.queue.empty()) c.lastWriteProgress = Clock::now();
  c.queue.push_back(line);
  c.queuedBytes += line->size();
  ++stats_.linesOut;
  if (c.queuedBytes > config_.disconnectBytes) {
    // Dropped outside the caller's loop: a broadcast may be walking the online list.
    c.doomed = true;
    ++stats_.slowDisconnects;
    asio::post(io_, [this, self = c.shared_from_this()] { Close(*self, "output queue over limit"); });
    return;
  }
  // The write starts once the current handler is done, so that the lines it queues
  // (a room step, a settlement, the state after login) go out in one system call.
  // One posted handler starts the writes of every connection that got lines, rather
  // than one handler per connection per line.
  if (!c.writing && !c.flushPosted) {
    c.flushPosted = true;
    if (toFlush_.empty()) asio::post(io_, [this] { FlushQueued(); });
    toFlush_.push_back(c.shared_from_this());
  }
}

void Server::FlushQueued() {
  flushing_.swap(toFlush_);
  for (const ConnectionPtr& c : flushing_) {
    c->flushPosted = false;
    if (!c->writing) StartWrite(c);
  }
  flushing_.clear();
}

void Server::StartWrite(const ConnectionPtr& c) {
  if (c->closed || c->queue.empty() || (c->tls && !c->secured)) return;
  if (c->localWrite) {
    // A local peer takes everything queued at once, line by line.
    while (!c->queue.empty()) {
      Buffer line = std::move(c->queue.front());
      c->queue.pop_front();
      std::string_view bytes = std::string_view(*line).substr(c->frontOffset);
      c->frontOffset = 0;
      stats_.bytesOut += bytes.size();
      c->localWrite(bytes);
    }
    c->queuedBytes = 0;
    c->lastWriteProgress = Clock::now();
    if (c->closeAfterFlush) Close(*c, c->closeReason);
    return;
  }
  auto done = [this, c](const asio::error_code& ec, std::size_t n) {
    c->writing = false;
    if (c->closed) return;
    if (ec) {
      Close(*c, "write: " + ec.message());
      return;
    }
    stats_.bytesOut += n;
    c->queuedBytes -= n;
    c->lastWriteProgress = Clock::now();
    while (n > 0) {
      std::size_t left = c->queue.front()->size() - c->frontOffset;
      if (n >= left) {
        n -= left;
        c->queue.pop_front();
        c->frontOffset = 0;
      } else {
        c->frontOffset += n;
        n = 0;
      }
    }
    if (!c->queue.empty()) {
      StartWrite(c);
    } else if (c->closeAfterFlush) {
      Close(*c, c->closeReason);
      return;
    }
    if (c->readPaused && c->queuedBytes < config_.pauseReadingBytes) StartRead(c);
  };
  c->writing = true;
  if (c->tls) {
    // TLS writes one buffer per record: the queued lines are gathered into one of
    // up to 16 KB, so that a room's burst of lines is one record, not one each.
    c->tlsOut.clear();
    for (auto it = c->queue.begin(); it != c->queue.end() && c->tlsOut.size() < 16 * 1024; ++it) {
      std::size_t skip = it == c->queue.begin() ? c->frontOffset : 0;
      c->tlsOut.append((*it)->data() + skip, (*it)->size() - skip);
    }
    if (c->tlsOut.size() > 16 * 1024) c->tlsOut.resize(16 * 1024);
    c->tls->async_write_some(asio::buffer(c->tlsOut), std::move(done));
    return;
  }
  GatherBuffers buffers;
  std::size_t bytes = 0;
  for (auto it = c->queue.begin(); it != c->queue.end() && buffers.count < buffers.items.size() && bytes < 256 * 1024;
       ++it) {
    std::size_t skip = buffers.count == 0 ? c->frontOffset : 0;
    buffers.items[buffers.count++] = asio::buffer((*it)->data() + skip, (*it)->size() - skip);
    bytes += (*it)->size() - skip;
  }
  c->socket.async_write_some(buffers, std::move(done));
}

void Server::Send(Connection& c, std::string_view text) {
  if (text.size() > net::kMaxLineBytes) {
    Log("error", {{"where", "send"}, {"reason", "reply over the line limit not sent"},
                  {"line", std::string(text.substr(0, 40))}});
    return;
  }
  Enqueue(c, std::make_shared<const std::string>(net::FrameLine(text)));
}

void Server::SendDual(Connection& c, const DualLine& line) {
  Send(c, c.wantsUtf8 && !line.utf8.empty() ? line.utf8 : line.big5);
}

void Server::SendText(Connection& c, const char* command, const std::string& utf8) {
  if (c.wantsUtf8) Send(c, std::string("UTF8") + command + ":" + utf8);
  else Send(c, std::string(command) + ":" + Utf8ToBig5(utf8));
}

void Server::Broadcast(const DualLine& line) {
  auto frame = [&](const std::string& text) -> Buffer {
    if (text.size() > net::kMaxLineBytes) return nullptr;
    return std::make_shared<const std::string>(net::FrameLine(text));
  };
  Buffer big5 = frame(line.big5);
  Buffer utf8 = line.utf8.empty() ? big5 : frame(line.utf8);
  if (!big5 || !utf8) {
    Log("error", {{"where", "broadcast"}, {"reason", "line over the line limit not sent"}});
    return;
  }
  for (std::size_t i = 0; i < online_.size(); ++i) Enqueue(*online_[i], online_[i]->wantsUtf8 ? utf8 : big5);
}

void Server::RoomBroadcast(const DualLine& line) { Broadcast(line); }

void Server::RoomSend(const std::string& account, const DualLine& line) {
  auto it = byAccount_.find(account);
  if (it != byAccount_.end()) SendDual(*it->second, line);
}

void Server::CloseAfterFlush(Connection& c, const std::string& reason) {
  if (c.closed) return;
  c.closeAfterFlush = true;
  c.closeReason = reason;
  if (c.queue.empty() && !c.writing) Close(c, reason);
}

void Server::Close(Connection& c, const std::string& reason) {
  if (c.closed) return;
  if (c.hasPendingChat && !c.doomed) FlushPendingChat(c);
  c.closed = true;
  auto self = c.shared_from_this();
  if (c.onlineIndex != SIZE_MAX) {
    std::size_t i = c.onlineIndex;
    online_[i] = online_.back();
    online_[i]->onlineIndex = i;
    online_.pop_back();
    c.onlineIndex = SIZE_MAX;
    onlineListUtf8_.reset();
    onlineListBig5_.reset();
  }
  if (auto it = byAccount_.find(c.account); it != byAccount_.end() && it->second == &c) byAccount_.erase(it);
  if (auto it = perAddress_.find(c.address); it != perAddress_.end() && --it->second <= 0) perAddress_.erase(it);
  connections_.erase(c.id);
  // The last connection gone at shutdown: nothing is left to wait for.
  if (stopping_ && connections_.empty() && shutdownTimer_) shutdownTimer_->cancel();
  asio::error_code ec;
  c.socket.shutdown(asio::ip::tcp::socket::shutdown_both, ec);
  c.socket.close(ec);
  // A write under way still refers to the queued buffers until its handler runs.
  if (!c.writing) c.queue.clear();
  c.queuedBytes = 0;
  Log("disconnect", {{"id", std::to_string(c.id)}, {"account", c.account}, {"reason", reason}});
}

void Server::HandleLine(const ConnectionPtr& c, const std::string& line) {
  ++stats_.linesIn;
  net::CommandLine split = net::SplitLine(line);
  const std::string& cmd = split.command;
  const std::string& args = split.arguments;
  if (cmd.empty()) return;
  if (c->hasPendingChat && cmd != "UTF8PUBLICMSG") FlushPendingChat(*c);
  if (cmd == "VERSION") return OnVersion(*c, args);
  switch (c->state) {
    case Connection::State::Fresh:
      if (cmd == "LOGIN") return OnLogin(c, args);
      if (cmd == "SIGNUP") return OnSignUp(c, args);
      return;
    case Connection::State::AwaitNickname:
      if (cmd == "SETNICKNAME") return OnSetNickname(c, args);
      return;
    case Connection::State::Online:
      break;
  }
  if (net::IsUtf8Command(cmd)) c->wantsUtf8 = true;
  if (cmd == "PUBLICMSG" || cmd == "UTF8PUBLICMSG") return OnChat(c, cmd == "UTF8PUBLICMSG", args);
  if (cmd == "GETONLINELIST" || cmd == "UTF8GETONLINELIST") return OnOnlineList(*c);
  for (std::size_t i = 0; i < rooms_.size(); ++i)
    if (cmd == rooms_[i]->Name()) return OnRoomLine(*c, *rooms_[i], args);
  if (cmd == "CHANGEINFO") return OnChangeInfo(c, args);
  if (!AllowRequest(*c)) return;
  if (cmd == "BILLBOARD" || cmd == "VICTOR" || cmd == "LEVELBOARD" || cmd == "UTF8BILLBOARD" ||
      cmd == "UTF8VICTOR" || cmd == "UTF8LEVELBOARD")
    return OnBoard(*c, cmd, args);
  if (cmd == "GETPRIVATEDATALIST") return OnPrivateList(*c, "DATA");
  if (cmd == "GETPRIVATEBETLIST") return OnPrivateList(*c, "BET");
  if (cmd == "GETPRIVATEBETAMOUNTLIST") return OnPrivateList(*c, "BETAMOUNT");
  if (cmd == "GETPRIVATEDATA") return OnPrivateItem(*c, "DATA", args);
  if (cmd == "GETPRIVATEBET") return OnPrivateItem(*c, "BET", args);
  if (cmd == "GETPRIVATEBETAMOUNT") return OnPrivateItem(*c, "BETAMOUNT", args);
  if (cmd == "GETARTICLELIST") return OnArticleList(*c);
  if (cmd == "GETARTICLE") return OnArticle(*c, args);
  if (cmd == "SHAREARTICLE") return OnShareArticle(*c, args);
}

bool Server::AllowRequest(Connection& c) {
  if (c.requests.Take(Clock::now())) return true;
  SendText(c, "SYSTEMMSG", "要求太頻密, 請稍後再試");
  return false;
}

void Server::OnVersion(Connection& c, const std::string& args) {
  if (net::TrimBlanks(args) == "1.11") {
    Send(c, "VERSIONOK:");
  } else {
    Send(c, "VERSIONTOOOLD:" + Utf8ToBig5("閣下所用版本太舊, 請下載最新版本 (1.11)"));
    Log("refusal", {{"id", std::to_string(c.id)}, {"reason", "old version"}, {"version", Big5ToUtf8(args.substr(0, 20))}});
  }
}

// Login refusals are read by the client as UTF-8 text.
void Server::OnLogin(const ConnectionPtr& c, const std::string& args) {
  if (c->busy) return;
  std::string account = Field(args, 0, 10);
  std::string password = Field(args, 10, std::string::npos);
  auto now = Clock::now();
  auto refuse = [&](const std::string& text, const std::string& reason) {
    ++stats_.loginFailures;
    Send(*c, text);
    Log("refusal", {{"id", std::to_string(c->id)}, {"addr", c->address}, {"account", account}, {"reason", reason}});
  };
  auto& byAddress = loginByAddress_.try_emplace(c->address, config_.loginPerMinutePerAddress / 60,
                                                std::max(1.0, config_.loginPerMinutePerAddress)).first->second;
  if (!byAddress.Take(now)) return refuse("登入次數太多, 請稍後再試", "login rate per address");
  bool wellFormed = account.size() == 10 && PrintableAscii(account) && password.size() >= 4 && password.size() <= 64;
  std::optional<Account> found = wellFormed ? db_->FindAccount(account) : std::nullopt;
  if (found) {
    auto& byAccount = loginByAccount_.try_emplace(account, config_.loginPerMinutePerAccount / 60,
                                                  std::max(1.0, config_.loginPerMinutePerAccount)).first->second;
    if (!byAccount.Take(now)) return refuse("登入次數太多, 請稍後再試", "login rate per account");
  }
  // Unknown accounts are checked against a dummy hash, so that the reply time does not
  // tell which account numbers exist.
  std::string hash = found ? found->passwordHash : dummyHash_;
  bool known = found.has_value();
  c->busy = true;
  std::weak_ptr<Connection> weak = c;
  bool queued = pool_->Submit([this, weak, hash, password, known, account] {
    bool ok = VerifyPassword(hash, password) && known;
    asio::post(io_, [this, weak, ok, account] {
      if (auto c = weak.lock()) OnLoginVerified(c, account, ok);
    });
  });
  if (!queued) {
    c->busy = false;
    refuse("伺服器繁忙, 請稍後再登入", "hash queue full");
  }
}

void Server::OnLoginVerified(const ConnectionPtr& c, const std::string& accountNumber, bool ok) {
  c->busy = false;
  if (c->closed || stopping_) return;
  std::optional<Account> account = ok ? db_->FindAccount(accountNumber) : std::nullopt;
  if (!account) {
    ++stats_.loginFailures;
    Send(*c, "帳戶編號或密碼錯誤");
    Log("refusal", {{"id", std::to_string(c->id)}, {"addr", c->address}, {"account", accountNumber},
                    {"reason", "wrong account or password"}});
    return;
  }
  c->account = account->account;
  if (account->nickname.empty()) {
    c->state = Connection::State::AwaitNickname;
    Send(*c, "NONICKNAME");
    return;
  }
  CompleteLogin(c, *account, true);
}

void Server::OnSetNickname(const ConnectionPtr& c, const std::string& args) {
  // 20 bytes of Big5, padded, then the same name in UTF-8; the UTF-8 one is kept.
  std::string name = std::string(net::TrimBlanks(args.size() > 20 ? std::string_view(args).substr(20) : ""));
  if (name.empty() || !net::IsValidUtf8(name))
    name = std::string(net::TrimBlanks(Big5ToUtf8(net::TrimBlanks(std::string_view(args).substr(0, 20)))));
  bool valid = !name.empty() && net::IsValidUtf8(name) && CodePoints(name) <= 20 &&
               name.find("\xEF\xBF\xBD") == std::string::npos &&
               std::none_of(name.begin(), name.end(), [](char ch) { return static_cast<unsigned char>(ch) < 32; }) &&
               !net::TrimBlanks(Utf8ToBig5(name)).empty();
  if (!valid) {
    Send(*c, Utf8ToBig5("網名不正確, 請重新輸入 (最多20字)"));
    return;
  }
  bool taken = false;
  try {
    taken = db_->NicknameTaken(name) || !db_->SetNickname(c->account, name);
  } catch (const std::exception& e) {
    ++stats_.storeErrors;
    Log("error", {{"where", "nickname"}, {"account", c->account}, {"error", e.what()}});
    Send(*c, Utf8ToBig5(NotStored(e, "網名未能設定, 請稍後再試")));
    return;
  }
  if (taken) {
    Send(*c, "NICKNAMEALREADYEXIST");
    Log("refusal", {{"id", std::to_string(c->id)}, {"account", c->account}, {"reason", "nickname taken"}});
    return;
  }
  Send(*c, "SETNICKNAMEOK");
  if (auto account = db_->FindAccount(c->account)) CompleteLogin(c, *account, false);
}

void Server::CompleteLogin(const ConnectionPtr& c, const Account& account, bool sendLoginOk) {
  if (auto it = byAccount_.find(account.account); it != byAccount_.end() && it->second != c.get()) {
    Connection& old = *it->second;
    SendText(old, "SYSTEMMSG", "此帳戶已在其他地方登入");
    byAccount_.erase(it);
    CloseAfterFlush(old, "logged in elsewhere");
  }
  c->state = Connection::State::Online;
  c->nickname = account.nickname;
  c->nicknameBig5 = CutBig5(Utf8ToBig5(account.nickname), 20);
  c->exp = account.exp;
  if (auto score = db_->Score(season_.id, account.account)) {
    c->profit = score->profit;
    c->turnover = score->turnover;
  }
  if (sendLoginOk) Send(*c, "LOGINOK");
  // The one line the client reads after the login, then the level.
  if (c->wantsUtf8) Send(*c, "UTF8NICKNAME:" + c->nickname);
  else Send(*c, "NICKNAME:" + c->nicknameBig5);
  SendLevel(*c);
  SendText(*c, "SYSTEMMSG", config_.welcome);
  c->onlineIndex = online_.size();
  online_.push_back(c.get());
  byAccount_[c->account] = c.get();
  onlineListUtf8_.reset();
  onlineListBig5_.reset();
  for (auto& room : rooms_)
    for (const DualLine& line : room->Snapshot(c->account)) SendDual(*c, line);
  SendScore(*c, "BATTLE");
  SendRollingText(*c);
  ++stats_.logins;
  Log("login", {{"id", std::to_string(c->id)}, {"addr", c->address}, {"account", c->account},
                {"online", std::to_string(online_.size())}});
}

void Server::SendLevel(Connection& c) {
  Level l = LevelOf(c.exp);
  Send(c, "LEVEL:" + std::to_string(l.level) + ":" + std::to_string(l.exp) + ":" + std::to_string(l.needed));
}

// The season's profit: the battle room named gets it as SCORE (Big5 clients), or
// every battle room as UTF8SCORE.
void Server::SendScore(Connection& c, const std::string& roomName) {
  std::string money = FormatMoney(c.profit);
  SendDual(c, {roomName + ":SCORE:" + money, roomName + ":UTF8SCORE:" + money});
}

// The mail with the account data, composed and delivered on a worker (piping to a
// mailer may block). Answers whether it was handed over, and why not.
MailResult Server::Mail(const std::string& to, const std::string& account, const std::string& password,
                        bool again) const {
  MailMessage m;
  m.from = config_.mailFrom;
  m.to = to;
  m.subject = again ? "zavuv 帳戶資料 (重發)" : "zavuv 新帳戶資料";
  m.body = std::string(again ? "閣下的帳戶資料如下, 密碼已重新設定:\n\n" : "歡迎加入! 閣下的帳戶資料如下:\n\n") +
           "帳戶編號: " + account + "\n帳戶密碼: " + password + "\n\n請於登入後選定網名.\n";
  std::string text = ComposeMail(m, Now());
  if (!config_.sendmail.empty()) return PipeToSendmail(config_.sendmail, text, config_.sendmailTimeoutMs);
  try {
    WriteToOutbox(config_.outbox, text);
    return {true, {}};
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

// Sign-up replies are read by the client as Big5 text.
void Server::OnSignUp(const ConnectionPtr& c, const std::string& args) {
  if (c->busy) return;
  std::string email(net::TrimBlanks(args));
  auto refuse = [&](const std::string& text, const std::string& reason) {
    Send(*c, Utf8ToBig5(text));
    Log("refusal", {{"id", std::to_string(c->id)}, {"addr", c->address}, {"reason", reason}});
  };
  if (!ValidEmail(email)) return refuse("電郵地址錯誤", "bad e-mail address");
  auto& bucket = signupByAddress_.try_emplace(c->address, config_.signupPerHourPerAddress / 3600,
                                              std::max(1.0, config_.signupPerHourPerAddress)).first->second;
  if (!bucket.Take(Clock::now())) return refuse("開戶次數太多, 請稍後再試", "sign-up rate per address");
  std::optional<Account> existing = db_->FindByEmail(email);
  if (existing && Now() - existing->lastMail < static_cast<std::int64_t>(config_.resendIntervalSeconds)) {
    // Mailed recently: say so without resetting the password again.
    Send(*c, "OLDACCOUNT");
    Log("signup", {{"id", std::to_string(c->id)}, {"account", existing->account}, {"result", "old account, not mailed again yet"}});
    return;
  }
  // One sign-up per address at a time: a second one while the first is being mailed
  // is told the address is known, and nothing more is sent.
  std::string key = net::UpperAscii(email);
  if (signupsUnderWay_.count(key)) {
    Send(*c, "OLDACCOUNT");
    Log("signup", {{"id", std::to_string(c->id)}, {"result", "already under way"}});
    return;
  }
  std::string account = existing ? existing->account : "";
  while (account.empty()) {
    account = RandomText(10, kDigits);
    if (db_->FindAccount(account)) account.clear();
  }
  std::string password = RandomText(4 + randombytes_uniform(3) + 4, kPasswordAlphabet);   // 8 to 10
  PasswordCost cost{config_.hashOpsLimit, config_.hashMemLimitMiB << 20};
  std::weak_ptr<Connection> weak = c;
  c->busy = true;
  signupsUnderWay_.insert(key);
  // The account is written (or its password changed) before the mail that carries it
  // goes out, so that no mail ever names an account the server could not keep; a mail
  // that cannot be handed over takes the change back, and the user is told to try
  // again rather than wait for a mail that will not come.
  bool queued = pool_->Submit([this, weak, password, cost, account, email, existing, key] {
    std::string hash = HashPassword(password, cost);
    asio::post(io_, [this, weak, hash, password, account, email, existing, key] {
      auto finish = [this, weak, key](const std::string& line) {
        signupsUnderWay_.erase(key);
        auto c = weak.lock();
        if (!c) return;
        c->busy = false;
        if (!c->closed) Send(*c, line);
      };
      const bool again = existing.has_value();
      std::optional<Account> before;
      bool stored = false;
      std::string notStored = "伺服器繁忙, 請稍後再試";
      try {
        if (again) {
          before = db_->FindAccount(account);   // as it is now, not as it was when asked
          if (before) db_->SetPassword(account, hash);
          stored = before.has_value();
        } else {
          stored = db_->CreateAccount(account, email, hash, Now());
        }
      } catch (const std::exception& e) {
        ++stats_.storeErrors;
        notStored = NotStored(e, "請稍後再試");
        Log("error", {{"where", "signup"}, {"account", account}, {"error", e.what()}});
      }
      if (!stored) return finish(Utf8ToBig5(notStored));   // nothing was mailed

      auto mailed = [this, finish, hash, account, again, before](const MailResult& result) {
        if (result.ok) {
          if (again) {
            try {
              db_->SetLastMail(account, Now());   // the next request within the interval is not mailed
            } catch (const std::exception& e) {
              ++stats_.storeErrors;
              Log("error", {{"where", "signup"}, {"account", account}, {"error", e.what()}});
            }
          }
          Log("mail", {{"account", account}, {"via", config_.sendmail.empty() ? "outbox" : "sendmail"}});
          Log("signup", {{"account", account}, {"result", again ? "old account, mailed again" : "created"}});
          return finish(again ? "OLDACCOUNT" : "SIGNUPOK");
        }
        Log("error", {{"where", "mail"}, {"account", account}, {"via", config_.sendmail.empty() ? "outbox" : "sendmail"},
                      {"error", result.error}});
        try {
          db_->UndoSignUp(account, hash, before);
        } catch (const std::exception& e) {
          // Left as it is: the address signs up again to get a working password.
          ++stats_.storeErrors;
          Log("error", {{"where", "signup"}, {"account", account}, {"reason", "not mailed, not taken back"},
                        {"error", e.what()}});
        }
        finish(Utf8ToBig5("未能寄出帳戶資料電郵, 請稍後再試"));
      };
      bool mailing = pool_->Submit([this, mailed, email, account, password, again] {
        MailResult result = Mail(email, account, password, again);
        asio::post(io_, [mailed, result] { mailed(result); });
      });
      if (!mailing) mailed({false, "the worker queue is full"});
    });
  });
  if (!queued) {
    signupsUnderWay_.erase(key);
    c->busy = false;
    refuse("伺服器繁忙, 請稍後再試", "hash queue full");
  }
}

void Server::OnChangeInfo(const ConnectionPtr& c, const std::string& args) {
  if (c->busy) return;
  std::string current = Field(args, 0, 10), fresh = Field(args, 10, 10), confirm = Field(args, 20, 10);
  std::string email = Field(args, 30, std::string::npos);
  auto answer = [this](Connection& conn, const std::string& text) { SendText(conn, "SYSTEMMSG", text); };
  if (fresh != confirm) return answer(*c, "新密碼和確認新密碼不同, 帳戶資料沒有更改");
  if (fresh.size() < 4 || !PrintableAscii(fresh)) return answer(*c, "新密碼須為4至10個英文字母或數字, 帳戶資料沒有更改");
  if (!email.empty() && !ValidEmail(email)) return answer(*c, "電郵地址錯誤, 帳戶資料沒有更改");
  auto& byAccount = loginByAccount_.try_emplace(c->account, config_.loginPerMinutePerAccount / 60,
                                                std::max(1.0, config_.loginPerMinutePerAccount)).first->second;
  if (!byAccount.Take(Clock::now())) return answer(*c, "嘗試次數太多, 請稍後再試");
  std::optional<Account> account = db_->FindAccount(c->account);
  if (!account) return;
  PasswordCost cost{config_.hashOpsLimit, config_.hashMemLimitMiB << 20};
  std::weak_ptr<Connection> weak = c;
  std::string hash = account->passwordHash, accountNumber = account->account, oldEmail = account->email;
  c->busy = true;
  bool queued = pool_->Submit([=, this] {
    bool ok = VerifyPassword(hash, current);
    std::string newHash = ok ? HashPassword(fresh, cost) : std::string();
    asio::post(io_, [=, this] {
      auto c = weak.lock();
      if (!c || c->closed || stopping_) return;
      c->busy = false;
      if (!ok) {
        Log("refusal", {{"id", std::to_string(c->id)}, {"account", accountNumber}, {"reason", "change: wrong password"}});
        return answer(*c, "使用者密碼錯誤, 帳戶資料沒有更改");
      }
      // The address and the password change together or not at all.
      try {
        Database::Transaction t(*db_);
        if (!email.empty() && email != oldEmail) {
          auto holder = db_->FindByEmail(email);
          if (holder && holder->account != accountNumber) return answer(*c, "電郵地址已被使用, 帳戶資料沒有更改");
          db_->SetEmail(accountNumber, email);
        }
        db_->SetPassword(accountNumber, newHash);
        t.Commit();
      } catch (const std::exception& e) {
        ++stats_.storeErrors;
        Log("error", {{"where", "change"}, {"account", accountNumber}, {"error", e.what()}});
        return answer(*c, NotStored(e, "帳戶資料沒有更改"));
      }
      Log("change", {{"id", std::to_string(c->id)}, {"account", accountNumber}});
      answer(*c, "帳戶資料已更改");
    });
  });
  if (!queued) {
    c->busy = false;
    answer(*c, "伺服器繁忙, 請稍後再試");
  }
}

// Chat. The client sends each message twice, PUBLICMSG (Big5) and right after it
// UTF8PUBLICMSG (UTF-8). The two are one message: the Big5 line waits for its UTF-8
// twin, which replaces it (UTF-8 loses nothing), and the message goes out once to
// every user in the one form that user reads. A Big5 line whose twin does not follow
// (a client that speaks Big5 only) goes out on its own after a short wait, and marks
// its sender as a Big5 reader.
void Server::OnChat(const ConnectionPtr& c, bool utf8, const std::string& args) {
  if (!utf8) {
    c->hasPendingChat = true;
    c->pendingChat = args;
    c->pendingAt = Clock::now();
    pendingChats_.push_back(c);
    return;
  }
  c->hasPendingChat = false;
  c->pendingChat.clear();
  DeliverChat(*c, net::SanitizeUtf8(args));
}

void Server::FlushPendingChat(Connection& c) {
  if (!c.hasPendingChat) return;
  c.hasPendingChat = false;
  c.wantsUtf8 = false;
  std::string text = Big5ToUtf8(c.pendingChat);
  c.pendingChat.clear();
  DeliverChat(c, std::move(text));
}

void Server::DeliverChat(Connection& c, std::string text) {
  auto now = Clock::now();
  if (!c.chat.Take(now)) {
    ++stats_.chatRefused;
    return SendText(c, "SYSTEMMSG", "發言太快, 請稍後再試");
  }
  if (!globalChat_.Take(now, static_cast<double>(online_.size()))) {
    ++stats_.chatRefused;
    return SendText(c, "SYSTEMMSG", "伺服器繁忙, 訊息未能送出");
  }
  text = CutUtf8(std::move(text), kChatBytes);
  std::string line = c.nickname + ": " + text;
  ++stats_.chatMessages;
  Broadcast({"PUBLICMSG:" + Utf8ToBig5(line), "UTF8PUBLICMSG:" + line});
}

// From memory; the list is cut so that the line stays within the line limit.
void Server::OnOnlineList(Connection& c) {
  if (!onlineListUtf8_) {
    net::StringList utf8, big5;
    std::size_t bytes = 0;
    for (Connection* o : online_) {
      bytes += o->nickname.size() + 3;
      if (bytes > net::kMaxLineBytes - 200) {
        utf8.push_back("…共 " + std::to_string(online_.size()) + " 人在線");
        big5.push_back(Utf8ToBig5(utf8.back()));
        break;
      }
      utf8.push_back(o->nickname);
      big5.push_back(o->nicknameBig5);
    }
    onlineListUtf8_ = std::make_shared<const std::string>(net::FrameLine("UTF8GETONLINELISTOK:" + net::EncodeCommaText(utf8)));
    onlineListBig5_ = std::make_shared<const std::string>(net::FrameLine("GETONLINELISTOK:" + net::EncodeCommaText(big5)));
  }
  Enqueue(c, c.wantsUtf8 ? onlineListUtf8_ : onlineListBig5_);
}

// Boards: UTF8... with the key UTF8NickName for a client that reads UTF-8, the Big5
// form with NickName otherwise. The request "BILLBOARD:BIG5" (or "UTF8") picks the form.
void Server::OnBoard(Connection& c, const std::string& command, const std::string& args) {
  std::string base = command.rfind("UTF8", 0) == 0 ? command.substr(4) : command;
  std::string choice = net::UpperAscii(net::TrimBlanks(args));
  bool utf8 = command.rfind("UTF8", 0) == 0 || choice == "UTF8" || (choice != "BIG5" && c.wantsUtf8);
  auto name = [&](const std::string& nick) -> net::RecordFields::value_type {
    return utf8 ? net::RecordFields::value_type{"UTF8NickName", nick}
                : net::RecordFields::value_type{"NickName", CutBig5(Utf8ToBig5(nick), 20)};
  };
  net::StringList rows;
  if (base == "LEVELBOARD") {
    for (const auto& [nick, exp] : db_->Levelboard(kBoardRows)) {
      Level l = LevelOf(exp);
      rows.push_back(net::EncodeRecord({name(nick), {"Lvl", std::to_string(l.level)}, {"Exp", std::to_string(l.exp)}}));
    }
  } else {
    std::vector<ScoreRow> scores = base == "VICTOR" ? db_->Champions(kBoardRows) : db_->Billboard(season_.id, kBoardRows);
    for (const auto& s : scores) {
      net::RecordFields f;
      if (base == "VICTOR") f.push_back({"FinishDate", DateText(s.finishDate, false)});
      f.push_back(name(s.nickname));
      f.push_back({"Profit", Rounded(s.profit)});
      f.push_back({"Turnover", Rounded(s.turnover)});
      f.push_back({"TotalWin", Rounded(s.totalWin)});
      f.push_back({"TotalLoss", Rounded(s.totalLoss)});
      f.push_back({"Peak", Rounded(s.peak)});
      f.push_back({"Valley", Rounded(s.valley)});
      rows.push_back(net::EncodeRecord(f));
    }
  }
  Send(c, RowsLine((utf8 ? "UTF8" : "") + base, std::move(rows)));
}

// Sharing replies carry Big5 text.
void Server::OnPrivateList(Connection& c, const std::string& kind) {
  net::StringList rows;
  for (const SharedItem& item : db_->ListShared(c.account, kind, kListRows)) {
    net::RecordFields f{{"UpLoadDate", DateText(item.uploaded, true)}, {"DataIDNo", std::to_string(item.id)}};
    if (kind == "DATA") f.push_back({"ShoesName", CutBig5(Utf8ToBig5(item.name), 20)});
    f.push_back({"Info", CutBig5(Utf8ToBig5(item.info), 50)});
    rows.push_back(net::EncodeRecord(f));
  }
  std::string command = kind == "DATA" ? "GETPRIVATEDATALISTOK" : kind == "BET" ? "GETPRIVATEBETLISTOK" : "GETPRIVATEBETAMOUNTLISTOK";
  Send(c, RowsLine(command, std::move(rows)));
}

void Server::OnPrivateItem(Connection& c, const std::string& kind, const std::string& args) {
  std::int64_t id = 0;
  std::optional<SharedItem> item = ParseId(args, id) ? db_->GetShared(c.account, kind, id) : std::nullopt;
  if (!item) return SendText(c, "SYSTEMMSG", "找不到該項資料");
  net::RecordFields f;
  std::string command;
  // The note is the one field without a bound of its own: it is cut, on a character,
  // so that the reply fits into one line (quotes and line breaks take more room there).
  std::size_t infoField = 0;
  if (kind == "DATA") {
    command = "GETPRIVATEDATAOK";
    f = {{"ShoesName", CutBig5(Utf8ToBig5(item->name), 20)}, {"ShoesResult", item->content.substr(0, 100)},
         {"ShoesInfo", Utf8ToBig5(item->info)}};
    infoField = 2;
  } else {
    command = kind == "BET" ? "GETPRIVATEBETOK" : "GETPRIVATEBETAMOUNTOK";
    f = {{"DataIDNo", std::to_string(item->id)}, {"FileName", CutBig5(Utf8ToBig5(item->name), 255)},
         {"Info", Utf8ToBig5(item->info)}};
    infoField = 2;
    if (item->content.size() <= 9000) {
      std::string b64(sodium_base64_encoded_len(item->content.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
      sodium_bin2base64(b64.data(), b64.size(), reinterpret_cast<const unsigned char*>(item->content.data()),
                        item->content.size(), sodium_base64_VARIANT_ORIGINAL);
      b64.resize(b64.find('\0'));
      f.push_back({"Data", b64});
    }
  }
  std::string line = command + ":" + net::EncodeRecord(f);
  if (line.size() > net::kMaxLineBytes) {
    const std::string info = f[infoField].second;
    std::size_t fits = 0, tooLong = info.size();   // the longest cut that fits lies in [fits, tooLong)
    while (tooLong - fits > 1) {
      std::size_t mid = fits + (tooLong - fits) / 2;
      f[infoField].second = CutBig5(info, mid);
      (command.size() + 1 + net::EncodeRecord(f).size() <= net::kMaxLineBytes ? fits : tooLong) = mid;
    }
    f[infoField].second = CutBig5(info, fits);
    line = command + ":" + net::EncodeRecord(f);
  }
  Send(c, line);
}

void Server::OnArticleList(Connection& c) {
  net::StringList rows;
  for (const Article& a : db_->ListArticles(kListRows))
    rows.push_back(net::EncodeRecord({{"UpLoadDate", DateText(a.uploaded, true)}, {"DataIDNo", std::to_string(a.id)},
                                      {"NickName", CutBig5(Utf8ToBig5(a.nickname), 20)},
                                      {"Title", CutBig5(Utf8ToBig5(a.title), 50)}}));
  Send(c, RowsLine("GETARTICLELISTOK", std::move(rows)));
}

void Server::OnArticle(Connection& c, const std::string& args) {
  std::int64_t id = 0;
  std::optional<Article> a = ParseId(args, id) ? db_->GetArticle(id) : std::nullopt;
  if (!a) return SendText(c, "SYSTEMMSG", "找不到該篇文章");
  Send(c, ArticleLine(a->title, a->body));
}

void Server::OnShareArticle(Connection& c, const std::string& args) {
  net::StringList items = net::DecodeCommaText(args);
  std::string title = std::string(net::TrimBlanks(Big5ToUtf8(net::RecordValue(items, "TITLE"))));
  std::string body;
  for (const std::string& line : net::DecodeCommaText(net::RecordValue(items, "ARTICLE"))) body += line + "\n";
  body = Big5ToUtf8(body);
  if (title.empty()) return SendText(c, "SYSTEMMSG", "文章標題空白");
  // Its download must fit into one line too (quotes and commas take more room there).
  if (Utf8ToBig5(title).size() > 50 || body.size() > kArticleBytes || ArticleLine(title, body).size() > net::kMaxLineBytes)
    return SendText(c, "SYSTEMMSG", "文章太長, 未能分享");
  Article a{0, Now(), c.nickname, title, body};
  std::int64_t id = 0;
  try {
    if (db_->CountArticles(c.account) >= config_.maxArticlesPerAccount) {
      Log("refusal", {{"id", std::to_string(c.id)}, {"account", c.account}, {"reason", "article limit"}});
      return SendText(c, "SYSTEMMSG", "閣下分享的文章已達上限 (" + std::to_string(config_.maxArticlesPerAccount) + " 篇), 文章未能分享");
    }
    id = db_->AddArticle(c.account, a);
  } catch (const std::exception& e) {
    ++stats_.storeErrors;
    Log("error", {{"where", "share"}, {"account", c.account}, {"error", e.what()}});
    return SendText(c, "SYSTEMMSG", NotStored(e, "文章未能分享"));
  }
  Log("share", {{"account", c.account}, {"article", std::to_string(id)}});
  SendText(c, "SYSTEMMSG", "文章已放到伺服器分享");
}

void Server::OnRoomLine(Connection& c, Room& room, const std::string& args) {
  net::CommandLine split = net::SplitLine(args);
  if (split.command == "ANNOUNCESCORE") {
    if (!c.chat.Take(Clock::now())) return SendText(c, "SYSTEMMSG", "發言太快, 請稍後再試");
    std::string text;
    if (room.Practice()) {
      auto [right, wrong] = room.PracticeScore(c.account);
      text = c.nickname + " 公告成績: 本靴估中 " + std::to_string(right) + " 局, 估錯 " + std::to_string(wrong) + " 局";
    } else {
      text = c.nickname + " 公告成績: " + FormatMoney(c.profit) + " (總投注額 " + FormatMoney(c.turnover) + ")";
    }
    Broadcast({room.Name() + ":MESSAGE:" + Utf8ToBig5(text), room.Name() + ":UTF8MESSAGE:" + text});
    return;
  }
  room.Handle(c.account, c.nickname, split.command, split.arguments);
}

void Server::RoomSettled(Room& room, char result, const std::vector<BetOutcome>& outcomes) {
  ++stats_.games;
  double dbMs = 0;
  std::string failure;   // the settlement could not be stored: what the bettors are told
  if (!outcomes.empty()) {
    std::vector<Settlement> settlements;
    std::vector<std::pair<std::string, int>> gains;
    for (const auto& o : outcomes) {
      settlements.push_back({o.account, o.stake, o.net});
      gains.emplace_back(o.account, config_.expPerGame);
    }
    // The game's scores and experience in one transaction, committed before anyone is
    // told the outcome.
    auto start = Clock::now();
    try {
      Database::Transaction t(*db_);
      db_->ApplySettlements(season_.id, settlements);
      db_->AddExp(gains);
      t.Commit();
    } catch (const std::exception& e) {
      ++stats_.storeErrors;
      Log("error", {{"where", "settle"}, {"room", room.Name()}, {"error", e.what()}});
      failure = NotStored(e, "本局不計輸贏");
    }
    dbMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    stats_.settleWriteSlowestMs = std::max(stats_.settleWriteSlowestMs, dbMs);
  }
  char ms[32];
  std::snprintf(ms, sizeof ms, "%.2f", dbMs);
  Log("game", {{"room", room.Name()}, {"game", std::to_string(room.GamesDealt())}, {"result", std::string(1, result)},
               {"bets", std::to_string(outcomes.size())}, {"db_ms", ms}});
  if (outcomes.empty()) return;
  if (!failure.empty()) {
    // Nothing was written, so nothing is announced as won or lost: the game is void
    // for its bettors, as one interrupted between its bets and its result.
    for (const auto& o : outcomes) {
      auto it = byAccount_.find(o.account);
      if (it == byAccount_.end()) continue;
      SendDual(*it->second, {room.Name() + ":MESSAGE:" + Utf8ToBig5(failure), room.Name() + ":UTF8MESSAGE:" + failure});
      Send(*it->second, room.Name() + ":BET:0:0:0");
    }
    return;
  }
  const char* side = result == 'B' ? "莊勝" : result == 'P' ? "閒勝" : "和";
  for (const auto& o : outcomes) {
    auto it = byAccount_.find(o.account);
    if (it == byAccount_.end()) continue;
    Connection& c = *it->second;
    c.profit += o.net;
    c.turnover += o.stake;
    c.exp += config_.expPerGame;
    std::string outcome = o.net > 0 ? "閣下贏 " + FormatMoney(o.net)
                          : o.net < 0 ? "閣下輸 " + FormatMoney(-o.net)
                                      : std::string("不輸不贏");
    SendDual(c, {room.Name() + ":MESSAGE:" + Utf8ToBig5(std::string("本局") + side + ", " + outcome),
                 room.Name() + ":UTF8MESSAGE:" + std::string("本局") + side + ", " + outcome});
    Send(c, room.Name() + ":BET:0:0:0");
    SendScore(c, room.Name());
    SendLevel(c);
  }
}

void Server::RoomShoeEnded(Room& room, const std::string& result, const std::set<std::string>& players) {
  Log("shoe", {{"room", room.Name()}, {"games", std::to_string(result.size())}, {"players", std::to_string(players.size())}});
  if (players.empty() || result.empty()) return;
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d %H:%M", &tm);
  std::string shortName = room.Name() == "BATTLE" ? "B1" : "B" + room.Name().substr(6);
  std::string roomCaption = room.Name() == "BATTLE" ? "戰場" : "戰場" + room.Name().substr(6);
  SharedItem item{0, Now(), shortName + " " + stamp, roomCaption + " " + std::to_string(result.size()) + "局", result};
  try {
    Database::Transaction t(*db_);
    // Each private list keeps its newest items: an account that plays for years
    // does not grow without end.
    for (const std::string& account : players) {
      db_->AddShared(account, "DATA", item);
      db_->TrimShared(account, "DATA", config_.maxPrivateItemsPerAccount);
    }
    t.Commit();
  } catch (const std::exception& e) {
    Log("error", {{"where", "keep shoe"}, {"room", room.Name()}, {"error", e.what()}});
  }
}

void Server::ScheduleRoom(std::size_t index, int delayMs) {
  auto& timer = *roomTimers_[index];
  timer.expires_after(std::chrono::milliseconds(delayMs));
  timer.async_wait([this, index](const asio::error_code& ec) {
    if (ec || stopping_) return;
    ScheduleRoom(index, StepRoom(index));
  });
}

int Server::StepRoom(std::size_t index) {
  try {
    return rooms_[index]->Step();
  } catch (const std::exception& e) {
    Log("error", {{"where", "room"}, {"room", rooms_[index]->Name()}, {"error", e.what()}});
    return 1000;
  }
}

void Server::CheckSeason() {
  std::int64_t now = Now();
  if (now < season_.started + static_cast<std::int64_t>(config_.seasonSeconds)) return;
  std::vector<ScoreRow> leader = db_->Billboard(season_.id, 1);
  Season ended = season_;
  season_ = db_->EndSeason(season_, now);
  Log("season", {{"ended", std::to_string(ended.id)}, {"champion", leader.empty() ? "" : leader[0].nickname}});
  std::string text = leader.empty() ? "本季比賽完結, 新一季開始"
                                    : "本季比賽完結, 冠軍: " + leader[0].nickname + ", 新一季開始";
  Broadcast({"SYSTEMMSG:" + Utf8ToBig5(text), "UTF8SYSTEMMSG:" + text});
  // A new season starts everyone from nothing: the score, and the amounts typed for
  // the old one.
  for (Connection* c : online_) {
    c->profit = c->turnover = 0;
    SendScore(*c, "BATTLE");
  }
  for (const auto& room : rooms_)
    if (!room->Practice()) Broadcast({room->Name() + ":RESETBET:", {}});
}

void Server::Housekeeping() {
  if (stopping_) return;
  auto now = Clock::now();
  // Big5 chat lines whose UTF-8 twin did not follow.
  std::vector<std::weak_ptr<Connection>> waiting;
  for (auto& weak : pendingChats_) {
    auto c = weak.lock();
    if (!c || c->closed || !c->hasPendingChat) continue;
    if (now - c->pendingAt >= std::chrono::milliseconds(300)) FlushPendingChat(*c);
    else waiting.push_back(weak);
  }
  pendingChats_.swap(waiting);
  if (++ticks_ % 5 == 0) {
    std::vector<std::pair<ConnectionPtr, std::string>> drop;
    auto loginLimit = std::chrono::duration<double>(config_.loginTimeoutSeconds);
    auto stallLimit = std::chrono::duration<double>(config_.writeStallSeconds);
    for (auto& [id, c] : connections_) {
      if (c->state != Connection::State::Online && !c->busy && now - c->connectedAt > loginLimit) {
        ++stats_.idleDisconnects;
        drop.emplace_back(c, "no login in time");
      } else if (!c->queue.empty() && now - c->lastWriteProgress > stallLimit) {
        ++stats_.slowDisconnects;
        drop.emplace_back(c, "no write progress");
      }
    }
    for (auto& [c, reason] : drop) Close(*c, reason);
    try {
      CheckSeason();
    } catch (const std::exception& e) {
      Log("error", {{"where", "season"}, {"error", e.what()}});
    }
  }
  if (ticks_ % 300 == 0) {
    auto prune = [&](auto& buckets) {
      for (auto it = buckets.begin(); it != buckets.end();) it = it->second.Full(now) ? buckets.erase(it) : std::next(it);
    };
    prune(loginByAddress_);
    prune(loginByAccount_);
    prune(signupByAddress_);
    Log("stats", {{"connections", std::to_string(connections_.size())}, {"online", std::to_string(online_.size())},
                  {"lines_in", std::to_string(stats_.linesIn)}, {"lines_out", std::to_string(stats_.linesOut)},
                  {"bytes_out", std::to_string(stats_.bytesOut)}, {"slow_disconnects", std::to_string(stats_.slowDisconnects)},
                  {"chat", std::to_string(stats_.chatMessages)}, {"games", std::to_string(stats_.games)},
                  {"store_errors", std::to_string(stats_.storeErrors)}, {"line_errors", std::to_string(stats_.lineErrors)},
                  {"settle_write_slowest_ms", std::to_string(stats_.settleWriteSlowestMs)},
                  {"checkpoint_slowest_ms", std::to_string(db_->Checkpoints().slowestMs)}});
  }
  housekeeping_.expires_after(std::chrono::milliseconds(200));
  housekeeping_.async_wait([this](const asio::error_code& ec) {
    if (!ec) Housekeeping();
  });
}

}  // namespace zavuv::server
