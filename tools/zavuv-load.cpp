// zavuv-load: drives zavuv-server with N simulated clients over loopback and prints
// the figures of each step: lines delivered per second, chat echo latency (median
// and 99th percentile), lines lost or out of order, bets confirmed, and the server's
// memory. It starts the server itself (port 0, 127.0.0.1) with its own database and
// stops it at the end; it is bounded in clients and in time and stops by itself.
//
// Each client logs in (the accounts are made in the database beforehand), bets 300
// on the banker in its battle room at every game, and during a measured window
// sends one chat message every --chat-interval seconds, as the desktop client does:
// PUBLICMSG in Big5 then UTF8PUBLICMSG. Every client checks that it receives every
// message of every other client once and in each sender's order, that every room's
// lines come in the order of a game, and that each of its bets is confirmed.
#include <asio.hpp>
#include <sodium.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Database.h"
#include "HashPool.h"
#include "net/Protocol.h"
#include "table/Big5.h"

using namespace zavuv;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
  std::string server;
  std::string workdir = "load-run";
  std::vector<int> steps = {500, 1000, 2000};
  double measureSeconds = 60;
  double chatInterval = 100;
  double slowPercent = 1;        // a last window at the last step with these clients not reading
  int loginWindow = 16;          // logins under way at once
  double maxSeconds = 3600;      // the whole run
  int maxClients = 10000;
};

const char* const kSharedPassword = "LoadTest1";
volatile pid_t g_serverPid = 0;

// The time bound: the server goes down with the tool.
void OnAlarm(int) {
  if (g_serverPid > 0) kill(g_serverPid, SIGTERM);
  _exit(3);
}

long ReadProcKb(pid_t pid, const char* key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::strlen(key)));
  return 0;
}

// User and system CPU seconds of a process so far.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 2));
  std::string f;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> f; ++i) {
    if (i == 14) utime = std::stoull(f);
    if (i == 15) stime = std::stoull(f);
  }
  return double(utime + stime) / sysconf(_SC_CLK_TCK);
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

class Tool;

struct LoadClient : std::enable_shared_from_this<LoadClient> {
  LoadClient(asio::io_context& io, int index, int clients) : socket(io), index(index), lastSeq(clients, 0) {}
  asio::ip::tcp::socket socket;
  int index;
  enum class State { Connecting, LoggingIn, Online, Dead } state = State::Connecting;
  bool slow = false, reading = false, writing = false;
  net::LineFramer framer;
  std::array<char, 16384> input;
  std::deque<std::string> out;
  std::vector<std::uint32_t> lastSeq;            // per sender
  std::map<std::uint32_t, Clock::time_point> sent;
  std::uint32_t seq = 0;
  std::uint64_t received = 0;                    // chat lines of the current window
  int room = 1;                                  // the battle room it bets in
  int phase[6] = {};                             // per battle room: position in a game
  Clock::time_point nextChat;
};

class Tool {
 public:
  Tool(asio::io_context& io, Options o) : io_(io), o_(std::move(o)), random_(12345) {}

  void Run() {
    PrepareAccounts();
    StartServer();
    base_ = ReadProcKb(pid_, "VmRSS:");
    std::printf("server pid %d port %d, memory before clients %ld kB\n", pid_, port_, base_);
    std::printf("%7s %12s %10s %10s %6s %9s %8s %10s %10s %10s %9s\n", "clients", "lines/s", "echo p50", "echo p99",
                "lost", "reorder", "bets", "bets ok", "RSS kB", "peak kB", "kB/conn");
    auto started = Clock::now();
    for (int n : o_.steps) {
      if (n > o_.maxClients) break;
      Ramp(n);
      Settle(3);
      long rss = ReadProcKb(pid_, "VmRSS:");
      double perConn = double(rss - base_) / n;
      Measure(false);
      Report(n, rss, perConn);
      if (std::chrono::duration<double>(Clock::now() - started).count() > o_.maxSeconds) break;
    }
    if (o_.slowPercent > 0 && !clients_.empty()) {
      int every = std::max(1, int(100 / o_.slowPercent));
      int slowCount = 0;
      for (auto& c : clients_)
        if (c->index % every == every - 1) {
          c->slow = true;
          ++slowCount;
        }
      std::printf("-- the same with %d clients (%.1f %%) reading nothing:\n", slowCount, o_.slowPercent);
      Measure(true);
      Settle(15);   // the server's write stall limit
      int dropped = 0;
      for (auto& c : clients_)
        if (c->slow) {
          asio::error_code ec;
          char b[1];
          c->socket.non_blocking(true, ec);
          // A dropped connection reads as closed once its buffered lines are read.
          for (;;) {
            std::size_t n = c->socket.read_some(asio::buffer(c->input), ec);
            if (ec || n == 0) break;
          }
          if (ec && ec != asio::error::would_block) ++dropped;
          (void)b;
        }
      Report(static_cast<int>(clients_.size()), ReadProcKb(pid_, "VmRSS:"), 0);
      std::printf("slow clients disconnected by the server: %d of %d\n", dropped, slowCount);
    }
    StopServer();
  }

