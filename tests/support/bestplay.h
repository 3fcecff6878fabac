#pragma once

#include <cstdint>
#include <string>

#include "rules/playedgame.h"

namespace velnor::testing {

// A whole game played from a seed by best play, recorded as the game records it.
PlayedGame play_best(std::uint32_t seed, std::string ticket = {});

}  // namespace velnor::testing
