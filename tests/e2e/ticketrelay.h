#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "rules/seedticket.h"

namespace velnor::testing {

// The game's web server as the installed game reaches it, on 127.0.0.1 at `port`: every
// connection is passed through to the server's own port unchanged, and the seed tickets and the
// rolls that the server deals on the way are kept, so that the test knows the dice of a game
// played from one. Cut, it stands for a stopped server: each connection is closed at once.
class TicketRelay {
 public:
  TicketRelay(std::uint16_t port, std::uint16_t server_port);
  ~TicketRelay();
  TicketRelay(const TicketRelay&) = delete;
  TicketRelay& operator=(const TicketRelay&) = delete;

  // The number-th ticket dealt through the relay (from 1), once it has been; nothing when it did
  // not come in time.
  std::optional<SeedTicket> wait_ticket(std::size_t number, int timeout_ms);

  // A roll as the game asked the server for it: the faces dealt, none when it was refused.
  struct Roll {
    std::string request;  // the request line
    std::optional<std::array<int, 2>> faces;
  };
  // The number-th roll asked for through the relay (from 1), once it has been answered.
  std::optional<Roll> wait_roll(std::size_t number, int timeout_ms);

  void cut(bool stopped) { cut_ = stopped; }

  // Whether `count` connections have been passed through and closed within the time: for a server
  // reached over TLS, whose bytes the relay cannot read, that the game's requests are over.
  bool wait_closed(std::size_t count, int timeout_ms);

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
  std::vector<Roll> rolls_;
  std::size_t closed_ = 0;
  std::atomic<bool> cut_ = false;
};

}  // namespace velnor::testing
