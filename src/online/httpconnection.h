#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/filedescriptor.h"
#include "httpreply.h"

// One HTTP exchange on a non-blocking socket: resolve the host, connect, send
// the request, read the reply's header and then its bytes. Both the download
// client (on the user-interface thread) and the URL text fetcher (on a worker
// thread) talk to servers through it; only how they wait differs.
namespace velnor {

struct HttpWaitHooks {
  // Handles the pending user-interface events; called over and over while waiting.
  std::function<void()> pump;
  // True once the request is to be given up (the application is terminating, the
  // fetch was cancelled); the request then aborts.
  std::function<bool()> terminated;
};

// How a request waits, and when it gives up: when told to, after `stall_limit`
// without a byte either way, or at the deadline.
class HttpWaiter {
 public:
  using Clock = std::chrono::steady_clock;

  // `wake_fd`, when given, becomes readable once `hooks.terminated` may have
  // turned true, so that a wait without a pump need not wake up to look.
  HttpWaiter(HttpWaitHooks hooks, std::chrono::milliseconds stall_limit,
             Clock::time_point deadline = Clock::time_point::max(), int wake_fd = -1);

  // Handles pending events, then raises if the request is to end.
  void tick() const;
  // Waits until `fd` is ready (true), the request may have to end, or a pump is due.
  bool await(int fd, short events) const;
  // Bytes went through: the stall clock starts again.
  void moved() { last_moved_ = Clock::now(); }

 private:
  HttpWaitHooks hooks_;
  std::chrono::milliseconds stall_limit_;
  Clock::time_point deadline_;
  int wake_fd_;
  Clock::time_point last_moved_ = Clock::now();
};

// "<description> (Error #<number>)"
std::string system_reason(int error);

std::string base64(std::string_view bytes);

class HttpConnection {
 public:
  enum class Outcome { data, closed, broken };

  // Resolves the host, connects to it and sends `request`; raises EHttpException
  // when it cannot. Each receive() reads at most `read_size` bytes.
  HttpConnection(const HttpAddress& to, std::string_view request, HttpWaiter& waiter, std::size_t read_size);

  // Reads until the reply's header is complete; the bytes after it are in
  // header.take_body_start().
  void read_header(HttpReplyHeader& header);

  // Waits for the next received bytes, which data() then holds.
  Outcome receive();
  std::string_view data() const { return data_; }
  // The socket error of a broken connection.
  int error() const { return error_; }

 private:
  HttpWaiter& waiter_;
  FileDescriptor socket_;
  std::vector<char> buffer_;
  std::string_view data_;
  int error_ = 0;
};

}  // namespace velnor
