#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/playedgame.h"

// A request for a ticket's next roll: "ticket=TICKET&game=ROLLS", ROLLS being the game's record of
// its rolls so far (empty before the first), each roll's tiles as the posting's record writes them.
struct RollRequest {
  std::string ticket;
  std::vector<unsigned> shut;
};

// The request a query holds, or nothing when it is not one (whatever the bytes).
std::optional<RollRequest> parse_roll_request(std::string_view query);

// What the server does with a request, given the history it has dealt for the ticket (each dealt
// roll's tiles but the last one dealt's, which is still to be played; nothing when no roll has been
// dealt): deal the last one again (the same history: a retry), deal the next (the history goes
// one roll further by a play the rules allow for its dice, and the game is not over), or refuse.
enum class RollStep { kRepeat, kAdvance, kRefuse };
RollStep roll_step(const std::optional<std::vector<unsigned>>& dealt, const std::vector<unsigned>& asked,
                   const velnor::DiceOfRoll& dice);
