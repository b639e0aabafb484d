// The server's side of the line protocol: arbitrary lines handled by a real Server
// (its line handling and everything it reaches: version, login, sign-up, nickname,
// chat, boards, sharing lists and items, articles, room lines and bets, settlements)
// over local connections, with a real database copied afresh for every input from one
// made when the process starts, and the rooms stepped by the harness instead of timers.
//
// Input: a flags byte, a byte of room steps before the lines (times 4: a shoe takes
// several hundred, so that a bet can fall in a shoe's last games), then lines (LF).
//   flags & 3:   0 nothing sent yet, 1 after VERSION, 2 logged in, 3 logged in to an
//                account without a nickname (asked for one)
//   flags & 4:   a second user is logged in; a line beginning with byte 1 is its line
//   flags & 8:   every room steps once after each line
//   flags & 16:  the lines arrive in one piece instead of one by one
//   flags & 32:  after the lines every room steps 40 more times (bets settle)
//   flags & 64:  the battle rooms have a news ticker; flags >> 6 also picks the cards
// Invariants: every line written ends in CR LF, holds no other CR or LF and is within
// the line limit; a correct login made for the run succeeds; a job of the worker pool
// comes back; the server logs no error (no line's handling fails, no change is
// refused by the store, no reply is too long to send); the database passes
// integrity_check and foreign_key_check afterwards.
#include <sodium.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <sstream>

#include "Database.h"
#include "FuzzKit.h"
#include "HashPool.h"
#include "Server.h"
#include "net/Protocol.h"

using namespace zavuv;
using namespace zavuv::server;

namespace {

namespace fs = std::filesystem;

// Argon2id at its lowest cost: the harness hashes and verifies on every login and
// sign-up, and the cost is not what is being tested.
const PasswordCost kCheapHash{1, 1u << 20};

struct Fixture {
  std::string dir, templateDb, db, outbox;
  // Logged in with a nickname (also the owner of shared items and an article), a
  // second user, and an account that has not chosen a nickname yet.
  std::string accountA = "1000000001", accountB = "1000000002", accountC = "1000000003";
  std::string password = "k7PqR2xa";
};

const Fixture& Setup() {
  static Fixture f = [] {
    Fixture f;
    f.dir = fuzz::ScratchDir();
    f.templateDb = f.dir + "/template.db";
    f.db = f.dir + "/server.db";
    f.outbox = f.dir + "/outbox";
    Database db(f.templateDb);
    std::string hash = HashPassword(f.password, kCheapHash);
    db.CreateAccount(f.accountA, "a@example.org", hash, 1765000000);
    db.CreateAccount(f.accountB, "b@example.org", hash, 1765000000);
    db.CreateAccount(f.accountC, "c@example.org", hash, 1765000000);
    db.SetNickname(f.accountA, "小明");
    db.SetNickname(f.accountB, "amy");
    db.AddExp({{f.accountA, 250}});
    Season first = db.CurrentSeason(1765000000);
    db.ApplySettlements(first.id, {{f.accountA, 300, 285}, {f.accountB, 600, -600}});
    Season second = db.EndSeason(first, 1765100000);
    db.ApplySettlements(second.id, {{f.accountB, 300, 300}});
    db.AddShared(f.accountA, "DATA", {0, 1765000000, "B3 20261209 14:05", "戰場3 72局", "BPBBPTPPBB"});
    db.AddShared(f.accountA, "BET", {0, 1765000000, "loop.MED", "loop", std::string("\x00\x01BPB\xff", 6)});
    db.AddShared(f.accountA, "BETAMOUNT", {0, 1765000000, "flat.AMT", "flat", std::string(9001, 'x')});
    db.AddArticle(f.accountA, {0, 1765000000, "小明", "莊閒心得", "第一行\n第二行, 有逗號\n"});
    return f;
  }();
  return f;
}

void CheckWrite(std::string_view bytes) {
  if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") fuzz::Broken("a line written without CR LF");
  std::string_view text = bytes.substr(0, bytes.size() - 2);
  if (text.find_first_of("\r\n") != std::string_view::npos) fuzz::Broken("a line written with a CR or LF inside");
  if (text.size() > net::kMaxLineBytes) fuzz::Broken("a line written over the line limit");
}

void CheckDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    fuzz::Broken("the database does not open after the run");
  }
  auto answer = [&](const char* sql) {
    sqlite3_stmt* s = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) fuzz::Broken(std::string("cannot run ") + sql);
    while (sqlite3_step(s) == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(s, 0);
      out += t ? reinterpret_cast<const char*>(t) : "NULL";
      out += '\n';
    }
    sqlite3_finalize(s);
    return out;
  };
  std::string integrity = answer("PRAGMA integrity_check");
  std::string keys = answer("PRAGMA foreign_key_check");
  sqlite3_close(db);
  if (integrity != "ok\n") fuzz::Broken("integrity_check: " + integrity);
  if (!keys.empty()) fuzz::Broken("foreign_key_check: " + keys);
}

