#include "rules/tgame.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace velnor;

namespace {

// A game in round 1, awaiting its first roll.
Tgame started() {
  Tgame g;
  g.newgame();
  g.startround();
  return g;
}

// Rolls and shuts the given tiles, which must sum to the roll.
void shut(Tgame& g, int a, int b, std::initializer_list<int> tiles) {
  ASSERT_EQ(g.roll(a, b), RollOutcome::play);
  for (int n : tiles) g.clicktile(n);
}

}  // namespace

TEST(PlaySearch, AgreesWithBruteForceForEveryOpenSetAndTotal) {
  for (unsigned mask = 0; mask < 512; ++mask) {
    for (int total = -1; total <= 50; ++total) {
      bool expected = false;
      for (unsigned subset = 1; subset < 512 && !expected; ++subset) {
        if ((subset & mask) != subset) continue;
        int sum = 0;
        for (int n = 1; n <= 9; ++n)
          if (subset & (1u << (n - 1))) sum += n;
        expected = sum == total;
      }
      ASSERT_EQ(hasplay(mask, total), expected) << "mask " << mask << " total " << total;
    }
  }
}

TEST(PlaySearch, OnlyOpenTilesCountAndTotalsStayInDiceRange) {
  Tgame g = started();
  // Shut 9, 8+1, 7+2 and 6: tiles 3, 4 and 5 remain open.
  shut(g, 4, 5, {9});
  shut(g, 4, 5, {8, 1});
  shut(g, 4, 5, {7, 2});
  shut(g, 3, 3, {6});
  ASSERT_EQ(g.phase(), Phase::awaitingroll);
  // {3,4,5} matches 12; while selecting, a selected tile no longer counts as open.
  EXPECT_EQ(g.roll(6, 6), RollOutcome::play);
  g.clicktile(3);
  EXPECT_FALSE(g.checkforplay());
  g.clicktile(3);
  EXPECT_TRUE(g.checkforplay());
}

TEST(PlaySearch, RollWithoutPlayEndsTheRoundAtOnce) {
  Tgame g = started();
  // Leave 1, 2 and 4 open: 3+5+6+7+8+9 shut = 38.
  shut(g, 4, 4, {3, 5});
  shut(g, 3, 3, {6});
  shut(g, 3, 4, {7});
  shut(g, 5, 3, {8});
  shut(g, 4, 5, {9});
  EXPECT_EQ(g.roll(6, 6), RollOutcome::roundover);
  EXPECT_EQ(g.phase(), Phase::roundover);
  EXPECT_EQ(g.roundscore(1), 38);
  EXPECT_EQ(g.score(), 38);
  EXPECT_EQ(g.shuttotal(), 0);
}

TEST(Clicks, SelectUnselectOvershootAndShutTiles) {
  Tgame g = started();
  ASSERT_EQ(g.roll(2, 3), RollOutcome::play);
  EXPECT_EQ(g.clicktile(4).outcome, ClickOutcome::selected);
  EXPECT_EQ(g.tile(4), TileState::selected);
  // Passing the total neither completes nor rejects the turn.
  ClickResult over = g.clicktile(9);
  EXPECT_EQ(over.outcome, ClickOutcome::selected);
  EXPECT_FALSE(over.turncomplete);
  EXPECT_EQ(g.shuttotal(), 13);
  EXPECT_EQ(g.clicktile(9).outcome, ClickOutcome::unselected);
  EXPECT_EQ(g.tile(9), TileState::open);
  EXPECT_EQ(g.shuttotal(), 4);
  ClickResult done = g.clicktile(1);
  EXPECT_TRUE(done.turncomplete);
  EXPECT_FALSE(done.roundover);
  EXPECT_EQ(g.tile(1), TileState::shut);
  EXPECT_EQ(g.tile(4), TileState::shut);
  EXPECT_EQ(g.shuttotal(), 5);  // keeps the completed sum until the next roll
  EXPECT_EQ(g.phase(), Phase::awaitingroll);

  // A shut tile while selecting is invalid and changes nothing.
  ASSERT_EQ(g.roll(1, 1), RollOutcome::play);
  EXPECT_EQ(g.clicktile(4).outcome, ClickOutcome::invalid);
  EXPECT_EQ(g.shuttotal(), 0);
  EXPECT_EQ(g.tile(4), TileState::shut);
}

