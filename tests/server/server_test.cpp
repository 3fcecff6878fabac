// The real velnor-server program, spoken to over loopback as the game and a browser would.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <regex>
#include <thread>

#include "serverprocess.h"

namespace {

std::string percent_encode(std::string_view text)
{
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

class ServerTest : public ::testing::Test {
 protected:
  // Every test ends with a clean stop on SIGTERM (and no sanitizer report from the server).
  void TearDown() override
  {
    if (server_ && server_->running()) {
      EXPECT_EQ(server_->stop(), 0) << server_->log();
    }
  }

  void start(std::vector<std::string> arguments = {})
  {
    server_ = std::make_unique<ServerProcess>(folder_.path(), std::move(arguments));
  }

  httplib::Client client() const
  {
    httplib::Client client("127.0.0.1", server_->port());
    client.set_url_encode(false);
    return client;
  }

  // Answers with the status, or -1 when no answer came.
  int get_status(const std::string& target, std::string* body = nullptr) const
  {
    const auto result = client().Get(target);
    if (!result) return -1;
    if (body) *body = result->body;
    return result->status;
  }

  int post(std::string_view name, std::string_view date, std::string_view score, std::string* body = nullptr) const
  {
    return get_status("/cgi-bin/velnorsolo.cgi?name=" + percent_encode(name) + "&date=" + percent_encode(date) +
                          "&score=" + std::string(score),
                      body);
  }

  std::string page() const
  {
    std::string body;
    EXPECT_EQ(get_status("/counter/velnorsolo.shtml", &body), 200);
    return body;
  }

  static long games_posted(const std::string& page)
  {
    std::smatch match;
    return std::regex_search(page, match, std::regex("Games posted: (\\d+)")) ? std::stol(match[1]) : -1;
  }

  TempFolder folder_;
  std::unique_ptr<ServerProcess> server_;
};

TEST_F(ServerTest, PostedScoresAppearRankedOnThePage)
{
  start();
  EXPECT_EQ(games_posted(page()), 0);
  std::string reply;
  EXPECT_EQ(post("Ann", "1/5/27", "412", &reply), 200);
  EXPECT_FALSE(reply.empty());
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
  EXPECT_NE(html.find("<td align=\"right\">2</td><td>Ann</td><td align=\"right\"><b>412</b></td><td>1/5/27</td>"), std::string::npos);
  EXPECT_NE(html.find("<td align=\"right\">2</td><td></td><td align=\"right\"><b>412</b></td><td>1/7/27</td>"), std::string::npos)
      << "equal scores share a rank";
  EXPECT_EQ(html.find("<script"), std::string::npos);
}

TEST_F(ServerTest, StoredTextIsEscapedAndSqlLookingNamesAreJustNames)
{
  start();
  EXPECT_EQ(post("<b>&\"'", "<i>1/5/27", "100"), 200);
  EXPECT_EQ(post("');DROP--", "';DELETE--", "200"), 200);
  std::string reply;
  EXPECT_EQ(post("'); DROP TABLE scores;--", "1/5/27", "300", &reply), 400) << "longer than ten characters";
  EXPECT_NE(reply.find("name is longer than 10 characters"), std::string::npos) << reply;

  const std::string html = page();
  EXPECT_EQ(games_posted(html), 2);
  EXPECT_NE(html.find("<td>&lt;b&gt;&amp;&quot;&#39;</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>&lt;i&gt;1/5/27</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>&#39;);DROP--</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>&#39;;DELETE--</td>"), std::string::npos);
  EXPECT_EQ(html.find("<b>&"), std::string::npos);
  EXPECT_EQ(html.find("<i>"), std::string::npos);
}

TEST_F(ServerTest, BadPostingsAreRefusedAndNotStored)
{
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
    std::string reply;
    EXPECT_EQ(get_status(target, &reply), 400) << target;
    EXPECT_FALSE(reply.empty()) << target;
  }
  const auto head = client().Head("/cgi-bin/velnorsolo.cgi?name=a&date=1&score=5");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 405);
  EXPECT_EQ(games_posted(page()), 0);
}

