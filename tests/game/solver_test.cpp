#include "game/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <vector>

#include "rules/randomgen.h"
#include "rules/tgame.h"

using namespace velnor;

namespace {

unsigned tiles(std::initializer_list<int> numbers) {
  unsigned set = 0;
  for (int n : numbers) set |= 1u << (n - 1);
  return set;
}

int sum_of(unsigned set) {
  int sum = 0;
  for (int n = 1; n <= 9; ++n)
    if (set & (1u << (n - 1))) sum += n;
  return sum;
}

// The rules read afresh: the round's score when it stops with these tiles open.
double final_score(unsigned open) { return open == 0 ? 65.0 : 45.0 - sum_of(open); }

double best_after_roll(unsigned open, int total);

// Best play by plain recursion, no table: every outcome of the dice, every set.
double search(unsigned open) {
  if (open == 0 || open == 1) return final_score(open);
  double sum = 0.0;
  for (int d1 = 1; d1 <= 6; ++d1)
    for (int d2 = 1; d2 <= 6; ++d2) sum += best_after_roll(open, d1 + d2);
  return sum / 36.0;
}

double best_after_roll(unsigned open, int total) {
  double best = -1.0;
  for (unsigned set = 1; set < 512; ++set)
    if ((set & open) == set && sum_of(set) == total) best = std::max(best, search(open & ~set));
  return best < 0.0 ? final_score(open) : best;
}

}  // namespace

TEST(Solver, WorkedValues) {
  const Solver& solver = Solver::table();
  EXPECT_DOUBLE_EQ(solver.expected(0), 65.0);           // all shut: the round is over
  EXPECT_DOUBLE_EQ(solver.expected(tiles({1})), 44.0);  // only tile 1: over too
  EXPECT_DOUBLE_EQ(solver.expected(tiles({2})), (1 * 65.0 + 35 * 43.0) / 36.0);
  EXPECT_THROW(solver.expected(512), std::out_of_range);
  EXPECT_THROW(solver.choices(1u << 9, 10), std::out_of_range);
}

TEST(Solver, AgreesWithPlainRecursionAndListsEveryChoiceBestFirst) {
  const Solver& solver = Solver::table();
  // Small sets keep the recursion quick; they still hold every kind of end.
  for (unsigned open = 0; open < 512; ++open) {
    if (std::popcount(open) > 3 && open != tiles({1, 2, 3, 4}) && open != tiles({2, 5, 7, 9})) continue;
    ASSERT_NEAR(solver.expected(open), search(open), 1e-9) << "open " << tiles_text(open);
    for (int total = 2; total <= 12; ++total) {
      const std::vector<Choice> choices = solver.choices(open, total);
      int legal = 0;
      for (unsigned set = 1; set < 512; ++set) legal += (set & open) == set && sum_of(set) == total;
      ASSERT_EQ(static_cast<int>(choices.size()), legal) << tiles_text(open) << " roll " << total;
      EXPECT_EQ(solver.best(open, total), legal == 0 ? 0u : choices.front().tiles);
      if (legal == 0) continue;
      EXPECT_NEAR(choices.front().expected, best_after_roll(open, total), 1e-9);
      for (std::size_t i = 1; i < choices.size(); ++i) {
        const Choice& a = choices[i - 1];
        const Choice& b = choices[i];
        EXPECT_TRUE(a.expected > b.expected || (a.expected == b.expected && a.tiles > b.tiles))
            << tiles_text(open) << " roll " << total << ": " << tiles_text(a.tiles) << " before "
            << tiles_text(b.tiles);
        EXPECT_EQ(b.expected, solver.expected(open & ~b.tiles));
      }
    }
  }
}

// The solver's choices played through the game's own rules and dice: the mean
// round score is what the table promises.
TEST(Solver, SimulatedRoundsAverageTheExpectedScore) {
  const Solver& solver = Solver::table();
  RandomGen dice;
  dice.setseed(20240615);
  Tgame game;
  constexpr int kGames = 20000;  // 200,000 rounds
  double total = 0.0;
  for (int played = 0; played < kGames; ++played) {
    game.newgame();
    while (game.startround()) {
      while (game.phase() != Phase::roundover) {
        const int first = dice.random(6) + 1;
        const int second = dice.random(6) + 1;
        if (game.roll(first, second) != RollOutcome::play) break;
        const unsigned best = solver.best(game.openmask(), game.dicetotal());
        ASSERT_NE(best, 0u);
        for (int n = 1; n <= 9; ++n)
          if (best & (1u << (n - 1))) game.clicktile(n);
        ASSERT_NE(game.phase(), Phase::selecting) << "the best tiles do not make the roll";
      }
    }
    total += game.score();
  }
  const double mean = total / (kGames * Tgame::kRounds);
  EXPECT_NEAR(mean, solver.expected(kAllTiles), 0.1);
}
