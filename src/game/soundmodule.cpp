#include "game/soundmodule.h"

#include "game/qtsoundplayer.h"

const char* velnor_sound_module_version() { return VELNOR_VERSION; }

velnor::SoundPlayer* velnor_new_sound_player() { return new velnor::QtSoundPlayer; }
