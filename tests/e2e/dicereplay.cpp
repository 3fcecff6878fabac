#include "dicereplay.h"

#include "rules/dicethrow.h"

namespace velnor::testing {

namespace {

constexpr int kPanelWidth = 505;  // the dice panel
constexpr int kPanelHeight = 121;

}  // namespace

std::array<Die, 2> DiceReplay::roll() {
  for (int i = 0; i < 2; ++i) {
    Die& die = dice_[i];
    const DieThrow thrown = throw_die(random_, i + 1, kPanelWidth, kPanelHeight, die.at.y());
    die.value = thrown.value;
    die.at = QPoint(thrown.left, thrown.top);
  }
  return dice_;
}

void DiceReplay::set_faces(const std::array<int, 2>& faces) {
  for (int i = 0; i < 2; ++i) dice_[i].value = faces[i];
}

void DiceReplay::rest() {
  for (int i = 0; i < 2; ++i) dice_[i].at = kRest[i];
}

}  // namespace velnor::testing
