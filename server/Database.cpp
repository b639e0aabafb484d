#include "Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace zavuv::server {

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("sqlite prepare: ") + sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(stmt_); }

  // Binds in order from parameter 1 after clearing the previous use.
  template <typename... Args>
  Statement& Use(const Args&... args) {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    int i = 0;
    (Bind(++i, args), ...);
    return *this;
  }
  // True while a row is available.
  bool Step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    if (rc == SQLITE_CONSTRAINT) throw ConstraintError();
    if (rc == SQLITE_FULL) throw StoreFull(std::string("sqlite step: ") + sqlite3_errmsg(db_));
    throw std::runtime_error(std::string("sqlite step: ") + sqlite3_errmsg(db_));
  }
  void Run() {
    while (Step()) {
    }
    sqlite3_reset(stmt_);
  }
  std::int64_t Int(int col) { return sqlite3_column_int64(stmt_, col); }
  double Real(int col) { return sqlite3_column_double(stmt_, col); }
  std::string Text(int col) {
    const void* p = sqlite3_column_blob(stmt_, col);
    int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::string(static_cast<const char*>(p), n) : std::string();
  }
  bool Null(int col) { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }

  struct ConstraintError : std::runtime_error {
    ConstraintError() : std::runtime_error("constraint") {}
  };

 private:
  void Bind(int i, const std::string& v) { sqlite3_bind_text(stmt_, i, v.data(), int(v.size()), SQLITE_TRANSIENT); }
  void Bind(int i, const char* v) { sqlite3_bind_text(stmt_, i, v, -1, SQLITE_TRANSIENT); }
  void Bind(int i, std::int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
  void Bind(int i, int v) { sqlite3_bind_int64(stmt_, i, v); }
  void Bind(int i, double v) { sqlite3_bind_double(stmt_, i, v); }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

Database::Database(const std::string& path) : path_(path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw std::runtime_error("cannot open database " + path + ": " + message);
  }
  sqlite3_busy_timeout(db_, 5000);
  Exec("PRAGMA journal_mode=WAL");
  Exec("PRAGMA synchronous=NORMAL");
  Exec("PRAGMA foreign_keys=ON");
  Migrate();
}

Database::~Database() {
  if (checkpointer_.joinable()) {
    {
      std::lock_guard lock(checkpointMutex_);
      checkpointStop_ = true;
    }
    checkpointWake_.notify_all();
    checkpointer_.join();
  }
  cache_.clear();
  sqlite3_close(db_);
}

void Database::CheckpointInBackground(int intervalMs) {
  if (checkpointer_.joinable()) return;
  sqlite3* own = nullptr;
  if (sqlite3_open_v2(path_.c_str(), &own, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    sqlite3_close(own);
    return;   // the commits go on checkpointing themselves
  }
  sqlite3_busy_timeout(own, 1000);
  Exec("PRAGMA wal_autocheckpoint=0");
  checkpointer_ = std::thread([this, own, intervalMs] {
    std::unique_lock lock(checkpointMutex_);
    while (!checkpointWake_.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return checkpointStop_; })) {
      lock.unlock();
      auto start = std::chrono::steady_clock::now();
      // PASSIVE: copies what no reader still needs and never waits for the writer.
      sqlite3_wal_checkpoint_v2(own, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
      double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      lock.lock();
      ++checkpointStats_.runs;
      checkpointStats_.slowestMs = std::max(checkpointStats_.slowestMs, ms);
    }
    lock.unlock();
    sqlite3_close(own);
  });
}

Database::CheckpointStats Database::Checkpoints() {
  std::lock_guard lock(checkpointMutex_);
  return checkpointStats_;
}

void Database::Exec(const char* sql) {
  char* error = nullptr;
  if (int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error); rc != SQLITE_OK) {
    std::string message = error ? error : "error";
    sqlite3_free(error);
    if (rc == SQLITE_FULL) throw StoreFull("sqlite: " + message);
    throw std::runtime_error("sqlite: " + message);
  }
}

