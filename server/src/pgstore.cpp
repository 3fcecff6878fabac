#include "pgstore.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "seedtickets.h"

namespace {

constexpr char kChannel[] = "velnor_scores";
// Rows of the postings' count; two servers that pick the same one only share it.
constexpr unsigned kCountShards = 1024;
constexpr std::chrono::milliseconds kListenSlice(200);
// Taken while a server creates or upgrades the schema, so that servers starting together take turns.
constexpr char kSchemaLock[] = "SELECT pg_advisory_xact_lock(7215400)";

struct Statement {
  const char* name;
  const char* sql;
};
constexpr std::array kStatements = {
    Statement{"begin", "BEGIN"},
    Statement{"begin_read", "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"},
    Statement{"commit", "COMMIT"},
    Statement{"rollback", "ROLLBACK"},
    // A whole batch in one statement, one round trip: each parameter is an array of one column.
    // A row whose ticket another score has spent is left out; the tickets stored come back.
    Statement{"insert",
              "INSERT INTO scores (name, date, score, received, client, game, ticket, verified)"
              " SELECT n, d, s, r, c, g, t, t IS NOT NULL"
              " FROM unnest($1::text[], $2::text[], $3::integer[], $4::bigint[], $5::text[], $6::text[], $7::text[])"
              " AS u (n, d, s, r, c, g, t)"
              " ON CONFLICT DO NOTHING RETURNING ticket"},
    Statement{"notify", "SELECT pg_notify('velnor_scores', '')"},
    Statement{"best", "SELECT name, date, score FROM scores WHERE verified = $2 ORDER BY score DESC, id LIMIT $1"},
    Statement{"count", "SELECT count(*) FROM scores"},
    Statement{"posted", "SELECT coalesce(sum(games), 0) FROM velnor_counts"},
    // Each server adds to a shard of its own, so that servers sharing the store do not queue for one row.
    Statement{"add_posted",
              "INSERT INTO velnor_counts (shard, games) VALUES ($1, $2)"
              " ON CONFLICT (shard) DO UPDATE SET games = velnor_counts.games + excluded.games"},
    Statement{"all", "SELECT name, date, score, received, client, game, coalesce(ticket, '') FROM scores ORDER BY id"},
    Statement{"make_key", "INSERT INTO velnor_keys (name, value) VALUES ('tickets', $1) ON CONFLICT DO NOTHING"},
    Statement{"key", "SELECT value FROM velnor_keys WHERE name = 'tickets'"},
    Statement{"check", "SELECT 1"},
    Statement{"dealt",
              "SELECT rolls FROM dealt_games WHERE ticket = $1"
              " AND NOT EXISTS (SELECT 1 FROM scores WHERE ticket = $1)"},
    // Under READ COMMITTED, an update that waited for another's commit checks the history again on
    // the row as committed: of requests racing from one history, one moves it.
    Statement{"deal_first",
              "INSERT INTO dealt_games (ticket, rolls) SELECT $1, $2"
              " WHERE NOT EXISTS (SELECT 1 FROM scores WHERE ticket = $1) ON CONFLICT DO NOTHING"},
    Statement{"deal_next",
              "UPDATE dealt_games SET rolls = $3 WHERE ticket = $1 AND rolls = $2"
              " AND NOT EXISTS (SELECT 1 FROM scores WHERE ticket = $1)"},
};

class Result {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  ~Result() { PQclear(result_); }
  Result(Result&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  PGresult* get() const { return result_; }
  bool ok() const {
    const auto status = PQresultStatus(result_);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
  }
  std::string text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column), static_cast<size_t>(PQgetlength(result_, row, column)));
  }
  int64_t number(int row, int column) const { return std::strtoll(PQgetvalue(result_, row, column), nullptr, 10); }

 private:
  PGresult* result_;
};

pg_conn* connect(const std::string& address) {
  // The address's own settings come last and win over these defaults.
  const char* keys[] = {"connect_timeout", "application_name", "dbname", nullptr};
  const char* values[] = {"3", "velnor-server", address.c_str(), nullptr};
  pg_conn* conn = PQconnectdbParams(keys, values, 1);
  // The server's notices (a table that already exists, a connection ended by its administrator)
  // would be printed as they come; what matters reaches the log through the errors instead.
  if (conn)
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
  return conn;
}

std::string message_of(pg_conn* conn) {
  std::string message = conn ? PQerrorMessage(conn) : "out of memory";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return message;
}

