#include "coachreview.h"

#include "game/solver.h"
#include "rules/tgame.h"

namespace velnor {

GameReview review_game(const GameRecord& record) {
  const Solver& solver = Solver::table();
  GameReview review;
  review.round_scores = record.round_scores();
  review.best_round = solver.expected(kAllTiles);
  review.best_game = review.best_round * Tgame::kRounds;
  for (const Turn& turn : record.turns()) {
    TurnReview row{turn, solver.best(turn.open, turn.total()), 0.0};
    if (turn.shut != 0) row.cost = solver.expected(turn.open & ~row.best) - solver.expected(turn.open & ~turn.shut);
    review.total_cost += row.cost;
    review.turns.push_back(row);
  }
  return review;
}

}  // namespace velnor