TEST_F(ServerTest, ScoresSurviveARestart)
{
  start();
  EXPECT_EQ(post("Keeper", "1/5/27", "555"), 200);
  EXPECT_EQ(server_->stop(), 0);
  server_->start();
  const std::string html = page();
  EXPECT_NE(html.find("<td>Keeper</td><td align=\"right\"><b>555</b></td>"), std::string::npos);
  EXPECT_EQ(games_posted(html), 1);
}

TEST_F(ServerTest, PostingsBeyondTheLimitGetStatus429)
{
  start({"--post-limit", "3"});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(post("Quick", "1/5/27", std::to_string(i)), 200);
  EXPECT_EQ(post("Quick", "1/5/27", "600"), 429);
  const std::string html = page();
  EXPECT_EQ(games_posted(html), 3);
  EXPECT_EQ(html.find("<b>600</b>"), std::string::npos);
}

TEST_F(ServerTest, ReleaseFilesAreServedByteForByte)
{
  const auto release = folder_.path() / "release";
  std::filesystem::create_directories(release);
  std::string installer;
  for (unsigned i = 0; i < 300000; ++i) installer += static_cast<char>((i * 7919u) % 256u);
  std::ofstream(release / "vnssetup.exe", std::ios::binary) << installer;
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

TEST_F(ServerTest, MakersPagesComeFromTheFolderBesideTheProgram)
{
  start();
  std::string body;
  EXPECT_EQ(get_status("/", &body), 200);
  EXPECT_NE(body.find("href=\"/multiplayer.html\""), std::string::npos);
  EXPECT_EQ(get_status("/multiplayer.html", &body), 200);
  EXPECT_NE(body.find("multiplayer edition of Velnor"), std::string::npos);
  EXPECT_EQ(get_status("/nothing.html"), 404);
}

TEST_F(ServerTest, ASecondServerCannotTakeTheSamePort)
{
  start();
  TempFolder other;
  EXPECT_EQ(run_server_to_end(other.path(), {"--listen", "127.0.0.1", "--port", std::to_string(server_->port())}), 1);
  EXPECT_EQ(run_server_to_end(other.path(), {"--port", "http"}), 2);
  EXPECT_EQ(games_posted(page()), 0);
}

TEST_F(ServerTest, OversizedRequestsAreRefusedWithoutHarm)
{
  start();
  const std::string request = "GET / HTTP/1.1\r\nHost: x\r\nX-Filler: " + std::string(1 << 20, 'a') + "\r\n\r\n";
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(server_->port()));
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  // The server stops reading long before the end, so the send may fail part-way; the answer counts.
  ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  std::string answer;
  char buffer[4096];
  ssize_t received;
  while ((received = ::recv(fd, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, static_cast<size_t>(received));
  ::close(fd);
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 431") || answer.starts_with("HTTP/1.1 400")) << answer.substr(0, 100);
  EXPECT_EQ(games_posted(page()), 0) << "the server goes on serving";
}

TEST_F(ServerTest, ConcurrentPostingsAreAllStored)
{
  start({"--post-limit", "0"});
  constexpr int kClients = 8;
  constexpr int kPostingsEach = 50;
  std::atomic<int> answered_ok = 0;
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      auto connection = client();
      for (int i = 0; i < kPostingsEach; ++i) {
        const auto target = "/cgi-bin/velnorsolo.cgi?name=c" + std::to_string(c) + "&date=1%2F5%2F27&score=" + std::to_string(i);
        const auto result = connection.Get(target);
        if (result && result->status == 200) ++answered_ok;
      }
    });
  }
  for (auto& thread : clients) thread.join();
  EXPECT_EQ(answered_ok, kClients * kPostingsEach);

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((folder_.path() / "data" / "scores.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* count = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM scores", -1, &count, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(count, 0), answered_ok.load());
  sqlite3_finalize(count);
  sqlite3_close(db);
  EXPECT_EQ(games_posted(page()), answered_ok.load());
}

}  // namespace
