#pragma once

#include <array>
#include <cstddef>
#include <optional>
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

// The place in kSoundCues of the cue called name, matched without regard to case ("Dice" is
// "dice"); nothing if there is none. By place, not by address: GCC's UndefinedBehaviorSanitizer
// makes an address within the table unusable in the compile-time check below.
constexpr std::optional<std::size_t> find_sound_cue(std::string_view name) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < kSoundCues.size(); ++i) {
    const std::string_view cue = kSoundCues[i].name;
    if (cue.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; same && k < name.size(); ++k) same = lower(name[k]) == cue[k];
    if (same) return i;
  }
  return std::nullopt;
}

// A cue's name as the program writes it, checked against the table while compiling: a name
// that is not there stops the build instead of playing nothing.
class CueName {
 public:
  // Implicit, so that a call reads playsounds("Dice").
  consteval CueName(const char* text) : text_(text) {
    if (!find_sound_cue(text)) throw "not a cue of kSoundCues";
  }
  constexpr const char* text() const { return text_; }  // as written

 private:
  const char* text_;
};

}  // namespace velnor
