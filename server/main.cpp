// zavuv-server: the community server, and two operator commands that work on its
// database directly (user-add, share-add).
#include <signal.h>
#include <sodium.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <optional>

#include "Config.h"
#include "Database.h"
#include "HashPool.h"
#include "Mailer.h"
#include "Server.h"
#include "net/Protocol.h"
#include "shoes/ShoesData.h"
#include "table/Big5.h"
#include "table/TableFile.h"

using namespace zavuv;
using namespace zavuv::server;

namespace {

const char* const kHelp =
    "usage: zavuv-server [options]\n"
    "       zavuv-server user-add EMAIL --db FILE [--nickname NAME]\n"
    "       zavuv-server share-add ACCOUNT FILE.DAT|FILE.MED|FILE.AMT... --db FILE\n"
    "\n"
    "options:\n"
    "  --port N          port to listen on (default 24, which needs root; 0 picks a free\n"
    "                    port). The port bound is printed on the first line of output.\n"
    "  --host ADDRESS    address to listen on (default 0.0.0.0)\n"
    "  --db FILE         database file, created on first start (default zavuv-server.db)\n"
    "  --outbox DIR      folder for outgoing mail, one RFC 5322 file each (default outbox)\n"
    "  --sendmail PATH   pipe mail to this sendmail-compatible program instead\n"
    "  --pace normal|fast  room pace; fast deals a game in about 0.1 s (for tests)\n"
    "  --seed N          deal the rooms' shoes from this seed (not 0), the same cards on\n"
    "                    every start (for tests); default: random\n"
    "  --tls-port N      also listen on this port with TLS, the same lines inside (0 picks\n"
    "                    a free port, printed on the second line of output)\n"
    "  --tls-cert FILE   the certificate chain for the TLS port (PEM)\n"
    "  --tls-key FILE    its private key (PEM, not encrypted)\n"
    "  --config FILE     key = value settings (see docs/server.md); options given on the\n"
    "                    command line win over the file\n"
    "  --help            this text\n";

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 32) continue;
    out += c;
  }
  return out + "\"";
}

int UserAdd(const std::vector<std::string>& positional, std::map<std::string, std::string>& opts, const Config& config) {
  if (positional.size() != 2) throw std::runtime_error("user-add needs one e-mail address");
  std::string email = positional[1];
  if (!ValidEmail(email)) throw std::runtime_error("not a usable e-mail address: " + email);
  Database db(config.db);
  if (db.FindByEmail(email)) throw std::runtime_error("an account with this e-mail address exists");
  std::string password = RandomText(8, "23456789abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ");
  std::string hash = HashPassword(password, {config.hashOpsLimit, config.hashMemLimitMiB << 20});
  std::string account;
  do account = RandomText(10, "0123456789");
  while (!db.CreateAccount(account, email, hash, std::time(nullptr)));
  if (opts.count("nickname")) {
    std::string nick(net::TrimBlanks(opts["nickname"]));
    if (nick.empty() || !net::IsValidUtf8(nick) || !db.SetNickname(account, nick))
      throw std::runtime_error("nickname empty, not UTF-8 or taken: " + nick);
  }
  std::cout << "{\"account\":" << JsonString(account) << ",\"password\":" << JsonString(password) << "}\n";
  return 0;
}

// The private lists are bounded per account; the operator raises the bound in the config.
void CheckRoom(Database& db, const std::string& account, const std::string& kind, std::size_t adding, const Config& config) {
  if (db.CountShared(account, kind) + static_cast<std::int64_t>(adding) > config.maxPrivateItemsPerAccount)
    throw std::runtime_error("the account's " + kind + " list would hold more than " +
                             std::to_string(config.maxPrivateItemsPerAccount) +
                             " items (max_private_items_per_account in the config file)");
}

