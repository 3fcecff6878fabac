#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

// A listening socket on 127.0.0.1 for a test server, and the thread that accepts on it: one
// connection at a time, handed to the callback and closed once the callback returns. Its end is
// orderly: it wakes whatever waits in readable(), accepts nothing more and joins the thread.
// The owner declares it after all the callback uses, so that it stops before they go.
namespace velnor::testing {

class LoopbackListener {
 public:
  using Clock = std::chrono::steady_clock;

  // Port 0: one the system chooses.
  LoopbackListener(std::uint16_t port, std::function<void(int connection)> on_connection);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  std::uint16_t port() const { return port_; }
  // Whether `fd` has bytes (or its end) to read before `deadline`; false once the listener stops.
  bool readable(int fd, Clock::time_point deadline) const;

 private:
  void serve();

  std::function<void(int connection)> on_connection_;
  int socket_ = -1;
  // Written once, at the stop, and never read: from then on every wait sees it.
  int wake_[2] = {-1, -1};
  std::uint16_t port_ = 0;
  std::thread thread_;
};

}  // namespace velnor::testing
