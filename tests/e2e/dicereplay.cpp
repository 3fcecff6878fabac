#include "dicereplay.h"

namespace velnor::testing {

namespace {

constexpr int kPanelWidth = 505;   // the dice panel
constexpr int kPanelHeight = 121;

}  // namespace

std::array<Die, 2> DiceReplay::roll() {
  for (int i = 0; i < 2; ++i) {
    Die& die = dice_[i];
    die.value = random_.random(6) + 1;
    const int column = i == 0 ? 3 : 4;
    const int left = random_.random(10) + column * (kPanelWidth / 7) - 64;
    // A die lands on a new top each roll.
    int top = random_.random(kPanelHeight - 85) + 15;
    while (top == die.at.y()) top = random_.random(kPanelHeight - 85) + 15;
    die.at = QPoint(left, top);
  }
  return dice_;
}

void DiceReplay::rest() {
  for (int i = 0; i < 2; ++i) dice_[i].at = kRest[i];
}

}  // namespace velnor::testing
