#pragma once

#include <QPoint>

#include <array>
#include <cstdint>

#include "rules/randomgen.h"

namespace velnor::testing {

// One die as the game shows it: its face and its top-left corner inside the dice panel.
struct Die {
  int value = 0;
  QPoint at;
};

// The dice that the game will show, drawn in the game's order from a generator seeded as the
// game seeds its own: per roll, die 1's face, left and top, then the same for die 2.
class DiceReplay {
 public:
  static constexpr QPoint kRest[2] = {{19, 67}, {59, 67}};

  explicit DiceReplay(std::uint32_t seed) { random_.setseed(seed); }

  std::array<Die, 2> roll();
  // The faces of the last roll as the server dealt them: the game still places the dice by its
  // generator, and swaps in only the faces.
  void set_faces(const std::array<int, 2>& faces);
  // The dice go back to their resting places, as at the start of a round and after a turn.
  void rest();
  const std::array<Die, 2>& dice() const { return dice_; }

 private:
  RandomGen random_;
  std::array<Die, 2> dice_{{{0, kRest[0]}, {0, kRest[1]}}};
};

}  // namespace velnor::testing