// A statement failed because its connection did, not because of what it asked: unless the
// statement was a COMMIT, nothing its transaction did was kept, and the work may run again on a
// new connection.
class ConnectionLost : public StoreUnavailable {
 public:
  using StoreUnavailable::StoreUnavailable;
};

// Whether a statement's failure is its connection's own. libpq may still call a connection whose
// server went away good after the first statement that finds it gone; its own failures carry no
// SQLSTATE, while every failure that the server reports does.
bool connection_failed(pg_conn* conn, const PGresult* failure) {
  if (PQstatus(conn) != CONNECTION_OK || !failure) return true;
  const char* state = PQresultErrorField(failure, PG_DIAG_SQLSTATE);
  if (!state) return true;
  const std::string_view code(state);
  // Class 08: connection exceptions; 57P01-57P03: the server shutting down, crashed or starting.
  return code.starts_with("08") || code == "57P01" || code == "57P02" || code == "57P03";
}

// Runs a prepared statement with text parameters; throws StoreUnavailable when it fails, and
// ConnectionLost when the connection failed under it.
Result run(PgStore::Connection& connection, const char* name, std::initializer_list<std::string_view> parameters = {}) {
  pg_conn* conn = connection.get();
  std::vector<std::string> copies(parameters.begin(), parameters.end());
  std::vector<const char*> values;
  for (const auto& copy : copies) values.push_back(copy.c_str());
  Result result(PQexecPrepared(conn, name, static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0));
  if (!result.ok()) {
    const std::string message = "score store: " + std::string(name) + ": " + message_of(conn);
    if (connection.drop_if_lost(result.get())) throw ConnectionLost(message);
    throw StoreUnavailable(message);
  }
  return result;
}

// The columns of many rows as PostgreSQL array literals, one for each parameter of "insert".
class Columns {
 public:
  void add(const StoredScore& row) {
    add_text(name_, row.name);
    add_text(date_, row.date);
    add_number(score_, row.score);
    add_number(received_, row.received_unix_time);
    add_text(client_, row.client_address);
    add_text(game_, row.game);
    if (row.ticket.empty())
      add_null(ticket_);
    else
      add_text(ticket_, row.ticket);
  }
  Result insert_into(PgStore::Connection& connection) const {
    return run(connection, "insert",
               {name_ + '}', date_ + '}', score_ + '}', received_ + '}', client_ + '}', game_ + '}', ticket_ + '}'});
  }

 private:
  static void add_text(std::string& array, std::string_view text) {
    array += array.size() > 1 ? ",\"" : "\"";
    for (const char c : text) {
      if (c == '"' || c == '\\') array += '\\';
      array += c;
    }
    array += '"';
  }
  static void add_null(std::string& array) { array += array.size() > 1 ? ",NULL" : "NULL"; }
  static void add_number(std::string& array, int64_t number) {
    if (array.size() > 1) array += ',';
    array += std::to_string(number);
  }

  std::string name_ = "{", date_ = "{", score_ = "{", received_ = "{", client_ = "{", game_ = "{", ticket_ = "{";
};

// Runs `work` inside one transaction on `connection`, whose mutex the caller holds.
template <typename Work>
void in_transaction(PgStore::Connection& connection, const char* begin, Work work) {
  run(connection, begin);
  work();
  try {
    run(connection, "commit");
  } catch (const ConnectionLost& lost) {
    // The database may have committed before the connection went: the transaction must not run
    // again, or its rows could be stored twice.
    throw StoreUnavailable(lost.what());
  }
}

// Runs `work`; when the connection it uses is found lost (the database restarted since its last
// use), runs it once more, on a new connection. Only for work that changes nothing unless it
// completes, or changes the same however often it runs: a transaction is never run again once its
// COMMIT was sent (in_transaction).
template <typename Work>
auto once_more_if_lost(Work work) {
  try {
    return work();
  } catch (const ConnectionLost&) {
    return work();
  }
}

}  // namespace

PgStore::Connection::~Connection() { PQfinish(conn_); }

// Only a failed attempt waits out the retry interval: a connection that worked and was lost since
// is opened again at once.
pg_conn* PgStore::Connection::get() {
  if (conn_ && PQstatus(conn_) == CONNECTION_OK) return conn_;
  PQfinish(conn_);
  conn_ = nullptr;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_try_) throw StoreUnavailable("score store: cannot reach PostgreSQL just now");
  const auto fail = [&](const std::string& what) {
    const std::string message = what + ": " + message_of(conn_);
    PQfinish(conn_);
    conn_ = nullptr;
    next_try_ = now + kRetryInterval;
    throw StoreUnavailable(message);
  };
  conn_ = connect(address_);
  if (PQstatus(conn_) != CONNECTION_OK) fail("cannot reach PostgreSQL");
  for (const Statement& statement : kStatements) {
    Result prepared(PQprepare(conn_, statement.name, statement.sql, 0, nullptr));
    if (!prepared.ok()) fail("score store: preparing " + std::string(statement.name));
  }
  return conn_;
}