void Database::LimitSize(std::int64_t bytes) {
  if (bytes <= 0) return;
  auto& s = Prepare("PRAGMA page_size");
  s.Use();
  std::int64_t pageSize = s.Step() ? s.Int(0) : 4096;
  s.Run();
  // Never below the pages already in use (SQLite keeps those anyway).
  std::string sql = "PRAGMA max_page_count = " + std::to_string(std::max<std::int64_t>(1, bytes / pageSize));
  Exec(sql.c_str());
}

Statement& Database::Prepare(const char* sql) {
  for (auto& [key, stmt] : cache_)
    if (key == sql) return *stmt;
  cache_.emplace_back(sql, std::make_unique<Statement>(db_, sql));
  return *cache_.back().second;
}


int Database::SchemaVersion() {
  auto& s = Prepare("SELECT max(version) FROM schema_version");
  s.Use();
  int v = s.Step() ? int(s.Int(0)) : 0;
  s.Run();
  return v;
}

// Each step brings the schema from version i to i + 1, inside one transaction.
static const char* const kMigrations[] = {
    // 1: accounts, seasons, scores, champions.
    "CREATE TABLE accounts ("
    " account TEXT PRIMARY KEY, email TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " password_hash TEXT NOT NULL, nickname TEXT UNIQUE, exp INTEGER NOT NULL DEFAULT 0,"
    " created INTEGER NOT NULL, last_mail INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE seasons (id INTEGER PRIMARY KEY, started INTEGER NOT NULL, finished INTEGER);"
    "CREATE TABLE scores (season INTEGER NOT NULL REFERENCES seasons(id), account TEXT NOT NULL REFERENCES accounts(account),"
    " profit REAL NOT NULL DEFAULT 0, turnover REAL NOT NULL DEFAULT 0, total_win REAL NOT NULL DEFAULT 0,"
    " total_loss REAL NOT NULL DEFAULT 0, peak REAL NOT NULL DEFAULT 0, valley REAL NOT NULL DEFAULT 0,"
    " PRIMARY KEY (season, account));"
    "CREATE INDEX scores_rank ON scores(season, profit DESC);"
    "CREATE TABLE champions (season INTEGER PRIMARY KEY REFERENCES seasons(id), account TEXT NOT NULL,"
    " nickname TEXT NOT NULL, finish_date INTEGER NOT NULL, profit REAL, turnover REAL, total_win REAL,"
    " total_loss REAL, peak REAL, valley REAL);",
    // 2: shared items and articles.
    "CREATE TABLE shared_items (id INTEGER PRIMARY KEY AUTOINCREMENT, account TEXT NOT NULL REFERENCES accounts(account),"
    " kind TEXT NOT NULL, uploaded INTEGER NOT NULL, name TEXT NOT NULL, info TEXT NOT NULL, content BLOB NOT NULL);"
    "CREATE INDEX shared_items_owner ON shared_items(account, kind, id);"
    "CREATE TABLE articles (id INTEGER PRIMARY KEY AUTOINCREMENT, account TEXT NOT NULL REFERENCES accounts(account),"
    " nickname TEXT NOT NULL, uploaded INTEGER NOT NULL, title TEXT NOT NULL, body TEXT NOT NULL);",
};
static_assert(sizeof(kMigrations) / sizeof(kMigrations[0]) == Database::kSchemaVersion);

void Database::Migrate() {
  Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL, applied INTEGER NOT NULL)");
  int version = SchemaVersion();
  if (version > kSchemaVersion)
    throw std::runtime_error("the database was written by a newer server (schema " + std::to_string(version) + ")");
  for (int v = version; v < kSchemaVersion; ++v) {
    Transaction t(*this);
    Exec(kMigrations[v]);
    Prepare("INSERT INTO schema_version(version, applied) VALUES (?, strftime('%s','now'))").Use(v + 1).Run();
    t.Commit();
  }
}

