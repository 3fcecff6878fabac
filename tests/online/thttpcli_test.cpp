#include "online/thttpcli.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/tlstestserver.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using velnor::EHttpException;
using velnor::follow_location;
using velnor::HttpAddress;
using velnor::split_address;
using velnor::THttpCli;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(10);

constexpr const char* kAcceptLine = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
constexpr const char* kAgentLine = "User-Agent: Mozilla/3.0 (compatible)\r\n";

// What the server sends on one connection.
struct Reply {
  std::vector<std::string> pieces;
  // Called before each piece after the first, with its index: lets a test pace the server.
  std::function<void(std::size_t)> pace;
  // Keep the connection open until the client closes it.
  bool hold_open = false;
};

struct Seen {
  std::string request;               // up to and including the empty line
  bool client_closed_first = false;  // for a held connection
};

// A loopback server that answers each connection with the next scripted reply
// and records what it was sent.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<Reply> script, const char* loopback = "127.0.0.1") : script_(std::move(script)) {
    const bool v6 = std::strchr(loopback, ':') != nullptr;
    listener_ = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (v6) {
      auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
      in6->sin6_family = AF_INET6;
      ::inet_pton(AF_INET6, loopback, &in6->sin6_addr);
      length = sizeof(sockaddr_in6);
    } else {
      auto* in4 = reinterpret_cast<sockaddr_in*>(&address);
      in4->sin_family = AF_INET;
      ::inet_pton(AF_INET, loopback, &in4->sin_addr);
      length = sizeof(sockaddr_in);
    }
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 8) != 0) return;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(v6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                     : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~ScriptedServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
  }

  bool listening() const { return port_ != 0; }
  std::uint16_t port() const { return port_; }
  std::string url(const std::string& path, const std::string& user_info = "") const {
    return "http://" + user_info + "127.0.0.1:" + std::to_string(port_) + path;
  }
  int requests_received() const { return requests_received_; }

  // Waits for the script to end (or run out of time) and gives what each connection sent.
  const std::vector<Seen>& finish() {
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  bool wait_for(int fd, short events, Clock::time_point deadline) const {
    while (!stop_ && Clock::now() < deadline) {
      pollfd entry{fd, events, 0};
      if (::poll(&entry, 1, 20) > 0) return true;
    }
    return false;
  }

  void serve() {
    for (const Reply& reply : script_) {
      const auto deadline = Clock::now() + kDeadline;
      if (!wait_for(listener_, POLLIN, deadline)) return;
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) return;
      Seen seen;
      char buffer[4096];
      while (seen.request.find("\r\n\r\n") == std::string::npos && wait_for(client, POLLIN, deadline)) {
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        seen.request.append(buffer, static_cast<std::size_t>(got));
      }
      ++requests_received_;
      for (std::size_t i = 0; i < reply.pieces.size(); ++i) {
        if (i > 0 && reply.pace) reply.pace(i);
        ::send(client, reply.pieces[i].data(), reply.pieces[i].size(), MSG_NOSIGNAL);
      }
      if (reply.hold_open) {
        while (wait_for(client, POLLIN, deadline)) {
          if (::recv(client, buffer, sizeof buffer, 0) <= 0) {
            seen.client_closed_first = true;
            break;
          }
        }
      }
      ::close(client);
      seen_.push_back(std::move(seen));
    }
  }

  std::vector<Reply> script_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_received_{0};
  std::vector<Seen> seen_;
  std::thread thread_;
};

Reply answer(std::string bytes) { return Reply{{std::move(bytes)}, {}, false}; }

std::string first_line(const std::string& request) { return request.substr(0, request.find("\r\n")); }

struct Outcome {
  bool raised = false;
  int status = 0;
  std::string reason;
  std::string body;
};

// One GetSync with a counting pump; the body goes into a string stream.
Outcome get(THttpCli& client, const std::string& url) {
  std::ostringstream body;
  client.URL = url;
  client.BodyStream = &body;
  Outcome outcome;
  try {
    client.GetSync();
    outcome.status = client.status_code();
    outcome.reason = client.reason_phrase();
  } catch (const EHttpException& e) {
    outcome = {true, e.status(), e.what(), {}};
  }
  client.BodyStream = nullptr;
  outcome.body = body.str();
  return outcome;
}

