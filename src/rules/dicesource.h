#pragma once

#include <functional>
#include <utility>

#include "rules/dicethrow.h"
#include "rules/randomgen.h"

namespace velnor {

// Where a game's rolls come from. A source may answer at once or later (one that asks the server
// for each roll), always on the thread that asked.
class DiceSource {
 public:
  using Thrown = std::function<void(std::pair<DieThrow, DieThrow>)>;
  virtual ~DiceSource() = default;
  virtual void throw_next(Thrown thrown) = 0;
};

// The dice drawn from a generator, as the board throws them.
class GeneratorDice : public DiceSource {
 public:
  void use(RandomGen& random) { random_ = &random; }
  RandomGen& generator() const { return *random_; }
  void throw_next(Thrown thrown) override { thrown(throw_dice(*random_)); }

 private:
  RandomGen* random_ = nullptr;
};

}  // namespace velnor