static Account ReadAccount(Statement& s) {
  Account a;
  a.account = s.Text(0);
  a.email = s.Text(1);
  a.passwordHash = s.Text(2);
  a.nickname = s.Text(3);
  a.exp = s.Int(4);
  a.lastMail = s.Int(5);
  return a;
}

std::optional<Account> Database::FindAccount(const std::string& account) {
  auto& s = Prepare("SELECT account, email, password_hash, nickname, exp, last_mail FROM accounts WHERE account = ?");
  s.Use(account);
  std::optional<Account> a;
  if (s.Step()) a = ReadAccount(s);
  s.Run();
  return a;
}

std::optional<Account> Database::FindByEmail(const std::string& email) {
  auto& s = Prepare("SELECT account, email, password_hash, nickname, exp, last_mail FROM accounts WHERE email = ?");
  s.Use(email);
  std::optional<Account> a;
  if (s.Step()) a = ReadAccount(s);
  s.Run();
  return a;
}

bool Database::CreateAccount(const std::string& account, const std::string& email, const std::string& hash,
                             std::int64_t now) {
  try {
    Prepare("INSERT INTO accounts(account, email, password_hash, created, last_mail) VALUES (?, ?, ?, ?, ?)")
        .Use(account, email, hash, now, now)
        .Run();
    return true;
  } catch (const Statement::ConstraintError&) {
    return false;
  }
}

void Database::SetPassword(const std::string& account, const std::string& hash) {
  Prepare("UPDATE accounts SET password_hash = ? WHERE account = ?").Use(hash, account).Run();
}

void Database::SetEmail(const std::string& account, const std::string& email) {
  Prepare("UPDATE accounts SET email = ? WHERE account = ?").Use(email, account).Run();
}

void Database::SetLastMail(const std::string& account, std::int64_t when) {
  Prepare("UPDATE accounts SET last_mail = ? WHERE account = ?").Use(when, account).Run();
}

void Database::UndoSignUp(const std::string& account, const std::string& signUpHash,
                          const std::optional<Account>& before) {
  if (before) {
    Prepare("UPDATE accounts SET password_hash = ? WHERE account = ? AND password_hash = ?")
        .Use(before->passwordHash, account, signUpHash)
        .Run();
  } else {
    Prepare("DELETE FROM accounts WHERE account = ? AND password_hash = ?").Use(account, signUpHash).Run();
  }
}

bool Database::SetNickname(const std::string& account, const std::string& nickname) {
  try {
    Prepare("UPDATE accounts SET nickname = ? WHERE account = ?").Use(nickname, account).Run();
    return true;
  } catch (const Statement::ConstraintError&) {
    return false;
  }
}

bool Database::NicknameTaken(const std::string& nickname) {
  auto& s = Prepare("SELECT 1 FROM accounts WHERE nickname = ?");
  s.Use(nickname);
  bool taken = s.Step();
  s.Run();
  return taken;
}

bool Database::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void Database::AddExp(const std::vector<std::pair<std::string, int>>& gains) {
  if (gains.empty()) return;
  Transaction t(*this);
  for (const auto& [account, gain] : gains)
    Prepare("UPDATE accounts SET exp = exp + ? WHERE account = ?").Use(gain, account).Run();
  t.Commit();
}

Season Database::CurrentSeason(std::int64_t now) {
  auto& s = Prepare("SELECT id, started FROM seasons WHERE finished IS NULL ORDER BY id DESC LIMIT 1");
  s.Use();
  Season season;
  if (s.Step()) {
    season = {s.Int(0), s.Int(1)};
    s.Run();
    return season;
  }
  s.Run();
  Prepare("INSERT INTO seasons(started) VALUES (?)").Use(now).Run();
  return {sqlite3_last_insert_rowid(db_), now};
}

