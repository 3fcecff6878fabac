#include "online/thttpget.h"
#include "online/httpwaiter.h"
#include "online/tlschannel.h"

#include "script_server.h"
#include "support/childprocess.h"
#include "support/tlstestserver.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

using velnor::THTTPGet;
using velnor::testing::ScriptServer;
using velnor::testing::TestAuthority;
using velnor::testing::TlsTestServer;
using namespace std::chrono_literals;

namespace {

// The user-interface thread of these tests: tasks posted from any thread run
// here, on the test's thread, when the test pumps.
class UiQueue {
 public:
  velnor::PostToUi poster() {
    return [this](std::function<void()> task) {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
      posted_.notify_all();
    };
  }

  // Runs tasks as they come until `done` holds; false when the time ran out.
  bool run_until(const std::function<bool()>& done, std::chrono::seconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_until(lock, deadline, [&] { return !tasks_.empty(); })) return done();
      run_front(lock);
    }
    return true;
  }

  // Runs what is queued now, without waiting for more.
  void run_pending() {
    std::unique_lock lock(mutex_);
    while (!tasks_.empty()) {
      run_front(lock);
      lock.lock();
    }
  }

  bool wait_posted(std::chrono::seconds limit = 10s) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, limit, [&] { return !tasks_.empty(); });
  }

 private:
  void run_front(std::unique_lock<std::mutex>& lock) {
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
  }

  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

// What a component reported.
struct Events {
  std::vector<std::string> done;
  int errors = 0;
  std::vector<std::pair<int, int>> progress;
  THTTPGet* sender = nullptr;

  std::vector<int> statuses;  // of the replies whose text was handed over

  void attach(THTTPGet& get) {
    get.OnDoneString = [this](THTTPGet* from, const std::string& text) {
      sender = from;
      done.push_back(text);
      statuses.push_back(from->status_code());
    };
    get.OnError = [this](THTTPGet* from) {
      sender = from;
      ++errors;
    };
  }
  int count() const { return static_cast<int>(done.size()) + errors; }
};

ScriptServer::Reply ok(const std::string& body) {
  return {"HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body};
}

// Fetches `url` with `get` and returns the first line of the request the server saw.
class FetcherTest : public ::testing::Test {
 protected:
  void fetch(const std::string& url) {
    const int before = events.count();
    get.URL = url;
    get.FetchString();
    ASSERT_TRUE(ui.run_until([&] { return events.count() > before; })) << url;
    ui.run_pending();
    EXPECT_FALSE(get.busy());
  }

  UiQueue ui;
  ScriptServer server;
  THTTPGet get{ui.poster()};
  Events events;
  void SetUp() override { events.attach(get); }
};

std::string request_line(const std::string& request) { return request.substr(0, request.find("\r\n")); }

TEST_F(FetcherTest, GetSendsExactlyTheRequestOfTheDefaultSettings) {
  server.script(ok("Posted"));
  fetch("http://127.0.0.1/cgi-bin/velnorsolo.cgi?name=Ann&date=1/5/27&score=312");

  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "GET /cgi-bin/velnorsolo.cgi?name=Ann&date=1/5/27&score=312 HTTP/1.0\r\n"
            "Host: 127.0.0.1\r\n"
            "User-Agent: Tarnwick HTTPGet\r\n"
            "Accept: */*\r\n"
            "Cache-Control: no-cache\r\n"
            "Pragma: no-cache\r\n"
            "\r\n");
  EXPECT_EQ(events.done, std::vector<std::string>{"Posted"});
  EXPECT_EQ(events.sender, &get);
  EXPECT_EQ(events.errors, 0);
}

TEST_F(FetcherTest, PostCarriesTheFormBodyAndEveryOtherSetting) {
  get.PostQuery = "name=Ann&score=312";
  get.Agent.clear();
  get.AcceptTypes = "text/html";
  get.UseCache = true;
  get.Referer = "http://127.0.0.1/start.html";
  get.UserName = "ann";
  get.Password = "secret";
  server.script(ok("Thanks"));
  fetch("127.0.0.1/cgi-bin/post.cgi");

  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "POST /cgi-bin/post.cgi HTTP/1.0\r\n"
            "Host: 127.0.0.1\r\n"
            "Authorization: Basic YW5uOnNlY3JldA==\r\n"
            "Referer: http://127.0.0.1/start.html\r\n"
            "Accept: text/html\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n"
            "Content-Length: 18\r\n"
            "\r\n"
            "name=Ann&score=312");
  EXPECT_EQ(events.done, std::vector<std::string>{"Thanks"});
}