bool PgStore::Connection::drop_if_lost(const PGresult* failure) {
  if (connection_failed(conn_, failure)) {
    PQfinish(conn_);
    conn_ = nullptr;
    return true;
  }
  // A failed statement leaves its transaction unusable; end it so the connection serves again.
  if (PQtransactionStatus(conn_) != PQTRANS_IDLE) {
    Result ended(PQexecPrepared(conn_, "rollback", 0, nullptr, nullptr, nullptr, 0));
    if (!ended.ok()) {
      PQfinish(conn_);
      conn_ = nullptr;
    }
  }
  return false;
}

PgStore::PgStore(std::string address)
    : address_(std::move(address)),
      shard_(static_cast<int>(std::random_device()() % kCountShards)),
      writer_(address_),
      reader_(address_),
      dealer_(address_),
      group_commit_([this](const std::vector<PostingRow>& rows) { write_rows(rows); }),
      roll_commit_([this](const std::vector<RollMove>& moves) { write_moves(moves); }) {
  upgrade_schema();
  try {
    std::scoped_lock lock(writer_.mutex(), reader_.mutex(), dealer_.mutex());
    writer_.get();
    reader_.get();
    dealer_.get();
  } catch (const StoreUnavailable& e) {
    throw StoreError(e.what());
  }
}

PgStore::~PgStore() {
  stopping_ = true;
  if (listener_.joinable()) listener_.join();
}

