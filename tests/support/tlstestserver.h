#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopbacklistener.h"
#include "support/testauthority.h"

// An https server on 127.0.0.1 for tests: it answers each connection with the next scripted
// answer, over TLS under the identity it was given, and records each request it read.
namespace velnor::testing {

class TlsTestServer {
 public:
  struct Answer {
    std::string bytes;
    // Sent at once in the clear, in place of a handshake; the connection is then held open
    // until the client goes. Empty: a server that never speaks.
    bool plain = false;
  };

  // Port 0: one the system chooses.
  explicit TlsTestServer(const TlsIdentity& identity, std::uint16_t port = 443);
  TlsTestServer(const TlsTestServer&) = delete;
  TlsTestServer& operator=(const TlsTestServer&) = delete;

  std::uint16_t port() const { return listener_.port(); }
  void script(Answer answer);
  // The requests read so far, each as it came through the TLS channel.
  std::vector<std::string> requests();
  bool wait_requests(std::size_t count, std::chrono::seconds limit = std::chrono::seconds(10));
  // Waits until the client has closed a connection held open after a plain answer.
  bool wait_client_gone(std::chrono::seconds limit = std::chrono::seconds(10));

 private:
  void answer(int fd);

  std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Answer> answers_;
  std::vector<std::string> requests_;
  bool client_gone_ = false;
  LoopbackListener listener_;  // last: it stops before what answer() uses goes
};

}  // namespace velnor::testing
