// The server's store: accounts, season scores and champions, shared items and
// articles in one SQLite file (WAL, prepared statements only). The schema carries its
// version in schema_version and is brought up to date step by step when opened.
// Texts are stored as UTF-8; the protocol layer converts to Big5 where a line needs it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zavuv::server {

struct Account {
  std::string account;
  std::string email;
  std::string passwordHash;
  std::string nickname;   // UTF-8, empty until chosen
  std::int64_t exp = 0;
  std::int64_t lastMail = 0;
};

struct ScoreRow {
  std::string account;
  std::string nickname;
  double profit = 0, turnover = 0, totalWin = 0, totalLoss = 0, peak = 0, valley = 0;
  std::int64_t finishDate = 0;   // champions only
};

struct Settlement {
  std::string account;
  double stake = 0;    // turnover
  double net = 0;      // profit (negative for a loss)
};

struct SharedItem {
  std::int64_t id = 0;
  std::int64_t uploaded = 0;
  std::string name;      // shoe name for shoe data
  std::string info;
  std::string content;   // shoe data: the result string; others: the file's bytes
};

struct Article {
  std::int64_t id = 0;
  std::int64_t uploaded = 0;
  std::string nickname;
  std::string title;
  std::string body;
};

struct Season {
  std::int64_t id = 0;
  std::int64_t started = 0;
};

class Statement;

// A change refused because the database cannot grow: the disk is full, or the file
// has reached the size it is allowed (db_max_size). Whatever the change had written
// is rolled back with its transaction.
struct StoreFull : std::runtime_error {
  explicit StoreFull(const std::string& what) : std::runtime_error(what) {}
};

class Database {
 public:
  static constexpr int kSchemaVersion = 2;

  explicit Database(const std::string& path);
  ~Database();
  // Moves the WAL checkpoints (the only writes that wait for the disk) off the calling
  // thread: a thread of its own copies the log into the database every interval, so
  // that a commit never stalls on an fsync.
  void CheckpointInBackground(int intervalMs);
  struct CheckpointStats {
    std::uint64_t runs = 0;
    double slowestMs = 0;
  };
  CheckpointStats Checkpoints();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  int SchemaVersion();
  // The file may not grow past this many bytes (0: no limit but the disk's); a
  // change that would need more fails with StoreFull, as on a full disk.
  void LimitSize(std::int64_t bytes);

  std::optional<Account> FindAccount(const std::string& account);
  std::optional<Account> FindByEmail(const std::string& email);
  // False when the account number or the e-mail address is taken.
  bool CreateAccount(const std::string& account, const std::string& email,
                     const std::string& passwordHash, std::int64_t now);
  void SetPassword(const std::string& account, const std::string& passwordHash);
  void SetEmail(const std::string& account, const std::string& email);
  void SetLastMail(const std::string& account, std::int64_t when);
  // Takes back a sign-up whose mail could not go out: the new account goes, or the
  // known one (`before`) gets back the password it had. Only while the account still
  // has the sign-up's password: its owner may have changed it since.
  void UndoSignUp(const std::string& account, const std::string& signUpHash, const std::optional<Account>& before);
  // False when another account holds the nickname.
  bool SetNickname(const std::string& account, const std::string& nickname);
  bool NicknameTaken(const std::string& nickname);
  void AddExp(const std::vector<std::pair<std::string, int>>& gains);

  Season CurrentSeason(std::int64_t now);
  // Ends the season: its leader by profit becomes its champion, and a new season
  // starts at `now`. Returns the new season.
  Season EndSeason(const Season& season, std::int64_t now);
  void ApplySettlements(std::int64_t season, const std::vector<Settlement>& settlements);
  std::optional<ScoreRow> Score(std::int64_t season, const std::string& account);
  std::vector<ScoreRow> Billboard(std::int64_t season, int limit);
  std::vector<ScoreRow> Champions(int limit);
  std::vector<std::pair<std::string, std::int64_t>> Levelboard(int limit);   // nickname, exp

  // kind: "DATA", "BET" or "BETAMOUNT".
  std::int64_t AddShared(const std::string& account, const std::string& kind, const SharedItem& item);
  std::vector<SharedItem> ListShared(const std::string& account, const std::string& kind, int limit);
  std::optional<SharedItem> GetShared(const std::string& account, const std::string& kind, std::int64_t id);
  std::int64_t CountShared(const std::string& account, const std::string& kind);
  // Removes the account's oldest items of the kind beyond the newest `keep`.
  void TrimShared(const std::string& account, const std::string& kind, int keep);

  std::int64_t AddArticle(const std::string& account, const Article& article);
  std::vector<Article> ListArticles(int limit);
  std::int64_t CountArticles(const std::string& account);
  std::optional<Article> GetArticle(std::int64_t id);

  // A transaction that Commit() ends; left uncommitted (an error on the way) it rolls
  // back when it goes out of scope, so a failed write never leaves one open and the
  // next request's writes still work. Opened inside another, it is part of the outer
  // one: only the outer commits or rolls back.
  class Transaction {
   public:
    explicit Transaction(Database& db) : db_(db), outer_(!db.InTransaction()) {
      if (outer_) db_.Exec("BEGIN IMMEDIATE");
    }
    ~Transaction() {
      if (outer_ && !done_) try { db_.Exec("ROLLBACK"); } catch (...) {}
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit() {
      if (outer_) db_.Exec("COMMIT");
      done_ = true;
    }

   private:
    Database& db_;
    bool outer_;
    bool done_ = false;
  };
  bool InTransaction() const;

 private:
  void Exec(const char* sql);
  void Migrate();
  Statement& Prepare(const char* sql);

  sqlite3* db_ = nullptr;
  std::vector<std::pair<const char*, std::unique_ptr<Statement>>> cache_;
  std::string path_;
  std::thread checkpointer_;
  std::mutex checkpointMutex_;
  std::condition_variable checkpointWake_;
  bool checkpointStop_ = false;
  CheckpointStats checkpointStats_;
};

}  // namespace zavuv::server
