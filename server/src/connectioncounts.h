#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

// How many connections are open, in all and from each address, against the server's bounds: one
// address cannot take the room that every other client needs.
class ConnectionCounts {
 public:
  // `exempt` names the addresses with no bound of their own (a proxy speaks for many clients).
  ConnectionCounts(size_t max_total, size_t max_per_address, std::function<bool(const std::string&)> exempt);

  // Counts a new connection from `address` in, if the bounds leave room for it.
  bool admit(const std::string& address);
  // Counts an admitted connection out.
  void leave(const std::string& address);

  size_t open() const;
  size_t max_total() const { return max_total_; }

 private:
  const size_t max_total_;
  const size_t max_per_address_;
  const std::function<bool(const std::string&)> exempt_;
  mutable std::mutex mutex_;
  size_t open_ = 0;
  std::unordered_map<std::string, size_t> per_address_;
};
