// The connection and automatic-login settings chosen on the page "系統設定" and kept
// between runs in BA.ini in the working directory:
//
//   [Auto Login]  Enable=1|0, UserID=<account>, UserPassword=<20 letters A..P>
//   [Server]      Server=MAIN | LOCALHOST | <host>, TLS=1|0, TLSPort=<decimal>
//   [Proxy]       Enable=1|0, Server=<host>, Port=<decimal>, UserID=..., UserPassword=...
//
// The file is Big5 text; the fields here are UTF-8. It is read once when the main
// window is shown and written once when it closes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/IniFile.h"
#include "net/LineChannel.h"

namespace zavuv {

inline constexpr std::string_view kSettingsFileName = "BA.ini";

enum class ServerChoice { Main, LocalHost, Other };

// The host "主伺服器" stands for. No public community server exists for this program;
// the name is reserved never to resolve, so the choice fails to connect instead of
// reaching a stranger's machine. Run zavuv-server and choose "本機" or "其他".
inline constexpr std::string_view kMainServerHost = "main.zavuv.invalid";
inline constexpr std::string_view kLocalHost = "LocalHost";
// The port "加密連線 (TLS)" starts with; zavuv-server takes the TLS port it is given.
inline constexpr int kDefaultTlsPort = 2443;

struct Settings {
  // "自動登入設定"
  bool autoLogin = false;
  std::string userId;        // EditUserID, read whether automatic login is on or not
  std::string userPassword;  // EditUserPassword; restored only with automatic login on
  // "伺服器設定"
  ServerChoice server = ServerChoice::Main;
  std::string otherServer;  // EditServer (upper-cased when read back)
  // "加密連線 (TLS)": the server's TLS port instead of the plain one. Files written
  // before it existed have no such key and read as off.
  bool useTls = false;
  int tlsPort = kDefaultTlsPort;
  // "設定代理伺服器"
  bool useProxy = false;
  std::string proxyHost;
  int proxyPort = 0;  // any integer; the page sets no range
  std::string proxyUserId;
  std::string proxyPassword;  // kept in plain text: SOCKS 4 has no field for it

  bool operator==(const Settings&) const = default;
};

// Reads the settings. A missing, unreadable or damaged file gives the defaults, and
// *status (when given) says which, so that the caller knows the file was not taken
// in; a value that is missing or not a whole number gives that setting's default.
Settings ReadSettings(const std::filesystem::path& path, IniFile::LoadStatus* status = nullptr);
// The same, from a document already loaded.
Settings SettingsFromIni(const IniFile& ini);

// Writes the settings into the document: the automatic-login account and scrambled
// password only while automatic login is on (otherwise both keys are deleted).
void SettingsToIni(const Settings& settings, IniFile& ini);
// Writes the settings into the file, keeping any other sections and keys it holds
// (a damaged file is replaced). Returns false, having changed nothing, when writing
// fails: the caller goes on without a word, as closing the window must not fail.
bool WriteSettings(const std::filesystem::path& path, const Settings& settings) noexcept;

// The connection the settings describe, on the given server port (24 unless a test or
// `zavuv --port` says otherwise), or on the TLS port of the settings with TLS on. The
// proxy user ID goes out in Big5.
net::ConnectionTarget ConfigureConnection(const Settings& settings, int port = net::kDefaultPort);

// The scrambled form of a password under an account number: 20 letters A to P. Both
// are 8-bit (Big5) text; only their first 10 bytes count, padded with blanks.
std::string EncodePassword(std::string_view accountNumber, std::string_view password);
// The inverse: the 10 bytes of the password padded with blanks. A text shorter than
// 20 letters reads as if padded with "A"; a text of other letters decodes to some other
// 10 bytes and never fails.
std::string DecodePassword(std::string_view accountNumber, std::string_view stored);

}  // namespace zavuv
