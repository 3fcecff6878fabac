#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/uithread.h"
#include "online/thttpget.h"
#include "rules/seedticket.h"

// The seeds that the game's web server deals, fetched ahead in the background so that a game never
// waits for one: a game played from a dealt seed posts a score the server can verify. Without a
// ticket in hand a game goes on from the clock's seed, and its score posts unverified.
namespace velnor {

class SeedSupply {
 public:
  // The server's tickets expire after a day; one held longer is not offered.
  static constexpr std::chrono::hours kTicketLife{23};
  using Clock = std::chrono::steady_clock;

  // base: the game server's address, "http://" and a host, ending in "/".
  SeedSupply(std::string base, PostToUi post_to_ui);

  // Asks for the next game's seed, unless a ticket is in hand or already on its way.
  void refill();
  // The ticket for a game starting now, which uses it up; nothing when none is in hand.
  std::optional<SeedTicket> take();
  bool fetching() const { return fetch_.busy(); }
  bool holds_ticket() const { return ticket_.has_value(); }

  // Told when a ticket has come in and is held.
  std::function<void()> on_ticket;

 private:
  void received(const std::string& body);

  std::string address_;
  THTTPGet fetch_;
  std::optional<SeedTicket> ticket_;
  Clock::time_point fetched_at_{};
};

}  // namespace velnor
