#include "bestplay.h"

#include "game/solver.h"
#include "rules/dicethrow.h"
#include "rules/tgame.h"

namespace velnor::testing {

PlayedGame play_best(std::uint32_t seed, std::string ticket) {
  RandomGen random;
  random.setseed(seed);
  return play_best(
      [&random](const std::vector<unsigned>&) {
        const auto [first, second] = throw_dice(random);
        return std::pair{first.value, second.value};
      },
      std::move(ticket), seed);
}

PlayedGame play_best(const NextDice& next_dice, std::string ticket, std::uint32_t seed) {
  PlayedGame played{std::move(ticket), seed, {}};
  Tgame game;
  game.newgame();
  while (game.startround()) {
    for (bool round_on = true; round_on;) {
      const auto [first, second] = next_dice(played.shut);
      if (game.roll(first, second) == RollOutcome::roundover) {
        played.shut.push_back(0);
        break;
      }
      const unsigned best = Solver::table().best(game.openmask(), game.dicetotal());
      played.shut.push_back(best);
      for (int n = 1; n <= Tgame::kTiles; ++n)
        if (best & (1u << (n - 1))) round_on = !game.clicktile(n).roundover;
    }
  }
  return played;
}

}  // namespace velnor::testing
