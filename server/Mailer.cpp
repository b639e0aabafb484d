#include "Mailer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sodium.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "HashPool.h"

extern char** environ;

namespace zavuv::server {

bool ValidEmail(const std::string& a) {
  if (a.size() < 2 || a.size() > 100) return false;
  std::size_t at = a.find('@');
  if (at == std::string::npos || at == 0) return false;
  for (unsigned char c : a)
    if (c <= 32 || c >= 127 || c == '<' || c == '>' || c == ',' || c == ';' || c == '"' || c == '(' ||
        c == ')' || c == '\\' || c == ':')
      return false;
  return true;
}

static std::string Base64(const std::string& text) {
  std::string out(sodium_base64_encoded_len(text.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(out.data(), out.size(), reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                    sodium_base64_VARIANT_ORIGINAL);
  out.resize(out.find('\0'));
  return out;
}

std::string ComposeMail(const MailMessage& m, std::int64_t unixTime) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char date[64];
  std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", &tm);
  std::string host = "localhost";
  if (std::size_t at = m.from.rfind('@'); at != std::string::npos) {
    host = m.from.substr(at + 1);
    if (!host.empty() && host.back() == '>') host.pop_back();
  }
  std::string text;
  text += "Date: " + std::string(date) + "\r\n";
  text += "From: " + m.from + "\r\n";
  text += "To: <" + m.to + ">\r\n";
  text += "Subject: =?UTF-8?B?" + Base64(m.subject) + "?=\r\n";
  text += "Message-ID: <" + std::to_string(unixTime) + "." + RandomText(16, "0123456789abcdef") + "@" + host + ">\r\n";
  text += "MIME-Version: 1.0\r\n";
  text += "Content-Type: text/plain; charset=UTF-8\r\n";
  text += "Content-Transfer-Encoding: 8bit\r\n";
  text += "\r\n";
  for (char c : m.body) {
    if (c == '\n') text += "\r\n";
    else if (c != '\r') text += c;
  }
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  return text;
}

// The mail holds a fresh password in clear: the folder is the owner's alone (0700, also
// when it existed with wider permissions) and every message file is made 0600 from its
// first byte, whatever the umask.
std::string WriteToOutbox(const std::string& folder, const std::string& text) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
  std::string name = std::to_string(std::time(nullptr)) + "-" + RandomText(12, "0123456789abcdefghijklmnopqrstuvwxyz");
  fs::path tmp = fs::path(folder) / ("." + name + ".tmp");
  fs::path final = fs::path(folder) / (name + ".eml");
  int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) throw std::runtime_error("cannot write mail into " + folder + ": " + std::strerror(errno));
  bool ok = fchmod(fd, 0600) == 0;
  for (std::size_t done = 0; ok && done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno != EINTR) ok = false;
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (!ok) {
    std::error_code ec;
    fs::remove(tmp, ec);
    throw std::runtime_error("cannot write mail into " + folder);
  }
  fs::rename(tmp, final);
  return final.string();
}

// The program runs with the message on its standard input and its output discarded;
// it must finish within the limit, or it is killed and the delivery counts as failed.
MailResult PipeToSendmail(const std::string& program, const std::string& text, int timeoutMs) {
  int in[2];
  if (pipe2(in, O_CLOEXEC) != 0) return {false, std::string("pipe: ") + std::strerror(errno)};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  // The server ignores SIGPIPE; the mailer gets the usual signal dispositions and mask.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  std::string t = "-t", i = "-i";
  char* argv[] = {const_cast<char*>(program.c_str()), t.data(), i.data(), nullptr};
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, program.c_str(), &actions, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(in[0]);
  if (spawned != 0) {
    close(in[1]);
    return {false, "cannot run " + program + ": " + std::strerror(spawned)};
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  auto left = [&] {
    return static_cast<int>(std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                       deadline - std::chrono::steady_clock::now()).count()));
  };
  std::string error;
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  for (std::size_t done = 0; done < text.size() && error.empty();) {
    pollfd p{in[1], POLLOUT, 0};
    if (poll(&p, 1, left()) <= 0) {
      error = "the mailer did not read the message in time";
      break;
    }
    ssize_t n = write(in[1], text.data() + done, text.size() - done);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno != EAGAIN && errno != EINTR) error = std::string("writing to the mailer: ") + std::strerror(errno);
  }
  close(in[1]);
  int status = 0;
  for (;;) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) return {false, std::string("waitpid: ") + std::strerror(errno)};
    if (left() == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return {false, "the mailer did not finish in time and was stopped"};
    }
    usleep(5000);
  }
  if (!error.empty()) return {false, error};
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {true, {}};
  if (WIFEXITED(status)) return {false, "the mailer exited with status " + std::to_string(WEXITSTATUS(status))};
  return {false, "the mailer was killed by signal " + std::to_string(WTERMSIG(status))};
}

}  // namespace zavuv::server