TEST(Clicks, IgnoredOutsideSelecting) {
  Tgame idle;
  EXPECT_EQ(idle.clicktile(3).outcome, ClickOutcome::ignored);
  EXPECT_EQ(idle.roll(3, 4), RollOutcome::ignored);
  EXPECT_EQ(idle.tile(3), TileState::open);

  Tgame g = started();
  EXPECT_EQ(g.clicktile(3).outcome, ClickOutcome::ignored);  // awaiting a roll
  ASSERT_EQ(g.roll(1, 2), RollOutcome::play);
  EXPECT_EQ(g.roll(6, 6), RollOutcome::ignored);  // no second roll while selecting
  EXPECT_EQ(g.dicetotal(), 3);
  EXPECT_EQ(g.clicktile(0).outcome, ClickOutcome::ignored);
  EXPECT_EQ(g.clicktile(10).outcome, ClickOutcome::ignored);
}

TEST(RoundEnd, OnlyTileOneLeftScores44WithoutAnotherRoll) {
  Tgame g = started();
  shut(g, 6, 3, {9});
  shut(g, 4, 4, {8});
  shut(g, 3, 4, {7});
  shut(g, 3, 3, {6});
  shut(g, 2, 3, {5});
  shut(g, 2, 2, {4});
  shut(g, 1, 2, {3});
  ASSERT_EQ(g.roll(1, 1), RollOutcome::play);
  ClickResult last = g.clicktile(2);
  EXPECT_TRUE(last.roundover);
  EXPECT_EQ(g.phase(), Phase::roundover);
  EXPECT_EQ(g.tile(1), TileState::open);
  EXPECT_EQ(g.roundscore(1), 44);
  // Neither a roll nor a click acts during the pause.
  EXPECT_EQ(g.roll(1, 1), RollOutcome::ignored);
  EXPECT_EQ(g.clicktile(1).outcome, ClickOutcome::ignored);
}

TEST(RoundEnd, AllShutScores65AndNewRoundReopens) {
  Tgame g = started();
  shut(g, 6, 3, {9});
  shut(g, 4, 4, {8});
  shut(g, 3, 4, {7});
  shut(g, 3, 3, {6});
  shut(g, 2, 3, {5});
  shut(g, 2, 2, {4});
  shut(g, 3, 3, {3, 2, 1});
  EXPECT_TRUE(g.checkforallshut());
  EXPECT_EQ(g.phase(), Phase::roundover);
  EXPECT_EQ(g.roundscore(1), 65);
  EXPECT_EQ(g.score(), 65);
  ASSERT_TRUE(g.startround());
  EXPECT_EQ(g.round(), 2);
  EXPECT_EQ(g.shuttotal(), 0);
  EXPECT_EQ(g.phase(), Phase::awaitingroll);
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(g.tile(n), TileState::open);
}

TEST(Game, TenRoundsThenTheGameEndsWithTheSumOfRounds) {
  Tgame g;
  EXPECT_FALSE(g.gameon());
  EXPECT_EQ(g.round(), 0);
  g.newgame();
  int expected = 0;
  for (int r = 1; r <= 10; ++r) {
    ASSERT_TRUE(g.startround());
    shut(g, 6, 3, {9});
    shut(g, 6, 6, {4, 8});
    shut(g, 1, 1, {2});
    // Open: 1,3,5,6,7. A roll of 2 has no play.
    EXPECT_EQ(g.roll(1, 1), RollOutcome::roundover);
    expected += 23;
    EXPECT_EQ(g.roundscore(r), 23);
    EXPECT_EQ(g.score(), expected);
  }
  EXPECT_TRUE(g.gameon());
  EXPECT_FALSE(g.startround());
  EXPECT_FALSE(g.gameon());
  EXPECT_EQ(g.score(), 230);
  // What the last game left stays readable until the next one.
  EXPECT_EQ(g.tile(9), TileState::shut);
  EXPECT_EQ(g.roundscore(10), 23);
}

TEST(Game, NewGameMidwayStartsOverFromRoundOne) {
  Tgame g = started();
  shut(g, 6, 3, {9});
  shut(g, 1, 1, {2});
  ASSERT_EQ(g.roll(5, 5), RollOutcome::play);
  g.clicktile(4);
  g.newgame();
  EXPECT_EQ(g.score(), 0);
  EXPECT_EQ(g.round(), 0);
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(g.roundscore(r), 0);
  ASSERT_TRUE(g.startround());
  EXPECT_EQ(g.round(), 1);
  EXPECT_EQ(g.tile(9), TileState::open);
  EXPECT_EQ(g.phase(), Phase::awaitingroll);
}
