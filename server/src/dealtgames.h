#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "posting.h"
#include "scorestore.h"
#include "seedtickets.h"
#include "ticketdice.h"

// The games whose rolls the server deals one at a time, each only once its player has played the
// roll before: the history dealt for each ticket lives in the store, written before the roll is
// answered, so that any server sharing the store deals the next one. A score is verified only when
// its record is the whole game so dealt.
class DealtGames {
 public:
  struct Answer {
    enum class Outcome { kDealt, kRefused, kMalformed };
    Outcome outcome;
    std::string dice;  // when dealt: both dice as two digits, "35"
  };

  DealtGames(ScoreStore& store, const SeedTickets& tickets);

  // The answer to a roll's query (rollrequest.h). A history that does not follow the one dealt,
  // a finished game or a spent ticket is refused; a query that is not a roll's request, or a
  // ticket not sealed by the store's key or past its life, is malformed. Throws StoreUnavailable.
  Answer roll(std::string_view query, int64_t now_unix_time);

  // The ticket whose use makes this posting verified: its record is exactly the rolls dealt for a
  // genuine ticket, played to the game's end, and replays with those dice to the posted score.
  // Empty when anything of that fails: the posting is then stored unverified. Throws StoreUnavailable.
  std::string verifying_ticket(const Posting& posting, int64_t now_unix_time);

 private:
  ScoreStore& store_;
  const SeedTickets& tickets_;
  const TicketDice dice_;
};
