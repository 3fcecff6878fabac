#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace velnor {

// A wave cue of the game: the file assets/sounds/<name>.wav, compiled in as ":/sounds/<name>.wav".
struct SoundCue {
  std::string_view name;  // lower case; the game's calls may write it in any case
  int rate;               // samples per second
  int bits;               // per sample: 8 (unsigned) or 16 (signed)
  double seconds;
};

// Every cue of the game, mono PCM. To add one: a line here, its recipe in tools/sounds/cues.cpp
// (the generator does not build without it), `velnor-sounds assets/sounds` to write its file,
// and playsounds("name") where it is heard. Nothing else: the build compiles in whatever
// assets/sounds holds, and the sound test checks that those files and this table agree.
inline constexpr std::array<SoundCue, 8> kSoundCues{{
    {"entered", 11025, 8, 0.79},
    {"turnnew", 44100, 8, 0.43},
    {"dice", 22050, 8, 0.76},
    {"slide", 11025, 8, 0.78},
    {"invalid", 11025, 8, 0.25},
    {"shuttthemall", 22050, 8, 1.00},
    {"shutsome", 22050, 8, 0.72},
    {"gameover", 22050, 16, 2.79},
}};

// The cue called name, matched without regard to case ("Dice" is "dice"); null if there is none.
constexpr const SoundCue* find_sound_cue(std::string_view name) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const SoundCue& cue : kSoundCues) {
    if (cue.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < name.size(); ++i) same = lower(name[i]) == cue.name[i];
    if (same) return &cue;
  }
  return nullptr;
}

// A cue's name as the program writes it, checked against the table while compiling: a name
// that is not there stops the build instead of playing nothing.
class CueName {
 public:
  // Implicit, so that a call reads playsounds("Dice").
  consteval CueName(const char* text) : text_(text) {
    if (find_sound_cue(text) == nullptr) throw "not a cue of kSoundCues";
  }
  constexpr const char* text() const { return text_; }  // as written

 private:
  const char* text_;
};

}  // namespace velnor