Outcome get(const std::string& url) {
  THttpCli client;
  return get(client, url);
}

TEST(HttpAddressTest, SplitsUserPasswordHostPortAndPath) {
  const HttpAddress full = split_address("http://alice:pa:ss@example.org:8080/a/b?c=d");
  EXPECT_TRUE(full.has_user);
  EXPECT_EQ(full.user, "alice");
  EXPECT_EQ(full.password, "pa:ss");
  EXPECT_EQ(full.host, "example.org");
  EXPECT_EQ(full.port, 8080);
  EXPECT_EQ(full.path, "/a/b?c=d");

  const HttpAddress bare = split_address("example.org");
  EXPECT_FALSE(bare.has_user);
  EXPECT_EQ(bare.port, 80);
  EXPECT_EQ(bare.path, "/");

  const HttpAddress v6 = split_address("HTTP://[::1]:81");
  EXPECT_EQ(v6.host, "::1");
  EXPECT_EQ(v6.host_field(), "[::1]");
  EXPECT_EQ(v6.port, 81);

  EXPECT_FALSE(split_address("http://@example.org/").has_user);

  const HttpAddress secure = split_address("HTTPS://example.org/a");
  EXPECT_TRUE(secure.secure);
  EXPECT_EQ(secure.port, 443);
  EXPECT_FALSE(bare.secure);
}

TEST(HttpAddressTest, RefusesWhatCannotBeRequested) {
  const std::pair<const char*, const char*> cases[] = {
      {"ftp://example.org/", "Unsupported protocol"},
      {"http://example.org:0/", "Invalid port"},
      {"http://example.org:65536/", "Invalid port"},
      {"http://example.org:8o/", "Invalid port"},
      {"http:///path", "Invalid address"},
      {"http://[::1/", "Invalid address"},
      {"http://a/b\r\nX: y", "Invalid address"},
  };
  for (const auto& [url, reason] : cases) {
    try {
      split_address(url);
      ADD_FAILURE() << url;
    } catch (const EHttpException& e) {
      EXPECT_EQ(e.status(), 404);
      EXPECT_STREQ(e.what(), reason) << url;
    }
  }
}

TEST(HttpAddressTest, RelativeLocationIgnoresSlashesInTheQuery) {
  const HttpAddress from = split_address("http://h/dir/page?next=/x/y");
  EXPECT_EQ(follow_location(from, "other").path, "/dir/other");
  EXPECT_EQ(follow_location(split_address("http://h"), "file").path, "/file");
}

TEST(THttpCliTest, SendsTheRequestLinesExactly) {
  const std::string ok = "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n";
  ScriptedServer server({answer(ok), answer(ok), answer(ok)});
  ASSERT_TRUE(server.listening());
  EXPECT_FALSE(get(server.url("/velnorsolo/vnssetup.exe")).raised);
  EXPECT_FALSE(get(server.url("", "alice:s3cret@")).raised);
  EXPECT_FALSE(get(server.url("/x", "bob@")).raised);

  const auto& seen = server.finish();
  ASSERT_EQ(seen.size(), 3u);
  const std::string common = std::string(kAcceptLine) + kAgentLine + "Host: 127.0.0.1\r\n";
  EXPECT_EQ(seen[0].request, "GET /velnorsolo/vnssetup.exe HTTP/1.0\r\n" + common + "\r\n");
  EXPECT_EQ(seen[1].request, "GET / HTTP/1.0\r\n" + common + "Authorization: Basic YWxpY2U6czNjcmV0\r\n\r\n");
  EXPECT_EQ(seen[2].request, "GET /x HTTP/1.0\r\n" + common + "Authorization: Basic Ym9iOg==\r\n\r\n");
}

