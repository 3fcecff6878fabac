#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "posting.h"

struct sqlite3;
struct sqlite3_stmt;

struct ScoreEntry {
  std::string name;
  std::string date;
  int score = 0;
};

// What the high-score page shows: the best postings, best first, and how many were ever posted.
struct Standings {
  std::vector<ScoreEntry> best;
  int64_t games_posted = 0;
};

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The posted scores, in one SQLite file (WAL journal, full sync: a posting that was answered
// survives a crash or power loss). Safe to use from several threads; postings that arrive while
// another is being written are committed together, so that they share one sync to disk.
class ScoreDatabase {
 public:
  explicit ScoreDatabase(const std::filesystem::path& file);
  ~ScoreDatabase();
  ScoreDatabase(const ScoreDatabase&) = delete;
  ScoreDatabase& operator=(const ScoreDatabase&) = delete;

  // Stores one posting and returns once it is committed. Throws DatabaseError if it was not.
  void add(const Posting& posting, std::string_view client_address, int64_t received_unix_time);

  // The best `limit` scores (ties: the earlier posting first) and the number of postings,
  // read in one transaction so that the two agree.
  Standings standings(int limit);

 private:
  struct Row {
    const Posting* posting;
    std::string_view client_address;
    int64_t received_unix_time;
  };
  struct Batch {
    std::vector<Row> rows;
    bool done = false;
    std::exception_ptr error;
  };

  void write_rows(const std::vector<Row>& rows);
  void rollback();
  void close();
  sqlite3_stmt* prepare(const char* sql);
  void run(sqlite3_stmt* statement);
  [[noreturn]] void fail(const char* what);

  // The batch that postings join while a write is in progress.
  std::mutex batch_mutex_;
  std::condition_variable batch_written_;
  std::shared_ptr<Batch> open_batch_;
  bool writing_ = false;

  std::mutex db_mutex_;  // the connection and its statements
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* best_ = nullptr;
  sqlite3_stmt* count_ = nullptr;
  sqlite3_stmt* begin_read_ = nullptr;
  sqlite3_stmt* begin_write_ = nullptr;
  sqlite3_stmt* commit_ = nullptr;
  sqlite3_stmt* rollback_ = nullptr;
};
