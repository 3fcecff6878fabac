#include "game/coachreview.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "game/solver.h"
#include "game/tgame.h"

using namespace velnor;

namespace {

// Tile sets, bit n-1 for tile n.
constexpr unsigned k39 = 1u << 2 | 1u << 8;
constexpr unsigned k145 = 1u << 0 | 1u << 3 | 1u << 4;
constexpr unsigned k2678 = 1u << 1 | 1u << 5 | 1u << 6 | 1u << 7;  // what those leave open

// The expectation the solver lists for these tiles, from its full list.
double listed(unsigned open, int total, unsigned tiles) {
  for (const Choice& choice : Solver::table().choices(open, total))
    if (choice.tiles == tiles) return choice.expected;
  ADD_FAILURE() << tiles_text(tiles) << " is not a choice for " << total;
  return 0.0;
}

// Round 1: 12 shut 3+9 (the best), 10 shut 1+4+5 (not), then 3 has no play.
GameRecord to_last_roll() {
  GameRecord record;
  record.on_round_start();
  record.on_roll(6, 6);
  record.on_turn_shut(k39);
  record.on_roll(4, 6);
  record.on_turn_shut(k145);
  record.on_roll(1, 2);
  return record;
}

GameRecord one_round() {
  GameRecord record = to_last_roll();
  record.on_round_end(45 - 23);
  return record;
}

}  // namespace

TEST(CoachReview, EachTurnCostsWhatItGaveAwayAgainstTheBestChoice) {
  GameRecord record = one_round();
  record.on_round_start();
  record.on_roll(3, 4);  // still being chosen: not reviewed yet

  const GameReview review = review_game(record);
  ASSERT_EQ(review.turns.size(), 3u);
  const TurnReview& best = review.turns[0];
  EXPECT_EQ(best.turn.round, 1);
  EXPECT_EQ(best.turn.open, kAllTiles);
  EXPECT_EQ(best.best, k39);
  EXPECT_EQ(best.cost, 0.0);

  const TurnReview& worse = review.turns[1];
  const unsigned open = kAllTiles & ~k39;
  EXPECT_EQ(worse.turn.open, open);
  EXPECT_EQ(worse.turn.total(), 10);
  EXPECT_EQ(worse.turn.shut, k145);
  EXPECT_EQ(worse.best, Solver::table().choices(open, 10).front().tiles);
  EXPECT_NEAR(worse.cost, listed(open, 10, worse.best) - listed(open, 10, k145), 1e-12);
  EXPECT_GT(worse.cost, 0.0);

  const TurnReview& last = review.turns[2];  // the roll that ended the round
  EXPECT_EQ(last.turn.open, k2678);
  EXPECT_EQ(last.turn.shut, 0u);
  EXPECT_EQ(last.best, 0u);
  EXPECT_EQ(last.cost, 0.0);

  EXPECT_DOUBLE_EQ(review.total_cost, worse.cost);
  EXPECT_EQ(review.round_scores, std::vector<int>{22});
  EXPECT_DOUBLE_EQ(review.best_game, 10 * Solver::table().expected(kAllTiles));

  record.on_game_start();
  EXPECT_TRUE(review_game(record).turns.empty());
  EXPECT_TRUE(review_game(record).round_scores.empty());
}

// A miswired game must not turn into a review of a game nobody played.
TEST(CoachReview, CallsThatDoNotFitTheGameAreRefusedAndChangeNothing) {
  GameRecord record;
  EXPECT_THROW(record.on_roll(3, 4), std::runtime_error);  // no round running
  record.on_round_start();
  EXPECT_THROW(record.on_round_start(), std::runtime_error);
  EXPECT_THROW(record.on_roll(0, 7), std::runtime_error);
  EXPECT_THROW(record.on_turn_shut(k39), std::runtime_error);  // no roll yet
  record.on_roll(6, 6);
  EXPECT_THROW(record.on_turn_shut(k145), std::runtime_error);  // 12 is not 1+4+5
  EXPECT_THROW(record.on_round_end(0), std::runtime_error);     // 12 has a play
  record.on_turn_shut(k39);
  record.on_roll(6, 6);
  EXPECT_THROW(record.on_turn_shut(k39), std::runtime_error);  // already shut
  EXPECT_TRUE(review_game(record).round_scores.empty());
  EXPECT_EQ(review_game(record).turns.size(), 1u);

  GameRecord done = one_round();
  EXPECT_THROW(done.on_round_end(22), std::runtime_error);  // ended once already
  EXPECT_THROW(to_last_roll().on_round_end(45), std::runtime_error);  // the tiles give 22
  for (int round = 2; round <= Tgame::kRounds; ++round) {
    done.on_round_start();
    done.on_roll(1, 1);
    done.on_turn_shut(0b10);
    done.on_roll(1, 1);
    done.on_round_end(2);
  }
  EXPECT_THROW(done.on_round_start(), std::runtime_error);  // an eleventh round
  EXPECT_EQ(review_game(done).round_scores.size(), 10u);
}
