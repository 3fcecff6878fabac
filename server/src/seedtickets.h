#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "posting.h"
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

  // The ticket whose use makes this posting verified: its record holds a ticket with a genuine
  // seal, dealt within the ticket's life, and replays to exactly the posted score. Empty when
  // anything of that fails: the posting is then stored unverified.
  std::string verifying_ticket(const Posting& posting, int64_t now_unix_time) const;

 private:
  std::string seal(const velnor::SeedTicket& ticket) const;

  std::string key_;
};

// A new key for the tickets: 32 random bytes as hex digits.
std::string new_ticket_key();
