#pragma once

#include <string>
#include <string_view>

#include "rules/playedgame.h"
#include "support/bestplay.h"

using velnor::testing::play_best;

// A ticket dealt by the server at `port` (a failed test when it deals none).
velnor::SeedTicket deal_ticket(int port);

// The request target that posts a score with the played game's record.
std::string posting_with_game(std::string_view name, int score, const velnor::PlayedGame& game);