TEST_F(FetcherTest, TheBodyDecidesTheOutcomeNotTheStatus) {
  struct Case {
    const char* what;
    std::string reply;
    bool binary;
    bool done;
    std::string text;
    int status = 200;
  };
  const std::string page = "<html><body>Not here</body></html>";
  const Case cases[] = {
      {"error page", "HTTP/1.0 404 Not Found\r\nContent-Length: 34\r\n\r\n" + page, false, true, page, 404},
      {"empty 200", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", false, false, ""},
      {"empty, no length", "HTTP/1.0 200 OK\r\n\r\n", false, false, ""},
      {"length not a number", "HTTP/1.0 200 OK\r\nContent-Length: twelve\r\n\r\n1.0.1", false, true, "1.0.1"},
      {"length out of range", "HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n1.0.1", false, true,
       "1.0.1"},
      {"no length", "HTTP/1.0 200 OK\r\n\r\n1.0.1", false, true, "1.0.1"},
      {"no length, binary", "HTTP/1.0 200 OK\r\n\r\n1.0.1", true, false, ""},
      {"length, binary", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n1.0.1", true, true, "1.0.1"},
      {"body longer than announced", "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n1.0.1", false, true, "1.0"},
      {"body cut short", "HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\n1.0", false, true, "1.0"},
      {"interim reply first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok", false,
       true, "ok"},
      {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\n1.0\r\n2\r\n.1\r\n0\r\n\r\n", false, true,
       "1.0.1"},
      {"no reply at all", "", false, false, ""},
      {"body beyond the limit", "HTTP/1.0 200 OK\r\n\r\n" + std::string(THTTPGet::kMaxBody + 1, 'x'), false, false, ""},
  };
  for (const Case& c : cases) {
    server.script({c.reply});
    get.BinaryData = c.binary;
    events = {};
    events.attach(get);
    fetch("127.0.0.1/version.txt");
    if (c.done) {
      EXPECT_EQ(events.done, std::vector<std::string>{c.text}) << c.what;
      EXPECT_EQ(events.statuses, std::vector<int>{c.status}) << c.what;
      EXPECT_EQ(events.errors, 0) << c.what;
    } else {
      EXPECT_TRUE(events.done.empty()) << c.what;
      EXPECT_EQ(events.errors, 1) << c.what;
    }
  }
}

// Work on a page that could hold the window runs on the worker, and its rewrite is what the
// window is handed; a throw there is a failed fetch, not a lost one.
TEST_F(FetcherTest, APreparedBodyIsMadeOnTheWorker) {
  std::thread::id prepared_on;
  get.OnPrepare = [&](std::string& body) {
    prepared_on = std::this_thread::get_id();
    if (body == "throw") throw std::runtime_error("unreadable");
    body = "measured " + body;
  };
  server.script(ok("page"));
  fetch("127.0.0.1/page.html");
  EXPECT_EQ(events.done, std::vector<std::string>{"measured page"});
  EXPECT_NE(prepared_on, std::thread::id());
  EXPECT_NE(prepared_on, std::this_thread::get_id());
  server.script(ok("throw"));
  fetch("127.0.0.1/page.html");
  EXPECT_EQ(events.errors, 1);
}

TEST_F(FetcherTest, AnAnnouncedBodyEndsTheFetchWhileTheServerKeepsTheConnection) {
  server.script({"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n1.0.2", true});
  fetch("127.0.0.1/version.txt");
  EXPECT_EQ(events.done, std::vector<std::string>{"1.0.2"});
  EXPECT_TRUE(server.wait_client_gone());

  server.script({"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", true});
  fetch("127.0.0.1/version.txt");
  EXPECT_EQ(events.errors, 1);
}

// A server that stops sending, or one that never finishes, must not keep the
// instance busy: the posting and the update check would never hear back.
TEST_F(FetcherTest, AStalledOrEndlessReplyFailsInTime) {
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nhalf", true});
  get.stall_limit = 200ms;
  fetch("127.0.0.1/stalled");
  EXPECT_EQ(events.errors, 1);
  EXPECT_TRUE(server.wait_client_gone());

  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nhalf", true});
  get.stall_limit = 60s;
  get.deadline = 300ms;
  fetch("127.0.0.1/endless");
  EXPECT_EQ(events.errors, 2);
  EXPECT_TRUE(events.done.empty());
}

TEST_F(FetcherTest, AFetchAskedForWhileBusyIsDropped) {
  server.script(ok("first"));
  server.script(ok("second"));
  int refetches = 0;
  get.OnDoneString = [&](THTTPGet* from, const std::string& text) {
    events.done.push_back(text);
    // Still busy inside its own handler, so this is dropped too.
    from->URL = "127.0.0.1/from-handler";
    from->FetchString();
    refetches += from->busy() ? 1 : 0;
  };
  get.URL = "127.0.0.1/first";
  get.FetchString();
  get.URL = "127.0.0.1/second";
  get.FetchString();
  ASSERT_TRUE(ui.run_until([&] { return events.count() == 1; }));
  ui.run_pending();

  EXPECT_EQ(events.done, std::vector<std::string>{"first"});
  EXPECT_EQ(refetches, 1);
  EXPECT_FALSE(get.busy());
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(request_line(server.requests()[0]), "GET /first HTTP/1.0");

  // Idle again afterwards: the next fetch goes out.
  fetch("127.0.0.1/second");
  EXPECT_EQ(events.done.back(), "second");
}

TEST_F(FetcherTest, TheAddressIsSplitIntoHostAndObjectName) {
  const std::pair<std::string, std::string> sent[] = {
      {"HTTP://127.0.0.1/Upper", "GET /Upper HTTP/1.0"},
      {"hTtP://localhost/mixed?x=1&y=2", "GET /mixed?x=1&y=2 HTTP/1.0"},
      {"127.0.0.1/bare/path.txt", "GET /bare/path.txt HTTP/1.0"},
      // Bytes that cannot stand on a request line are escaped, the rest kept as typed.
      {"127.0.0.1/s.cgi?name=A B&c=%41#1", "GET /s.cgi?name=A%20B&c=%41%231 HTTP/1.0"},
      {"127.0.0.1/s.cgi?name=X\r\nInjected: yes", "GET /s.cgi?name=X%0D%0AInjected:%20yes HTTP/1.0"},
      {"127.0.0.1/s.cgi?name=J\xC3\xB6rg", "GET /s.cgi?name=J%C3%B6rg HTTP/1.0"},
      {"127.0.0.1/a/../b", "GET /a/../b HTTP/1.0"},
  };
  for (const auto& [url, line] : sent) {
    server.script(ok("x"));
    fetch(url);
  }
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), std::size(sent));
  for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(request_line(requests[i]), sent[i].second);
  EXPECT_NE(requests[1].find("\r\nHost: localhost\r\n"), std::string::npos);
  EXPECT_EQ(events.done.size(), std::size(sent));

  // No "/" leaves no host; a port in the address is not one (always 80); other
  // schemes are not recognised; an unknown host cannot be reached.
  for (const char* url : {"127.0.0.1", "", "http://127.0.0.1:80/x", "https://127.0.0.1/x", "/x", "user@127.0.0.1/x",
                          "no-such-host.invalid/x"}) {
    fetch(url);
  }
  EXPECT_EQ(events.errors, 7);
  EXPECT_EQ(server.requests().size(), std::size(sent));
}

