#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Building blocks of the synthesised cues: a mono mix buffer and the few sound
// shapes the cues are made of. Everything is deterministic, so each run writes
// the same files.
namespace velnor::sounds {

// White noise from a fixed seed (xorshift32: the same on every compiler).
class Noise {
 public:
  explicit Noise(uint32_t seed);
  double next();  // uniform in [-1, 1)

 private:
  uint32_t state_;
};

// One partial of a note: its frequency as a multiple of the fundamental, its
// level, and how fast it fades compared with the note (higher partials fade first).
struct Partial {
  double ratio;
  double gain;
  double decay_scale;
};

class Signal {
 public:
  Signal(int rate, double seconds);

  const std::vector<double>& samples() const { return samples_; }

  // A struck note: a short raised-cosine attack, then each partial fades
  // exponentially with time constant decay * decay_scale.
  void add_note(double start, double freq, double amp, double decay, std::span<const Partial> partials);

  // A click or clack: noise through a band-pass around centre, fading with time constant decay.
  void add_noise_burst(Noise& noise, double start, double amp, double decay, double centre, double q);

  // A rub or swish: noise through a band-pass swept from f0 to f1 over length,
  // with a half-sine envelope and a grainy flutter of the given depth.
  void add_swish(Noise& noise, double start, double length, double amp, double f0, double f1, double q, double grain);

  // Scales the whole so its peak sits at peak_dbfs, fades in over fade_in and out
  // over fade_out, and leaves the last tail seconds exactly silent.
  void finish(double peak_dbfs, double fade_in, double fade_out, double tail);

 private:
  size_t index_at(double seconds) const;

  int rate_;
  std::vector<double> samples_;
};

}  // namespace velnor::sounds
