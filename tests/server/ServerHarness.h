// Starts the real zavuv-server on 127.0.0.1 with a port it picks, and talks to it
// over blocking loopback sockets with time limits. Every test stops its own server.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/CommaText.h"
#include "net/Protocol.h"
#include "shoes/Dealer.h"
#include "table/Big5.h"

namespace zavuv::testing {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("zavuv-server-test-" + std::to_string(rd()) + std::to_string(::getpid()));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Every test server deals its rooms from this seed, so that a test sees the same shoes
// on every run and can tell in advance what each game will bring.
constexpr std::uint64_t kRoomSeed = 20261211;

// The shoes the room of that name deals, in order, on a server started here: its
// dealer is seeded with kRoomSeed plus the room's place in the server's list.
inline std::vector<std::string> ShoesDealtIn(const std::string& room, int count) {
  static const char* const kRooms[] = {"PRACTICE", "BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"};
  std::uint64_t place = std::find(std::begin(kRooms), std::end(kRooms), room) - std::begin(kRooms);
  if (place == std::size(kRooms)) throw std::invalid_argument("no room " + room);
  Dealer dealer(kRoomSeed + place);
  std::vector<std::string> shoes;
  for (int i = 0; i < count; ++i) shoes.push_back(dealer.DealShoe().Result());
  return shoes;
}

class ServerProcess {
 public:
  // Starts the server with the database and outbox in dir and the extra arguments.
  ServerProcess(const fs::path& dir, std::vector<std::string> extra = {}) : dir_(dir) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> args = {ZAVUV_SERVER, "--port", "0", "--host", "127.0.0.1", "--pace", "fast",
                                     "--seed", std::to_string(kRoomSeed),
                                     "--db", (dir / "server.db").string(), "--outbox", (dir / "outbox").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string logPath = (dir / "server.log").string();
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
      // A test that dies without its destructors (std::terminate, a signal) takes its
      // server with it rather than leaving it running.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent) _exit(127);
      dup2(out[1], 1);
      int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      dup2(log, 2);
      close(out[0]);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    std::string first;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') first += c;
    close(out[0]);
    port_ = first.empty() ? 0 : std::stoi(first);
    if (port_ == 0) throw std::runtime_error("the server did not print its port; log: " + Log());
  }
  ~ServerProcess() { Stop(); }

  int Port() const { return port_; }
  // SIGTERM and wait; answers the exit status (or -1 when killed after 10 s).
  int Stop() {
    if (pid_ <= 0) return status_;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 1000; ++i) {
      int st;
      if (waitpid(pid_, &st, WNOHANG) == pid_) {
        pid_ = 0;
        return status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
      }
      usleep(10000);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
    return status_ = -1;
  }
  // SIGKILL: the server gets no chance to finish anything.
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
    status_ = -1;
  }
  std::string Log() const {
    std::ifstream in(dir_ / "server.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  pid_t Pid() const { return pid_; }

 private:
  fs::path dir_;
  pid_t pid_ = -1;
  int port_ = 0;
  int status_ = -1;
};

// Reads lines with read(ms left) until one matches; that line, or nothing at the limit
// or when the reading stops. Any client of the tests, plain or encrypted.
template <class ReadLine>
std::optional<std::string> ReadUntil(ReadLine&& read, const std::function<bool(const std::string&)>& match, int ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    deadline - std::chrono::steady_clock::now()).count());
    if (left <= 0) return std::nullopt;
    std::optional<std::string> line = read(left);
    if (!line) return std::nullopt;
    if (match(*line)) return line;
  }
}

class Client {
 public:
  explicit Client(int port, int receiveBuffer = 0) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw std::runtime_error("connect");
    int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  ~Client() {
    if (fd_ >= 0) close(fd_);
  }
  Client(const Client&) = delete;

