#include "game/gamerecord.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace velnor;

namespace {

// Tile sets, bit n-1 for tile n.
constexpr unsigned k39 = 1u << 2 | 1u << 8;
constexpr unsigned k145 = 1u << 0 | 1u << 3 | 1u << 4;

// Round 1 up to its last roll: 12 shuts 3+9, 10 shuts 1+4+5, then 3 has no play.
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

}  // namespace

// A miswired game must not turn into a review of a game nobody played.
TEST(GameRecord, CallsThatDoNotFitTheGameAreRefusedAndChangeNothing) {
  GameRecord record;
  EXPECT_THROW(record.on_roll(3, 4), std::runtime_error);  // no round running
  record.on_round_start();
  EXPECT_THROW(record.on_round_start(), std::runtime_error);
  EXPECT_THROW(record.on_roll(0, 7), std::runtime_error);
  record.on_roll(6, 6);
  EXPECT_THROW(record.on_turn_shut(k145), std::runtime_error);  // 12 is not 1+4+5
  EXPECT_THROW(record.on_round_end(0), std::runtime_error);     // 12 has a play
  record.on_turn_shut(k39);
  record.on_roll(6, 6);
  EXPECT_THROW(record.on_turn_shut(k39), std::runtime_error);  // already shut
  EXPECT_EQ(record.turns().size(), 1u);
  EXPECT_TRUE(record.round_scores().empty());

  EXPECT_THROW(to_last_roll().on_round_end(45), std::runtime_error);  // the tiles give 22
  GameRecord done = to_last_roll();
  done.on_round_end(22);
  EXPECT_EQ(done.turns().size(), 3u);  // the roll without a play is a turn too
  EXPECT_EQ(done.turns().back().shut, 0u);
  EXPECT_EQ(done.round_scores(), std::vector<int>{22});
}
