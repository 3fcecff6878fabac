#include "dicethrow.h"

namespace velnor {

DieThrow throw_die(RandomGen& random, int die, int panel_width, int panel_height, int current_top) {
  DieThrow result;
  result.value = random.random(6) + 1;
  const int column = die == 1 ? 3 : 4;
  result.left = random.random(10) + column * (panel_width / 7) - 64;
  const int range = panel_height - 85;
  result.top = random.random(range) + 15;
  // A range of one value cannot change.
  while (result.top == current_top && range > 1) result.top = random.random(range) + 15;
  return result;
}

std::pair<DieThrow, DieThrow> throw_dice(RandomGen& random) {
  DieThrow first = throw_die(random, 1, kDicePanelWidth, kDicePanelHeight, kDiceRestTop);
  return {first, throw_die(random, 2, kDicePanelWidth, kDicePanelHeight, kDiceRestTop)};
}

}  // namespace velnor