 private:
  // Accounts load<i>, numbers 9 followed by i, share one password hash: a verified
  // login still costs the server one Argon2id check each.
  void PrepareAccounts() {
    std::filesystem::create_directories(o_.workdir);
    server::Database db(o_.workdir + "/load.db");
    int need = *std::max_element(o_.steps.begin(), o_.steps.end());
    std::string hash = server::HashPassword(kSharedPassword, {});
    server::Database::Transaction tx(db);
    for (int i = 0; i < need; ++i) {
      std::string account = Account(i);
      if (db.FindAccount(account)) continue;
      db.CreateAccount(account, "load" + std::to_string(i) + "@load.invalid", hash, std::time(nullptr));
      db.SetNickname(account, "load" + std::to_string(i));
    }
    tx.Commit();
  }
  static std::string Account(int i) {
    std::string n = std::to_string(i);
    return "9" + std::string(9 - n.size(), '0') + n;
  }

  void StartServer() {
    std::string conf = o_.workdir + "/load.conf";
    std::ofstream(conf) << "max_connections = 20000\nmax_connections_per_address = 20000\n"
                           "login_per_minute_per_address = 1000000\nlogin_per_minute_per_account = 1000\n"
                           "hash_queue = 4096\nlogin_timeout = 600s\nsocket_send_buffer = 16384\n";
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      FILE* log = std::fopen((o_.workdir + "/server.log").c_str(), "w");
      dup2(fileno(log), 2);
      execl(o_.server.c_str(), o_.server.c_str(), "--port", "0", "--host", "127.0.0.1", "--db",
            (o_.workdir + "/load.db").c_str(), "--outbox", (o_.workdir + "/outbox").c_str(), "--config",
            conf.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    g_serverPid = pid_;
    close(out[1]);
    std::string first;
    char ch;
    while (read(out[0], &ch, 1) == 1 && ch != '\n') first += ch;
    close(out[0]);
    if (first.empty()) throw std::runtime_error("the server did not start; see " + o_.workdir + "/server.log");
    port_ = std::stoi(first);
  }

  void StopServer() {
    for (auto& c : clients_) {
      asio::error_code ec;
      c->socket.close(ec);
    }
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    std::printf("server peak memory %ld kB; exit status %d\n", peakKb_, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }

  // Runs the event loop for the time given, or until done() holds.
  void Pump(double seconds, const std::function<bool()>& done = {}) {
    auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < until) {
      io_.run_for(std::chrono::milliseconds(20));
      io_.restart();
      peakKb_ = std::max(peakKb_, ReadProcKbCached());
      if (chatting_) SendDueChats();
      if (done && done()) return;
    }
  }
  long ReadProcKbCached() {
    auto now = Clock::now();
    if (now - lastMem_ < std::chrono::milliseconds(500)) return 0;
    lastMem_ = now;
    return ReadProcKb(pid_, "VmHWM:");
  }

  void Settle(double seconds) { Pump(seconds); }

  void Ramp(int n) {
    int start = static_cast<int>(clients_.size());
    for (int i = start; i < n; ++i) {
      auto c = std::make_shared<LoadClient>(io_, i, n_max());
      c->room = 1 + i % 5;
      clients_.push_back(c);
    }
    int next = start;
    auto began = Clock::now();
    Pump(36000, [&] {
      while (next < n && loggingIn_ < o_.loginWindow) Connect(clients_[next++]);
      return next >= n && loggingIn_ == 0;
    });
    int online = 0;
    for (auto& c : clients_) online += c->state == LoadClient::State::Online;
    std::printf("   (%d clients online; logins took %.1f s)\n", online,
                std::chrono::duration<double>(Clock::now() - began).count());
  }
  int n_max() const { return *std::max_element(o_.steps.begin(), o_.steps.end()); }

  void Connect(const std::shared_ptr<LoadClient>& c) {
    ++loggingIn_;
    if (c->index % std::max(1, int(100 / std::max(0.01, o_.slowPercent))) ==
        std::max(1, int(100 / std::max(0.01, o_.slowPercent))) - 1) {
      // The clients that will stop reading get a small receive buffer, as a stalled
      // desktop on a slow line would.
      c->socket.open(asio::ip::tcp::v4());
      c->socket.set_option(asio::socket_base::receive_buffer_size(4096));
    }
    c->socket.async_connect({asio::ip::make_address("127.0.0.1"), port_}, [this, c](const asio::error_code& ec) {
      if (ec) {
        Fail(c, "connect");
        return;
      }
      c->socket.set_option(asio::ip::tcp::no_delay(true));
      c->state = LoadClient::State::LoggingIn;
      Write(c, "VERSION:1.11");
      std::string account = Account(c->index);
      Write(c, "LOGIN:" + account + kSharedPassword);
      Read(c);
    });
  }

  void Fail(const std::shared_ptr<LoadClient>& c, const char* why) {
    if (c->state == LoadClient::State::LoggingIn || c->state == LoadClient::State::Connecting) --loggingIn_;
    if (c->state != LoadClient::State::Dead) ++failures_[why];
    c->state = LoadClient::State::Dead;
    asio::error_code ec;
    c->socket.close(ec);
  }

  void Write(const std::shared_ptr<LoadClient>& c, std::string line) {
    c->out.push_back(net::FrameLine(line));
    if (!c->writing) Flush(c);
  }
  void Flush(const std::shared_ptr<LoadClient>& c) {
    if (c->out.empty() || c->state == LoadClient::State::Dead) return;
    c->writing = true;
    asio::async_write(c->socket, asio::buffer(c->out.front()), [this, c](const asio::error_code& ec, std::size_t) {
      c->writing = false;
      if (ec) return;
      c->out.pop_front();
      Flush(c);
    });
  }

  void Read(const std::shared_ptr<LoadClient>& c) {
    if (c->reading || c->state == LoadClient::State::Dead) return;
    if (c->slow) return;
    c->reading = true;
    c->socket.async_read_some(asio::buffer(c->input), [this, c](const asio::error_code& ec, std::size_t n) {
      c->reading = false;
      if (ec) {
        if (!c->slow) Fail(c, "closed by server");
        return;
      }
      c->framer.Feed(std::string_view(c->input.data(), n));
      std::string line;
      while (c->framer.Next(line)) Handle(*c, line);
      Read(c);
    });
  }

  void Handle(LoadClient& c, const std::string& line) {
    ++linesReceived_;
    if (c.state == LoadClient::State::LoggingIn) {
      if (line == "VERSIONOK:" || line == "VERSIONOK") return;
      if (line == "LOGINOK") {
        c.state = LoadClient::State::Online;
        --loggingIn_;
        return;
      }
      ++failures_["login: " + line.substr(0, 40)];
      c.state = LoadClient::State::Dead;
      --loggingIn_;
      return;
    }
    if (line.rfind("UTF8PUBLICMSG:", 0) == 0) {
      // "load<sender>: <window> <sender> <seq>"
      std::size_t colon = line.find(": ", 14);
      if (colon == std::string::npos) return;
      unsigned window = 0, sender = 0, seq = 0;
      if (std::sscanf(line.c_str() + colon + 2, "%u %u %u", &window, &sender, &seq) != 3) return;
      if (window != window_ || sender >= c.lastSeq.size()) return;
      ++c.received;
      if (seq <= c.lastSeq[sender]) ++reordered_;
      c.lastSeq[sender] = std::max(c.lastSeq[sender], seq);
      if (static_cast<int>(sender) == c.index) {
        auto it = c.sent.find(seq);
        if (it != c.sent.end()) {
          latencies_.push_back(std::chrono::duration<double, std::milli>(Clock::now() - it->second).count());
          c.sent.erase(it);
        }
      }
      return;
    }
    // Room lines, read in place: at 2,000 clients this runs some 50,000 times a second.
    if (line.compare(0, 6, "BATTLE") != 0) return;
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) return;
    std::string_view roomName(line.data(), colon);
    int room = roomName == "BATTLE" ? 1 : roomName.size() == 7 ? roomName[6] - '0' : 0;
    if (room < 1 || room > 5) return;
    struct {
      std::string_view command, arguments;
    } rest;
    std::string_view after = std::string_view(line).substr(colon + 1);
    std::size_t second = after.find(':');
    rest.command = after.substr(0, second);
    rest.arguments = second == std::string_view::npos ? std::string_view() : after.substr(second + 1);
    int& phase = c.phase[room];
    // 1 betting, 2 stopped, 3 cards, 4 result, 0 between games.
    auto order = [&](int expected, int next) {
      if (phase != 0 || expected == 1) {
        if (phase != expected) ++reordered_;
      }
      phase = next;
    };
    if (rest.command == "GAMESTATUS" && rest.arguments == "GAMESTARTED") {
      if (phase != 0 && phase != 5) ++reordered_;
      phase = 1;
      if (room == c.room && measuring_ && !c.slow) {
        Write(c.shared_from_this(), std::string(roomName) + ":BET:300:0:0");
        ++betsSent_;
      }
    } else if (rest.command == "STOPBET") {
      if (phase) order(1, 2);
    } else if (rest.command == "CARDS") {
      if (phase) order(2, 3);
    } else if (rest.command == "GAMERESULT") {
      if (phase) order(3, 4);
    } else if (rest.command == "GAMESTATUS" && rest.arguments == "GAMEENDEDIN5SECOND") {
      if (phase) order(4, 5);
    } else if (rest.command == "BET" && rest.arguments == "300:0:0") {
      ++betsConfirmed_;
    }
  }