TEST(THttpCliTest, FollowsEachFormOfLocationAndDropsRedirectBodies) {
  ScriptedServer final_server({answer("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\ninstaller")});
  ScriptedServer server({
      answer("HTTP/1.0 302 Found\r\nLocation: /other/x\r\n\r\nfirst redirect page"),
      answer("HTTP/1.1 301 Moved\r\nlocation:    y.bin\r\nContent-Length: 5\r\n\r\nsecond"),
      answer("HTTP/1.0 302 Found\r\nLOCATION: http://127.0.0.1:" + std::to_string(final_server.port()) +
             "/final.bin\r\n\r\nthird"),
  });
  ASSERT_TRUE(server.listening() && final_server.listening());

  const Outcome outcome = get(server.url("/dir/start", "u:p@"));
  EXPECT_FALSE(outcome.raised) << outcome.reason;
  EXPECT_EQ(outcome.status, 200);
  EXPECT_EQ(outcome.body, "installer");

  const auto& seen = server.finish();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(first_line(seen[0].request), "GET /dir/start HTTP/1.0");
  EXPECT_EQ(first_line(seen[1].request), "GET /other/x HTTP/1.0");
  EXPECT_EQ(first_line(seen[2].request), "GET /other/y.bin HTTP/1.0");
  // The same server keeps the credentials; a new address brings its own (none).
  for (const Seen& s : seen) EXPECT_NE(s.request.find("Authorization: Basic dTpw\r\n"), std::string::npos);
  const auto& final_seen = final_server.finish();
  ASSERT_EQ(final_seen.size(), 1u);
  EXPECT_EQ(first_line(final_seen[0].request), "GET /final.bin HTTP/1.0");
  EXPECT_EQ(final_seen[0].request.find("Authorization"), std::string::npos);
}

TEST(THttpCliTest, FollowsTwentyRedirectionsButNotTwentyOne) {
  const Reply loop = answer("HTTP/1.0 302 Found\r\nLocation: /loop\r\n\r\n");
  std::vector<Reply> twenty(20, loop);
  twenty.push_back(answer("HTTP/1.0 200 OK\r\n\r\ndone"));
  ScriptedServer finite(twenty);
  ASSERT_TRUE(finite.listening());
  EXPECT_EQ(get(finite.url("/start")).body, "done");

  ScriptedServer endless(std::vector<Reply>(22, loop));
  ASSERT_TRUE(endless.listening());
  const Outcome outcome = get(endless.url("/start"));
  EXPECT_TRUE(outcome.raised);
  EXPECT_EQ(outcome.status, 404);
  EXPECT_EQ(outcome.reason, "Too many redirections");
  EXPECT_EQ(outcome.body, "");
  EXPECT_EQ(endless.requests_received(), 21);
}

// The installer comes over https like everything else, and a redirection may move it within
// https; one to plain http would hand the download to anyone on the way, so it is refused.
TEST(THttpCliTest, DownloadsOverHttpsButIsNeverRedirectedToHttp) {
  const velnor::testing::TrustOnly trust;
  using velnor::testing::TlsTestServer;
  TlsTestServer tls(velnor::testing::test_authority().issue("localhost"), 0);
  const std::string base = "https://localhost:" + std::to_string(tls.port());
  tls.script({"HTTP/1.0 302 Found\r\nLocation: " + base + "/moved/setup.bin\r\n\r\n"});
  tls.script({"HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\ninstaller"});
  const Outcome fetched = get(base + "/velnorsolo/setup.bin");
  EXPECT_FALSE(fetched.raised) << fetched.reason;
  EXPECT_EQ(fetched.body, "installer");
  ASSERT_EQ(tls.requests().size(), 2u);
  EXPECT_EQ(first_line(tls.requests()[1]), "GET /moved/setup.bin HTTP/1.0");

  ScriptedServer plain({answer("HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\nforged")});
  ASSERT_TRUE(plain.listening());
  tls.script({"HTTP/1.0 302 Found\r\nLocation: " + plain.url("/setup.bin") + "\r\n\r\n"});
  const Outcome downgraded = get(base + "/velnorsolo/setup.bin");
  EXPECT_TRUE(downgraded.raised);
  EXPECT_EQ(downgraded.reason, "Redirection from https to http refused");
  EXPECT_EQ(downgraded.body, "");
  EXPECT_EQ(plain.requests_received(), 0);
}

TEST(THttpCliTest, ErrorStatusRaisesWithoutWaitingForTheBody) {
  ScriptedServer server({Reply{{"HTTP/1.1 404 Not Found Here\r\nContent-Type: Text/HTML\r\n\r\n<p>gone"}, {}, true}});
  ASSERT_TRUE(server.listening());
  THttpCli client;
  const Outcome outcome = get(client, server.url("/velnorsolo/vnssetup.exe"));
  EXPECT_TRUE(outcome.raised);
  EXPECT_EQ(outcome.status, 404);
  EXPECT_EQ(outcome.reason, "Not Found Here");
  EXPECT_EQ(client.status_code(), 404);
  EXPECT_EQ(client.content_type(), "text/html");
  ASSERT_EQ(server.finish().size(), 1u);
  EXPECT_TRUE(server.finish()[0].client_closed_first);
}

