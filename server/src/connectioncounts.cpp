#include "connectioncounts.h"

ConnectionCounts::ConnectionCounts(size_t max_total, size_t max_per_address,
                                   std::function<bool(const std::string&)> exempt)
    : max_total_(max_total), max_per_address_(max_per_address), exempt_(std::move(exempt)) {}

bool ConnectionCounts::admit(const std::string& address) {
  const bool bounded = !exempt_(address);
  std::lock_guard lock(mutex_);
  if (open_ >= max_total_) return false;
  if (bounded) {
    size_t& from_address = per_address_[address];
    if (from_address >= max_per_address_) {
      if (from_address == 0) per_address_.erase(address);
      return false;
    }
    ++from_address;
  }
  ++open_;
  return true;
}

void ConnectionCounts::leave(const std::string& address) {
  const bool bounded = !exempt_(address);
  std::lock_guard lock(mutex_);
  --open_;
  if (!bounded) return;
  const auto found = per_address_.find(address);
  if (found != per_address_.end() && --found->second == 0) per_address_.erase(found);
}

size_t ConnectionCounts::open() const {
  std::lock_guard lock(mutex_);
  return open_;
}
