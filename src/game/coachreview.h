#pragma once

#include <vector>

#include "rules/gamerecord.h"

// The coach's verdict on a game: for each turn the best choice and what the
// player's choice cost, measured in expected round score under best play.
namespace velnor {

struct TurnReview {
  Turn turn;
  unsigned best = 0;  // the best tiles for the roll; none when it had no play
  // Expected points the player's choice gave away: the expectation after the
  // best choice less the one after theirs; 0 when theirs was as good.
  double cost = 0.0;
};

struct GameReview {
  std::vector<TurnReview> turns;
  std::vector<int> round_scores;  // the finished rounds
  double total_cost = 0.0;
  double best_round = 0.0;  // expected round score under best play
  double best_game = 0.0;   // ten such rounds
};

GameReview review_game(const GameRecord& record);

}  // namespace velnor
