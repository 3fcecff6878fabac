#include "cues.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "game/soundcues.h"

namespace velnor::sounds {

namespace {

// Equal-tempered pitch of a MIDI note number (69 is A 440 Hz).
double hz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

constexpr int kC4 = 60, kG4 = 67, kB4 = 71, kC5 = 72, kD5 = 74, kE5 = 76, kF5 = 77, kG5 = 79;
constexpr int kC6 = 84, kE6 = 88, kG6 = 91, kC7 = 96;

// Timbres: a glassy chime, a wooden bar, a bright brassy pluck, a soft electric piano.
constexpr std::array<Partial, 4> kChime{{{1.0, 1.0, 1.0}, {2.0, 0.35, 0.5}, {3.0, 0.12, 0.3}, {4.2, 0.06, 0.2}}};
constexpr std::array<Partial, 2> kBar{{{1.0, 1.0, 1.0}, {3.93, 0.3, 0.2}}};
constexpr std::array<Partial, 6> kBright{
    {{1.0, 1.0, 1.0}, {2.0, 0.5, 0.7}, {3.0, 0.3, 0.5}, {4.0, 0.18, 0.4}, {5.0, 0.1, 0.3}, {6.0, 0.06, 0.25}}};
constexpr std::array<Partial, 3> kSoft{{{1.0, 1.0, 1.0}, {2.0, 0.25, 0.5}, {3.0, 0.08, 0.3}}};
// A die's hollow plastic body, and the table under it.
constexpr std::array<Partial, 2> kDieBody{{{1.0, 1.0, 1.0}, {2.3, 0.5, 0.6}}};
constexpr std::array<Partial, 1> kThump{{{1.0, 1.0, 1.0}}};
// A wooden tile meeting its stop.
constexpr std::array<Partial, 2> kKnock{{{1.0, 1.0, 1.0}, {2.7, 0.4, 0.5}}};

// A sawtooth cut off below the limit of the lowest sample rate, for the buzz.
constexpr std::array<Partial, 20> saw() {
  std::array<Partial, 20> partials{};
  for (size_t k = 0; k < partials.size(); ++k) {
    partials[k] = {static_cast<double>(k + 1), 1.0 / static_cast<double>(k + 1), 1.0};
  }
  return partials;
}
constexpr std::array<Partial, 20> kSaw = saw();

void entered(Signal& s) {
  s.add_note(0.00, hz(kC6), 0.6, 0.35, kChime);
  s.add_note(0.12, hz(kE6), 0.55, 0.35, kChime);
  s.add_note(0.24, hz(kG6), 0.5, 0.4, kChime);
  s.add_note(0.36, hz(kC7), 0.4, 0.35, kChime);
  s.finish(-1.5, 0.003, 0.03, 0.004);
}

void turnnew(Signal& s) {
  s.add_note(0.00, hz(kG5), 0.7, 0.15, kBar);
  s.add_note(0.09, hz(kC6), 0.8, 0.2, kBar);
  s.finish(-2.0, 0.003, 0.03, 0.003);
}

void dice(Signal& s) {
  Noise noise(0x5eed0001);
  // Two dice bouncing: each clack softer than the one before, the gaps shrinking.
  constexpr std::array<std::array<double, 2>, 16> kClacks{{{0.000, 1.0},
                                                           {0.030, 0.9},
                                                           {0.085, 0.8},
                                                           {0.120, 0.7},
                                                           {0.155, 0.65},
                                                           {0.215, 0.5},
                                                           {0.240, 0.55},
                                                           {0.300, 0.45},
                                                           {0.330, 0.4},
                                                           {0.370, 0.3},
                                                           {0.420, 0.35},
                                                           {0.460, 0.25},
                                                           {0.520, 0.25},
                                                           {0.550, 0.18},
                                                           {0.600, 0.2},
                                                           {0.650, 0.12}}};
  for (const auto& [time, amp] : kClacks) {
    const double t = time + 0.006 * noise.next();
    s.add_noise_burst(noise, std::max(0.0, t), amp, 0.010, 2800.0 * (1.0 + 0.15 * noise.next()), 2.0);
    s.add_note(std::max(0.0, t), 1900.0 * (1.0 + 0.25 * noise.next()), 0.25 * amp, 0.008, kDieBody);
    s.add_note(std::max(0.0, t), 180.0 * (1.0 + 0.3 * noise.next()), 0.25 * amp, 0.015, kThump);
  }
  s.add_swish(noise, 0.0, 0.72, 0.15, 700.0, 500.0, 0.8, 0.6);  // the dice rolling between clacks
  s.finish(-1.5, 0.002, 0.02, 0.003);
}

void slide(Signal& s) {
  Noise noise(0x5eed0002);
  s.add_swish(noise, 0.0, 0.64, 1.0, 700.0, 1300.0, 1.5, 0.5);
  s.add_swish(noise, 0.0, 0.64, 0.6, 300.0, 500.0, 1.0, 0.5);
  s.add_note(0.62, 210.0, 0.5, 0.045, kKnock);
  s.add_noise_burst(noise, 0.62, 0.3, 0.006, 1200.0, 1.2);
  s.finish(-4.0, 0.004, 0.02, 0.004);
}

void invalid(Signal& s) {
  // Two low saws a few hertz apart beat against each other: a buzz, not a note.
  s.add_note(0.0, 98.0, 0.5, 0.6, kSaw);
  s.add_note(0.0, 103.5, 0.5, 0.6, kSaw);
  s.finish(-3.0, 0.004, 0.03, 0.004);
}

void shuttthemall(Signal& s) {
  constexpr std::array<int, 5> kArpeggio{kC5, kE5, kG5, kC6, kE6};
  for (size_t i = 0; i < kArpeggio.size(); ++i) s.add_note(0.07 * i, hz(kArpeggio[i]), 0.5, 0.45, kBright);
  s.add_note(0.35, hz(kG6), 0.35, 0.4, kChime);
  s.finish(-1.5, 0.003, 0.03, 0.003);
}

void shutsome(Signal& s) {
  s.add_note(0.00, hz(kE5), 0.6, 0.25, kSoft);
  s.add_note(0.16, hz(kG5), 0.6, 0.3, kSoft);
  s.finish(-2.0, 0.003, 0.03, 0.003);
}

void gameover(Signal& s) {
  constexpr std::array<int, 5> kPhrase{kE5, kG5, kF5, kD5, kB4};
  for (size_t i = 0; i < kPhrase.size(); ++i) s.add_note(0.25 * i, hz(kPhrase[i]), 0.55, 0.3, kSoft);
  for (int note : {kC4, kG4, kC5, kE5}) s.add_note(1.30, hz(note), 0.35, 0.8, kSoft);
  s.finish(-1.5, 0.003, 0.06, 0.005);
}

struct Recipe {
  std::string_view cue;
  void (*compose)(Signal& signal);
};

// In the order of kSoundCues.
constexpr std::array<Recipe, kSoundCues.size()> kRecipes{{
    {"entered", entered},
    {"turnnew", turnnew},
    {"dice", dice},
    {"slide", slide},
    {"invalid", invalid},
    {"shuttthemall", shuttthemall},
    {"shutsome", shutsome},
    {"gameover", gameover},
}};

consteval bool each_cue_has_its_recipe() {
  for (std::size_t i = 0; i < kSoundCues.size(); ++i) {
    if (kRecipes[i].cue != kSoundCues[i].name || kRecipes[i].compose == nullptr) return false;
  }
  return true;
}
static_assert(each_cue_has_its_recipe(), "kRecipes needs a recipe for each cue of kSoundCues, in its order");

}  // namespace

void compose(std::size_t cue, Signal& signal) { kRecipes.at(cue).compose(signal); }

}  // namespace velnor::sounds
