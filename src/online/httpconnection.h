#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/filedescriptor.h"
#include "httpreply.h"

// One HTTP exchange on a non-blocking socket: resolve the host, connect (over TLS
// for an https address), send the request, read the reply's header and then its
// bytes. Both the download client and the URL text fetcher talk to servers through
// it, each on a worker thread of its own.
namespace velnor {

class TlsChannel;

// The least a transfer must move: `bytes` in each `window` of it, counted from its start. A
// trickle of bytes, each soon enough to keep the stall limit away, must not hold a request for
// ever. No floor when `bytes` is 0.
struct RateFloor {
  std::uint64_t bytes = 0;
  std::chrono::milliseconds window{0};
};

// How a request waits, and when it gives up: when told to, after `stall_limit`
// without a byte either way, below its rate floor, or at the deadline.
class HttpWaiter {
 public:
  using Clock = std::chrono::steady_clock;

  // `stop_requested` turns true once the request is to be given up (the fetch or the
  // download was cancelled); `wake_fd` becomes readable when it does, and ends any wait.
  HttpWaiter(std::function<bool()> stop_requested, std::chrono::milliseconds stall_limit,
             Clock::time_point deadline = Clock::time_point::max(), int wake_fd = -1, RateFloor floor = {});

  // Raises if the request is to end.
  void tick() const;
  // Waits until `fd` is ready (true), or the request may have to end.
  bool await(int fd, short events) const;
  // `bytes` went through: the stall clock starts again.
  void moved(std::size_t bytes);

 private:
  bool below_floor(Clock::time_point now) const;

  std::function<bool()> stop_requested_;
  std::chrono::milliseconds stall_limit_;
  Clock::time_point deadline_;
  int wake_fd_;
  RateFloor floor_;
  Clock::time_point last_moved_ = Clock::now();
  Clock::time_point window_start_ = last_moved_;
  std::uint64_t window_bytes_ = 0;
};

// "<description> (Error #<number>)"
std::string system_reason(int error);

std::string base64(std::string_view bytes);

class HttpConnection {
 public:
  enum class Outcome { data, closed, broken };

  // Resolves the host, connects to it and sends `request`; raises EHttpException
  // when it cannot. Each receive() reads at most `read_size` bytes. Through a
  // `proxy`, a plain request goes to the proxy as it is (its request line names the
  // whole address), and an https one through a tunnel that the proxy is asked to
  // open (CONNECT), so that the proxy sees nothing of it.
  HttpConnection(const HttpAddress& to, std::string_view request, HttpWaiter& waiter, std::size_t read_size,
                 const HttpAddress* proxy = nullptr);
  ~HttpConnection();

  // Reads until the reply's header is complete; the bytes after it are in
  // header.take_body_start().
  void read_header(HttpReplyHeader& header);

  // Waits for the next received bytes, which data() then holds.
  Outcome receive();
  std::string_view data() const { return data_; }
  // The socket error of a broken connection.
  int error() const { return error_; }

 private:
  void open_tunnel(const HttpAddress& to, const HttpAddress& proxy);

  HttpWaiter& waiter_;
  FileDescriptor socket_;
  std::unique_ptr<TlsChannel> tls_;
  std::vector<char> buffer_;
  std::string_view data_;
  int error_ = 0;
};

}  // namespace velnor
