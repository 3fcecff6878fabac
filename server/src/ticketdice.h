#pragma once

#include <sodium.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

// The dice the server deals for a ticket's game. Roll i's two dice come from HMAC-SHA-256 over the
// ticket's text and i under a secret key, so that no one without the store's key can foresee them
// before the roll is dealt, and every server sharing the store deals the same ones.
class TicketDice {
 public:
  // key: crypto_auth_hmacsha256_KEYBYTES bytes (SeedTickets::derived_key).
  explicit TicketDice(std::string key);

  // Both dice of roll `index` (0 for the first), each 1 to 6, all six equally likely.
  std::pair<int, int> roll(std::string_view ticket, std::size_t index) const;

 private:
  // The HMAC's state once keyed: a replay throws every roll of a game again, and each throw starts
  // from a copy of it rather than keying anew.
  crypto_auth_hmacsha256_state keyed_;
};
