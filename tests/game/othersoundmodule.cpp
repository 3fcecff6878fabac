// A sound module as another build or release would have left it beside the program: its player
// must never be made, since its layout need not be this program's.
#include <cstdlib>

#include "game/soundmodule.h"

velnor::SoundPlayer* velnor_new_sound_player() { std::abort(); }
