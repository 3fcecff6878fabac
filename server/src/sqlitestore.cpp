#include "sqlitestore.h"

#include <sqlite3.h>

#include <iostream>

#include "seedtickets.h"

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Clears a statement for its next use however the current use ends.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
  ~StatementUse() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  sqlite3_stmt* statement_;
};

// One connection to the file; throws with the reason when it cannot be opened.
sqlite3* open_connection(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  const int opened =
      sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (opened != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(opened);
    sqlite3_close_v2(db);
    throw StoreError("cannot open " + file.string() + ": " + message);
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  return db;
}

std::string column_text(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

}  // namespace

SqliteStore::SqliteStore(const std::filesystem::path& file)
    : group_commit_([this](const std::vector<PostingRow>& rows) { write_rows(rows); }),
      roll_commit_([this](const std::vector<RollMove>& moves) { write_moves(moves); }),
      db_(open_connection(file)) {
  try {
    sqlite3_stmt* journal = prepare(db_, "PRAGMA journal_mode=WAL");
    {
      StatementUse use(journal);
      const bool wal = sqlite3_step(journal) == SQLITE_ROW && column_text(journal, 0) == "wal";
      if (!wal) std::cerr << "velnor-server: " << file.string() << " cannot use a WAL journal; going on without\n";
    }
    sqlite3_finalize(journal);
    exec("PRAGMA synchronous=FULL");
    // A posting writes into the ranking's index at the end of its score's run, one place for each
    // score there is: 16 MiB keeps all of them in memory however many scores the file holds.
    exec("PRAGMA cache_size=-16384");
    upgrade_schema(file);

    insert_ = prepare(db_,
                      "INSERT INTO scores (name, date, score, received, client, game, ticket, verified)"
                      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?7 IS NOT NULL) ON CONFLICT DO NOTHING");
    count_ = prepare(db_, "SELECT count(*) FROM scores");
    add_posted_ = prepare(db_, "UPDATE velnor_counts SET games = games + ?1");
    all_ = prepare(db_, "SELECT name, date, score, received, client, game, ticket FROM scores ORDER BY id");
    make_key_ = prepare(db_, "INSERT OR IGNORE INTO velnor_keys (name, value) VALUES ('tickets', ?1)");
    key_ = prepare(db_, "SELECT value FROM velnor_keys WHERE name = 'tickets'");
    check_ = prepare(db_, "SELECT count(*) FROM velnor_keys");
    deal_first_ = prepare(db_,
                          "INSERT INTO dealt_games (ticket, rolls) SELECT ?1, ?3"
                          " WHERE NOT EXISTS (SELECT 1 FROM scores WHERE ticket = ?1) ON CONFLICT DO NOTHING");
    deal_next_ = prepare(db_,
                         "UPDATE dealt_games SET rolls = ?3 WHERE ticket = ?1 AND rolls = ?2"
                         " AND NOT EXISTS (SELECT 1 FROM scores WHERE ticket = ?1)");
    begin_read_ = prepare(db_, "BEGIN");
    begin_write_ = prepare(db_, "BEGIN IMMEDIATE");
    commit_ = prepare(db_, "COMMIT");
    rollback_ = prepare(db_, "ROLLBACK");

    // The page reads on a connection of its own: in the WAL journal a reader never waits for a
    // writer, so a page is never held up behind a batch of postings and its sync to disk.
    page_db_ = open_connection(file);
    best_ =
        prepare(page_db_, "SELECT name, date, score FROM scores WHERE verified = ?2 ORDER BY score DESC, id LIMIT ?1");
    posted_ = prepare(page_db_, "SELECT coalesce(sum(games), 0) FROM velnor_counts");
    page_begin_ = prepare(page_db_, "BEGIN");
    page_end_ = prepare(page_db_, "COMMIT");
    // Read on the page's connection, so that a roll's history is never read behind a write's sync.
    dealt_ = prepare(page_db_,
                     "SELECT rolls FROM dealt_games WHERE ticket = ?1"
                     " AND NOT EXISTS (SELECT 1 FROM scores WHERE ticket = ?1)");
  } catch (const StoreError& e) {
    close();
    throw StoreError(file.string() + ": " + e.what());
  }
}

SqliteStore::~SqliteStore() { close(); }

// Version 1 is the table the first server made (without a version number), so its files upgrade
// in place; version 2 adds each score's game record and verification; version 3 puts the names in
// the ranking's index; version 4 keeps the rolls dealt. A file from a newer server is left alone.
void SqliteStore::upgrade_schema(const std::filesystem::path& file) {
  exec("BEGIN IMMEDIATE");
  try {
    sqlite3_stmt* version_query = prepare(db_, "PRAGMA user_version");
    int version = -1;
    {
      StatementUse use(version_query);
      if (sqlite3_step(version_query) == SQLITE_ROW) version = sqlite3_column_int(version_query, 0);
    }
    sqlite3_finalize(version_query);
    if (version > kSchemaVersion)
      throw StoreError("the store's schema is version " + std::to_string(version) + ", newer than this server's " +
                       std::to_string(kSchemaVersion) + "; " + file.string() + " was left unchanged");
    if (version < 1) {
      exec(
          "CREATE TABLE IF NOT EXISTS scores ("
          " id INTEGER PRIMARY KEY,"
          " name TEXT NOT NULL,"
          " date TEXT NOT NULL,"
          " score INTEGER NOT NULL,"
          " received INTEGER NOT NULL,"  // seconds since 1970, UTC
          " client TEXT NOT NULL)");
      exec("CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, id)");
    }
    if (version < 2) {
      // Scores stored before are unverified: nothing came with them to replay.
      exec("ALTER TABLE scores ADD COLUMN game TEXT NOT NULL DEFAULT ''");
      exec("ALTER TABLE scores ADD COLUMN ticket TEXT");  // NULL: unverified
      exec("ALTER TABLE scores ADD COLUMN verified INTEGER NOT NULL DEFAULT 0");
      exec("CREATE UNIQUE INDEX scores_by_ticket ON scores (ticket)");
      exec("DROP INDEX IF EXISTS scores_by_rank");
      exec("CREATE INDEX scores_by_standing ON scores (verified, score DESC, id)");
      exec("CREATE TABLE velnor_keys (name TEXT PRIMARY KEY, value TEXT NOT NULL)");
      // The number of postings, kept in step by each posting's transaction, so that the page never
      // counts the scores; counted once here.
      exec("CREATE TABLE velnor_counts (shard INTEGER PRIMARY KEY, games INTEGER NOT NULL)");
      exec("INSERT INTO velnor_counts (shard, games) SELECT 0, count(*) FROM scores");
      exec("PRAGMA user_version = 2");
    }
    if (version < 3) {
      // The page's ranking reads names and dates from the index itself and never visits the
      // table, so that a page costs the same however many scores are kept.
      exec("DROP INDEX scores_by_standing");
      exec("CREATE INDEX scores_by_standing_named ON scores (verified, score DESC, id, name, date)");
      exec("PRAGMA user_version = 3");
    }
    if (version < 4) {
      // Each ticket's game as far as its rolls were dealt.
      exec("CREATE TABLE dealt_games (ticket TEXT PRIMARY KEY, rolls TEXT NOT NULL) WITHOUT ROWID");
      exec("PRAGMA user_version = 4");
    }
    exec("COMMIT");
  } catch (...) {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void SqliteStore::close() {
  for (sqlite3_stmt** statement :
       {&insert_, &best_, &count_, &posted_, &add_posted_, &make_key_, &key_, &check_, &dealt_, &deal_first_,
        &deal_next_, &all_, &begin_read_, &begin_write_, &commit_, &rollback_, &page_begin_, &page_end_}) {
    sqlite3_finalize(*statement);
    *statement = nullptr;
  }
  // Closing the last connection checkpoints the WAL into the database file.
  sqlite3_close_v2(page_db_);
  page_db_ = nullptr;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

sqlite3_stmt* SqliteStore::prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) fail("prepare", db);
  return statement;
}

void SqliteStore::exec(const char* sql) {
  sqlite3_stmt* statement = prepare(db_, sql);
  try {
    run(statement);
  } catch (...) {
    sqlite3_finalize(statement);
    throw;
  }
  sqlite3_finalize(statement);
}

void SqliteStore::run(sqlite3_stmt* statement) {
  StatementUse use(statement);
  int step = sqlite3_step(statement);
  while (step == SQLITE_ROW) step = sqlite3_step(statement);
  if (step != SQLITE_DONE) fail("step", sqlite3_db_handle(statement));
}

// Any failure of a working file (full disk, a lock held too long, a read error) may pass.
void SqliteStore::fail(const char* what, sqlite3* db) {
  throw StoreUnavailable(std::string("score store ") + what + ": " + sqlite3_errmsg(db));
}

void SqliteStore::add(const Posting& posting, std::string_view client_address, int64_t received_unix_time) {
  group_commit_.add({&posting, client_address, received_unix_time});
}

bool SqliteStore::bind_text(sqlite3_stmt* statement, int at, std::string_view text) {
  return sqlite3_bind_text(statement, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqliteStore::insert_once(const StoredScore& row) {
  StatementUse use(insert_);
  if (!bind_text(insert_, 1, row.name) || !bind_text(insert_, 2, row.date) ||
      sqlite3_bind_int(insert_, 3, row.score) != SQLITE_OK ||
      sqlite3_bind_int64(insert_, 4, row.received_unix_time) != SQLITE_OK ||
      !bind_text(insert_, 5, row.client_address) || !bind_text(insert_, 6, row.game) ||
      (!row.ticket.empty() && !bind_text(insert_, 7, row.ticket)))
    fail("bind", db_);
  if (sqlite3_step(insert_) != SQLITE_DONE) fail("insert", db_);
  return sqlite3_changes(db_) == 1;
}

void SqliteStore::insert(const StoredScore& row) {
  if (insert_once(row)) return;
  // The ticket was spent by a score stored before: this one stands unverified.
  StoredScore unverified = row;
  unverified.ticket.clear();
  if (!insert_once(unverified)) fail("insert", db_);
}

void SqliteStore::write_rows(const std::vector<PostingRow>& rows) {
  std::lock_guard lock(db_mutex_);
  run(begin_write_);
  try {
    for (const PostingRow& row : rows) insert(stored_score(*row.posting, row.client_address, row.received_unix_time));
    count_posted(static_cast<int64_t>(rows.size()));
    // With a full sync, COMMIT returns once the rows are on disk.
    run(commit_);
  } catch (...) {
    end_failed_transaction(rollback_);
    throw;
  }
}

void SqliteStore::add_all(const std::vector<StoredScore>& rows) {
  std::lock_guard lock(db_mutex_);
  run(begin_write_);
  try {
    for (const StoredScore& row : rows) insert(row);
    count_posted(static_cast<int64_t>(rows.size()));
    run(commit_);
  } catch (...) {
    end_failed_transaction(rollback_);
    throw;
  }
}

void SqliteStore::count_posted(int64_t rows) {
  StatementUse use(add_posted_);
  if (sqlite3_bind_int64(add_posted_, 1, rows) != SQLITE_OK) fail("bind", db_);
  if (sqlite3_step(add_posted_) != SQLITE_DONE) fail("count", db_);
}

void SqliteStore::end_failed_transaction(sqlite3_stmt* ending) {
  if (sqlite3_get_autocommit(sqlite3_db_handle(ending))) return;
  StatementUse use(ending);
  sqlite3_step(ending);
}

void SqliteStore::read_scores(int limit, bool verified, std::vector<ScoreEntry>& into) {
  StatementUse use(best_);
  if (sqlite3_bind_int(best_, 1, limit) != SQLITE_OK || sqlite3_bind_int(best_, 2, verified ? 1 : 0) != SQLITE_OK)
    fail("bind", page_db_);
  int step;
  while ((step = sqlite3_step(best_)) == SQLITE_ROW)
    into.push_back({column_text(best_, 0), column_text(best_, 1), sqlite3_column_int(best_, 2)});
  if (step != SQLITE_DONE) fail("read", page_db_);
}

Standings SqliteStore::standings(int limit) {
  std::lock_guard lock(page_db_mutex_);
  run(page_begin_);
  try {
    Standings result;
    read_scores(limit, true, result.best);
    read_scores(limit, false, result.unverified);
    {
      StatementUse use(posted_);
      if (sqlite3_step(posted_) != SQLITE_ROW) fail("count", page_db_);
      result.games_posted = sqlite3_column_int64(posted_, 0);
    }
    run(page_end_);
    return result;
  } catch (...) {
    // A read has nothing to undo; ending it lets the next page see newer rows.
    end_failed_transaction(page_end_);
    throw;
  }
}

void SqliteStore::read_all(const std::function<void(const StoredScore&)>& each) {
  std::lock_guard lock(db_mutex_);
  run(begin_read_);
  try {
    StatementUse use(all_);
    int step;
    while ((step = sqlite3_step(all_)) == SQLITE_ROW)
      each({column_text(all_, 0), column_text(all_, 1), sqlite3_column_int(all_, 2), sqlite3_column_int64(all_, 3),
            column_text(all_, 4), column_text(all_, 5), column_text(all_, 6)});
    if (step != SQLITE_DONE) fail("read", db_);
    run(commit_);
  } catch (...) {
    end_failed_transaction(rollback_);
    throw;
  }
}

int64_t SqliteStore::count() {
  std::lock_guard lock(db_mutex_);
  StatementUse use(count_);
  if (sqlite3_step(count_) != SQLITE_ROW) fail("count", db_);
  return sqlite3_column_int64(count_, 0);
}

std::string SqliteStore::ticket_key() {
  std::lock_guard lock(db_mutex_);
  const std::string made = new_ticket_key();
  {
    StatementUse use(make_key_);
    if (sqlite3_bind_text(make_key_, 1, made.data(), static_cast<int>(made.size()), SQLITE_TRANSIENT) != SQLITE_OK)
      fail("bind", db_);
    if (sqlite3_step(make_key_) != SQLITE_DONE) fail("key", db_);
  }
  StatementUse use(key_);
  if (sqlite3_step(key_) != SQLITE_ROW) fail("key", db_);
  return column_text(key_, 0);
}

void SqliteStore::check() {
  std::lock_guard lock(db_mutex_);
  StatementUse use(check_);
  if (sqlite3_step(check_) != SQLITE_ROW) fail("check", db_);
}

std::optional<std::string> SqliteStore::dealt_rolls(std::string_view ticket) {
  std::lock_guard lock(page_db_mutex_);
  StatementUse use(dealt_);
  if (!bind_text(dealt_, 1, ticket)) fail("bind", page_db_);
  const int step = sqlite3_step(dealt_);
  if (step == SQLITE_DONE) return std::nullopt;
  if (step != SQLITE_ROW) fail("read", page_db_);
  return column_text(dealt_, 0);
}

bool SqliteStore::deal_roll(std::string_view ticket, const std::optional<std::string>& from, std::string_view to) {
  bool moved = false;
  roll_commit_.add({ticket, &from, to, &moved});
  return moved;
}

// Each move is one statement, so that the check of its history and the move are one step, in
// the order they came; the batch shares one transaction and one sync.
void SqliteStore::write_moves(const std::vector<RollMove>& moves) {
  std::lock_guard lock(db_mutex_);
  run(begin_write_);
  try {
    for (const RollMove& move : moves) {
      sqlite3_stmt* statement = *move.from ? deal_next_ : deal_first_;
      StatementUse use(statement);
      if (!bind_text(statement, 1, move.ticket) || (*move.from && !bind_text(statement, 2, **move.from)) ||
          !bind_text(statement, 3, move.to))
        fail("bind", db_);
      if (sqlite3_step(statement) != SQLITE_DONE) fail("deal", db_);
      *move.moved = sqlite3_changes(db_) == 1;
    }
    run(commit_);
  } catch (...) {
    end_failed_transaction(rollback_);
    throw;
  }
}