// One worker for every server of the run: starting and ending a thread for each input
// would cost more than the input.
const std::shared_ptr<HashPool>& Pool() {
  static auto pool = std::make_shared<HashPool>(1, 2);
  return pool;
}

class Run {
 public:
  // The guard keeps the loop from stopping while it has nothing queued (a worker
  // job still running posts its answer later).
  Run(asio::io_context& io, Server& server) : io_(io), server_(server), guard_(asio::make_work_guard(io)) {}

  std::uint64_t Connect(const std::string& address, std::string& output) {
    std::uint64_t id = server_.ConnectLocal(address, [&output](std::string_view bytes) {
      CheckWrite(bytes);
      output += bytes;
    });
    if (id == 0) fuzz::Broken("a local connection was refused");
    return id;
  }

  // Hands the bytes over, then lets the worker pool's jobs come back and the writes
  // go out.
  void Send(std::uint64_t id, std::string_view bytes) {
    server_.ReceiveLocal(id, bytes);
    Settle(id);
  }

  void Settle(std::uint64_t id) {
    for (int i = 0; server_.Busy(id); ++i) {
      if (i == 5000) fuzz::Broken("a job of the worker pool did not come back");
      io_.run_one_for(std::chrono::milliseconds(2));
    }
    io_.poll();
  }

  void StepRooms(int times) {
    for (int t = 0; t < times; ++t)
      for (std::size_t r = 0; r < server_.RoomCount(); ++r) server_.StepRoom(r);
    io_.poll();
  }

  void LogIn(std::uint64_t id, const std::string& account, const std::string& password, const std::string& output,
             const char* expected) {
    Send(id, "VERSION:1.11\r\nLOGIN:" + account + password + "\r\n");
    if (output.find(expected) == std::string::npos) fuzz::Broken("the account made for the run could not log in");
  }

 private:
  asio::io_context& io_;
  Server& server_;
  asio::executor_work_guard<asio::io_context::executor_type> guard_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (sodium_init() < 0) fuzz::Broken("libsodium failed to start");
  Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Fixture& f = Setup();
  fuzz::Input in(data, size);
  const std::uint8_t flags = in.Byte();
  const int initialSteps = in.Byte() * 4;

  std::error_code ec;
  fs::remove(f.db + "-wal", ec);
  fs::remove(f.db + "-shm", ec);
  // libFuzzer's timeout alarm can interrupt the copy; it is retried, not reported.
  for (int tries = 0;; ++tries) {
    fs::copy_file(f.templateDb, f.db, fs::copy_options::overwrite_existing, ec);
    if (!ec) break;
    if (ec != std::errc::interrupted || tries == 100) fuzz::Broken("cannot copy the template database: " + ec.message());
  }

  Config config;
  config.db = f.db;
  config.outbox = f.outbox;
  config.pace = Pace::Fast;
  config.hashOpsLimit = kCheapHash.opsLimit;
  config.hashMemLimitMiB = 1;
  config.roomSeed = 1 + (flags >> 6);
  config.welcome = "歡迎";
  config.rollingText = (flags & 64) ? "新聞" : "";

  std::ostringstream log;
  std::string outputA, outputB;
  {
    asio::io_context io(1);
    Server server(io, config, log, Pool());
    server.Open();
    Run run(io, server);
    run.StepRooms(initialSteps);

    std::uint64_t a = run.Connect("192.0.2.1", outputA);
    std::uint64_t b = 0;
    switch (flags & 3) {
      case 1: run.Send(a, "VERSION:1.11\r\n"); break;
      case 2: run.LogIn(a, f.accountA, f.password, outputA, "LOGINOK\r\n"); break;
      case 3: run.LogIn(a, f.accountC, f.password, outputA, "NONICKNAME\r\n"); break;
    }
    if (flags & 4) {
      b = run.Connect("192.0.2.2", outputB);
      run.LogIn(b, f.accountB, f.password, outputB, "LOGINOK\r\n");
    }

    std::string_view rest = in.Rest();
    if (flags & 16) {
      run.Send(a, rest);
    } else {
      while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
        rest.remove_prefix(line.size());
        if (b && !line.empty() && line[0] == '\x01') run.Send(b, line.substr(1));
        else run.Send(a, line);
        if (flags & 8) run.StepRooms(1);
      }
    }
    if (flags & 32) run.StepRooms(40);
    server.DisconnectLocal(a);
    if (b) server.DisconnectLocal(b);
    io.poll();
    // The store has room and the mail folder is writable: any error logged on the
    // way (a failed line, a refused change, a reply too long to send) is a fault.
    if (std::string text = log.str(); text.find("event=error") != std::string::npos) {
      std::string errors;
      for (std::size_t at = text.find("event=error"); at != std::string::npos; at = text.find("event=error", at + 1))
        errors += text.substr(at, text.find('\n', at) - at) + "\n";
      fuzz::Broken("handling failed: " + errors);
    }
  }
  if (!outputA.empty() && outputA.back() != '\n') fuzz::Broken("output that ends inside a line");
  CheckDatabase(f.db);
  fs::remove_all(f.outbox, ec);
  return 0;
}
