// The two score stores, SQLite and PostgreSQL, held to the same behaviour by the same tests.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include "pgcluster.h"
#include "pgstore.h"
#include "scorestore.h"
#include "serverprocess.h"

namespace {

Posting posting(std::string name, std::string date, int score) {
  return Posting{std::move(name), std::move(date), score, {}, {}};
}

// A posting whose record verified it with this ticket.
Posting verified(std::string name, int score, std::string ticket) {
  return Posting{std::move(name), "1/1/27", score, "record of " + ticket, std::move(ticket)};
}

StoredScore stored(const Posting& posting) { return stored_score(posting, "::1", 1'800'000'001); }

class StoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    address_ = GetParam() == "sqlite" ? "sqlite:" + (folder_.path() / "scores.db").string()
                                      : shared_pg_cluster().create_database();
  }

  // The store's own view of its schema's version, set from outside as a newer server would.
  void set_schema_version(int version) const {
    if (GetParam() == "sqlite") {
      sqlite3* db = nullptr;
      ASSERT_EQ(sqlite3_open((folder_.path() / "scores.db").c_str(), &db), SQLITE_OK);
      ASSERT_EQ(sqlite3_exec(db, ("PRAGMA user_version=" + std::to_string(version)).c_str(), nullptr, nullptr, nullptr),
                SQLITE_OK);
      sqlite3_close(db);
    } else {
      PgCluster::query(address_, "UPDATE velnor_schema SET version = " + std::to_string(version));
    }
  }

  TempFolder folder_;
  std::string address_;
};

TEST_P(StoreTest, PostingsAreKeptRankedAndCountedAcrossReopening) {
  {
    const auto store = open_score_store(address_);
    EXPECT_EQ(store->standings(100).games_posted, 0);
    const Posting postings[] = {posting("Ann", "1/5/27", 412), posting("Bö Ĝ", "1/6/27", 650),
                                posting("", "1/7/27", 412), posting("'); DROP", "x", 0), posting("\"\\{,}", "NULL", 1)};
    for (const Posting& p : postings) store->add(p, "10.0.0.1", 1'800'000'000);
    // A ticket verifies one score only: spent before, or twice in one batch, the later stands unverified.
    store->add(verified("Vera", 300, "T1"), "::1", 1'800'000'001);
    store->add_all(
        {stored(verified("Again", 640, "T1")), stored(verified("Vic", 200, "T2")), stored(verified("Val", 500, "T2"))});
  }
  const auto store = open_score_store(address_);
  const Standings standings = store->standings(3);
  EXPECT_EQ(standings.games_posted, 9);
  ASSERT_EQ(standings.best.size(), 2u);
  EXPECT_EQ(standings.best[0].name, "Vera");
  EXPECT_EQ(standings.best[1].name, "Vic");
  ASSERT_EQ(standings.unverified.size(), 3u);
  EXPECT_EQ(standings.unverified[0].name, "Bö Ĝ");
  EXPECT_EQ(standings.unverified[1].name, "Again");
  EXPECT_EQ(standings.unverified[2].name, "Val");
  const Standings unverified = store->standings(6);
  ASSERT_EQ(unverified.unverified.size(), 6u);
  EXPECT_EQ(unverified.unverified[3].name, "Ann") << "equal scores: the earlier posting first";
  EXPECT_EQ(unverified.unverified[4].name, "");
  EXPECT_EQ(unverified.unverified[4].date, "1/7/27");

  std::vector<StoredScore> rows;
  store->read_all([&](const StoredScore& row) { rows.push_back(row); });
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[5].ticket, "T1");
  EXPECT_EQ(rows[5].game, "record of T1");
  EXPECT_EQ(rows[0].ticket, "");
  EXPECT_EQ(rows[3].name, "'); DROP");
  EXPECT_EQ(rows[4].name, "\"\\{,}");
  EXPECT_EQ(rows[4].date, "NULL");
  EXPECT_EQ(rows[3].client_address, "10.0.0.1");
  EXPECT_EQ(rows[3].received_unix_time, 1'800'000'000);
}

TEST_P(StoreTest, ConcurrentPostingsAreEachCommittedOnce) {
  const auto store = open_score_store(address_);
  constexpr int kThreads = 8;
  constexpr int kEach = 40;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) store->add(posting("t" + std::to_string(t), std::to_string(i), i), "::1", 1);
    });
  for (auto& thread : threads) thread.join();
  std::set<std::pair<std::string, std::string>> seen;
  store->read_all(
      [&](const StoredScore& row) { EXPECT_TRUE(seen.emplace(row.name, row.date).second) << row.name << row.date; });
  EXPECT_EQ(seen.size(), size_t{kThreads * kEach});
  EXPECT_EQ(store->standings(1).games_posted, kThreads * kEach);
}