TEST_F(FetcherTest, ProgressReportsEachChunkAndCancelEndsInError) {
  const std::string part(3000, 'a');
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 6000\r\n\r\n" + part, true});
  get.OnProgress = [&](THTTPGet* from, int total, int readed) {
    EXPECT_EQ(from, &get);
    events.progress.emplace_back(total, readed);
  };
  get.URL = "127.0.0.1/big.html";
  get.FetchString();
  ASSERT_TRUE(ui.run_until([&] { return !events.progress.empty() && events.progress.back().second == 3000; }));
  for (std::size_t i = 0; i < events.progress.size(); ++i) {
    EXPECT_EQ(events.progress[i].first, 6000);
    EXPECT_LE(events.progress[i].second - (i ? events.progress[i - 1].second : 0), 1025);
  }

  get.CancelFetch();
  ASSERT_TRUE(ui.run_until([&] { return events.count() == 1; }));
  EXPECT_EQ(events.errors, 1);
  EXPECT_TRUE(events.done.empty());
  EXPECT_FALSE(get.busy());
  EXPECT_TRUE(server.wait_client_gone());
}

TEST_F(FetcherTest, CancelAfterTheWorkerEndedStillReportsFailure) {
  server.script(ok("done"));
  get.URL = "127.0.0.1/x";
  get.FetchString();
  ASSERT_TRUE(ui.wait_posted());  // the completion is on its way
  get.CancelFetch();
  ASSERT_TRUE(ui.run_until([&] { return events.count() == 1; }));
  EXPECT_EQ(events.errors, 1);
}

