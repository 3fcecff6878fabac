#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

// How a request waits for its socket, and when it gives up; shared by the plain exchange and
// the TLS channel over it.
namespace velnor {

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

}  // namespace velnor