// A ticket's history moves only from where it stands, and a spent ticket's not at all; a reopened
// store still knows it.
TEST_P(StoreTest, DealtRollsMoveOnlyFromTheHistoryKept) {
  {
    const auto store = open_score_store(address_);
    EXPECT_EQ(store->dealt_rolls("T"), std::nullopt);
    EXPECT_TRUE(store->deal_roll("T", std::nullopt, ""));
    EXPECT_FALSE(store->deal_roll("T", std::nullopt, "")) << "the first roll is dealt once";
    EXPECT_TRUE(store->deal_roll("T", "", "Ab"));
    EXPECT_FALSE(store->deal_roll("T", "", "Ac")) << "from a history no longer kept";
    EXPECT_EQ(store->dealt_rolls("T"), "Ab");
  }
  const auto store = open_score_store(address_);
  EXPECT_EQ(store->dealt_rolls("T"), "Ab");
  store->add(verified("Spent", 300, "T"), "::1", 1);
  EXPECT_EQ(store->dealt_rolls("T"), std::nullopt);
  EXPECT_FALSE(store->deal_roll("T", "Ab", "AbAA"));
}

TEST_P(StoreTest, ASchemaFromANewerServerIsLeftAlone) {
  open_score_store(address_)->add(posting("Kept", "1", 5), "::1", 1);
  set_schema_version(ScoreStore::kSchemaVersion + 1);
  try {
    open_score_store(address_);
    FAIL() << "a newer schema was accepted";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("newer than this server"), std::string::npos) << e.what();
  }
  set_schema_version(ScoreStore::kSchemaVersion);
  EXPECT_EQ(open_score_store(address_)->count(), 1);
}

INSTANTIATE_TEST_SUITE_P(BothStores, StoreTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

TEST(SqliteStore, AFileFromTheFirstServerIsUpgradedInPlace) {
  TempFolder folder;
  const auto file = folder.path() / "scores.db";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(db,
                   "CREATE TABLE scores (id INTEGER PRIMARY KEY, name TEXT NOT NULL, date TEXT NOT NULL,"
                   " score INTEGER NOT NULL, received INTEGER NOT NULL, client TEXT NOT NULL);"
                   "INSERT INTO scores (name, date, score, received, client) VALUES ('Old', '1/1/26', 300, 5, '::1');",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);

  // Its scores are kept, unverified: nothing came with them to replay.
  const auto store = open_score_store(file.string());
  const Standings standings = store->standings(10);
  EXPECT_TRUE(standings.best.empty());
  ASSERT_EQ(standings.unverified.size(), 1u);
  EXPECT_EQ(standings.unverified[0].name, "Old");
  EXPECT_EQ(standings.games_posted, 1) << "the postings of before are counted once, at the upgrade";
  store->add(verified("New", 301, "T"), "::1", 6);
  EXPECT_EQ(store->standings(10).best[0].name, "New");
  EXPECT_EQ(store->standings(10).games_posted, 2);
}

TEST(StoreAddresses, UnknownOrUnreachableStoresFailClearly) {
  EXPECT_THROW(open_score_store("mysql://somewhere/scores"), StoreError);
  EXPECT_THROW(open_score_store("sqlite:"), StoreError);
  TempFolder folder;
  try {
    open_score_store("postgresql://velnor@/scores?host=" + folder.path().string());
    FAIL() << "no cluster listens there";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot reach PostgreSQL"), std::string::npos) << e.what();
  }
}

TEST(PgStore, ALostDatabaseIsUnavailableAndComesBackByItself) {
  PgCluster& cluster = shared_pg_cluster();
  const auto store = open_score_store(cluster.create_database());
  std::atomic<int> changes = 0;
  store->follow_changes([&] { ++changes; });
  store->add(posting("Before", "1", 1), "::1", 1);

  cluster.stop();
  changes = 0;
  EXPECT_THROW(store->add(posting("During", "1", 2), "::1", 1), StoreUnavailable);
  EXPECT_THROW(store->standings(10), StoreUnavailable);
  cluster.start();

  // Back within a few tries of the retry interval, with nothing half-written.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool stored = false;
  while (!stored && std::chrono::steady_clock::now() < deadline) {
    try {
      store->add(posting("After", "1", 3), "::1", 1);
      stored = true;
    } catch (const StoreUnavailable&) {
      std::this_thread::sleep_for(PgStore::kRetryInterval);
    }
  }
  ASSERT_TRUE(stored);
  // The follower hears of changes again once the database is back.
  while (changes == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(PgStore::kRetryInterval);
  EXPECT_GT(changes, 0);
  const Standings standings = store->standings(10);
  EXPECT_EQ(standings.games_posted, 2);
  ASSERT_FALSE(standings.unverified.empty());
  EXPECT_EQ(standings.unverified[0].name, "After");
}

}  // namespace
