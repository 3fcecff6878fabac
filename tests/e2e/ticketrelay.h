#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "rules/seedticket.h"

namespace velnor::testing {

// The game's web server as the installed game reaches it, on 127.0.0.1 at `port`: every
// connection is passed through to the server's own port unchanged, and the seed tickets that the
// server deals on the way are kept, so that the test knows the dice of a game played from one.
class TicketRelay {
 public:
  TicketRelay(std::uint16_t port, std::uint16_t server_port);
  ~TicketRelay();
  TicketRelay(const TicketRelay&) = delete;
  TicketRelay& operator=(const TicketRelay&) = delete;

  // The number-th ticket dealt through the relay (from 1), once it has been; nothing when it did
  // not come in time.
  std::optional<SeedTicket> wait_ticket(std::size_t number, int timeout_ms);

 private:
  void serve();
  void relay(int client);

  std::uint16_t server_port_;
  int listener_ = -1;
  int wake_[2] = {-1, -1};
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable dealt_;
  std::vector<SeedTicket> tickets_;
};

}  // namespace velnor::testing
