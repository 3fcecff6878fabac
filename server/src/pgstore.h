#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "groupcommit.h"
#include "scorestore.h"

struct pg_conn;
struct pg_result;

// The posted scores in PostgreSQL, shared by any number of servers. Postings go through one
// connection (committed together as they arrive), pages are read through another, and a third
// listens for other servers' postings. A connection found lost when it is used (the database
// restarted since) is opened again at once and the work tried once more on it, so that a restart
// that is over goes unseen; while the database cannot be reached it is tried again at most every
// kRetryInterval, and meanwhile every use fails with StoreUnavailable.
class PgStore : public ScoreStore {
 public:
  static constexpr std::chrono::milliseconds kRetryInterval{250};

  // Connects, and creates or upgrades the schema; throws StoreError when either fails.
  explicit PgStore(std::string address);
  ~PgStore() override;
  PgStore(const PgStore&) = delete;
  PgStore& operator=(const PgStore&) = delete;

  void add(const Posting& posting, std::string_view client_address, int64_t received_unix_time) override;
  Standings standings(int limit) override;
  void follow_changes(std::function<void()> changed) override;
  void read_all(const std::function<void(const StoredScore&)>& each) override;
  void add_all(const std::vector<StoredScore>& rows) override;
  int64_t count() override;
  void check() override;
  std::string ticket_key() override;
  std::optional<std::string> dealt_rolls(std::string_view ticket) override;
  bool deal_roll(std::string_view ticket, const std::optional<std::string>& from, std::string_view to) override;

  // One connection with its prepared statements, reopened after a loss.
  class Connection {
   public:
    explicit Connection(const std::string& address) : address_(address) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The open connection, opened (and its statements prepared) when it was lost.
    pg_conn* get();
    // After a failed statement: drops the connection and returns true when the connection itself
    // failed (lost, or ended by the database); else keeps it serving.
    bool drop_if_lost(const pg_result* failure);
    std::mutex& mutex() { return mutex_; }

   private:
    std::string address_;
    std::mutex mutex_;
    pg_conn* conn_ = nullptr;
    std::chrono::steady_clock::time_point next_try_{};
  };

 private:
  void upgrade_schema();
  void write_rows(const std::vector<PostingRow>& rows);
  void write_moves(const std::vector<RollMove>& moves);
  // Stores rows in the transaction open on the writer; a row whose ticket is spent already is
  // stored without it, unverified.
  void insert(const std::vector<StoredScore>& rows);
  // Adds to the number of postings, in the same transaction.
  void count_posted(size_t rows);
  // A connection listening for postings, or null when none could be made.
  pg_conn* listen();
  void listen_loop(pg_conn* conn);

  const std::string address_;
  const int shard_;  // this server's row of the postings' count
  Connection writer_;
  Connection reader_;
  Connection dealer_;  // the rolls, apart from the postings' batches and the pages
  GroupCommit<PostingRow> group_commit_;
  GroupCommit<RollMove> roll_commit_;
  std::function<void()> changed_;
  std::atomic<bool> stopping_{false};
  std::thread listener_;
};
