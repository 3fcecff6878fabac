#pragma once

#include "game/soundplayer.h"

// The sound module: Qt Multimedia and the sound system's libraries, kept out of the program
// so that none of them loads before the board is on the screen. The game opens it beside
// itself on its first cue (SoundModulePlayer) and asks these entries for a player.
extern "C" {
// The version the module was built as: a module left from another release is never called,
// since the player it makes need not match this program's.
Q_DECL_EXPORT const char* velnor_sound_module_version();
Q_DECL_EXPORT velnor::SoundPlayer* velnor_new_sound_player();
}

namespace velnor {

inline constexpr char kSoundModuleVersionEntry[] = "velnor_sound_module_version";
inline constexpr char kSoundModuleEntry[] = "velnor_new_sound_player";
using SoundModuleVersionEntry = decltype(&velnor_sound_module_version);
using SoundModuleEntry = decltype(&velnor_new_sound_player);

}  // namespace velnor
