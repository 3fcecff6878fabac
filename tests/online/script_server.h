#pragma once

// A scripted HTTP server on 127.0.0.1 for tests: it records each request's
// bytes and answers each connection with the next scripted reply (or the next
// one scripted for that request's path).

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace velnor::testing {

class ScriptServer {
 public:
  using Clock = std::chrono::steady_clock;

  struct Reply {
    Reply() = default;
    Reply(std::string head_bytes, bool hold_after = false, std::string for_path = {})
        : head(std::move(head_bytes)), hold(hold_after), path(std::move(for_path)) {}

    std::string head;   // sent as soon as the request is in
    bool hold = false;  // then the connection stays open until the client goes away
    std::string path;   // only for a request of this path ("/a/b", no query); empty: for any
  };

  explicit ScriptServer(std::uint16_t port = 80) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        listen(listener_, 8) != 0 || pipe2(wake_, O_CLOEXEC) != 0)
      throw std::runtime_error("test server cannot listen on port " + std::to_string(port));
    thread_ = std::thread([this] { serve(); });
  }

  ~ScriptServer() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    const char byte = 0;
    (void)!write(wake_[1], &byte, 1);
    thread_.join();
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
  }

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
  bool readable(int fd, Clock::time_point deadline) {
    for (;;) {
      pollfd fds[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0 || poll(fds, 2, static_cast<int>(left.count())) <= 0) return false;
      if (fds[1].revents) {
        char byte;
        (void)!read(wake_[0], &byte, 1);
        std::lock_guard lock(mutex_);
        if (stopping_) return false;
        continue;
      }
      return true;
    }
  }

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
      if (!readable(fd, deadline)) break;
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
    if (readable(fd, Clock::now() + std::chrono::seconds(30)) && recv(fd, &byte, 1, 0) <= 0) {
      std::lock_guard lock(mutex_);
      client_gone_ = true;
      changed_.notify_all();
    }
  }

  void serve() {
    for (;;) {
      {
        // Checked before each wait: a held reply may have taken the wake-up.
        std::lock_guard lock(mutex_);
        if (stopping_) return;
      }
      pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents) {
        char byte;
        (void)!read(wake_[0], &byte, 1);
        continue;
      }
      const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      answer(fd);
      close(fd);
    }
  }

  int listener_ = -1;
  int wake_[2] = {-1, -1};
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Reply> replies_;
  std::vector<std::string> requests_;
  bool stopping_ = false;
  bool client_gone_ = false;
};

}  // namespace velnor::testing
