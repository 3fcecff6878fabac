#include "scoredatabase.h"

#include <sqlite3.h>

#include <iostream>

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Clears a statement for its next use however the current use ends.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
  ~StatementUse()
  {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  sqlite3_stmt* statement_;
};

std::string column_text(sqlite3_stmt* statement, int column)
{
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

}  // namespace

ScoreDatabase::ScoreDatabase(const std::filesystem::path& file)
{
  const int opened = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (opened != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw DatabaseError("cannot open " + file.string() + ": " + message);
  }
  try {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);

    sqlite3_stmt* journal = prepare("PRAGMA journal_mode=WAL");
    {
      StatementUse use(journal);
      const bool wal = sqlite3_step(journal) == SQLITE_ROW && column_text(journal, 0) == "wal";
      if (!wal) std::cerr << "velnor-server: " << file.string() << " cannot use a WAL journal; going on without\n";
    }
    sqlite3_finalize(journal);
    for (const char* sql : {"PRAGMA synchronous=FULL",
                            "CREATE TABLE IF NOT EXISTS scores ("
                            " id INTEGER PRIMARY KEY,"
                            " name TEXT NOT NULL,"
                            " date TEXT NOT NULL,"
                            " score INTEGER NOT NULL,"
                            " received INTEGER NOT NULL,"  // seconds since 1970, UTC
                            " client TEXT NOT NULL)",
                            "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, id)"}) {
      sqlite3_stmt* statement = prepare(sql);
      try {
        run(statement);
      } catch (...) {
        sqlite3_finalize(statement);
        throw;
      }
      sqlite3_finalize(statement);
    }

    insert_ = prepare("INSERT INTO scores (name, date, score, received, client) VALUES (?1, ?2, ?3, ?4, ?5)");
    best_ = prepare("SELECT name, date, score FROM scores ORDER BY score DESC, id LIMIT ?1");
    count_ = prepare("SELECT count(*) FROM scores");
    begin_read_ = prepare("BEGIN");
    begin_write_ = prepare("BEGIN IMMEDIATE");
    commit_ = prepare("COMMIT");
    rollback_ = prepare("ROLLBACK");
  } catch (...) {
    close();
    throw;
  }
}

ScoreDatabase::~ScoreDatabase()
{
  close();
}

void ScoreDatabase::close()
{
  for (sqlite3_stmt** statement : {&insert_, &best_, &count_, &begin_read_, &begin_write_, &commit_, &rollback_}) {
    sqlite3_finalize(*statement);
    *statement = nullptr;
  }
  // Closing the last connection checkpoints the WAL into the database file.
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

sqlite3_stmt* ScoreDatabase::prepare(const char* sql)
{
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) fail("prepare");
  return statement;
}

void ScoreDatabase::run(sqlite3_stmt* statement)
{
  StatementUse use(statement);
  int step = sqlite3_step(statement);
  while (step == SQLITE_ROW) step = sqlite3_step(statement);
  if (step != SQLITE_DONE) fail("step");
}

void ScoreDatabase::fail(const char* what)
{
  throw DatabaseError(std::string("score database ") + what + ": " + sqlite3_errmsg(db_));
}

void ScoreDatabase::add(const Posting& posting, std::string_view client_address, int64_t received_unix_time)
{
  std::unique_lock lock(batch_mutex_);
  if (!open_batch_) open_batch_ = std::make_shared<Batch>();
  const std::shared_ptr<Batch> batch = open_batch_;
  batch->rows.push_back({&posting, client_address, received_unix_time});
  // Whoever finds no write in progress writes the open batch with every row that has joined it;
  // the others wait for their batch. The rows point into the waiting callers, who outlive the write.
  while (!batch->done) {
    if (writing_) {
      batch_written_.wait(lock);
      continue;
    }
    writing_ = true;
    open_batch_.reset();
    lock.unlock();
    try {
      write_rows(batch->rows);
    } catch (...) {
      batch->error = std::current_exception();
    }
    lock.lock();
    batch->done = true;
    writing_ = false;
    batch_written_.notify_all();
  }
  if (batch->error) std::rethrow_exception(batch->error);
}

void ScoreDatabase::write_rows(const std::vector<Row>& rows)
{
  std::lock_guard lock(db_mutex_);
  run(begin_write_);
  try {
    for (const Row& row : rows) {
      StatementUse use(insert_);
      const Posting& posting = *row.posting;
      if (sqlite3_bind_text(insert_, 1, posting.name.data(), static_cast<int>(posting.name.size()), SQLITE_TRANSIENT) != SQLITE_OK ||
          sqlite3_bind_text(insert_, 2, posting.date.data(), static_cast<int>(posting.date.size()), SQLITE_TRANSIENT) != SQLITE_OK ||
          sqlite3_bind_int(insert_, 3, posting.score) != SQLITE_OK ||
          sqlite3_bind_int64(insert_, 4, row.received_unix_time) != SQLITE_OK ||
          sqlite3_bind_text(insert_, 5, row.client_address.data(), static_cast<int>(row.client_address.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail("bind");
      if (sqlite3_step(insert_) != SQLITE_DONE) fail("insert");
    }
    // With a full sync, COMMIT returns once the rows are on disk.
    run(commit_);
  } catch (...) {
    rollback();
    throw;
  }
}

void ScoreDatabase::rollback()
{
  if (sqlite3_get_autocommit(db_)) return;
  StatementUse use(rollback_);
  sqlite3_step(rollback_);
}

Standings ScoreDatabase::standings(int limit)
{
  std::lock_guard lock(db_mutex_);
  run(begin_read_);
  try {
    Standings result;
    {
      StatementUse use(best_);
      if (sqlite3_bind_int(best_, 1, limit) != SQLITE_OK) fail("bind");
      int step;
      while ((step = sqlite3_step(best_)) == SQLITE_ROW)
        result.best.push_back({column_text(best_, 0), column_text(best_, 1), sqlite3_column_int(best_, 2)});
      if (step != SQLITE_DONE) fail("read");
    }
    {
      StatementUse use(count_);
      if (sqlite3_step(count_) != SQLITE_ROW) fail("count");
      result.games_posted = sqlite3_column_int64(count_, 0);
    }
    run(commit_);
    return result;
  } catch (...) {
    rollback();
    throw;
  }
}
