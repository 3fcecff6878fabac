#pragma once

// A scripted HTTP server on 127.0.0.1 for tests: it records each request's
// bytes and answers each connection with the next scripted reply (or the next
// one scripted for that request's path).

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopbacklistener.h"

namespace velnor::testing {

class ScriptServer {
 public:
  using Clock = LoopbackListener::Clock;

  struct Reply {
    Reply() = default;
    Reply(std::string head_bytes, bool hold_after = false, std::string for_path = {})
        : head(std::move(head_bytes)), hold(hold_after), path(std::move(for_path)) {}

    std::string head;   // sent as soon as the request is in
    bool hold = false;  // then the connection stays open until the client goes away
    std::string path;   // only for a request of this path ("/a/b", no query); empty: for any
  };

  explicit ScriptServer(std::uint16_t port = 80) : listener_(port, [this](int fd) { answer(fd); }) {}

  void script(Reply reply) {
    std::lock_guard lock(mutex_);
    replies_.push_back(std::move(reply));
  }

  // Drops the replies that no request has taken yet; how many there were.
  std::size_t drop_unused() {
    std::lock_guard lock(mutex_);
    const std::size_t count = replies_.size();
    replies_.clear();
    return count;
  }

  bool wait_requests(std::size_t count, std::chrono::seconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
  }

  // Waits until the client has closed a connection that a held reply kept open.
  bool wait_client_gone(std::chrono::seconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return client_gone_; });
  }

  std::vector<std::string> requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  static std::size_t body_length(const std::string& head) {
    std::string lower;
    for (const char c : head) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    const std::size_t at = lower.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::stoul(lower.substr(at + 17));
  }

  // The request's head and its announced body.
  std::string read_request(int fd) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    std::string bytes;
    char buffer[4096];
    std::size_t wanted = std::string::npos;
    while (wanted == std::string::npos || bytes.size() < wanted) {
      if (!listener_.readable(fd, deadline)) break;
      const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(got));
      const std::size_t end = bytes.find("\r\n\r\n");
      if (wanted == std::string::npos && end != std::string::npos)
        wanted = end + 4 + body_length(bytes.substr(0, end + 2));
    }
    return bytes;
  }

  static void send_all(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  void answer(int fd) {
    const std::string request = read_request(fd);
    Reply reply;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      // The request line's path: what follows the method, up to a query or the version.
      const std::size_t start = request.find(' ') + 1;
      const std::string path = request.substr(start, request.find_first_of("? ", start) - start);
      auto chosen = std::find_if(replies_.begin(), replies_.end(), [&](const Reply& r) { return r.path == path; });
      if (chosen == replies_.end())
        chosen = std::find_if(replies_.begin(), replies_.end(), [](const Reply& r) { return r.path.empty(); });
      if (chosen != replies_.end()) {
        reply = std::move(*chosen);
        replies_.erase(chosen);
      }
      changed_.notify_all();
    }
    send_all(fd, reply.head);
    if (!reply.hold) return;
    // Held until the client closes its end (or the server stops).
    char byte;
    if (listener_.readable(fd, Clock::now() + std::chrono::seconds(30)) && recv(fd, &byte, 1, 0) <= 0) {
      std::lock_guard lock(mutex_);
      client_gone_ = true;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Reply> replies_;
  std::vector<std::string> requests_;
  bool client_gone_ = false;
  LoopbackListener listener_;  // last: it stops before what answer() uses goes
};

}  // namespace velnor::testing
