#include "game/soundmodule.h"

#include "game/qtsoundplayer.h"

velnor::SoundPlayer* velnor_new_sound_player() { return new velnor::QtSoundPlayer; }
