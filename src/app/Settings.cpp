#include "app/Settings.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>

#include "table/Big5.h"
#include "net/Protocol.h"
#include "table/Table.h"

namespace zavuv {

namespace {

constexpr std::string_view kAutoLogin = "Auto Login";
constexpr std::string_view kServer = "Server";
constexpr std::string_view kProxy = "Proxy";

std::optional<long long> WholeNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

std::string ReadText(const IniFile& ini, std::string_view section, std::string_view key) {
  return Big5ToUtf8(ini.Read(section, key).value_or(""));
}

bool ReadBool(const IniFile& ini, std::string_view section, std::string_view key, bool fallback) {
  auto v = ini.Read(section, key);
  auto n = v ? WholeNumber(*v) : std::nullopt;
  return n ? *n != 0 : fallback;
}

int ReadInt(const IniFile& ini, std::string_view section, std::string_view key, int fallback) {
  auto v = ini.Read(section, key);
  auto n = v ? WholeNumber(*v) : std::nullopt;
  if (!n || *n < INT32_MIN || *n > INT32_MAX) return fallback;
  return static_cast<int>(*n);
}

int Key(std::string_view accountNumber) {
  std::string a(accountNumber.substr(0, 10));
  a.resize(10, ' ');
  int key = 0;
  for (unsigned char c : a) key += c;
  return key % 256;
}

}  // namespace

std::string EncodePassword(std::string_view accountNumber, std::string_view password) {
  int key = Key(accountNumber);
  std::string p(password.substr(0, 10));
  p.resize(10, ' ');
  std::string out;
  for (unsigned char b : p) {
    int a = ((b ^ key) + 1) % 256;
    out += static_cast<char>('A' + a / 16);
    out += static_cast<char>('A' + a % 16);
    key = a;
  }
  return out;
}

std::string DecodePassword(std::string_view accountNumber, std::string_view stored) {
  unsigned key = static_cast<unsigned>(Key(accountNumber));
  std::string text(stored);
  text.append(20, 'A');
  std::string out;
  for (int i = 0; i < 10; ++i) {
    // Letters outside A to P give codes below 0 or above 15; modulo 256 keeps the
    // byte arithmetic of the stored form whatever the text holds.
    int l1 = static_cast<unsigned char>(text[2 * i]) - 65;
    int l2 = static_cast<unsigned char>(text[2 * i + 1]) - 65;
    unsigned a = static_cast<unsigned>(l1 * 16 + l2) & 0xFF;
    out += static_cast<char>(((a - 1) & 0xFF) ^ key);
    key = a;
  }
  return out;
}

Settings SettingsFromIni(const IniFile& ini) {
  Settings s;
  s.userId = ReadText(ini, kAutoLogin, "UserID");
  s.autoLogin = ReadBool(ini, kAutoLogin, "Enable", false);
  if (s.autoLogin) {
    std::string stored = ini.Read(kAutoLogin, "UserPassword").value_or("");
    s.userPassword = stored.empty() ? std::string() : Big5ToUtf8(DecodePassword(Utf8ToBig5(s.userId), stored));
  }
  std::string server = net::UpperAscii(ReadText(ini, kServer, "Server"));
  if (server.empty() || server == "MAIN") {
    s.server = ServerChoice::Main;
  } else if (server == "LOCALHOST") {
    s.server = ServerChoice::LocalHost;
  } else {
    s.server = ServerChoice::Other;
    s.otherServer = server;
  }
  s.useTls = ReadBool(ini, kServer, "TLS", false);
  s.tlsPort = ReadInt(ini, kServer, "TLSPort", kDefaultTlsPort);
  s.useProxy = ReadBool(ini, kProxy, "Enable", false);
  s.proxyHost = ReadText(ini, kProxy, "Server");
  s.proxyPort = ReadInt(ini, kProxy, "Port", 0);
  s.proxyUserId = ReadText(ini, kProxy, "UserID");
  s.proxyPassword = ReadText(ini, kProxy, "UserPassword");
  return s;
}

Settings ReadSettings(const std::filesystem::path& path, IniFile::LoadStatus* status) {
  IniFile ini;
  IniFile::LoadStatus st = ini.Load(path);
  if (status) *status = st;
  return st == IniFile::LoadStatus::Loaded ? SettingsFromIni(ini) : Settings{};
}

void SettingsToIni(const Settings& s, IniFile& ini) {
  ini.Write(kAutoLogin, "Enable", s.autoLogin ? "1" : "0");
  if (s.autoLogin) {
    std::string id = Utf8ToBig5(s.userId);
    ini.Write(kAutoLogin, "UserID", id);
    ini.Write(kAutoLogin, "UserPassword", EncodePassword(id, Utf8ToBig5(s.userPassword)));
  } else {
    ini.DeleteKey(kAutoLogin, "UserID");
    ini.DeleteKey(kAutoLogin, "UserPassword");
  }
  ini.Write(kServer, "Server",
            s.server == ServerChoice::Main        ? std::string("MAIN")
            : s.server == ServerChoice::LocalHost ? std::string("LOCALHOST")
                                                  : Utf8ToBig5(s.otherServer));
  // The TLS keys appear once TLS has been turned on; a file of a user who never did
  // stays as it always was.
  if (s.useTls || ini.Read(kServer, "TLS")) {
    ini.Write(kServer, "TLS", s.useTls ? "1" : "0");
    ini.Write(kServer, "TLSPort", std::to_string(s.tlsPort));
  }
  ini.Write(kProxy, "Enable", s.useProxy ? "1" : "0");
  ini.Write(kProxy, "Server", Utf8ToBig5(s.proxyHost));
  ini.Write(kProxy, "Port", std::to_string(s.proxyPort));
  ini.Write(kProxy, "UserID", Utf8ToBig5(s.proxyUserId));
  ini.Write(kProxy, "UserPassword", Utf8ToBig5(s.proxyPassword));
}

namespace {

// "host:port" or "[v6 address]:port" typed as the other server: the host and the port,
// or nothing when the text names no port (a plain host, a bare IPv6 address).
std::optional<std::pair<std::string, int>> HostAndPort(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon + 1 >= text.size() || colon + 6 < text.size()) return std::nullopt;
  std::string host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  } else if (host.empty() || host.find(':') != std::string::npos) {
    return std::nullopt;  // a bare IPv6 address has colons of its own
  }
  int port = 0;
  for (std::size_t i = colon + 1; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    port = port * 10 + (text[i] - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return std::pair{host, port};
}

}  // namespace

net::ConnectionTarget ConfigureConnection(const Settings& s, int port) {
  net::ConnectionTarget t;
  t.host = s.server == ServerChoice::Main        ? std::string(kMainServerHost)
           : s.server == ServerChoice::LocalHost ? std::string(kLocalHost)
                                                 : s.otherServer;
  // A community server on a port of its own needs no command-line option: "其他" takes
  // "host:port" (the file keeps what the user typed).
  if (s.server == ServerChoice::Other) {
    if (auto hostPort = HostAndPort(s.otherServer)) std::tie(t.host, port) = *hostPort;
  }
  t.port = s.useTls ? s.tlsPort : port;
  t.tls = s.useTls;
  t.useProxy = s.useProxy;
  t.proxyHost = s.proxyHost;
  t.proxyPort = s.proxyPort;
  t.proxyUserId = Utf8ToBig5(s.proxyUserId);
  return t;
}

bool WriteSettings(const std::filesystem::path& path, const Settings& settings) noexcept {
  try {
    IniFile ini;
    ini.Load(path);  // other keys of a readable file are kept; anything else starts afresh
    SettingsToIni(settings, ini);
    ini.Save(path);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace zavuv