Season Database::EndSeason(const Season& season, std::int64_t now) {
  Transaction t(*this);
  {
    Prepare(
        "INSERT INTO champions(season, account, nickname, finish_date, profit, turnover, total_win, total_loss, peak, valley)"
        " SELECT s.season, s.account, coalesce(a.nickname, ''), ?, s.profit, s.turnover, s.total_win, s.total_loss,"
        " s.peak, s.valley FROM scores s JOIN accounts a ON a.account = s.account WHERE s.season = ?"
        " ORDER BY s.profit DESC, s.turnover DESC LIMIT 1")
        .Use(now, season.id)
        .Run();
    Prepare("UPDATE seasons SET finished = ? WHERE id = ?").Use(now, season.id).Run();
    Prepare("INSERT INTO seasons(started) VALUES (?)").Use(now).Run();
    Season next{sqlite3_last_insert_rowid(db_), now};
    t.Commit();
    return next;
  }
}

void Database::ApplySettlements(std::int64_t season, const std::vector<Settlement>& settlements) {
  if (settlements.empty()) return;
  Transaction t(*this);
  {
    for (const auto& s : settlements) {
      double win = s.net > 0 ? s.net : 0, loss = s.net < 0 ? -s.net : 0;
      Prepare(
          "INSERT INTO scores(season, account, profit, turnover, total_win, total_loss, peak, valley)"
          " VALUES (?1, ?2, ?3, ?4, ?5, ?6, max(?3, 0), min(?3, 0))"
          " ON CONFLICT(season, account) DO UPDATE SET profit = profit + ?3, turnover = turnover + ?4,"
          " total_win = total_win + ?5, total_loss = total_loss + ?6,"
          " peak = max(peak, profit + ?3), valley = min(valley, profit + ?3)")
          .Use(season, s.account, s.net, s.stake, win, loss)
          .Run();
    }
    t.Commit();
  }
}

static ScoreRow ReadScore(Statement& s) {
  ScoreRow r;
  r.account = s.Text(0);
  r.nickname = s.Text(1);
  r.profit = s.Real(2);
  r.turnover = s.Real(3);
  r.totalWin = s.Real(4);
  r.totalLoss = s.Real(5);
  r.peak = s.Real(6);
  r.valley = s.Real(7);
  return r;
}

std::optional<ScoreRow> Database::Score(std::int64_t season, const std::string& account) {
  auto& s = Prepare(
      "SELECT s.account, coalesce(a.nickname, ''), profit, turnover, total_win, total_loss, peak, valley"
      " FROM scores s JOIN accounts a ON a.account = s.account WHERE season = ? AND s.account = ?");
  s.Use(season, account);
  std::optional<ScoreRow> r;
  if (s.Step()) r = ReadScore(s);
  s.Run();
  return r;
}

std::vector<ScoreRow> Database::Billboard(std::int64_t season, int limit) {
  auto& s = Prepare(
      "SELECT s.account, coalesce(a.nickname, ''), profit, turnover, total_win, total_loss, peak, valley"
      " FROM scores s JOIN accounts a ON a.account = s.account WHERE season = ?"
      " ORDER BY profit DESC, turnover DESC, s.account LIMIT ?");
  s.Use(season, limit);
  std::vector<ScoreRow> rows;
  while (s.Step()) rows.push_back(ReadScore(s));
  return rows;
}

std::vector<ScoreRow> Database::Champions(int limit) {
  auto& s = Prepare(
      "SELECT account, nickname, profit, turnover, total_win, total_loss, peak, valley, finish_date"
      " FROM champions ORDER BY season DESC LIMIT ?");
  s.Use(limit);
  std::vector<ScoreRow> rows;
  while (s.Step()) {
    rows.push_back(ReadScore(s));
    rows.back().finishDate = s.Int(8);
  }
  return rows;
}