TEST(THttpCliTest, BodyEndsAtContentLengthOrWhenTheServerCloses) {
  ScriptedServer server({
      answer("HTTP/1.0 200 OK\r\n\r\n"),
      Reply{{"HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\npart", "ial bo", "dy"}, {}, false},
      Reply{{"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n12", "345 and more"}, {}, true},
      answer("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\ncut short"),
  });
  ASSERT_TRUE(server.listening());

  const Outcome empty = get(server.url("/a"));
  EXPECT_FALSE(empty.raised);
  EXPECT_EQ(empty.status, 200);
  EXPECT_EQ(empty.body, "");

  const Outcome unannounced = get(server.url("/b"));
  EXPECT_FALSE(unannounced.raised);
  EXPECT_EQ(unannounced.body, "partial body");

  const Outcome announced = get(server.url("/c"));
  EXPECT_FALSE(announced.raised);
  EXPECT_EQ(announced.body, "12345");

  // A body shorter than announced is a failed download, not a finished one;
  // what came stays in the stream.
  const Outcome cut = get(server.url("/d"));
  EXPECT_TRUE(cut.raised);
  EXPECT_EQ(cut.reason, "Connection closed during the reply body");
  EXPECT_EQ(cut.body, "cut short");

  const auto& seen = server.finish();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_TRUE(seen[2].client_closed_first);
}

// Only the final reply's body, with its chunk framing taken off, may reach the
// installer file; a body the client cannot frame or that is too large is no download.
TEST(THttpCliTest, InterimHeadsAndChunkFramingNeverReachTheStream) {
  ScriptedServer server({
      Reply{{"HTTP/1.1 100 Cont", "inue\r\n\r\nHTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r",
             "\nMZ ab\r\n1", "0;x=y\r\n0123456789abcdef\r\n0\r\nTrailer: 1\r\n\r\n"},
            {},
            true},
      answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nMZ"),
      answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nMZabcX\r\n"),
      answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\nMZ"),
      answer("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(THttpCli::kMaxBody + 1) + "\r\n\r\nMZ"),
  });
  ASSERT_TRUE(server.listening());

  const Outcome whole = get(server.url("/velnorsolo/vnssetup.exe"));
  EXPECT_FALSE(whole.raised) << whole.reason;
  EXPECT_EQ(whole.status, 200);
  EXPECT_EQ(whole.body, "MZ ab0123456789abcdef");

  const std::pair<const char*, const char*> refused[] = {
      {"Connection closed during the reply body", "MZ"},
      {"Invalid chunked body", "MZabc"},
      {"Unsupported transfer coding", ""},
      {"Reply body too large", ""},
  };
  for (const auto& [reason, written] : refused) {
    const Outcome outcome = get(server.url("/velnorsolo/vnssetup.exe"));
    EXPECT_TRUE(outcome.raised) << reason;
    EXPECT_EQ(outcome.reason, reason);
    EXPECT_EQ(outcome.body, written) << reason;
  }
  // The end of the chunks ends the download, whether or not the server closes.
  EXPECT_TRUE(server.finish()[0].client_closed_first);
}

TEST(THttpCliTest, StreamThatFailsToWriteIsNotASuccess) {
  ScriptedServer server({answer("HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\ndata")});
  ASSERT_TRUE(server.listening());
  std::ostream broken(nullptr);
  THttpCli client;
  client.URL = server.url("/");
  client.BodyStream = &broken;
  try {
    client.GetSync();
    ADD_FAILURE() << "reported as a success";
  } catch (const EHttpException&) {
    ADD_FAILURE() << "reported as a failed download";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Cannot write the received data");
  }
}

TEST(THttpCliTest, ReplyWithoutHeaderIsAllBody) {
  ScriptedServer server({Reply{{"<ht", "ml>\r\n<body>hi", "</body>"}, {}, false}});
  ASSERT_TRUE(server.listening());
  THttpCli client;
  const Outcome outcome = get(client, server.url("/"));
  EXPECT_FALSE(outcome.raised);
  EXPECT_EQ(outcome.body, "<html>\r\n<body>hi</body>");
  EXPECT_EQ(client.content_type(), "text/html");
}

TEST(THttpCliTest, BrokenRepliesRaiseClearErrors) {
  const std::string long_line = "X-Long: " + std::string(9000, 'a') + "\r\n";
  std::string many_lines;
  for (int i = 0; i < 120; ++i) many_lines += "X-Field: " + std::to_string(i) + "\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", "Connection closed during the reply header"},
      {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n", "Connection closed during the reply header"},
      {"SSH-2.0-server\r\n\r\n", "Invalid status line"},
      {"HTTP/1.0 2x0 OK\r\n\r\n", "Invalid status line"},
      {"HTTP/1.0 200 OK\r\n" + long_line + "\r\n", "Reply header line too long"},
      {"HTTP/1.0 200 OK\r\n" + many_lines + "\r\n", "Too many reply header lines"},
      {"HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\n", "Invalid Content-Length"},
      {"HTTP/1.0 302 Found\r\nLocation: /a\rX-Injected: 1\r\n\r\n", "Invalid address"},
      {"HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:99999/\r\n\r\n", "Invalid port"},
  };
  std::vector<Reply> script;
  for (const auto& entry : cases) script.push_back(answer(entry.first));
  ScriptedServer server(script);
  ASSERT_TRUE(server.listening());
  for (const auto& [reply, reason] : cases) {
    const Outcome outcome = get(server.url("/"));
    EXPECT_TRUE(outcome.raised) << reason;
    EXPECT_EQ(outcome.status, 404);
    EXPECT_EQ(outcome.reason, reason);
  }
  EXPECT_EQ(server.finish().size(), std::size(cases));
}