// Version 1: the scores table as SQLite keeps it, with an index in page order; version 2 adds each
// score's game record and verification; version 3 puts the names in the ranking's index; version 4
// keeps the rolls dealt. The
// version lives in a table of its own; a database from a newer server is left alone.
void PgStore::upgrade_schema() {
  pg_conn* conn = connect(address_);
  const auto fail = [&](const std::string& what) {
    const std::string message = what + ": " + message_of(conn);
    PQfinish(conn);
    throw StoreError(message);
  };
  if (PQstatus(conn) != CONNECTION_OK) fail("cannot reach PostgreSQL");
  const auto exec = [&](const char* sql) {
    Result result(PQexecParams(conn, sql, 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (!result.ok()) fail(std::string("creating the schema (") + sql + ")");
    // The first value of a query's answer, -1 when there is none.
    return PQntuples(result.get()) > 0 && !PQgetisnull(result.get(), 0, 0) ? result.number(0, 0) : int64_t{-1};
  };
  exec("BEGIN");
  exec(kSchemaLock);
  exec("CREATE TABLE IF NOT EXISTS velnor_schema (version integer NOT NULL)");
  const int64_t version = exec("SELECT max(version) FROM velnor_schema");
  if (version > kSchemaVersion) {
    PQfinish(conn);
    throw StoreError("the store's schema is version " + std::to_string(version) + ", newer than this server's " +
                     std::to_string(kSchemaVersion) + "; it was left unchanged");
  }
  if (version < 1) {
    exec(
        "CREATE TABLE IF NOT EXISTS scores ("
        " id bigserial PRIMARY KEY,"
        " name text NOT NULL,"
        " date text NOT NULL,"
        " score integer NOT NULL,"
        " received bigint NOT NULL,"  // seconds since 1970, UTC
        " client text NOT NULL)");
    exec("CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, id)");
    exec("INSERT INTO velnor_schema (version) VALUES (1)");
  }
  if (version < 2) {
    // Scores stored before are unverified: nothing came with them to replay.
    exec("ALTER TABLE scores ADD COLUMN game text NOT NULL DEFAULT ''");
    exec("ALTER TABLE scores ADD COLUMN ticket text");  // NULL: unverified
    exec("ALTER TABLE scores ADD COLUMN verified boolean NOT NULL DEFAULT false");
    exec("CREATE UNIQUE INDEX scores_by_ticket ON scores (ticket)");
    exec("DROP INDEX IF EXISTS scores_by_rank");
    exec("CREATE INDEX scores_by_standing ON scores (verified, score DESC, id)");
    exec("CREATE TABLE velnor_keys (name text PRIMARY KEY, value text NOT NULL)");
    // The number of postings, kept in step by each posting's transaction, so that the page never
    // counts the scores; counted once here.
    exec("CREATE TABLE velnor_counts (shard integer PRIMARY KEY, games bigint NOT NULL)");
    exec("INSERT INTO velnor_counts (shard, games) SELECT 0, count(*) FROM scores");
    exec("INSERT INTO velnor_schema (version) VALUES (2)");
  }
  if (version < 3) {
    // The page's ranking can be read from the index alone.
    exec("DROP INDEX scores_by_standing");
    exec("CREATE INDEX scores_by_standing_named ON scores (verified, score DESC, id) INCLUDE (name, date)");
    exec("INSERT INTO velnor_schema (version) VALUES (3)");
  }
  if (version < 4) {
    // Each ticket's game as far as its rolls were dealt.
    exec("CREATE TABLE dealt_games (ticket text PRIMARY KEY, rolls text NOT NULL)");
    exec("INSERT INTO velnor_schema (version) VALUES (4)");
  }
  exec("COMMIT");
  PQfinish(conn);
}

void PgStore::insert(const std::vector<StoredScore>& rows) {
  Columns columns;
  for (const StoredScore& row : rows) columns.add(row);
  const Result stored = columns.insert_into(writer_);
  // Each ticket that came back was stored once; the other rows with a ticket go in without it.
  std::multiset<std::string> spent;
  for (int row = 0; row < PQntuples(stored.get()); ++row)
    if (!PQgetisnull(stored.get(), row, 0)) spent.insert(stored.text(row, 0));
  std::vector<StoredScore> unverified;
  for (const StoredScore& row : rows) {
    if (row.ticket.empty()) continue;
    if (const auto found = spent.find(row.ticket); found != spent.end()) {
      spent.erase(found);
    } else {
      unverified.push_back(row);
      unverified.back().ticket.clear();
    }
  }
  if (!unverified.empty()) insert(unverified);
}

void PgStore::count_posted(size_t rows) { run(writer_, "add_posted", {std::to_string(shard_), std::to_string(rows)}); }

void PgStore::write_rows(const std::vector<PostingRow>& rows) {
  std::lock_guard lock(writer_.mutex());
  std::vector<StoredScore> stored;
  stored.reserve(rows.size());
  for (const PostingRow& row : rows)
    stored.push_back(stored_score(*row.posting, row.client_address, row.received_unix_time));
  // Other servers learn of the rows when the transaction commits, not before.
  once_more_if_lost([&] {
    in_transaction(writer_, "begin", [&] {
      insert(stored);
      count_posted(stored.size());
      run(writer_, "notify");
    });
  });
}

void PgStore::add(const Posting& posting, std::string_view client_address, int64_t received_unix_time) {
  group_commit_.add({&posting, client_address, received_unix_time});
}

void PgStore::add_all(const std::vector<StoredScore>& rows) {
  std::lock_guard lock(writer_.mutex());
  constexpr size_t kRowsAStatement = 1000;
  once_more_if_lost([&] {
    in_transaction(writer_, "begin", [&] {
      for (size_t first = 0; first < rows.size(); first += kRowsAStatement)
        insert({rows.begin() + static_cast<std::ptrdiff_t>(first),
                rows.begin() + static_cast<std::ptrdiff_t>(std::min(rows.size(), first + kRowsAStatement))});
      count_posted(rows.size());
      run(writer_, "notify");
    });
  });
}

Standings PgStore::standings(int limit) {
  std::lock_guard lock(reader_.mutex());
  return once_more_if_lost([&] {
    Standings standings;
    in_transaction(reader_, "begin_read", [&] {
      for (const bool verified : {true, false}) {
        const Result best = run(reader_, "best", {std::to_string(limit), verified ? "true" : "false"});
        auto& into = verified ? standings.best : standings.unverified;
        for (int row = 0; row < PQntuples(best.get()); ++row)
          into.push_back({best.text(row, 0), best.text(row, 1), static_cast<int>(best.number(row, 2))});
      }
      standings.games_posted = run(reader_, "posted").number(0, 0);
    });
    return standings;
  });
}

// Not tried again when the connection is lost: the rows handed out already would be handed out twice.
void PgStore::read_all(const std::function<void(const StoredScore&)>& each) {
  std::lock_guard lock(reader_.mutex());
  in_transaction(reader_, "begin_read", [&] {
    const Result all = run(reader_, "all");
    for (int row = 0; row < PQntuples(all.get()); ++row)
      each({all.text(row, 0), all.text(row, 1), static_cast<int>(all.number(row, 2)), all.number(row, 3),
            all.text(row, 4), all.text(row, 5), all.text(row, 6)});
  });
}

std::string PgStore::ticket_key() {
  std::lock_guard lock(writer_.mutex());
  return once_more_if_lost([&] {
    run(writer_, "make_key", {new_ticket_key()});
    return run(writer_, "key").text(0, 0);
  });
}

std::optional<std::string> PgStore::dealt_rolls(std::string_view ticket) {
  std::lock_guard lock(reader_.mutex());
  return once_more_if_lost([&]() -> std::optional<std::string> {
    const Result dealt = run(reader_, "dealt", {ticket});
    if (PQntuples(dealt.get()) == 0) return std::nullopt;
    return dealt.text(0, 0);
  });
}

bool PgStore::deal_roll(std::string_view ticket, const std::optional<std::string>& from, std::string_view to) {
  bool moved = false;
  roll_commit_.add({ticket, &from, to, &moved});
  return moved;
}

// A batch shares one transaction and one sync. Its rows are taken in the tickets' order, so that
// two servers' batches lock the same tickets in the same order and never wait for each other in
// a ring. A batch that committed just before its connection was lost is refused when tried
// again; each caller then reads the history again and sees its own move.
void PgStore::write_moves(const std::vector<RollMove>& moves) {
  std::vector<const RollMove*> ordered;
  for (const RollMove& move : moves) ordered.push_back(&move);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const RollMove* a, const RollMove* b) { return a->ticket < b->ticket; });
  std::lock_guard lock(dealer_.mutex());
  once_more_if_lost([&] {
    in_transaction(dealer_, "begin", [&] {
      for (const RollMove* move : ordered) {
        const Result moved = *move->from ? run(dealer_, "deal_next", {move->ticket, **move->from, move->to})
                                         : run(dealer_, "deal_first", {move->ticket, move->to});
        *move->moved = std::string_view(PQcmdTuples(moved.get())) == "1";
      }
    });
  });
}

