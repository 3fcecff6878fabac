#pragma once

#include <filesystem>
#include <mutex>

#include "groupcommit.h"
#include "scorestore.h"

struct sqlite3;
struct sqlite3_stmt;

// The posted scores in one SQLite file (WAL journal, full sync: a posting that was answered
// survives a crash or power loss), for one server on one machine. The schema's version is the
// file's user_version.
class SqliteStore : public ScoreStore {
 public:
  explicit SqliteStore(const std::filesystem::path& file);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  void add(const Posting& posting, std::string_view client_address, int64_t received_unix_time) override;
  Standings standings(int limit) override;
  // Only this process writes the file, and it drops its page itself after each posting.
  void follow_changes(std::function<void()>) override {}
  void read_all(const std::function<void(const StoredScore&)>& each) override;
  void add_all(const std::vector<StoredScore>& rows) override;
  int64_t count() override;
  void check() override;
  std::string ticket_key() override;
  std::optional<std::string> dealt_rolls(std::string_view ticket) override;
  bool deal_roll(std::string_view ticket, const std::optional<std::string>& from, std::string_view to) override;

 private:
  void upgrade_schema(const std::filesystem::path& file);
  void write_rows(const std::vector<PostingRow>& rows);
  void write_moves(const std::vector<RollMove>& moves);
  // Stores one row; a row whose ticket is spent already is stored without it, unverified.
  void insert(const StoredScore& row);
  bool insert_once(const StoredScore& row);
  void read_scores(int limit, bool verified, std::vector<ScoreEntry>& into);
  void count_posted(int64_t rows);
  // Ends the transaction left open by a failure with `ending` (a ROLLBACK, or a read's COMMIT).
  void end_failed_transaction(sqlite3_stmt* ending);
  bool bind_text(sqlite3_stmt* statement, int at, std::string_view text);
  void close();
  sqlite3_stmt* prepare(sqlite3* db, const char* sql);
  void run(sqlite3_stmt* statement);
  void exec(const char* sql);
  [[noreturn]] void fail(const char* what, sqlite3* db);

  GroupCommit<PostingRow> group_commit_;
  GroupCommit<RollMove> roll_commit_;
  std::mutex db_mutex_;  // the connection and its statements
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* count_ = nullptr;
  sqlite3_stmt* add_posted_ = nullptr;
  sqlite3_stmt* make_key_ = nullptr;
  sqlite3_stmt* key_ = nullptr;
  sqlite3_stmt* check_ = nullptr;
  sqlite3_stmt* dealt_ = nullptr;
  sqlite3_stmt* deal_first_ = nullptr;
  sqlite3_stmt* deal_next_ = nullptr;
  sqlite3_stmt* all_ = nullptr;
  sqlite3_stmt* begin_read_ = nullptr;
  sqlite3_stmt* begin_write_ = nullptr;
  sqlite3_stmt* commit_ = nullptr;
  sqlite3_stmt* rollback_ = nullptr;
  std::mutex page_db_mutex_;  // the page's own connection and its statements
  sqlite3* page_db_ = nullptr;
  sqlite3_stmt* best_ = nullptr;
  sqlite3_stmt* posted_ = nullptr;
  sqlite3_stmt* page_begin_ = nullptr;
  sqlite3_stmt* page_end_ = nullptr;
};