int ShareAdd(const std::vector<std::string>& positional, const Config& config) {
  if (positional.size() < 3) throw std::runtime_error("share-add needs an account and at least one file");
  Database db(config.db);
  const std::string& account = positional[1];
  if (!db.FindAccount(account)) throw std::runtime_error("no such account: " + account);
  std::vector<std::int64_t> ids;
  for (std::size_t i = 2; i < positional.size(); ++i) {
    std::filesystem::path path(positional[i]);
    std::string ext = net::UpperAscii(path.extension().string());
    std::string stem = path.stem().string();
    std::int64_t now = std::time(nullptr);
    if (ext == ".DAT") {
      ShoesData shoes;
      shoes.ReadData(path.string());
      std::vector<ShoeRecord> list = shoes.Shoes();
      if (list.empty()) throw std::runtime_error("no shoes in " + path.string());
      CheckRoom(db, account, "DATA", list.size(), config);
      Database::Transaction t(db);
      for (const ShoeRecord& s : list) {
        std::string info = s.info.empty() ? stem : Big5ToUtf8(s.info);
        ids.push_back(db.AddShared(account, "DATA", {0, now, Big5ToUtf8(s.name), info, s.result}));
      }
      t.Commit();
    } else if (ext == ".MED" || ext == ".AMT") {
      CheckRoom(db, account, ext == ".MED" ? "BET" : "BETAMOUNT", 1, config);
      std::string bytes = ReadWholeFile(path.string(), 1 << 20);
      ids.push_back(db.AddShared(account, ext == ".MED" ? "BET" : "BETAMOUNT",
                                 {0, now, path.filename().string(), stem, bytes}));
    } else {
      throw std::runtime_error("not a .DAT, .MED or .AMT file: " + path.string());
    }
  }
  std::cout << "{\"account\":" << JsonString(account) << ",\"added\":[";
  for (std::size_t i = 0; i < ids.size(); ++i) std::cout << (i ? "," : "") << ids[i];
  std::cout << "]}\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A peer or a mailer that goes away mid-write is an error to handle, not a reason to die.
  signal(SIGPIPE, SIG_IGN);
  if (sodium_init() < 0) {
    std::cerr << "zavuv-server: libsodium failed to start\n";
    return 1;
  }
  std::vector<std::string> positional;
  std::map<std::string, std::string> opts;
  try {
    for (int i = 1; i < argc; ++i) {
      std::string a = argv[i];
      if (a == "--help" || a == "-h") {
        std::cout << kHelp;
        return 0;
      }
      if (a.rfind("--", 0) == 0) {
        std::string key = a.substr(2), value;
        if (std::size_t eq = key.find('='); eq != std::string::npos) {
          value = key.substr(eq + 1);
          key = key.substr(0, eq);
        } else {
          if (i + 1 >= argc) throw std::runtime_error("option --" + key + " needs a value");
          value = argv[++i];
        }
        static const char* const known[] = {"port", "host", "db", "outbox", "sendmail", "pace", "seed", "config",
                                             "nickname", "tls-port", "tls-cert", "tls-key"};
        if (std::find(std::begin(known), std::end(known), key) == std::end(known))
          throw std::runtime_error("unknown option --" + key + " (see --help)");
        opts[key] = value;
      } else {
        positional.push_back(a);
      }
    }
    Config config;
    if (opts.count("config")) {
      LoadConfigFile(config, opts["config"]);
      config.configFile = opts["config"];
    }
    if (opts.count("port")) {
      int port = std::stoi(opts["port"]);
      if (port < 0 || port > 65535) throw std::runtime_error("port out of range");
      config.port = static_cast<std::uint16_t>(port);
    }
    if (opts.count("tls-port")) {
      int port = std::stoi(opts["tls-port"]);
      if (port < 0 || port > 65535) throw std::runtime_error("TLS port out of range");
      config.tlsPort = port;
    }
    if (opts.count("tls-cert")) config.tlsCert = opts["tls-cert"];
    if (opts.count("tls-key")) config.tlsKey = opts["tls-key"];
    if (opts.count("host")) config.host = opts["host"];
    if (opts.count("db")) config.db = opts["db"];
    if (opts.count("outbox")) config.outbox = opts["outbox"];
    if (opts.count("sendmail")) config.sendmail = opts["sendmail"];
    if (opts.count("pace")) {
      if (opts["pace"] != "fast" && opts["pace"] != "normal") throw std::runtime_error("--pace is normal or fast");
      config.pace = opts["pace"] == "fast" ? Pace::Fast : Pace::Normal;
    }
    if (opts.count("seed")) {
      const std::string& text = opts["seed"];
      std::size_t used = 0;
      unsigned long long seed = 0;
      try {
        seed = std::stoull(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != text.size() || text[0] == '-' || seed == 0)
        throw std::runtime_error("--seed is a whole number above 0");
      config.roomSeed = seed;
    }
    if (!positional.empty()) {
      if (positional[0] == "user-add") return UserAdd(positional, opts, config);
      if (positional[0] == "share-add") return ShareAdd(positional, config);
      throw std::runtime_error("unknown command " + positional[0] + " (see --help)");
    }
    asio::io_context io(1);
    Server server(io, config, std::cerr);
    std::uint16_t port = server.Listen();
    std::cout << port << std::endl;
    if (server.TlsPort() != 0) std::cout << server.TlsPort() << std::endl;
    server.Start();
    // A handler that fails is logged and the loop goes on serving everyone else; the
    // requests that write answer their own failures (see docs/server.md).
    for (;;) {
      try {
        io.run();
        break;
      } catch (const std::exception& e) {
        server.Log("error", {{"where", "loop"}, {"error", e.what()}});
      }
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "zavuv-server: " << e.what() << "\n";
    return 1;
  }
}
