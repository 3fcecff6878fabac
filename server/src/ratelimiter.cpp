#include "ratelimiter.h"

#include <algorithm>

bool RateLimiter::allow(const std::string& address, Clock::time_point now) {
  if (limit_ == 0) return true;
  std::lock_guard lock(mutex_);
  if (recent_.size() >= sweep_at_) forget_quiet_addresses(now);
  auto& times = recent_[address];
  while (!times.empty() && now - times.front() >= kWindow) times.pop_front();
  if (times.size() >= limit_) return false;
  times.push_back(now);
  return true;
}

// Keeps memory bounded by the addresses seen in the last minute; run when the table has doubled,
// so its cost spreads thinly over the calls.
void RateLimiter::forget_quiet_addresses(Clock::time_point now) {
  std::erase_if(recent_,
                [&](const auto& entry) { return entry.second.empty() || now - entry.second.back() >= kWindow; });
  sweep_at_ = std::max<size_t>(1024, recent_.size() * 2);
}