std::vector<std::pair<std::string, std::int64_t>> Database::Levelboard(int limit) {
  auto& s = Prepare(
      "SELECT nickname, exp FROM accounts WHERE nickname IS NOT NULL ORDER BY exp DESC, account LIMIT ?");
  s.Use(limit);
  std::vector<std::pair<std::string, std::int64_t>> rows;
  while (s.Step()) rows.emplace_back(s.Text(0), s.Int(1));
  return rows;
}

std::int64_t Database::AddShared(const std::string& account, const std::string& kind, const SharedItem& item) {
  Prepare("INSERT INTO shared_items(account, kind, uploaded, name, info, content) VALUES (?, ?, ?, ?, ?, ?)")
      .Use(account, kind, item.uploaded, item.name, item.info, item.content)
      .Run();
  return sqlite3_last_insert_rowid(db_);
}

std::vector<SharedItem> Database::ListShared(const std::string& account, const std::string& kind, int limit) {
  auto& s = Prepare(
      "SELECT id, uploaded, name, info FROM shared_items WHERE account = ? AND kind = ? ORDER BY id DESC LIMIT ?");
  s.Use(account, kind, limit);
  std::vector<SharedItem> items;
  while (s.Step()) items.push_back({s.Int(0), s.Int(1), s.Text(2), s.Text(3), {}});
  return items;
}

std::optional<SharedItem> Database::GetShared(const std::string& account, const std::string& kind, std::int64_t id) {
  auto& s = Prepare(
      "SELECT id, uploaded, name, info, content FROM shared_items WHERE account = ? AND kind = ? AND id = ?");
  s.Use(account, kind, id);
  std::optional<SharedItem> item;
  if (s.Step()) item = SharedItem{s.Int(0), s.Int(1), s.Text(2), s.Text(3), s.Text(4)};
  s.Run();
  return item;
}

std::int64_t Database::CountShared(const std::string& account, const std::string& kind) {
  auto& s = Prepare("SELECT count(*) FROM shared_items WHERE account = ? AND kind = ?");
  s.Use(account, kind);
  std::int64_t n = s.Step() ? s.Int(0) : 0;
  s.Run();
  return n;
}

void Database::TrimShared(const std::string& account, const std::string& kind, int keep) {
  Prepare("DELETE FROM shared_items WHERE account = ?1 AND kind = ?2 AND id NOT IN "
          "(SELECT id FROM shared_items WHERE account = ?1 AND kind = ?2 ORDER BY id DESC LIMIT ?3)")
      .Use(account, kind, std::max(0, keep))
      .Run();
}

std::int64_t Database::CountArticles(const std::string& account) {
  auto& s = Prepare("SELECT count(*) FROM articles WHERE account = ?");
  s.Use(account);
  std::int64_t n = s.Step() ? s.Int(0) : 0;
  s.Run();
  return n;
}

std::int64_t Database::AddArticle(const std::string& account, const Article& a) {
  Prepare("INSERT INTO articles(account, nickname, uploaded, title, body) VALUES (?, ?, ?, ?, ?)")
      .Use(account, a.nickname, a.uploaded, a.title, a.body)
      .Run();
  return sqlite3_last_insert_rowid(db_);
}

std::vector<Article> Database::ListArticles(int limit) {
  auto& s = Prepare("SELECT id, uploaded, nickname, title FROM articles ORDER BY id DESC LIMIT ?");
  s.Use(limit);
  std::vector<Article> rows;
  while (s.Step()) rows.push_back({s.Int(0), s.Int(1), s.Text(2), s.Text(3), {}});
  return rows;
}

std::optional<Article> Database::GetArticle(std::int64_t id) {
  auto& s = Prepare("SELECT id, uploaded, nickname, title, body FROM articles WHERE id = ?");
  s.Use(id);
  std::optional<Article> a;
  if (s.Step()) a = Article{s.Int(0), s.Int(1), s.Text(2), s.Text(3), s.Text(4)};
  s.Run();
  return a;
}

}  // namespace zavuv::server
