// Compiled by ctest, never linked: a cue name that is not in the cue table stops the build.
#include "game/soundcues.h"

void playsounds(velnor::CueName) {}

void play() {
#ifdef VELNOR_UNKNOWN_CUE
  playsounds("dices");
#else
  playsounds("Dice");
#endif
}