TEST(FetcherLifetime, ADestroyedComponentNeverHearsOfItsFetch) {
  UiQueue ui;
  ScriptServer server;
  int calls = 0;
  const auto attach = [&](THTTPGet& get) {
    get.OnDoneString = [&](THTTPGet*, const std::string&) { ++calls; };
    get.OnError = [&](THTTPGet*) { ++calls; };
    get.OnProgress = [&](THTTPGet*, int, int) { ++calls; };
  };

  // In the middle of the body, with a progress report waiting in the queue.
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nhalf", true});
  auto get = std::make_unique<THTTPGet>(ui.poster());
  attach(*get);
  get->URL = "127.0.0.1/slow";
  get->FetchString();
  ASSERT_TRUE(ui.wait_posted());
  get.reset();
  EXPECT_TRUE(server.wait_client_gone());
  ui.run_pending();

  // With its completion already queued.
  server.script(ok("late"));
  get = std::make_unique<THTTPGet>(ui.poster());
  attach(*get);
  get->OnProgress = nullptr;
  get->URL = "127.0.0.1/quick";
  get->FetchString();
  ASSERT_TRUE(ui.wait_posted());
  get.reset();
  ui.run_pending();

  // Before the server has even answered.
  server.script({"", true});
  get = std::make_unique<THTTPGet>(ui.poster());
  attach(*get);
  get->URL = "127.0.0.1/silent";
  get->FetchString();
  ASSERT_TRUE(server.wait_requests(3));
  get.reset();
  ui.run_pending();

  EXPECT_EQ(calls, 0);
}

TEST(FetcherLifetime, AHandlerMayDestroyItsComponent) {
  UiQueue ui;
  ScriptServer server;
  server.script(ok("bye"));
  auto get = std::make_unique<THTTPGet>(ui.poster());
  std::string seen;
  get->OnDoneString = [&](THTTPGet*, const std::string& text) {
    seen = text;
    get.reset();
  };
  get->URL = "127.0.0.1/x";
  get->FetchString();
  ASSERT_TRUE(ui.run_until([&] { return get == nullptr; }));
  EXPECT_EQ(seen, "bye");
}

// Debian's tinyproxy on a loopback port of its own, with a private configuration.
class Proxy {
 public:
  static constexpr std::uint16_t kPort = 8888;

  Proxy() {
    dir_ = std::filesystem::temp_directory_path() / ("velnor_proxy_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    const auto conf = dir_ / "tinyproxy.conf";
    std::ofstream(conf) << "Port " << kPort << "\nListen 127.0.0.1\nTimeout 30\nMaxClients 4\n"
                        << "LogFile \"" << (dir_ / "log").string() << "\"\nLogLevel Info\n";
    program_.emplace(dir_, std::vector<std::string>{"tinyproxy", "-d", "-c", conf.string()}, dir_ / "output.log");
  }
  ~Proxy() {
    program_.reset();
    std::filesystem::remove_all(dir_);
  }

  // Whether it takes connections: the proxy needs a moment to start.
  bool listening() { return program_->wait_for_port(kPort, 10s); }

 private:
  std::filesystem::path dir_;
  std::optional<velnor::testing::ChildProgram> program_;
};

TEST_F(FetcherTest, TheProxyOfTheEnvironmentIsUsed) {
  Proxy proxy;
  ASSERT_TRUE(proxy.listening()) << "tinyproxy did not start";
  setenv("http_proxy", "http://127.0.0.1:8888", 1);
  server.script(ok("via proxy"));
  fetch("127.0.0.1/through");
  unsetenv("http_proxy");
  setenv("HTTP_PROXY", "127.0.0.1:8888", 1);
  server.script(ok("via proxy too"));
  fetch("127.0.0.1/upper");
  server.script(ok("direct"));
  setenv("no_proxy", "example.org, 127.0.0.1", 1);
  fetch("127.0.0.1/around");
  unsetenv("HTTP_PROXY");
  unsetenv("no_proxy");

  EXPECT_EQ(events.done, (std::vector<std::string>{"via proxy", "via proxy too", "direct"}));
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(request_line(requests[0]), "GET /through HTTP/1.0");
  EXPECT_NE(requests[0].find("tinyproxy"), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("User-Agent: Tarnwick HTTPGet\r\n"), std::string::npos);
  EXPECT_NE(requests[1].find("tinyproxy"), std::string::npos) << requests[1];
  EXPECT_EQ(requests[2].find("tinyproxy"), std::string::npos) << requests[2];
}

// The game's https: the certificate is checked against the trust store, here one that holds only
// this run's test authority (through SSL_CERT_FILE, where the system's store is read from).
class HttpsFetcherTest : public FetcherTest {
 protected:
  static const TestAuthority& authority() { return velnor::testing::test_authority(); }

