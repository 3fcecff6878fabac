#pragma once

#include "game/soundplayer.h"

// The sound module: Qt Multimedia and the sound system's libraries, kept out of the program
// so that none of them loads before the board is on the screen. The game opens it beside
// itself on its first cue (SoundModulePlayer), once it has checked that the module is the one built
// with it, and asks this entry for a player.
extern "C" {
Q_DECL_EXPORT velnor::SoundPlayer* velnor_new_sound_player();
}

namespace velnor {

inline constexpr char kSoundModuleEntry[] = "velnor_new_sound_player";
using SoundModuleEntry = decltype(&velnor_new_sound_player);

}  // namespace velnor
