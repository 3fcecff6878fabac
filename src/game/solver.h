#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Best play for a round, exactly: every open set and every roll is worked out
// once, so the coach and the tools can say what each choice is worth.
namespace velnor {

// One way to play a roll: the tiles it shuts and the round score it leads to
// on average when every later roll is played best.
struct Choice {
  unsigned tiles = 0;  // a tile set, as in tgame.h
  double expected = 0.0;
};

class Solver {
 public:
  // The program's one table, built on first use; safe from any thread.
  static const Solver& table();

  // Works the table out (some microseconds); callers want table().
  Solver();

  // The expected final round score with these tiles open, before the next
  // roll, under best play. A set that has ended the round is worth its score.
  // Each query throws std::out_of_range for a set beyond tile 9.
  double expected(unsigned open) const;

  // Every set of open tiles that adds up to total, each with the expectation
  // it leaves, best first. Equal expectations put the set with the higher
  // tiles first (compared from the highest tile down), so the order never
  // changes. Empty when the roll has no play.
  std::vector<Choice> choices(unsigned open, int total) const;

  // The first of choices(), or 0 when the roll has no play.
  unsigned best(unsigned open, int total) const;

 private:
  static constexpr int kTotals = 13;  // indexed by dice total; 0 and 1 stay empty

  // Values in units of 36^-9 points. Each step averages 36 rolls and a round
  // has at most nine steps, so every value is whole: the table is exact and
  // equal values compare equal.
  std::array<std::int64_t, 512> value_{};
  std::array<std::array<std::uint16_t, kTotals>, 512> best_{};
};

// A tile set as the player reads it, as a sum: "3+5"; empty for no tiles.
std::string tiles_text(unsigned tiles, std::string_view between = "+");

}  // namespace velnor
