#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/playedgame.h"
#include "support/bestplay.h"

using velnor::testing::play_best;

// A ticket dealt by the server at `port` (a failed test when it deals none).
velnor::SeedTicket deal_ticket(int port);

// The request target that posts a score with the played game's record.
std::string posting_with_game(std::string_view name, int score, const velnor::PlayedGame& game);

// The request target that asks for a ticket's next roll after the rolls played so far.
std::string roll_target(std::string_view ticket, const std::vector<unsigned>& shut);

// A game played by best play on a fresh ticket, every roll asked of the server at `port` as it
// comes (a failed test when one is refused), with its score under the dice dealt.
struct DealtGame {
  velnor::PlayedGame game;
  int score = -1;
};
DealtGame play_dealt_game(int port);
