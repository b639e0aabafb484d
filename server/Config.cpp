#include "Config.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

#include "net/Protocol.h"

namespace zavuv::server {

double ParseDuration(const std::string& text, double bareScale) {
  std::size_t used = 0;
  double value = std::stod(text, &used);
  std::string unit(net::TrimBlanks(std::string_view(text).substr(used)));
  double scale = bareScale;
  if (unit == "ms") scale = 0.001;
  else if (unit == "s") scale = 1;
  else if (unit == "m") scale = 60;
  else if (unit == "h") scale = 3600;
  else if (unit == "d") scale = 86400;
  else if (!unit.empty()) throw std::invalid_argument("unit");
  if (!(value >= 0) || !std::isfinite(value)) throw std::invalid_argument("negative");
  return value * scale;
}

void LoadConfigFile(Config& c, const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read config file " + path);
  auto num = [](const std::string& v) {
    std::size_t used = 0;
    double d = std::stod(v, &used);
    if (used != v.size() || !(d >= 0)) throw std::invalid_argument("number");
    return d;
  };
  std::map<std::string, std::function<void(const std::string&)>> keys = {
      {"host", [&](const std::string& v) { c.host = v; }},
      {"port", [&](const std::string& v) { c.port = static_cast<std::uint16_t>(num(v)); }},
      {"db", [&](const std::string& v) { c.db = v; }},
      {"db_max_size", [&](const std::string& v) {
         // Bytes, or with a unit k, M or G (1024-based).
         std::size_t used = 0;
         double d = std::stod(v, &used);
         std::string unit(net::TrimBlanks(std::string_view(v).substr(used)));
         double scale = unit.empty() ? 1 : unit == "k" || unit == "K" ? 1024 : unit == "M" ? 1 << 20
                      : unit == "G" ? 1 << 30 : 0;
         if (scale == 0 || !(d >= 0) || d * scale > 1e15) throw std::invalid_argument("size");
         c.dbMaxBytes = static_cast<std::int64_t>(d * scale);
       }},
      {"tls_port", [&](const std::string& v) {
         double port = num(v);
         if (port > 65535 || port != std::floor(port)) throw std::invalid_argument("port");
         c.tlsPort = int(port);
       }},
      {"tls_cert", [&](const std::string& v) { c.tlsCert = v; }},
      {"tls_key", [&](const std::string& v) { c.tlsKey = v; }},
      {"outbox", [&](const std::string& v) { c.outbox = v; }},
      {"sendmail", [&](const std::string& v) { c.sendmail = v; }},
      {"sendmail_timeout", [&](const std::string& v) {
         // The client gives up on the sign-up reply after 20 s; hashing and the store
         // need some of that too.
         double seconds = ParseDuration(v);
         if (seconds > kMaxSendmailSeconds) throw ConfigValueError("at most 15s (the client waits 20 s for the sign-up reply)");
         c.sendmailTimeoutMs = int(seconds * 1000);
       }},
      {"mail_from", [&](const std::string& v) { c.mailFrom = v; }},
      {"pace", [&](const std::string& v) {
         if (v == "fast") c.pace = Pace::Fast;
         else if (v == "normal") c.pace = Pace::Normal;
         else throw std::invalid_argument("pace");
       }},
      {"max_connections", [&](const std::string& v) { c.maxConnections = int(num(v)); }},
      {"max_connections_per_address", [&](const std::string& v) { c.maxConnectionsPerAddress = int(num(v)); }},
      {"login_timeout", [&](const std::string& v) { c.loginTimeoutSeconds = ParseDuration(v); }},
      {"pause_reading_bytes", [&](const std::string& v) { c.pauseReadingBytes = std::size_t(num(v)); }},
      {"disconnect_bytes", [&](const std::string& v) { c.disconnectBytes = std::size_t(num(v)); }},
      {"socket_send_buffer", [&](const std::string& v) { c.socketSendBuffer = int(num(v)); }},
      {"write_stall", [&](const std::string& v) { c.writeStallSeconds = ParseDuration(v); }},
      {"chat_per_second", [&](const std::string& v) { c.chatPerSecond = num(v); }},
      {"chat_burst", [&](const std::string& v) { c.chatBurst = num(v); }},
      {"global_chat_deliveries_per_second", [&](const std::string& v) { c.globalChatDeliveriesPerSecond = num(v); }},
      {"login_per_minute_per_address", [&](const std::string& v) { c.loginPerMinutePerAddress = num(v); }},
      {"login_per_minute_per_account", [&](const std::string& v) { c.loginPerMinutePerAccount = num(v); }},
      {"signup_per_hour_per_address", [&](const std::string& v) { c.signupPerHourPerAddress = num(v); }},
      {"resend_interval", [&](const std::string& v) { c.resendIntervalSeconds = ParseDuration(v); }},
      {"hash_workers", [&](const std::string& v) { c.hashWorkers = int(num(v)); }},
      {"hash_queue", [&](const std::string& v) { c.hashQueue = int(num(v)); }},
      {"hash_passes", [&](const std::string& v) { c.hashOpsLimit = std::max(2ull, (unsigned long long)num(v)); }},
      {"hash_memory_mib", [&](const std::string& v) { c.hashMemLimitMiB = std::max<std::size_t>(19, std::size_t(num(v))); }},
      {"bet_seconds", [&](const std::string& v) { c.betSeconds = std::max(1, int(std::lround(std::min(3600.0, ParseDuration(v))))); }},
      {"fast_bet_ms", [&](const std::string& v) {
         c.fastBetMs = std::clamp(int(std::lround(std::min(60.0, ParseDuration(v, 0.001)) * 1000)), 3, 60000);
       }},
      {"room_list_max", [&](const std::string& v) { c.roomListMax = int(num(v)); }},
      {"exp_per_game", [&](const std::string& v) { c.expPerGame = int(num(v)); }},
      {"season_length", [&](const std::string& v) { c.seasonSeconds = std::max(1.0, ParseDuration(v)); }},
      {"max_articles_per_account", [&](const std::string& v) { c.maxArticlesPerAccount = int(std::min(1e9, num(v))); }},
      {"max_private_items_per_account", [&](const std::string& v) { c.maxPrivateItemsPerAccount = int(std::min(1e9, num(v))); }},
      {"welcome", [&](const std::string& v) { c.welcome = v; }},
      {"rolling_text", [&](const std::string& v) {
         if (!net::IsValidUtf8(v) || v.size() > 2000) throw std::invalid_argument("rolling_text");
         c.rollingText = v;
       }},
  };
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (std::size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::string_view text = net::TrimBlanks(line);
    if (text.empty()) continue;
    std::size_t eq = text.find('=');
    std::string where = path + ":" + std::to_string(number);
    if (eq == std::string_view::npos) throw std::runtime_error(where + ": expected key = value");
    std::string key(net::TrimBlanks(text.substr(0, eq)));
    std::string value(net::TrimBlanks(text.substr(eq + 1)));
    auto it = keys.find(key);
    if (it == keys.end()) throw std::runtime_error(where + ": unknown key " + key);
    try {
      it->second(value);
    } catch (const ConfigValueError& e) {
      throw std::runtime_error(where + ": bad value for " + key + ": " + value + ": " + e.what());
    } catch (const std::exception&) {
      throw std::runtime_error(where + ": bad value for " + key + ": " + value);
    }
  }
}

}  // namespace zavuv::server