TEST(THttpCliTest, RefusedConnectionGivesTheSocketError) {
  // A bound socket that does not listen refuses every connection.
  const int blocker = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&address), length), 0);
  ::getsockname(blocker, reinterpret_cast<sockaddr*>(&address), &length);

  const Outcome outcome = get("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/");
  ::close(blocker);
  EXPECT_TRUE(outcome.raised);
  EXPECT_EQ(outcome.status, 404);
  EXPECT_EQ(outcome.reason, "Connection refused (Error #111)");
}

TEST(THttpCliTest, UnknownHostGivesTheResolversMessage) {
  const char* name = "no-such-host.velnor.invalid";
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const int result = ::getaddrinfo(name, "80", &hints, &list);
  ASSERT_NE(result, 0);

  const Outcome outcome = get(std::string("http://") + name + "/velnorsolo/vnssetup.exe");
  EXPECT_TRUE(outcome.raised);
  EXPECT_EQ(outcome.status, 404);
  EXPECT_EQ(outcome.reason, ::gai_strerror(result));
}

TEST(THttpCliTest, SecondRequestWhileOneRunsIsRefused) {
  THttpCli client;
  std::string nested_reason;
  int nested_status = -1;
  // Paced from the server's thread, once the first request is in: it is running then.
  const auto second_request = [&](std::size_t) {
    try {
      client.GetSync();
      nested_status = 999;
    } catch (const EHttpException& e) {
      nested_status = e.status();
      nested_reason = e.what();
    }
  };
  ScriptedServer server({Reply{{"HTTP/1.0 200 OK\r\n\r\nfirst", " request"}, second_request, false}});
  ASSERT_TRUE(server.listening());
  const Outcome outcome = get(client, server.url("/"));
  EXPECT_EQ(nested_reason, "HTTP component is busy");
  EXPECT_EQ(nested_status, 0);
  EXPECT_FALSE(outcome.raised);
  EXPECT_EQ(outcome.body, "first request");
  EXPECT_EQ(client.status_code(), 200);
  EXPECT_EQ(server.finish().size(), 1u);
}

TEST(THttpCliTest, CancelFromAnotherThreadEndsTheRequestAndEveryLaterOne) {
  THttpCli client;
  ScriptedServer server({Reply{
      {"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nsome", "more"}, [&](std::size_t) { client.cancel(); }, true}});
  ASSERT_TRUE(server.listening());
  const Outcome outcome = get(client, server.url("/velnorsolo/vnssetup.exe"));
  EXPECT_TRUE(outcome.raised);
  EXPECT_EQ(outcome.status, 404);
  EXPECT_EQ(outcome.reason, "Connection aborted on request");
  ASSERT_EQ(server.finish().size(), 1u);
  EXPECT_TRUE(server.finish()[0].client_closed_first);

  // Nothing is asked of the server after a cancel.
  ScriptedServer next({answer("HTTP/1.0 200 OK\r\n\r\n")});
  ASSERT_TRUE(next.listening());
  EXPECT_EQ(get(client, next.url("/")).reason, "Connection aborted on request");
  EXPECT_EQ(next.requests_received(), 0);
}

