// A sound module as an older release would have left it beside the program: its player
// must never be made, since its layout need not be this program's.
#include <cstdlib>

#include "game/soundmodule.h"

const char* velnor_sound_module_version() { return "0.9.0"; }

velnor::SoundPlayer* velnor_new_sound_player() { std::abort(); }