  void SendRaw(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n <= 0) throw std::runtime_error("send");
      done += static_cast<std::size_t>(n);
    }
  }
  void Send(const std::string& line) { SendRaw(line + "\r\n"); }

  // The next line, or nothing when none came within the limit or the server closed.
  std::optional<std::string> Read(int ms = 3000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::string line;
    for (;;) {
      if (framer_.Next(line)) {
        seen_.push_back(line);
        return line;
      }
      if (closed_) return std::nullopt;
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now()).count());
      if (left <= 0) return std::nullopt;
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, left) <= 0) continue;
      char buf[8192];
      ssize_t n = recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) closed_ = true;
      else framer_.Feed(std::string_view(buf, static_cast<std::size_t>(n)));
    }
  }
  // Reads until a line matches; answers it, or nothing at the limit.
  std::optional<std::string> WaitFor(const std::function<bool(const std::string&)>& match, int ms = 5000) {
    return ReadUntil([this](int left) { return Read(left); }, match, ms);
  }
  std::optional<std::string> WaitForPrefix(const std::string& prefix, int ms = 5000) {
    return WaitFor([&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, ms);
  }
  // Every line that arrives within the time (the rooms never fall quiet).
  std::vector<std::string> Drain(int ms = 300) {
    std::vector<std::string> lines;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now()).count());
      if (left <= 0) break;
      if (auto l = Read(left)) lines.push_back(*l);
      else if (closed_) break;
    }
    return lines;
  }
  // Whether the server closed the connection within the limit.
  bool ClosedWithin(int ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!closed_ && std::chrono::steady_clock::now() < deadline) Read(50);
    return closed_;
  }
  int Fd() const { return fd_; }
  bool Closed() const { return closed_; }

 private:
  int fd_ = -1;
  net::LineFramer framer_;
  bool closed_ = false;
  std::vector<std::string> seen_;
};

struct Credentials {
  std::string account, password;
};

// The account and password in the text of a sign-up mail.
inline Credentials CredentialsInMail(const std::string& text) {
  Credentials cr;
  std::smatch m;
  if (std::regex_search(text, m, std::regex("帳戶編號: (\\S+)"))) cr.account = m[1];
  if (std::regex_search(text, m, std::regex("帳戶密碼: (\\S+)"))) cr.password = m[1];
  return cr;
}

// Signs up through the protocol and reads the account and password from the mail.
inline Credentials SignUp(int port, const fs::path& outbox, const std::string& email, std::string* reply = nullptr) {
  std::size_t before = fs::exists(outbox) ? std::distance(fs::directory_iterator(outbox), {}) : 0;
  Client c(port);
  c.Send("SIGNUP:" + email);
  auto line = c.Read(20000);
  if (reply) *reply = line.value_or("");
  for (int i = 0; i < 200; ++i) {
    if (fs::exists(outbox) && std::size_t(std::distance(fs::directory_iterator(outbox), {})) > before) break;
    usleep(10000);
  }
  fs::file_time_type newest = fs::file_time_type::min();
  fs::path mail;
  if (fs::exists(outbox))
    for (auto& e : fs::directory_iterator(outbox))
      if (e.path().extension() == ".eml" && e.last_write_time() >= newest) {
        newest = e.last_write_time();
        mail = e.path();
      }
  std::ifstream in(mail);
  return CredentialsInMail(std::string(std::istreambuf_iterator<char>(in), {}));
}

inline std::string Pad(const std::string& s, std::size_t n) {
  std::string out = s.substr(0, std::min(n, s.size()));
  out.resize(n, ' ');
  return out;
}

// Version, login and, when asked for, the nickname; answers the login reply.
inline std::string Login(Client& c, const Credentials& cr, const std::string& nickname = "") {
  c.Send("VERSION:1.11");
  if (c.Read().value_or("") != "VERSIONOK:") return "no VERSIONOK:";
  c.Send("LOGIN:" + Pad(cr.account, 10) + cr.password);
  std::string reply = c.Read(5000).value_or("");
  if (reply == "NONICKNAME" && !nickname.empty()) {
    c.Send("SETNICKNAME:" + Pad(Utf8ToBig5(nickname), 20) + nickname);
    reply = c.Read(5000).value_or("");
  }
  return reply;
}

// A new user signed up through the protocol and logged in with the nickname; empty
// when any step failed.
inline std::unique_ptr<Client> NewUser(const ServerProcess& server, const fs::path& dir, const std::string& email,
                                       const std::string& nickname, int receiveBuffer = 0) {
  Credentials cr = SignUp(server.Port(), dir / "outbox", email);
  auto c = std::make_unique<Client>(server.Port(), receiveBuffer);
  if (Login(*c, cr, nickname) != "SETNICKNAMEOK") return nullptr;
  return c;
}

}  // namespace zavuv::testing
