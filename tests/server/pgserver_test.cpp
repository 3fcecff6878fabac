// Several velnor-server processes on one PostgreSQL database, spoken to over loopback.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "pgcluster.h"
#include "playedgames.h"
#include "serverprocess.h"

namespace {

class SharedStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!cluster_.running()) cluster_.start();
    database_ = cluster_.create_database();
  }

  std::unique_ptr<ServerProcess> start_server(const TempFolder& folder, std::vector<std::string> more = {}) const {
    // The clients are many, all from one loopback address.
    std::vector<std::string> arguments{"--database", database_, "--post-limit", "0", "--max-per-address", "1000"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return std::make_unique<ServerProcess>(folder.path(), arguments);
  }

  static int get(int port, const std::string& target, std::string* body = nullptr) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    const auto result = client.Get(target);
    if (!result) return -1;
    if (body) *body = result->body;
    return result->status;
  }

  static std::string page(int port) {
    std::string body;
    EXPECT_EQ(get(port, "/counter/velnorsolo.shtml", &body), 200);
    return body;
  }

  // How often each (name, date) pair is stored.
  std::map<std::string, int> stored() const {
    std::map<std::string, int> rows;
    const std::string all = PgCluster::query(database_, "SELECT string_agg(name || '/' || date, ' ') FROM scores");
    std::istringstream words(all);
    for (std::string word; words >> word;) ++rows[word];
    return rows;
  }

  PgCluster& cluster_ = shared_pg_cluster();
  std::string database_;
  TempFolder folder_a_;
  TempFolder folder_b_;
};

TEST_F(SharedStoreTest, TwoServersShowOneListToManyClients) {
  const auto a = start_server(folder_a_);
  const auto b = start_server(folder_b_);
  EXPECT_EQ(games_posted(page(a->port())), 0);
  EXPECT_EQ(games_posted(page(b->port())), 0);

  // Each server's page is cached; a posting through the other must still show within a second.
  ASSERT_EQ(get(a->port(), "/cgi-bin/velnorsolo.cgi?name=First&date=1&score=650"), 200);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::string seen;
  while ((seen = page(b->port())).find("First") == std::string::npos && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_NE(seen.find("<td><bdi>First</bdi></td>"), std::string::npos);

  constexpr int kClients = 200;
  constexpr int kPostingsEach = 3;
  std::atomic<int> answered_ok = 0;
  std::vector<std::string> accepted[kClients];
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c)
    clients.emplace_back([&, c] {
      const int port = c % 2 ? a->port() : b->port();
      for (int i = 0; i < kPostingsEach; ++i) {
        const std::string name = "c" + std::to_string(c);
        if (get(port, "/cgi-bin/velnorsolo.cgi?name=" + name + "&date=" + std::to_string(i) +
                          "&score=" + std::to_string(c)) == 200) {
          accepted[c].push_back(name + "/" + std::to_string(i));
          ++answered_ok;
        }
      }
    });
  for (auto& client : clients) client.join();
  EXPECT_EQ(answered_ok, kClients * kPostingsEach);

  const auto rows = stored();
  for (const auto& postings : accepted)
    for (const auto& key : postings) EXPECT_EQ(rows.count(key) ? rows.at(key) : 0, 1) << key;
  const long expected = answered_ok + 1;
  const auto both_show = [&] {
    return games_posted(page(a->port())) == expected && games_posted(page(b->port())) == expected;
  };
  const auto settle = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (!both_show() && std::chrono::steady_clock::now() < settle)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(games_posted(page(a->port())), expected);
  EXPECT_EQ(games_posted(page(b->port())), expected);
  EXPECT_EQ(a->stop(), 0) << a->log();
  EXPECT_EQ(b->stop(), 0) << b->log();
}

