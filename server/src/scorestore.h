#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "posting.h"

struct ScoreEntry {
  std::string name;
  std::string date;
  int score = 0;
};

// What the high-score page shows: the best verified postings and, apart, the best unverified ones,
// best first, and how many were ever posted.
struct Standings {
  std::vector<ScoreEntry> best;
  std::vector<ScoreEntry> unverified;
  int64_t games_posted = 0;
};

// One stored posting as a whole, as the copy between stores moves it.
struct StoredScore {
  std::string name;
  std::string date;
  int score = 0;
  int64_t received_unix_time = 0;
  std::string client_address;
  std::string game;    // the played game's record, or empty
  std::string ticket;  // the seed ticket that verified it; empty for an unverified score
};

// A posting on its way into a store's group commit.
struct PostingRow {
  const Posting* posting;
  std::string_view client_address;
  int64_t received_unix_time;
};

// A move of a ticket's dealt history on its way into a store's group commit (ScoreStore::deal_roll),
// with where its outcome goes.
struct RollMove {
  std::string_view ticket;
  const std::optional<std::string>* from;
  std::string_view to;
  bool* moved;
};

// A posting as the row that stores it, verified by its ticket if it has one.
StoredScore stored_score(const Posting& posting, std::string_view client_address, int64_t received_unix_time);

// A store that cannot do what was asked: a wrong address, a schema from a newer server.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The store cannot be reached or written just now; nothing was stored, and a later try may work.
class StoreUnavailable : public StoreError {
 public:
  using StoreError::StoreError;
};

// Where the posted scores live. Every store keeps the same rows, ranks them the same way and
// commits each posting before add() returns. Safe to use from several threads.
class ScoreStore {
 public:
  // 2: each score keeps its game's record, and whether (by which ticket) it was verified.
  // 3: the ranking's index holds each score's name and date, so that the page reads it alone.
  // 4: the rolls dealt for each ticket's game.
  static constexpr int kSchemaVersion = 4;

  virtual ~ScoreStore() = default;

  // Stores one posting and returns once it is committed. A posting with a ticket is stored verified
  // unless a stored score has spent that ticket already; then it is stored unverified.
  virtual void add(const Posting& posting, std::string_view client_address, int64_t received_unix_time) = 0;

  // The best `limit` verified scores and the best `limit` unverified ones (ties: the earlier
  // posting first) and the number of postings, read together so that they agree.
  virtual Standings standings(int limit) = 0;

  // Calls `changed` (on a thread of the store's) whenever the scores may have changed in a way
  // that this process did not make itself: a posting through another server sharing the store,
  // or a lost connection after which changes may have been missed.
  virtual void follow_changes(std::function<void()> changed) = 0;

  // Every stored posting in the order it was stored; and many postings stored in one transaction.
  virtual void read_all(const std::function<void(const StoredScore&)>& each) = 0;
  virtual void add_all(const std::vector<StoredScore>& rows) = 0;
  virtual int64_t count() = 0;
  // Returns when the store answers a query just now; throws StoreUnavailable when it does not.
  virtual void check() = 0;

  // The key that seals the seed tickets (SeedTickets), made by the first server to ask and kept in
  // the store, so that every server sharing the store checks the others' tickets.
  virtual std::string ticket_key() = 0;

  // The rolls dealt for a ticket's game so far, as its record's roll text up to (not including) the
  // roll dealt last; nothing when no roll was dealt for it, or a stored score has spent the ticket.
  virtual std::optional<std::string> dealt_rolls(std::string_view ticket) = 0;
  // Moves a ticket's history from `from` (nothing: before its first roll) to `to`, committed before
  // it returns, unless the history is no longer `from` or the ticket is spent. True when it moved.
  virtual bool deal_roll(std::string_view ticket, const std::optional<std::string>& from, std::string_view to) = 0;
};

// Opens the store at `address`: a file path or sqlite:PATH (SQLite), or a postgresql:// or
// postgres:// address (PostgreSQL). Creates or upgrades its schema. Throws StoreError with a
// message fit for the administrator when it cannot.
std::unique_ptr<ScoreStore> open_score_store(const std::string& address);

// Copies every posting from one store into another that holds none, in one transaction, and
// checks the counts. Returns the number copied; throws StoreError when anything differs.
int64_t copy_scores(ScoreStore& from, ScoreStore& to);
