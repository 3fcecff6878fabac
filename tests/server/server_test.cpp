// The real velnor-server program, spoken to over loopback as the game and a browser would.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <iomanip>
#include <memory>
#include <sstream>
#include <thread>

#include "playedgames.h"
#include "rules/tgame.h"
#include "serverprocess.h"
#include "support/testauthority.h"
#include "tlsclient.h"

namespace {

using velnor::testing::test_authority;

std::string percent_encode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// Everything the server sends until it ends the connection (or `limit` passes), then closes it;
// `ended` tells which.
std::string read_to_end(int fd, std::chrono::milliseconds limit = std::chrono::seconds(10), bool* ended = nullptr) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::string answer;
  char buffer[4096];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t received = ::recv(fd, buffer, sizeof buffer, 0);
    if (ended) *ended = received <= 0;
    if (received <= 0) break;
    answer.append(buffer, static_cast<size_t>(received));
  }
  ::close(fd);
  return answer;
}

// Sends `request` as raw bytes on a connection of its own (from the loopback address `from`, if
// given); everything the server answers until it ends the connection.
std::string exchange(int port, const std::string& request, bool* ended = nullptr, const char* from = nullptr) {
  const int fd = connect_loopback(port, from);
  // The server may stop reading long before the end, so the send may fail part-way; the answer counts.
  ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  return read_to_end(fd, std::chrono::seconds(10), ended);
}

class ServerTest : public ::testing::Test {
 protected:
  // Every test ends with a clean stop on SIGTERM (and no sanitizer report from the server).
  void TearDown() override {
    if (server_ && server_->running()) {
      EXPECT_EQ(server_->stop(), 0) << server_->log();
    }
  }

  void start(std::vector<std::string> arguments = {}) {
    server_ = std::make_unique<ServerProcess>(folder_.path(), std::move(arguments));
  }

  httplib::Client client() const {
    httplib::Client client("127.0.0.1", server_->port());
    client.set_url_encode(false);
    return client;
  }

  // Answers with the status, or -1 when no answer came.
  int get_status(const std::string& target, std::string* body = nullptr) const {
    const auto result = client().Get(target);
    if (!result) return -1;
    if (body) *body = result->body;
    return result->status;
  }

  int post(std::string_view name, std::string_view date, std::string_view score, std::string* body = nullptr) const {
    return get_status("/cgi-bin/velnorsolo.cgi?name=" + percent_encode(name) + "&date=" + percent_encode(date) +
                          "&score=" + std::string(score),
                      body);
  }