  void SendDueChats() {
    auto now = Clock::now();
    for (auto& c : clients_) {
      if (c->state != LoadClient::State::Online || c->slow || now < c->nextChat) continue;
      c->nextChat = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(o_.chatInterval));
      ++c->seq;
      std::string text = std::to_string(window_) + " " + std::to_string(c->index) + " " + std::to_string(c->seq);
      c->sent[c->seq] = now;
      Write(c, "PUBLICMSG:" + text);
      Write(c, "UTF8PUBLICMSG:" + text);
      ++chatsSent_;
    }
  }

  void Measure(bool slowWindow) {
    ++window_;
    latencies_.clear();
    reordered_ = 0;
    chatsSent_ = 0;
    betsSent_ = betsConfirmed_ = 0;
    for (auto& c : clients_) {
      c->received = 0;
      std::uniform_real_distribution<double> phase(0, o_.chatInterval);
      c->nextChat = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(phase(random_)));
    }
    std::uint64_t linesBefore = linesReceived_;
    double cpuBefore = CpuSeconds(pid_), toolBefore = CpuSeconds(getpid());
    chatting_ = measuring_ = true;
    auto began = Clock::now();
    Pump(o_.measureSeconds);
    double elapsed = std::chrono::duration<double>(Clock::now() - began).count();
    chatting_ = false;
    Pump(5);   // drain: replies to the last messages and bets
    measuring_ = false;
    linesPerSecond_ = (linesReceived_ - linesBefore) / (elapsed + 5);
    serverCpu_ = CpuSeconds(pid_) - cpuBefore;
    toolCpu_ = CpuSeconds(getpid()) - toolBefore;
    linesPerCpuSecond_ = serverCpu_ > 0 ? (linesReceived_ - linesBefore) / serverCpu_ : 0;
    windowSeconds_ = elapsed + 5;
    lost_ = 0;
    for (auto& c : clients_)
      if (c->state == LoadClient::State::Online && !c->slow)
        lost_ += chatsSent_ > c->received ? chatsSent_ - c->received : 0;
    (void)slowWindow;
  }

  void Report(int n, long rss, double perConn) {
    std::printf("%7d %12.0f %10.1f %10.1f %6llu %9llu %8llu %10llu %10ld %10ld %9.1f\n", n, linesPerSecond_,
                Percentile(latencies_, 0.5), Percentile(latencies_, 0.99), (unsigned long long)lost_,
                (unsigned long long)reordered_, (unsigned long long)betsSent_, (unsigned long long)betsConfirmed_, rss,
                std::max(peakKb_, ReadProcKb(pid_, "VmHWM:")), perConn);
    std::printf("   (chat messages sent %llu, echo samples %zu; server CPU %.0f %% of one core, %.0f lines per server "
                "CPU second; load tool CPU %.0f %%",
                (unsigned long long)chatsSent_, latencies_.size(), 100 * serverCpu_ / windowSeconds_, linesPerCpuSecond_,
                100 * toolCpu_ / windowSeconds_);
    for (auto& [why, count] : failures_) std::printf(", %s: %d", why.c_str(), count);
    std::printf(")\n");
    std::fflush(stdout);
  }

  asio::io_context& io_;
  Options o_;
  std::mt19937 random_;
  pid_t pid_ = 0;
  std::uint16_t port_ = 0;
  long base_ = 0, peakKb_ = 0;
  Clock::time_point lastMem_{};
  std::vector<std::shared_ptr<LoadClient>> clients_;
  int loggingIn_ = 0;
  std::map<std::string, int> failures_;
  bool chatting_ = false, measuring_ = false;
  unsigned window_ = 0;
  std::vector<double> latencies_;
  std::uint64_t linesReceived_ = 0, reordered_ = 0, chatsSent_ = 0, betsSent_ = 0, betsConfirmed_ = 0, lost_ = 0;
  double linesPerSecond_ = 0, serverCpu_ = 0, toolCpu_ = 0, linesPerCpuSecond_ = 0, windowSeconds_ = 1;
};

