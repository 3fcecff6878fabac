#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

// At most `limit` events per client address in any sliding minute; a limit of 0 allows everything.
class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kWindow = std::chrono::minutes(1);

  explicit RateLimiter(size_t limit) : limit_(limit) {}

  // Counts an event from `address` at `now` when it is within the limit; true if it was.
  bool allow(const std::string& address, Clock::time_point now);

 private:
  void forget_quiet_addresses(Clock::time_point now);

  const size_t limit_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::deque<Clock::time_point>> recent_;
  size_t sweep_at_ = 1024;
};
