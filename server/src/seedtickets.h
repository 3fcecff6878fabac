#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rules/seedticket.h"

// The seeds the server deals for games whose scores it can verify. Each ticket carries its seal,
// an HMAC-SHA-256 (cut to 16 bytes) under the store's own key, so any server sharing the store
// can check a ticket that another dealt; the store keeps a ticket from serving twice.
class SeedTickets {
 public:
  static constexpr int64_t kTicketLifeSeconds = 24 * 60 * 60;
  // How far another server's clock may run ahead of this one's.
  static constexpr int64_t kClockSlackSeconds = 60;

  // key: the store's ticket key, as hex digits (ScoreStore::ticket_key).
  explicit SeedTickets(std::string_view key);

  // A fresh seed from the system's random source, sealed with the time.
  velnor::SeedTicket deal(int64_t now_unix_time) const;

  // Whether this store's key sealed the ticket, and it was dealt within its life.
  bool genuine(const velnor::SeedTicket& ticket, int64_t now_unix_time) const;

  // A key of its own for another use of the store's key (HMAC-SHA-256 of `purpose` under it), so
  // that nothing made with it can be taken for a seal or give a seal away.
  std::string derived_key(std::string_view purpose) const;

 private:
  std::string seal(const velnor::SeedTicket& ticket) const;

  std::string key_;
};

// A new key for the tickets: 32 random bytes as hex digits.
std::string new_ticket_key();