void PgStore::check() {
  std::lock_guard lock(reader_.mutex());
  once_more_if_lost([&] { run(reader_, "check"); });
}

int64_t PgStore::count() {
  std::lock_guard lock(reader_.mutex());
  return once_more_if_lost([&] { return run(reader_, "count").number(0, 0); });
}

// The page follows other servers' postings by PostgreSQL's LISTEN/NOTIFY: each posting's
// transaction notifies at its commit, and every server listening drops its page at once. A change
// counter polled by each server would also work, but would query the database several times a
// second whether or not anything changed, and would see a change only at its next poll. When the
// listening connection is lost, notifications may be missed, so the page is dropped again once it
// is back.
void PgStore::follow_changes(std::function<void()> changed) {
  changed_ = std::move(changed);
  // The first connection listens before this returns, so that no page rendered afterwards can miss a change.
  pg_conn* first = listen();
  listener_ = std::thread([this, first] { listen_loop(first); });
}

pg_conn* PgStore::listen() {
  pg_conn* conn = connect(address_);
  if (PQstatus(conn) == CONNECTION_OK) {
    Result listening(PQexecParams(conn, "LISTEN velnor_scores", 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (listening.ok()) return conn;
  }
  PQfinish(conn);
  return nullptr;
}

void PgStore::listen_loop(pg_conn* conn) {
  while (!stopping_) {
    while (conn && !stopping_ && PQstatus(conn) == CONNECTION_OK) {
      pollfd entry{PQsocket(conn), POLLIN, 0};
      if (::poll(&entry, 1, static_cast<int>(kListenSlice.count())) < 0 && errno != EINTR) break;
      if (!PQconsumeInput(conn)) break;
      bool notified = false;
      while (PGnotify* notice = PQnotifies(conn)) {
        notified = notified || std::string_view(notice->relname) == kChannel;
        PQfreemem(notice);
      }
      if (notified) changed_();
    }
    PQfinish(conn);
    conn = nullptr;
    // Tries again every retry interval, in slices so that a stop is noticed. Changes may have been
    // missed while away, so the page is dropped once listening again.
    while (!conn && !stopping_) {
      for (auto waited = std::chrono::milliseconds(0); waited < kRetryInterval && !stopping_;
           waited += kListenSlice / 4)
        std::this_thread::sleep_for(kListenSlice / 4);
      if (!stopping_ && (conn = listen())) changed_();
    }
  }
  PQfinish(conn);
}
