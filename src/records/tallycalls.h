#pragma once

#include <QString>

namespace velnor {

// What the game tells the tally: a game begun, an all-shut round, a finished game.
class TallyCalls {
 public:
  virtual ~TallyCalls() = default;
  // 1 counts a game, 2 counts a round with every tile shut.
  virtual void addtomineincrease(int which) = 0;
  virtual void checkscore(int score, const QString& name) = 0;
  // Writes the records now, before the program ends without its usual exit.
  virtual void savetally() = 0;
};

}  // namespace velnor