TEST_F(SharedStoreTest, ADatabaseStoppedUnderLoadLosesNothingAndServiceReturns) {
  const auto a = start_server(folder_a_);
  const auto b = start_server(folder_b_);
  constexpr int kClients = 16;
  constexpr int kMaxPostingsEach = 2000;
  std::atomic<bool> done = false;
  std::atomic<int> ok_before = 0, unavailable = 0, ok_after = 0, other = 0;
  std::atomic<bool> restarted = false;
  std::vector<std::string> accepted[kClients];
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c)
    clients.emplace_back([&, c] {
      httplib::Client client("127.0.0.1", c % 2 ? a->port() : b->port());
      for (int i = 0; i < kMaxPostingsEach && !done; ++i) {
        const std::string name = "c" + std::to_string(c);
        const auto result =
            client.Get("/cgi-bin/velnorsolo.cgi?name=" + name + "&date=" + std::to_string(i) + "&score=1");
        const int status = result ? result->status : -1;
        if (status == 200) {
          accepted[c].push_back(name + "/" + std::to_string(i));
          ++(restarted ? ok_after : ok_before);
        } else if (status == 503) {
          ++unavailable;
        } else {
          ++other;
        }
      }
    });

  const auto wait_until = [](const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
  };
  EXPECT_TRUE(wait_until([&] { return ok_before > 100; }));
  EXPECT_EQ(get(a->port(), "/healthz"), 200);
  cluster_.stop();
  EXPECT_TRUE(wait_until([&] { return unavailable > 50; }));
  // A load balancer asking now is told that this server cannot serve.
  EXPECT_EQ(get(a->port(), "/healthz"), 503);
  cluster_.start();
  restarted = true;
  EXPECT_TRUE(wait_until([&] { return ok_after > 100; })) << "service did not come back";
  EXPECT_TRUE(wait_until([&] { return get(b->port(), "/healthz") == 200; }));
  done = true;
  for (auto& client : clients) client.join();

  EXPECT_EQ(other, 0);
  const auto rows = stored();
  size_t answered_ok = 0;
  for (const auto& postings : accepted) {
    answered_ok += postings.size();
    for (const auto& key : postings) EXPECT_EQ(rows.count(key) ? rows.at(key) : 0, 1) << key << " answered 200";
  }
  // A posting whose commit was under way when the database went may be stored though answered 503;
  // none answered 200 is missing.
  EXPECT_GE(std::stol(PgCluster::query(database_, "SELECT count(*) FROM scores")), static_cast<long>(answered_ok));
  EXPECT_TRUE(a->running());
  EXPECT_TRUE(b->running());
  EXPECT_EQ(a->stop(), 0) << a->log();
  EXPECT_EQ(b->stop(), 0) << b->log();
}