const char* const kUsage =
    "usage: zavuv-load --server PATH [--steps 500,1000,2000] [--measure SECONDS] [--chat-interval SECONDS]\n"
    "                  [--slow-percent P] [--workdir DIR] [--max-seconds S]\n";

}  // namespace

int main(int argc, char** argv) {
  if (sodium_init() < 0) return 1;
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::runtime_error(a + " needs a value");
      return argv[++i];
    };
    try {
      if (a == "--server") o.server = value();
      else if (a == "--workdir") o.workdir = value();
      else if (a == "--measure") o.measureSeconds = std::stod(value());
      else if (a == "--chat-interval") o.chatInterval = std::stod(value());
      else if (a == "--slow-percent") o.slowPercent = std::stod(value());
      else if (a == "--max-seconds") o.maxSeconds = std::stod(value());
      else if (a == "--steps") {
        o.steps.clear();
        std::stringstream ss(value());
        std::string part;
        while (std::getline(ss, part, ',')) o.steps.push_back(std::min(o.maxClients, std::stoi(part)));
      } else {
        std::cerr << kUsage;
        return a == "--help" ? 0 : 2;
      }
    } catch (const std::exception& e) {
      std::cerr << "zavuv-load: " << e.what() << "\n" << kUsage;
      return 2;
    }
  }
  if (o.server.empty() || o.steps.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  // The whole run is bounded: an alarm ends it whatever happens.
  std::signal(SIGALRM, OnAlarm);
  std::signal(SIGINT, OnAlarm);
  std::signal(SIGTERM, OnAlarm);
  alarm(static_cast<unsigned>(o.maxSeconds + 600));
  asio::io_context io(1);
  try {
    Tool(io, o).Run();
  } catch (const std::exception& e) {
    std::cerr << "zavuv-load: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
