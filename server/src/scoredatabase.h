#pragma once

#include <cstdint>
#include <filesystem>
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
// survives a crash or power loss). Safe to use from several threads.
class ScoreDatabase {
 public:
  explicit ScoreDatabase(const std::filesystem::path& file);
  ~ScoreDatabase();
  ScoreDatabase(const ScoreDatabase&) = delete;
  ScoreDatabase& operator=(const ScoreDatabase&) = delete;

  // Stores one posting and returns once it is committed.
  void add(const Posting& posting, std::string_view client_address, int64_t received_unix_time);

  // The best `limit` scores (ties: the earlier posting first) and the number of postings,
  // read in one transaction so that the two agree.
  Standings standings(int limit);

 private:
  void close();
  sqlite3_stmt* prepare(const char* sql);
  void run(sqlite3_stmt* statement);
  [[noreturn]] void fail(const char* what);

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* best_ = nullptr;
  sqlite3_stmt* count_ = nullptr;
  sqlite3_stmt* begin_ = nullptr;
  sqlite3_stmt* commit_ = nullptr;
  sqlite3_stmt* rollback_ = nullptr;
};
