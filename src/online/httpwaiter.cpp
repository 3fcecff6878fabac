#include "httpwaiter.h"

#include <poll.h>

#include <algorithm>
#include <limits>

#include "httpreply.h"

namespace velnor {

namespace {

[[noreturn]] void fail(const char* reason) { throw EHttpException(kHttpFailureStatus, reason); }

}  // namespace

HttpWaiter::HttpWaiter(std::function<bool()> stop_requested, std::chrono::milliseconds stall_limit,
                       Clock::time_point deadline, int wake_fd, RateFloor floor)
    : stop_requested_(std::move(stop_requested)),
      stall_limit_(stall_limit),
      deadline_(deadline),
      wake_fd_(wake_fd),
      floor_(floor) {}

bool HttpWaiter::below_floor(Clock::time_point now) const {
  return floor_.bytes > 0 && now - window_start_ >= floor_.window && window_bytes_ < floor_.bytes;
}

void HttpWaiter::tick() const {
  if (stop_requested_ && stop_requested_()) fail("Connection aborted on request");
  const Clock::time_point now = Clock::now();
  if (now - last_moved_ >= stall_limit_) fail("Connection stalled");
  if (below_floor(now)) fail("Transfer too slow");
  if (now >= deadline_) fail("Reply too slow");
}

bool HttpWaiter::await(int fd, short events) const {
  Clock::time_point until = std::min(last_moved_ + stall_limit_, deadline_);
  if (floor_.bytes > 0 && window_bytes_ < floor_.bytes) until = std::min(until, window_start_ + floor_.window);
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
  pollfd entries[2] = {{fd, events, 0}, {wake_fd_, POLLIN, 0}};
  const auto timeout = std::clamp<std::int64_t>(left.count(), 0, std::numeric_limits<int>::max());
  const int ready = ::poll(entries, wake_fd_ >= 0 ? 2 : 1, static_cast<int>(timeout));
  return ready > 0 && entries[0].revents != 0;
}

void HttpWaiter::moved(std::size_t bytes) {
  const Clock::time_point now = Clock::now();
  last_moved_ = now;
  if (floor_.bytes == 0) return;
  // The windows that ended before these bytes came each had to reach the floor.
  while (now - window_start_ >= floor_.window) {
    if (window_bytes_ < floor_.bytes) fail("Transfer too slow");
    window_start_ += floor_.window;
    window_bytes_ = 0;
  }
  window_bytes_ += bytes;
}

}  // namespace velnor
