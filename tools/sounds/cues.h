#pragma once

#include <span>
#include <string_view>

#include "signal.h"

// The game's eight wave cues: their file names, formats, lengths and recipes.
namespace velnor::sounds {

struct Cue {
  std::string_view name;  // file name without ".wav"
  int rate;
  int bits;
  double seconds;
  void (*compose)(Signal& signal);  // mixes the sound into a silent signal and finishes it
};

std::span<const Cue> cues();

}  // namespace velnor::sounds