// A server that sends a byte now and then, each soon enough to keep the stall limit
// away, still fails the download once a window of it moves less than the floor; a
// slow but steady one does not.
TEST(THttpCliTest, ATrickleFailsBelowTheRateFloor) {
  const auto paced = [](std::chrono::milliseconds gap) {
    return [gap](std::size_t) { std::this_thread::sleep_for(gap); };
  };
  std::vector<std::string> trickle{"HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\n"};
  trickle.resize(41, "x");
  std::vector<std::string> steady{"HTTP/1.0 200 OK\r\nContent-Length: 2000\r\n\r\n"};
  steady.resize(21, std::string(100, 'y'));
  ScriptedServer server({Reply{trickle, paced(std::chrono::milliseconds(20)), false},
                         Reply{steady, paced(std::chrono::milliseconds(20)), false}});
  ASSERT_TRUE(server.listening());
  THttpCli client;
  client.least_rate = {100, std::chrono::milliseconds(300)};
  const Outcome slow = get(client, server.url("/velnorsolo/vnssetup.exe"));
  EXPECT_TRUE(slow.raised);
  EXPECT_EQ(slow.reason, "Transfer too slow");
  EXPECT_LT(slow.body.size(), 40u);

  const Outcome steady_outcome = get(client, server.url("/velnorsolo/vnssetup.exe"));
  EXPECT_FALSE(steady_outcome.raised) << steady_outcome.reason;
  EXPECT_EQ(steady_outcome.body.size(), 2000u);
}

// Runs `scenario` in a child process that sees `hosts` as its hosts file; gives
// the child's complaint ("" when it passed), or nullopt when this system cannot
// give a process a private mount namespace.
std::optional<std::string> with_hosts_file(const std::string& hosts, const std::function<std::string()>& scenario) {
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    auto report = [&](const std::string& text, int code) {
      [[maybe_unused]] const auto written = ::write(channel[1], text.data(), text.size());
      ::_exit(code);
    };
    if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) report("unshare", 77);
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) report("private mounts", 77);
    char file[] = "/tmp/velnor_hosts_XXXXXX";
    const int fd = ::mkstemp(file);
    if (fd < 0 || ::write(fd, hosts.data(), hosts.size()) != static_cast<ssize_t>(hosts.size())) report("hosts", 1);
    ::close(fd);
    const int mounted = ::mount(file, "/etc/hosts", nullptr, MS_BIND, nullptr);
    ::unlink(file);
    if (mounted != 0) report("bind mount", 77);
    report(scenario(), 0);
  }
  ::close(channel[1]);
  std::string said;
  char buffer[256];
  for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, static_cast<std::size_t>(got));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return std::nullopt;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed: " + said;
  return said;
}

TEST(THttpCliTest, TriesEveryAddressOfTheHost) {
  {
    // Gone before the fork: a thread of its own allocating at that moment would leave the
    // child's allocator locked for ever.
    const ScriptedServer probe({}, "::1");
    if (!probe.listening()) GTEST_SKIP() << "no IPv6 loopback here";
  }

  // Whichever order the resolver gives, one of the two servers is reached only
  // after the other address has refused.
  for (const char* loopback : {"127.0.0.1", "::1"}) {
    const auto complaint = with_hosts_file("::1 localhost\n127.0.0.1 localhost\n", [loopback] {
      ScriptedServer server({answer("HTTP/1.0 200 OK\r\n\r\nreached")}, loopback);
      if (!server.listening()) return std::string("cannot listen on ") + loopback;
      const Outcome outcome = get("http://localhost:" + std::to_string(server.port()) + "/");
      if (outcome.raised || outcome.body != "reached") return loopback + std::string(": ") + outcome.reason;
      return std::string();
    });
    if (!complaint) GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(*complaint, "") << loopback;
  }
}

}  // namespace
