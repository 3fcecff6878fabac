#pragma once

#include <string>
#include <string_view>
#include <utility>
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
// The rolls go round the servers at `ports` (sharing one store); the ticket comes from the first.
DealtGame play_dealt_game(const std::vector<int>& ports);

// A game played through the rolls of the server at `port` until a roll can be played three ways or
// more: the rolls played before it, the dice dealt so far, and that roll's legal plays.
struct GameAtAFork {
  std::string ticket;
  std::vector<unsigned> shut;
  std::vector<std::pair<int, int>> dice;
  std::vector<unsigned> plays;
};
GameAtAFork play_to_a_fork(int port);

// Asks for the roll after each of the fork's first three plays at once, the i-th of the servers at
// `ports` in turn: how many were answered (200) and how many refused (409).
std::pair<int, int> race_three_plays(const GameAtAFork& fork, const std::vector<int>& ports);
