#pragma once

#include <cstddef>

#include "signal.h"

// How each of the game's wave cues (game/soundcues.h, which holds their formats) sounds.
namespace velnor::sounds {

// Mixes the cue at place cue of kSoundCues into a silent signal of its rate and length, and
// finishes it.
void compose(std::size_t cue, Signal& signal);

}  // namespace velnor::sounds
