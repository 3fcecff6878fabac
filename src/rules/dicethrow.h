#pragma once

#include <utility>

#include "rules/randomgen.h"

namespace velnor {

// One die of a roll as the board shows it: its face, and where it lands inside the dice panel.
struct DieThrow {
  int value = 0;
  int left = 0;
  int top = 0;
};

// Draws one die from the generator, in the board's order: its face (1 to 6), then a left near the
// third (die 1) or fourth (die 2) seventh of the panel's width, then a top, drawn again while it
// equals current_top so that the die visibly lands anew. The window and the tests that replay the
// dice both throw them with this.
DieThrow throw_die(RandomGen& random, int die, int panel_width, int panel_height, int current_top);

// The board's dice panel, whose size the throws depend on, and the top at which both dice wait for
// a roll (at the start of a round and after each turn).
inline constexpr int kDicePanelWidth = 505;
inline constexpr int kDicePanelHeight = 121;
inline constexpr int kDiceRestTop = 67;

// Both dice of a roll, thrown from rest on the board's panel: what the board shows, and what a
// replay of a posted game throws.
std::pair<DieThrow, DieThrow> throw_dice(RandomGen& random);

}  // namespace velnor