  velnor::testing::TrustOnly trust;
};

std::string reply_of(const std::string& body) { return ok(body).head; }

TEST_F(HttpsFetcherTest, AFetchOverTlsSendsTheRequestOnlyInsideTheChannel) {
  TlsTestServer tls(authority().issue("localhost"));
  tls.script({reply_of("1.0.2")});
  get.PostQuery = "name=Ann";
  fetch("https://localhost/velnorsolo/version.txt");

  EXPECT_EQ(events.done, std::vector<std::string>{"1.0.2"});
  EXPECT_TRUE(get.untrusted_reason().empty());
  ASSERT_EQ(tls.requests().size(), 1u);
  EXPECT_EQ(request_line(tls.requests()[0]), "POST /velnorsolo/version.txt HTTP/1.0");
  EXPECT_NE(tls.requests()[0].find("Host: localhost\r\n"), std::string::npos);
}

// Each is refused before a byte of the request leaves, with a reason a player can pass on.
TEST_F(HttpsFetcherTest, ACertificateThatDoesNotHoldIsRefusedWithItsReason) {
  const struct {
    velnor::testing::TlsIdentity identity;
    const char* reason;
  } cases[] = {
      {authority().issue("elsewhere.example"), "host name mismatch"},
      {authority().issue("localhost", -7200, -3600), "certificate expired"},
      {TestAuthority::self_signed("localhost"), "self-signed certificate"},
  };
  for (const auto& [identity, reason] : cases) {
    TlsTestServer tls(identity);
    tls.script({reply_of("forged")});
    fetch("https://localhost/velnorsolo/highscores.html");
    EXPECT_TRUE(events.done.empty()) << reason;
    EXPECT_EQ(get.untrusted_reason(), std::string("The server's certificate does not hold: ") + reason);
    EXPECT_TRUE(tls.requests().empty()) << reason;
  }
  EXPECT_EQ(events.errors, 3);
}

// A server that is no TLS server, or one that never answers the handshake, ends the fetch: the
// first at once, the second at the stall limit, as any other wait does.
TEST_F(HttpsFetcherTest, GarbageOrSilenceInPlaceOfAHandshakeFails) {
  TlsTestServer tls(authority().issue("localhost"));
  get.stall_limit = 200ms;
  tls.script({"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nplain", true});
  fetch("https://localhost/garbage");
  EXPECT_NE(get.untrusted_reason().find("No secure connection"), std::string::npos) << get.untrusted_reason();
  EXPECT_TRUE(tls.wait_client_gone());

  tls.script({"", true});
  fetch("https://localhost/silent");
  EXPECT_TRUE(tls.wait_client_gone());
  EXPECT_EQ(events.errors, 2);
  EXPECT_TRUE(events.done.empty());
}

// A server gone before the handshake is written: the library's write raises SIGPIPE, which fails
// that request only, and is not left pending to end the program later.
TEST_F(HttpsFetcherTest, AServerGoneAsTheHandshakeIsWrittenFailsOnlyThatRequest) {
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
  close(ends[1]);
  velnor::HttpWaiter waiter([] { return false; }, 1s);
  EXPECT_THROW(velnor::TlsChannel(ends[0], "localhost", waiter), velnor::ETlsException);
  close(ends[0]);
  sigset_t pending;
  ASSERT_EQ(sigpending(&pending), 0);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

// Through a proxy an https fetch asks for a tunnel: the proxy carries the handshake and sees
// neither the address's path nor the request.
TEST_F(HttpsFetcherTest, AnHttpsFetchGoesThroughTheProxysTunnel) {
  Proxy proxy;
  ASSERT_TRUE(proxy.listening()) << "tinyproxy did not start";
  TlsTestServer tls(authority().issue("localhost"));
  tls.script({reply_of("tunnelled")});
  setenv("http_proxy", "http://127.0.0.1:8888", 1);
  fetch("https://localhost/velnorsolo/highscores.html");
  unsetenv("http_proxy");

  EXPECT_EQ(events.done, std::vector<std::string>{"tunnelled"});
  ASSERT_EQ(tls.requests().size(), 1u);
  EXPECT_EQ(request_line(tls.requests()[0]), "GET /velnorsolo/highscores.html HTTP/1.0");
}

}  // namespace