  // The stored postings, or those that meet an SQL condition.
  int stored_postings(const std::string& condition = "1") const {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2((folder_.path() / "data" / "scores.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, ("SELECT count(*) FROM scores WHERE " + condition).c_str(), -1, &count, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_step(count), SQLITE_ROW);
    const int stored = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return stored;
  }

  // A 300,000-byte installer in the release folder; returns its bytes.
  std::string put_installer() const {
    const auto release = folder_.path() / "release";
    std::filesystem::create_directories(release);
    std::string installer;
    for (unsigned i = 0; i < 300000; ++i) installer += static_cast<char>((i * 7919u) % 256u);
    std::ofstream(release / "vnssetup.exe", std::ios::binary) << installer;
    return installer;
  }

  // Each client posts `each` times on a connection of its own, all clients at once; how many
  // postings were answered 200.
  int post_at_once(int clients, int each, const std::function<std::string(int client, int i)>& target) const {
    std::atomic<int> answered_ok = 0;
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
      threads.emplace_back([&, c] {
        auto connection = client();
        for (int i = 0; i < each; ++i) {
          const auto result = connection.Get(target(c, i));
          if (result && result->status == 200) ++answered_ok;
        }
      });
    for (auto& thread : threads) thread.join();
    return answered_ok;
  }

  // Serves TLS with a certificate for `name` from the test authority, written to the test's folder.
  void start_tls(const std::string& name, std::vector<std::string> arguments = {}) {
    test_authority().issue(name).write(certificate(), key());
    arguments.insert(arguments.end(), {"--tls-cert", certificate().string(), "--tls-key", key().string()});
    start(std::move(arguments));
  }
  std::filesystem::path certificate() const { return folder_.path() / "certificate.pem"; }
  std::filesystem::path key() const { return folder_.path() / "key.pem"; }

  std::string page() const {
    std::string body;
    EXPECT_EQ(get_status("/counter/velnorsolo.shtml", &body), 200);
    return body;
  }

  TempFolder folder_;
  std::unique_ptr<ServerProcess> server_;
};

TEST_F(ServerTest, PostedScoresAppearRankedOnThePage) {
  start();
  EXPECT_EQ(games_posted(page()), 0);
  // No cache on the way may keep a posting's answer and hand it out for the next one.
  const auto posted = client().Get("/cgi-bin/velnorsolo.cgi?name=Ann&date=1%2F5%2F27&score=412");
  ASSERT_TRUE(posted);
  EXPECT_EQ(posted->status, 200);
  EXPECT_FALSE(posted->body.empty());
  EXPECT_EQ(posted->get_header_value("Cache-Control"), "no-store");
  EXPECT_EQ(post("Bö Ĝ", "1/6/27", "650"), 200);
  EXPECT_EQ(post("", "1/7/27", "412"), 200);

  // The page is cached; each posting must still show at once.
  const std::string html = page();
  EXPECT_EQ(games_posted(html), 3);
  const auto best = html.find("Bö Ĝ");
  const auto second = html.find("Ann");
  ASSERT_NE(best, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(best, second);
  EXPECT_NE(
      html.find("<td align=\"right\">2</td><td><bdi>Ann</bdi></td><td align=\"right\"><b>412</b></td><td>1/5/27</td>"),
      std::string::npos);
  EXPECT_NE(
      html.find("<td align=\"right\">2</td><td><bdi></bdi></td><td align=\"right\"><b>412</b></td><td>1/7/27</td>"),
      std::string::npos)
      << "equal scores share a rank";
  EXPECT_EQ(html.find("<script"), std::string::npos);
}

TEST_F(ServerTest, StoredTextIsEscapedAndSqlLookingNamesAreJustNames) {
  start();
  EXPECT_EQ(post("<b>&\"'", "<i>1/5/27", "100"), 200);
  EXPECT_EQ(post("');DROP--", "';DELETE--", "200"), 200);
  EXPECT_EQ(post("\u202Eevil", "1/5/27", "50"), 200);
  std::string reply;
  EXPECT_EQ(post("'); DROP TABLE scores;--", "1/5/27", "300", &reply), 400) << "longer than ten characters";
  EXPECT_NE(reply.find("name is longer than 10 characters"), std::string::npos) << reply;

  const std::string html = page();
  EXPECT_EQ(games_posted(html), 3);
  EXPECT_NE(html.find("<td><bdi>&lt;b&gt;&amp;&quot;&#39;</bdi></td>"), std::string::npos);
  EXPECT_NE(html.find("<td>&lt;i&gt;1/5/27</td>"), std::string::npos);
  EXPECT_NE(html.find("<td><bdi>&#39;);DROP--</bdi></td>"), std::string::npos);
  // A direction mark in a name is isolated from the rest of its row.
  EXPECT_NE(html.find("<td><bdi>\u202Eevil</bdi></td>"), std::string::npos);
  EXPECT_NE(html.find("<td>&#39;;DELETE--</td>"), std::string::npos);
  EXPECT_EQ(html.find("<b>&"), std::string::npos);
  EXPECT_EQ(html.find("<i>"), std::string::npos);
  // A browser may run and fetch nothing for the page, nor take it for anything but HTML.
  const auto reply_to_browser = client().Get("/counter/velnorsolo.shtml");
  ASSERT_TRUE(reply_to_browser);
  EXPECT_EQ(reply_to_browser->get_header_value("Content-Security-Policy"),
            "default-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
  EXPECT_EQ(reply_to_browser->get_header_value("X-Content-Type-Options"), "nosniff");
}

TEST_F(ServerTest, BadPostingsAreRefusedAndNotStored) {
  start();
  const std::vector<std::string> targets = {
      "/cgi-bin/velnorsolo.cgi?name=a&date=1&score=651",
      "/cgi-bin/velnorsolo.cgi?name=a&date=1&score=-5",
      "/cgi-bin/velnorsolo.cgi?name=a&date=1&score=12.5",
      "/cgi-bin/velnorsolo.cgi?name=a&date=1&score=",
      "/cgi-bin/velnorsolo.cgi?name=a&date=1",
      "/cgi-bin/velnorsolo.cgi",
      "/cgi-bin/velnorsolo.cgi?name=abcdefghijk&date=1&score=5",
      "/cgi-bin/velnorsolo.cgi?name=%FF&date=1&score=5",
  };
  for (const auto& target : targets) {
    const auto reply = client().Get(target);
    ASSERT_TRUE(reply) << target;
    EXPECT_EQ(reply->status, 400) << target;
    EXPECT_FALSE(reply->body.empty()) << target;
    EXPECT_EQ(reply->get_header_value("Cache-Control"), "no-store") << target;
  }
  const auto head = client().Head("/cgi-bin/velnorsolo.cgi?name=a&date=1&score=5");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 405);
  EXPECT_EQ(games_posted(page()), 0);
}

TEST_F(ServerTest, ScoresSurviveARestart) {
  start();
  EXPECT_EQ(post("Keeper", "1/5/27", "555"), 200);
  // A service manager's reload sends SIGHUP, which a plain server only logs.
  server_->signal(SIGHUP);
  ASSERT_TRUE(server_->wait_for_log("velnor-server: plain HTTP has no certificate to read again\n")) << server_->log();
  EXPECT_EQ(games_posted(page()), 1);
  EXPECT_EQ(server_->stop(), 0);
  server_->start();
  const std::string html = page();
  EXPECT_NE(html.find("<td><bdi>Keeper</bdi></td><td align=\"right\"><b>555</b></td>"), std::string::npos);
  EXPECT_EQ(games_posted(html), 1);
}

TEST_F(ServerTest, PostingsBeyondTheLimitGetStatus429) {
  start({"--post-limit", "3"});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(post("Quick", "1/5/27", std::to_string(i)), 200);
  EXPECT_EQ(post("Quick", "1/5/27", "600"), 429);
  const std::string html = page();
  EXPECT_EQ(games_posted(html), 3);
  EXPECT_EQ(html.find("<b>600</b>"), std::string::npos);
}

TEST_F(ServerTest, ReleaseFilesAreServedByteForByte) {
  const std::string installer = put_installer();
  const auto release = folder_.path() / "release";
  std::ofstream(release / "velnorsoloversion.txt", std::ios::binary) << "1.0.1\r\n";
  start();

  std::string body;
  EXPECT_EQ(get_status("/velnorsolo/vnssetup.exe", &body), 200);
  EXPECT_TRUE(body == installer) << "received " << body.size() << " bytes of " << installer.size();
  EXPECT_EQ(get_status("/velnorsolo/velnorsoloversion.txt", &body), 200);
  EXPECT_EQ(body, "1.0.1\r\n");

  // An empty version file is an empty answer with its length, not one that runs until the connection ends.
  std::ofstream(release / "velnorsoloversion.txt", std::ios::binary | std::ios::trunc).close();
  const auto empty = client().Get("/velnorsolo/velnorsoloversion.txt");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->status, 200);
  EXPECT_EQ(empty->get_header_value("Content-Length"), "0");

  std::filesystem::remove(release / "vnssetup.exe");
  std::filesystem::remove(release / "velnorsoloversion.txt");
  EXPECT_EQ(get_status("/velnorsolo/vnssetup.exe"), 404);
  EXPECT_EQ(get_status("/velnorsolo/velnorsoloversion.txt"), 404);
  EXPECT_EQ(get_status("/velnorsolo/../data/scores.db"), 404);
}

TEST_F(ServerTest, RepliesFollowTheWebsConventions) {
  put_installer();
  start();
  EXPECT_EQ(post("Ann", "1", "5"), 200);
  auto browser = client();
  browser.set_decompress(false);
  for (const std::string target : {"/counter/velnorsolo.shtml", "/velnorsolo/vnssetup.exe"}) {
    const auto got = browser.Get(target);
    ASSERT_TRUE(got) << target;
    EXPECT_EQ(got->status, 200) << target;
    EXPECT_TRUE(got->has_header("Date")) << target;
    EXPECT_FALSE(got->has_header("Strict-Transport-Security")) << target << ": only a reply over TLS says so";
    const std::string etag = got->get_header_value("ETag");
    const std::string modified = got->get_header_value("Last-Modified");
    EXPECT_TRUE(etag.starts_with('"') && etag.ends_with('"')) << target << ": a strong tag, not " << etag;
    EXPECT_TRUE(modified.ends_with(" GMT")) << target << ": " << modified;

    // A client holding the same bytes is told so, with no body; by tag first, else by date.
    for (const httplib::Headers& condition :
         {httplib::Headers{{"If-None-Match", "\"x\", " + etag}}, httplib::Headers{{"If-Modified-Since", modified}}}) {
      const auto again = browser.Get(target, condition);
      ASSERT_TRUE(again) << target;
      EXPECT_EQ(again->status, 304) << target << " " << condition.begin()->first;
      EXPECT_TRUE(again->body.empty()) << target;
      EXPECT_EQ(again->get_header_value("ETag"), etag) << target;
    }
    const auto stale = browser.Get(target, {{"If-None-Match", "\"other\""}, {"If-Modified-Since", modified}});
    ASSERT_TRUE(stale);
    EXPECT_EQ(stale->status, 200) << target << ": a tag that differs decides, whatever the date";

    // HEAD has exactly GET's headers; no range is ever honoured; a method the path does not take is 405.
    const auto head = browser.Head(target);
    ASSERT_TRUE(head);
    auto head_headers = head->headers, get_headers = got->headers;
    head_headers.erase("Date");
    get_headers.erase("Date");
    EXPECT_EQ(head_headers, get_headers) << target;
    const auto ranged = browser.Get(target, {{"Range", "bytes=-1--5,abc"}});
    ASSERT_TRUE(ranged);
    EXPECT_EQ(ranged->status, 200) << target;
    EXPECT_EQ(ranged->body, got->body) << target;
    const auto put = browser.Put(target, "", "text/plain");
    ASSERT_TRUE(put);
    EXPECT_EQ(put->status, 405) << target;
    EXPECT_EQ(put->get_header_value("Allow"), "GET, HEAD") << target;
  }

  // The page's compressed forms: each is told apart by Vary and a tag of its own, and q=0 refuses one.
  const auto plain = browser.Get("/counter/velnorsolo.shtml");
  const auto gzipped = browser.Get("/counter/velnorsolo.shtml", {{"Accept-Encoding", "br;q=0, gzip"}});
  const auto brotli = browser.Get("/counter/velnorsolo.shtml", {{"Accept-Encoding", "gzip;q=0.5, br"}});
  ASSERT_TRUE(plain && gzipped && brotli);
  EXPECT_EQ(plain->get_header_value("Vary"), "Accept-Encoding");
  EXPECT_FALSE(plain->has_header("Content-Encoding"));
  EXPECT_EQ(gzipped->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(brotli->get_header_value("Content-Encoding"), "br");
  EXPECT_LT(gzipped->body.size(), plain->body.size());
  EXPECT_NE(gzipped->get_header_value("ETag"), plain->get_header_value("ETag"));
  EXPECT_NE(gzipped->get_header_value("ETag"), brotli->get_header_value("ETag"));
  const auto decoded = client().Get("/counter/velnorsolo.shtml", {{"Accept-Encoding", "gzip"}});
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->body, plain->body);
}

TEST_F(ServerTest, MakersPagesComeFromTheFolderBesideTheProgram) {
  start();
  std::string body;
  EXPECT_EQ(get_status("/", &body), 200);
  EXPECT_NE(body.find("href=\"/multiplayer.html\""), std::string::npos);
  EXPECT_EQ(get_status("/multiplayer.html", &body), 200);
  EXPECT_NE(body.find("multiplayer edition of Velnor"), std::string::npos);
  EXPECT_EQ(get_status("/nothing.html"), 404);
  // A browser takes the pages' own styles and nothing else, and takes them for HTML only; the
  // pages need nothing more.
  for (const char* target : {"/", "/multiplayer.html"}) {
    const auto got = client().Get(target);
    ASSERT_TRUE(got) << target;
    EXPECT_EQ(
        got->get_header_value("Content-Security-Policy"),
        "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'")
        << target;
    EXPECT_EQ(got->get_header_value("X-Content-Type-Options"), "nosniff") << target;
    for (const char* blocked : {"<script", "<link", "<img", "<form", "<iframe", "<base", "url("})
      EXPECT_EQ(got->body.find(blocked), std::string::npos) << target << " needs " << blocked;
  }
}

TEST_F(ServerTest, ASecondServerCannotTakeTheSamePort) {
  start();
  TempFolder other;
  EXPECT_EQ(run_server_to_end(other.path(), {"--listen", "127.0.0.1", "--port", std::to_string(server_->port())}), 1);
  EXPECT_EQ(run_server_to_end(other.path(), {"--port", "http"}), 2);
  EXPECT_EQ(games_posted(page()), 0);
}

TEST_F(ServerTest, OversizedRequestsAreRefusedWithoutHarm) {
  start();
  const std::string request = "GET / HTTP/1.1\r\nHost: x\r\nX-Filler: " + std::string(1 << 20, 'a') + "\r\n\r\n";
  const std::string answer = exchange(server_->port(), request);
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 431") || answer.starts_with("HTTP/1.1 400")) << answer.substr(0, 100);

  // What is not HTTP/1.x is answered and the connection ends at once, rather than at a deadline.
  for (const std::string malformed : {"GET /\r\n\r\n", "GET / HTTP/9.9\r\nConnection: close\r\n\r\n",
                                      "GET / HTTP/1.1\r\nHost: x\r\nno colon\r\n\r\n"}) {
    bool ended = false;
    const std::string refusal = exchange(server_->port(), malformed, &ended);
    EXPECT_TRUE(refusal.starts_with("HTTP/1.1 400")) << refusal.substr(0, 60);
    EXPECT_TRUE(ended) << malformed;
  }
  EXPECT_EQ(games_posted(page()), 0) << "the server goes on serving";
}

TEST_F(ServerTest, ConcurrentPostingsAreAllStored) {
  start({"--post-limit", "0"});
  constexpr int kClients = 8;
  constexpr int kPostingsEach = 50;
  const int answered_ok = post_at_once(kClients, kPostingsEach, [](int c, int i) {
    return "/cgi-bin/velnorsolo.cgi?name=c" + std::to_string(c) + "&date=1%2F5%2F27&score=" + std::to_string(i);
  });
  EXPECT_EQ(answered_ok, kClients * kPostingsEach);
  EXPECT_EQ(stored_postings(), answered_ok);
  EXPECT_EQ(games_posted(page()), answered_ok);
}

// Clients that hang up while the store answers them: the replies meet closed sockets, and the
// server goes on serving and stops cleanly.
TEST_F(ServerTest, ClientsThatLeaveBeforeTheirAnswersHarmNoOne) {
  start({"--post-limit", "0"});
  constexpr int kClients = 8;
  constexpr int kRequestsEach = 90;
  std::vector<std::thread> threads;
  for (int c = 0; c < kClients; ++c)
    threads.emplace_back([&, c] {
      for (int i = 0; i < kRequestsEach; ++i) {
        const std::string targets[] = {
            "/cgi-bin/velnorsolo.cgi?name=gone" + std::to_string(c) + "&date=1&score=" + std::to_string(i), "/healthz",
            "/counter/velnorsolo.shtml"};
        const std::string request = "GET " + targets[i % 3] + " HTTP/1.1\r\nHost: x\r\n\r\n";
        const int fd = connect_loopback(server_->port());
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        const linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(fd);
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(post("Stayed", "1", "5"), 200);
  EXPECT_GE(games_posted(page()), 1);
}

// A score is verified only when the server dealt every roll of its game, one at a time, to a
// genuine and unspent ticket, and the game replays to exactly that score with those dice; every
// other posting is kept, unverified.
TEST_F(ServerTest, OnlyAGamePlayedThroughTheDealtRollsIsVerified) {
  start({"--post-limit", "0"});
  const DealtGame honest = play_dealt_game({server_->port()});
  ASSERT_GE(honest.score, 0);
  EXPECT_EQ(get_status(posting_with_game("Honest", honest.score, honest.game)), 200);
  EXPECT_EQ(get_status(posting_with_game("Reused", honest.score, honest.game)), 200);
  const DealtGame raised = play_dealt_game({server_->port()});
  EXPECT_EQ(get_status(posting_with_game("Raised", raised.score + 1, raised.game)), 200);
  DealtGame forged = play_dealt_game({server_->port()});
  forged.game.ticket.back() = forged.game.ticket.back() == 'A' ? 'B' : 'A';
  EXPECT_EQ(get_status(posting_with_game("Forged", forged.score, forged.game)), 200);
  // A game that ends before its last dealt roll was played: not the whole history dealt.
  DealtGame cut = play_dealt_game({server_->port()});
  cut.game.shut.pop_back();
  EXPECT_EQ(get_status(posting_with_game("Cut", cut.score, cut.game)), 200);
  // The bot that reads the dice from the seed, as the seed once told them.
  const velnor::SeedTicket ticket = deal_ticket(server_->port());
  const velnor::PlayedGame from_seed = play_best(ticket.seed, ticket.text());
  EXPECT_EQ(get_status(posting_with_game("FromSeed", velnor::replay_score(from_seed).value_or(0), from_seed)), 200);
  const velnor::PlayedGame clock_seeded = play_best(36826000);
  EXPECT_EQ(get_status(posting_with_game("Clock", velnor::replay_score(clock_seeded).value_or(0), clock_seeded)), 200);
  EXPECT_EQ(post("Plain", "1/5/27", "100"), 200);

  EXPECT_EQ(stored_postings(), 8);
  EXPECT_EQ(stored_postings("verified = 1"), 1);
  EXPECT_EQ(stored_postings("verified = 1 AND name = 'Honest'"), 1);
  // The verified score stands in the list with its mark; the others below, apart.
  const std::string html = page();
  EXPECT_NE(html.find("<td><bdi>Honest</bdi></td><td align=\"right\"><b>" + std::to_string(honest.score) +
                      "</b> <font color=\"#"),
            std::string::npos)
      << html;
  const size_t apart = html.find("Unverified Scores");
  ASSERT_NE(apart, std::string::npos);
  EXPECT_LT(html.find("Honest"), apart);
  for (const char* name : {"Reused", "Raised", "Forged", "Cut", "FromSeed", "Clock", "Plain"})
    EXPECT_GT(html.find(std::string("<td><bdi>") + name + "</bdi></td>"), apart) << name;
  // A spent ticket deals no more.
  EXPECT_EQ(get_status(roll_target(honest.game.ticket, {})), 409);
}

// The rolls go one way only: a retry is answered alike, a history the server did not deal moves
// nothing, and of requests racing from one history with different plays, one goes on.
TEST_F(ServerTest, EachTicketsRollsFollowOneHistory) {
  start();
  const std::string ticket = deal_ticket(server_->port()).text();
  const auto ask = [&](const std::vector<unsigned>& shut) { return client().Get(roll_target(ticket, shut)); };
  const auto first = ask({});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->status, 200);
  EXPECT_TRUE(first->get_header_value("Content-Type").starts_with("text/plain"));
  EXPECT_EQ(first->get_header_value("Cache-Control"), "no-store");
  ASSERT_EQ(first->body.size(), 2u);
  EXPECT_EQ(ask({})->body, first->body) << "a retry deals the same roll";

  const GameAtAFork fork = play_to_a_fork(server_->port());
  ASSERT_GE(fork.plays.size(), 3u);
  const auto ask_fork = [&](const std::vector<unsigned>& shut) { return client().Get(roll_target(fork.ticket, shut)); };
  // Refused, and nothing moves: a play the rules do not allow, a roll skipped, another history.
  unsigned illegal = 1;
  while (std::find(fork.plays.begin(), fork.plays.end(), illegal) != fork.plays.end()) ++illegal;
  std::vector<unsigned> illegal_play = fork.shut, skipped = fork.shut, other(fork.shut.size() + 1, 0u);
  illegal_play.push_back(illegal);
  skipped.insert(skipped.end(), {fork.plays.front(), fork.plays.front()});
  for (const auto& wrong : {illegal_play, skipped, other})
    EXPECT_EQ(ask_fork(wrong)->status, 409) << velnor::rolls_text(wrong);
  EXPECT_EQ(ask_fork(fork.shut)->body, std::to_string(fork.dice.back().first * 10 + fork.dice.back().second));
  std::string forged = fork.ticket;
  forged.back() = forged.back() == 'A' ? 'B' : 'A';
  EXPECT_EQ(client().Get(roll_target(forged, fork.shut))->status, 400);
  EXPECT_EQ(client().Get("/velnorsolo/roll?ticket=" + fork.ticket)->status, 400);

  EXPECT_EQ(race_three_plays(fork, {server_->port()}), std::pair(1, 2));
}

// Seeds cost the store a game each: sixty a minute to one address, then 429.
TEST_F(ServerTest, TheSixtyFirstSeedInAMinuteIsRefused) {
  start();
  for (int i = 0; i < 60; ++i) ASSERT_EQ(get_status("/velnorsolo/seed"), 200) << i;
  EXPECT_EQ(get_status("/velnorsolo/seed"), 429);
}

// Games played at once through the rolls, each its own history in the store: every one verifies.
TEST_F(ServerTest, GamesPlayedAtOnceThroughDealtRollsAllVerify) {
  start({"--post-limit", "0", "--seed-limit", "0"});
  constexpr int kPlayers = 4;
  constexpr int kGamesEach = 50;
  const int answered_ok = post_at_once(kPlayers, kGamesEach, [this](int, int) {
    const DealtGame played = play_dealt_game({server_->port()});
    return posting_with_game("Solver", played.score, played.game);
  });
  EXPECT_EQ(answered_ok, kPlayers * kGamesEach);
  EXPECT_EQ(stored_postings("verified = 1"), kPlayers * kGamesEach);
}

TEST_F(ServerTest, IdleAndSlowClientsHoldUpNoOneAndSlowHeadsEnd) {
  start({"--max-per-address", "1000"});
  constexpr int kIdle = 300;
  constexpr int kSlow = 100;
  std::vector<int> idle, slow;
  for (int i = 0; i < kIdle; ++i) idle.push_back(connect_loopback(server_->port()));
  for (int i = 0; i < kSlow; ++i) {
    slow.push_back(connect_loopback(server_->port()));
    ::send(slow.back(), "GET / HTTP/1.1\r\n", 16, MSG_NOSIGNAL);
  }
  // The slow ones send a header line every 200 ms, and never end their heads.
  std::atomic<bool> dripping = true;
  std::thread drip([&] {
    while (dripping) {
      for (const int fd : slow) ::send(fd, "X-Slow: 1\r\n", 11, MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  });

  // Everyone else is answered at once: a client that waits a second at most gets every answer.
  for (int i = 0; i < 20; ++i) {
    auto quick = client();
    quick.set_connection_timeout(1);
    quick.set_read_timeout(1);
    const auto result = quick.Get("/counter/velnorsolo.shtml");
    ASSERT_TRUE(result) << "request " << i << " waited over a second";
    EXPECT_EQ(result->status, 200);
  }
  // A head has a few seconds to arrive, however steadily its bytes come.
  const std::string answer = read_to_end(slow.front());
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 408")) << answer.substr(0, 60);
  dripping = false;
  drip.join();
  for (const int fd : idle) ::close(fd);
  for (size_t i = 1; i < slow.size(); ++i) ::close(slow[i]);
}

TEST_F(ServerTest, ConnectionsBeyondTheBoundAreToldToComeBack) {
  start({"--max-connections", "20"});
  std::vector<int> held;
  for (int i = 0; i < 20; ++i) held.push_back(connect_loopback(server_->port()));
  const std::string refused = read_to_end(connect_loopback(server_->port()));
  EXPECT_TRUE(refused.starts_with("HTTP/1.1 503")) << refused.substr(0, 60);
  EXPECT_NE(refused.find("Retry-After: 1"), std::string::npos);

  for (int i = 0; i < 5; ++i) {
    ::close(held.back());
    held.pop_back();
  }
  // The server sees the ends as they come; then there is room again.
  int status = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while ((status = get_status("/")) != 200 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(status, 200);
  for (const int fd : held) ::close(fd);
  EXPECT_EQ(server_->stop(), 0);
  EXPECT_NE(server_->log().find("\"-\" 503 -\n"), std::string::npos) << "the refusal is in the access log";

  // One address cannot take the room of all the others; a trusted proxy speaks for many and can.
  start({"--max-per-address", "10", "--trust-proxy", "127.0.0.3"});
  for (const char* from : {"127.0.0.2", "127.0.0.3"}) {
    for (int i = 0; i < 10; ++i) held.push_back(connect_loopback(server_->port(), from));
    const std::string answer =
        exchange(server_->port(), "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", nullptr, from);
    EXPECT_TRUE(answer.starts_with(from == std::string("127.0.0.2") ? "HTTP/1.1 503" : "HTTP/1.1 200"))
        << from << ": " << answer.substr(0, 60);
  }
  EXPECT_EQ(get_status("/"), 200) << "the others are served";
  for (const int fd : held) ::close(fd);
}

TEST_F(ServerTest, RangesAreIgnoredAndEveryLengthIsTrue) {
  const std::string installer = put_installer();
  start();

  std::string overlapping = "bytes=0-299999";
  for (int i = 0; i < 700; ++i) overlapping += ",0-299999";
  for (const std::string& range :
       {std::string("bytes=2000000-"), std::string("bytes=299999-300000"), std::string("bytes=10-20"), overlapping}) {
    const auto result = client().Get("/velnorsolo/vnssetup.exe", {{"Range", range}});
    ASSERT_TRUE(result) << range.substr(0, 40);
    EXPECT_EQ(result->status, 200) << range.substr(0, 40);
    EXPECT_EQ(result->get_header_value("Content-Length"), "300000") << range.substr(0, 40);
    EXPECT_TRUE(result->body == installer) << range.substr(0, 40) << ": " << result->body.size() << " bytes";
  }
}

TEST_F(ServerTest, ARequestBodyIsRefusedAndNeverReadAsARequest) {
  start();
  const std::string smuggled = "GET /cgi-bin/velnorsolo.cgi?name=smuggled&date=1&score=650 HTTP/1.1\r\nHost: x\r\n\r\n";
  for (const std::string& framing :
       {"Content-Length: " + std::to_string(smuggled.size()), std::string("Transfer-Encoding: chunked")}) {
    const std::string answer =
        exchange(server_->port(), "GET / HTTP/1.1\r\nHost: x\r\n" + framing + "\r\n\r\n" + smuggled);
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 413")) << answer.substr(0, 60);
    EXPECT_EQ(answer.find("HTTP/1.1", 1), std::string::npos) << "one answer, then the connection ends";
  }
  EXPECT_EQ(stored_postings(), 0);
  EXPECT_EQ(games_posted(page()), 0);
}

// Heads that HTTP says a server must refuse, or read otherwise than the letter of their bytes.
TEST_F(ServerTest, RequestHeadsAreReadAsHttpSays) {
  start();
  // Framed by the folded line, this would be a body; read as a request of its own, a posting.
  const std::string smuggled = "GET /cgi-bin/velnorsolo.cgi?name=smuggled&date=1&score=650 HTTP/1.1\r\nHost: x\r\n\r\n";
  struct Row {
    const char* what;
    std::string request;
    const char* answer;
  };
  const Row rows[] = {
      {"HTTP/1.1 without Host", "GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 400"},
      {"two Host lines", "GET / HTTP/1.1\r\nHost: x\r\nHost: y\r\n\r\n", "HTTP/1.1 400"},
      {"a Host that names no host", "GET / HTTP/1.1\r\nHost: x y/z\r\n\r\n", "HTTP/1.1 400"},
      {"a folded line",
       "GET / HTTP/1.1\r\nHost: x\r\nX-a: b\r\n Content-Length: " + std::to_string(smuggled.size()) + "\r\n\r\n" +
           smuggled,
       "HTTP/1.1 400"},
      {"empty lines before the request line", "\r\n\r\nGET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
       "HTTP/1.1 200"},
      {"If-Modified-Since in the future",
       "GET / HTTP/1.1\r\nHost: x\r\nIf-Modified-Since: Fri, 01 Jan 2100 00:00:00 GMT\r\nConnection: close\r\n\r\n",
       "HTTP/1.1 200"},
      {"HTTP/1.0 without Host", "GET / HTTP/1.0\r\n\r\n", "HTTP/1.0 200"},
      {"a Host with a port", "GET / HTTP/1.1\r\nHost: [::1]:8080\r\nConnection: close\r\n\r\n", "HTTP/1.1 200"},
  };
  for (const Row& row : rows) {
    bool ended = false;
    const std::string answer = exchange(server_->port(), row.request, &ended);
    EXPECT_TRUE(answer.starts_with(row.answer)) << row.what << ": " << answer.substr(0, 60);
    EXPECT_EQ(answer.find("HTTP/1.", 1), std::string::npos) << row.what << ": one answer";
    EXPECT_TRUE(ended) << row.what;
  }
  EXPECT_EQ(stored_postings(), 0);
}

TEST_F(ServerTest, ForwardedAddressesCountOnlyFromATrustedProxy) {
  const auto post_from = [this](const std::string& forwarded_for, int score) {
    const auto result = client().Get("/cgi-bin/velnorsolo.cgi?name=a&date=1&score=" + std::to_string(score),
                                     {{"X-Forwarded-For", forwarded_for}});
    return result ? result->status : -1;
  };
  start({"--post-limit", "1"});
  EXPECT_EQ(post_from("203.0.113.7", 1), 200);
  EXPECT_EQ(post_from("203.0.113.8", 2), 429) << "without --trust-proxy the header is the client's word only";
  EXPECT_EQ(server_->stop(), 0);

  server_ = std::make_unique<ServerProcess>(
      folder_.path(), std::vector<std::string>{"--post-limit", "1", "--trust-proxy", "127.0.0.1"});
  EXPECT_EQ(post_from("198.51.100.1, 203.0.113.7", 3), 200);
  EXPECT_EQ(post_from("203.0.113.8", 4), 200) << "another client behind the same proxy";
  EXPECT_EQ(post_from("203.0.113.7", 5), 429);
  // What is no address is not taken: such postings count as the proxy's own.
  EXPECT_EQ(post_from("<script>", 6), 200);
  EXPECT_EQ(post_from(std::string(8000, '7'), 7), 429);
  EXPECT_EQ(post_from("2001:db8::1", 8), 200);
  EXPECT_EQ(server_->stop(), 0);
  EXPECT_NE(server_->log().find("\n203.0.113.8 - - ["), std::string::npos) << server_->log();
  EXPECT_EQ(stored_postings("client = '127.0.0.1'"), 2) << "the untrusted first posting, and <script>";
  EXPECT_EQ(stored_postings("client = '2001:db8::1'"), 1);
  EXPECT_EQ(stored_postings("client LIKE '%<%' OR length(client) > 45"), 0);
}

TEST_F(ServerTest, EachRequestIsLoggedInTheCommonFormat) {
  start();
  EXPECT_EQ(post("Ann", "1", "5"), 200);
  EXPECT_EQ(get_status("/nothing\xff\""), 404);
  // Lines are written within a second of their requests.
  const std::string request = "\"GET /cgi-bin/velnorsolo.cgi?name=Ann&date=1&score=5 HTTP/1.1\" 200 14\n";
  ASSERT_TRUE(server_->wait_for_log(request)) << server_->log();
  const std::string log = server_->log();
  const size_t at = log.find(request);
  const size_t line_start = log.rfind('\n', at) + 1;
  const std::string line = log.substr(line_start, at - line_start);
  ASSERT_TRUE(line.starts_with("127.0.0.1 - - [")) << line;
  std::tm time{};
  std::istringstream stamp(line.substr(15));
  stamp >> std::get_time(&time, "%d/%b/%Y:%H:%M:%S");
  std::string zone;
  std::getline(stamp, zone);
  EXPECT_FALSE(stamp.fail()) << line;
  EXPECT_EQ(zone, " +0000] ") << line;
  EXPECT_EQ(server_->stop(), 0);
  EXPECT_NE(server_->log().find("\"GET /nothing\\xFF\\x22 HTTP/1.1\" 404"), std::string::npos)
      << "written at the stop at the latest";
}

TEST_F(ServerTest, EveryReplyOverTlsIsHttp11AndAsksForTlsFromThenOn) {
  const std::string installer = put_installer();
  start_tls("first");
  TlsClient browser(server_->port());
  ASSERT_TRUE(browser.connected());
  EXPECT_EQ(browser.protocol(), "http/1.1");
  EXPECT_EQ(browser.certificate_name(), "first");
  // The cached page, a file and a refusal, one after another on one connection.
  for (const auto& [target, status] :
       {std::pair{"/counter/velnorsolo.shtml", "HTTP/1.1 200"}, std::pair{"/velnorsolo/vnssetup.exe", "HTTP/1.1 200"},
        std::pair{"/nothing", "HTTP/1.1 404"}}) {
    const std::string reply = browser.get(target);
    EXPECT_TRUE(reply.starts_with(status)) << target << ": " << reply.substr(0, 60);
    EXPECT_NE(reply.find("\r\nStrict-Transport-Security: max-age=31536000\r\n"), std::string::npos)
        << target << ": " << reply.substr(0, reply.find("\r\n\r\n"));
  }
  EXPECT_TRUE(browser.get("/velnorsolo/vnssetup.exe").ends_with(installer)) << "the file whole, after the others";
}

TEST_F(ServerTest, SighupReadsTheCertificateAgainAndDropsNoOne) {
  start_tls("first");
  TlsClient before(server_->port());
  ASSERT_TRUE(before.connected());
  EXPECT_TRUE(before.get("/").starts_with("HTTP/1.1 200"));

  test_authority().issue("second").write(certificate(), key());
  server_->signal(SIGHUP);
  ASSERT_TRUE(server_->wait_for_log("velnor-server: read the certificate and key again\n")) << server_->log();
  TlsClient after(server_->port());
  EXPECT_EQ(after.certificate_name(), "second");
  EXPECT_TRUE(after.get("/").starts_with("HTTP/1.1 200"));
  EXPECT_TRUE(before.get("/").starts_with("HTTP/1.1 200")) << "a connection made before goes on as it began";

  // A file that will not do keeps the pair in use, and the log says why.
  std::ofstream(certificate()) << "not a certificate\n";
  server_->signal(SIGHUP);
  ASSERT_TRUE(server_->wait_for_log("velnor-server: kept the certificate in use: the certificate ")) << server_->log();
  TlsClient later(server_->port());
  EXPECT_EQ(later.certificate_name(), "second");
  EXPECT_TRUE(later.get("/").starts_with("HTTP/1.1 200"));
}

TEST_F(ServerTest, HandshakesCountAgainstTheBoundsAndEndAtTheHeadDeadline) {
  start_tls("first", {"--max-per-address", "3"});
  // Three clients that open a connection and never begin their handshakes fill their address's room.
  std::vector<int> stalled;
  for (int i = 0; i < 3; ++i) stalled.push_back(connect_loopback(server_->port(), "127.0.0.2"));
  TlsClient fourth(server_->port(), "127.0.0.2");
  EXPECT_FALSE(fourth.connected()) << "a handshake holds its place like any connection";
  TlsClient other(server_->port());
  ASSERT_TRUE(other.connected());
  EXPECT_TRUE(other.get("/").starts_with("HTTP/1.1 200")) << "other addresses are served meanwhile";

  // A handshake has the few seconds a request's head has, not the minute an idle client has.
  for (const int fd : stalled) {
    bool ended = false;
    EXPECT_EQ(read_to_end(fd, std::chrono::seconds(10), &ended), "");
    EXPECT_TRUE(ended);
  }
}

TEST_F(ServerTest, ACertificateOrKeyThatWillNotDoIsToldInOneLine) {
  test_authority().issue("first").write(certificate(), key());
  test_authority().issue("other").write(folder_.path() / "other.pem", folder_.path() / "other-key.pem");
  const auto log_file = folder_.path() / "server.log";
  const auto told = [&](std::vector<std::string> tls) {
    std::filesystem::remove(log_file);
    tls.insert(tls.begin(), {"--port", std::to_string(velnor::testing::free_loopback_port())});
    const int status = run_server_to_end(folder_.path(), tls);
    std::ifstream file(log_file);
    std::stringstream text;
    text << file.rdbuf();
    return std::pair{status, text.str()};
  };
  const struct {
    std::vector<std::string> tls;
    std::string line;
  } rows[] = {
      {{"--tls-cert", "missing.pem", "--tls-key", key()},
       "velnor-server: cannot read the certificate missing.pem: No such file or directory\n"},
      {{"--tls-cert", certificate(), "--tls-key", "missing.pem"},
       "velnor-server: cannot read the key missing.pem: No such file or directory\n"},
      {{"--tls-cert", certificate(), "--tls-key", folder_.path() / "other-key.pem"},
       "velnor-server: the key " + (folder_.path() / "other-key.pem").string() + " does not match the certificate " +
           certificate().string() + "\n"},
      {{"--tls-cert", key(), "--tls-key", key()},
       "velnor-server: the certificate " + key().string() + " is no PEM certificate (no start line)\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(told(row.tls), std::pair(1, row.line));
  EXPECT_EQ(told({"--tls-cert", certificate()}),
            std::pair(2, std::string("velnor-server: give --tls-cert and --tls-key together (velnor-server --help "
                                     "lists the options)\n")));
}

}  // namespace
