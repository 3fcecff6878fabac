#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "rules/playedgame.h"

namespace velnor::testing {

// A whole game played from a seed by best play, recorded as the game records it.
PlayedGame play_best(std::uint32_t seed, std::string ticket = {});

// A whole game played by best play with each roll's dice asked of `next_dice`, which is given the
// record of the rolls played so far (as the game asks the server for its next roll).
using NextDice = std::function<std::pair<int, int>(const std::vector<unsigned>& shut_so_far)>;
PlayedGame play_best(const NextDice& next_dice, std::string ticket, std::uint32_t seed = 0);

}  // namespace velnor::testing