// The database crashes and starts again while nobody posts, so that every connection the servers
// hold is broken when it is next used: the next posting and page on each server are answered as
// if nothing had happened, and the servers hear of each other's postings again.
TEST_F(SharedStoreTest, ADatabaseRestartedBetweenRequestsGoesUnseen) {
  const auto a = start_server(folder_a_);
  const auto b = start_server(folder_b_);
  const auto post = [](const ServerProcess& server, const std::string& name) {
    return get(server.port(), "/cgi-bin/velnorsolo.cgi?name=" + name + "&date=1&score=5");
  };
  for (const ServerProcess* server : {a.get(), b.get()}) {
    ASSERT_EQ(post(*server, "Before"), 200);
    EXPECT_NE(page(server->port()).find("Before"), std::string::npos);
  }

  cluster_.crash();
  cluster_.start();
  for (const auto& [server, name] : {std::pair{a.get(), "AfterA"}, std::pair{b.get(), "AfterB"}}) {
    EXPECT_EQ(post(*server, name), 200) << name;
    std::string body;
    EXPECT_EQ(get(server->port(), "/counter/velnorsolo.shtml", &body), 200) << name;
    EXPECT_NE(body.find(name), std::string::npos) << name;
  }
  ASSERT_EQ(post(*a, "Later"), 200);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (page(b->port()).find("Later") == std::string::npos && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_NE(page(b->port()).find("Later"), std::string::npos) << "the other server's posting never showed";
  EXPECT_EQ(PgCluster::query(database_, "SELECT count(*) FROM scores"), "5");
  EXPECT_EQ(a->stop(), 0) << a->log();
  EXPECT_EQ(b->stop(), 0) << b->log();
}

// Either server deals a game's next roll from the history the other kept, and of plays racing
// through both from one history, one goes on.
TEST_F(SharedStoreTest, TwoServersDealOneHistoryForEachGame) {
  const auto a = start_server(folder_a_);
  const auto b = start_server(folder_b_);
  const DealtGame played = play_dealt_game({a->port(), b->port()});
  ASSERT_EQ(get(b->port(), posting_with_game("Both", played.score, played.game)), 200);
  EXPECT_EQ(PgCluster::query(database_, "SELECT count(*) FROM scores WHERE verified AND name = 'Both'"), "1");
  const GameAtAFork fork = play_to_a_fork(a->port());
  EXPECT_EQ(race_three_plays(fork, {a->port(), b->port()}), std::pair(1, 2));
  EXPECT_EQ(a->stop(), 0) << a->log();
  EXPECT_EQ(b->stop(), 0) << b->log();
}

TEST_F(SharedStoreTest, ScoresCopiedFromSqliteShowTheSamePage) {
  {
    const auto sqlite_server =
        std::make_unique<ServerProcess>(folder_a_.path(), std::vector<std::string>{"--post-limit", "0"});
    for (int i = 0; i < 150; ++i)
      ASSERT_EQ(get(sqlite_server->port(), "/cgi-bin/velnorsolo.cgi?name=p" + std::to_string(i) +
                                               "&date=1%2F5%2F27&score=" + std::to_string(i * 7 % 651)),
                200);
    for (int i = 0; i < 3; ++i) {
      const DealtGame played = play_dealt_game({sqlite_server->port()});
      ASSERT_EQ(get(sqlite_server->port(), posting_with_game("v", played.score, played.game)), 200);
    }
    ASSERT_EQ(sqlite_server->stop(), 0);
  }
  const std::string sqlite_store = "sqlite:" + (folder_a_.path() / "data" / "scores.db").string();
  ASSERT_EQ(run_server_to_end(folder_b_.path(), {"--copy-scores", sqlite_store, database_}), 0);
  EXPECT_EQ(PgCluster::query(database_, "SELECT count(*) FROM scores"), "153");
  // The copies keep their records and stay verified: their tickets stay spent.
  EXPECT_EQ(PgCluster::query(database_, "SELECT count(*) FROM scores WHERE verified AND game <> ''"), "3");
  // A second copy would double the list: it is refused, and nothing changes.
  EXPECT_EQ(run_server_to_end(folder_b_.path(), {"--copy-scores", sqlite_store, database_}), 1);
  EXPECT_EQ(PgCluster::query(database_, "SELECT count(*) FROM scores"), "153");

  const auto on_sqlite = std::make_unique<ServerProcess>(folder_a_.path(), std::vector<std::string>{});
  const auto on_pg = start_server(folder_b_);
  const std::string expected = page(on_sqlite->port());
  EXPECT_EQ(games_posted(expected), 153);
  EXPECT_EQ(page(on_pg->port()), expected);
  EXPECT_EQ(on_pg->stop(), 0) << on_pg->log();
}

// nginx as the load balancer in front of two servers, set up as the README says: postings through
// it land once each, both servers' pages show them, and a server stopped with SIGTERM under load
// loses nothing it answered 200, while the balancer sends the rest to the other.
TEST_F(SharedStoreTest, BehindALoadBalancerAServerStoppedUnderLoadLosesNothing) {
  const auto a = start_server(folder_a_, {"--trust-proxy", "127.0.0.1"});
  const auto b = start_server(folder_b_, {"--trust-proxy", "127.0.0.1"});
  const TempFolder nginx_folder;
  const std::string n = nginx_folder.path().string();
  const int port = velnor::testing::free_loopback_port();
  std::ofstream(nginx_folder.path() / "nginx.conf")
      << "daemon off;\nmaster_process off;\npid " << n << "/nginx.pid;\nerror_log " << n << "/error.log;\n"
      << "events { worker_connections 256; }\nhttp {\n  access_log off;\n"
      << "  client_body_temp_path " << n << "/body;\n  proxy_temp_path " << n << "/proxy;\n"
      << "  fastcgi_temp_path " << n << "/fastcgi;\n  uwsgi_temp_path " << n << "/uwsgi;\n  scgi_temp_path " << n
      << "/scgi;\n"
      << "  upstream velnor_servers {\n    server 127.0.0.1:" << a->port()
      << " max_fails=1 fail_timeout=5s;\n    server 127.0.0.1:" << b->port()
      << " max_fails=1 fail_timeout=5s;\n    keepalive 32;\n  }\n"
      << "  server {\n    listen 127.0.0.1:" << port << ";\n"
      << "    location / {\n      proxy_pass http://velnor_servers;\n      proxy_http_version 1.1;\n"
      << "      proxy_set_header Connection \"\";\n      proxy_set_header Host $host;\n"
      << "      proxy_set_header X-Forwarded-For $proxy_add_x_forwarded_for;\n"
      << "      proxy_next_upstream error timeout http_502 http_503;\n    }\n  }\n}\n";
  velnor::testing::ChildProgram nginx(
      nginx_folder.path(), {"/usr/sbin/nginx", "-p", n + "/", "-c", n + "/nginx.conf", "-e", n + "/error.log"},
      nginx_folder.path() / "output.log");
  ASSERT_TRUE(nginx.wait_for_port(port)) << nginx.log();

  constexpr int kClients = 8;
  std::atomic<int> answered_ok = 0, other = 0;
  std::vector<std::string> accepted[kClients];
  // Each client posts through the balancer on a keep-alive connection of its own until `done`
  // says so, or `each` times.
  const auto post_through = [&](std::function<bool(int posted)> done) {
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
      clients.emplace_back([&, c, done] {
        httplib::Client client("127.0.0.1", port);
        client.set_keep_alive(true);
        for (int i = 0; !done(i); ++i) {
          const std::string name = "lb" + std::to_string(c);
          const std::string date = std::to_string(accepted[c].size()) + "." + std::to_string(i);
          const auto reply = client.Get("/cgi-bin/velnorsolo.cgi?name=" + name + "&date=" + date + "&score=1");
          if (reply && reply->status == 200) {
            accepted[c].push_back(name + "/" + date);
            ++answered_ok;
          } else {
            ++other;
          }
        }
      });
    return clients;
  };
  const auto wait_until = [](const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
  };

  for (auto& client : post_through([](int posted) { return posted == 40; })) client.join();
  // Both servers show what came through the balancer, whichever server stored it.
  EXPECT_TRUE(wait_until(
      [&] { return games_posted(page(a->port())) == answered_ok && games_posted(page(b->port())) == answered_ok; }));

  std::atomic<bool> done = false;
  std::vector<std::thread> clients = post_through([&](int) { return done.load(); });
  const int before_stop = answered_ok;
  EXPECT_TRUE(wait_until([&] { return answered_ok > before_stop + 300; }));
  EXPECT_EQ(a->stop(), 0) << a->log();
  const int at_stop = answered_ok;
  EXPECT_TRUE(wait_until([&] { return answered_ok > at_stop + 300; })) << "the balancer did not go on";
  done = true;
  for (auto& client : clients) client.join();

  EXPECT_EQ(other, 0) << "the balancer passed on a failure instead of the other server's answer";
  const auto rows = stored();
  for (const auto& postings : accepted)
    for (const auto& key : postings) EXPECT_EQ(rows.count(key) ? rows.at(key) : 0, 1) << key << " answered 200";
  for (const auto& [key, times] : rows) EXPECT_EQ(times, 1) << key << " stored more than once";
  EXPECT_EQ(games_posted(page(b->port())), static_cast<long>(rows.size()));
  EXPECT_EQ(b->stop(), 0) << b->log();
}

TEST(ServerStartup, AStoreThatCannotBeReachedEndsTheServerWithAReason) {
  TempFolder folder;
  EXPECT_EQ(run_server_to_end(folder.path(), {"--port", "1", "--database",
                                              "postgresql://velnor@/scores?host=" + folder.path().string()}),
            1);
  std::ifstream log(folder.path() / "server.log");
  const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("cannot reach PostgreSQL"), std::string::npos) << text;
}

}  // namespace
