#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "rules/dicethrow.h"
#include "rules/randomgen.h"

namespace velnor {

// Where a game's rolls come from. A source may answer at once or later (one that asks the server
// for each roll), always on the thread that asked.
class DiceSource {
 public:
  // The roll asked for: the game's own generator (which places the dice on the panel, and deals
  // them when nothing else does), the server's ticket for the game (empty when the clock seeded it)
  // and the rolls of its record so far, as its posting writes them.
  struct Roll {
    RandomGen& generator;
    std::string_view ticket;
    std::string_view rolls;
  };
  using Thrown = std::function<void(std::pair<DieThrow, DieThrow>)>;
  virtual ~DiceSource() = default;
  virtual void throw_next(const Roll& roll, Thrown thrown) = 0;
};

// The dice drawn from the game's generator, as the board throws them.
class GeneratorDice : public DiceSource {
 public:
  void throw_next(const Roll& roll, Thrown thrown) override { thrown(throw_dice(roll.generator)); }
};

}  // namespace velnor
