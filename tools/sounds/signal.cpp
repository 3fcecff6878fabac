#include "signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velnor::sounds {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Below this an exponential fade no longer shows in 8 or 16 bits.
constexpr double kInaudible = 1e-5;

// Band-pass biquad with 0 dB gain at its centre; the coefficients may change per sample.
class BandPass {
 public:
  void tune(double centre, double q, int rate) {
    const double w0 = kTwoPi * centre / rate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    b0_ = alpha / a0;
    a1_ = -2.0 * std::cos(w0) / a0;
    a2_ = (1.0 - alpha) / a0;
  }
  double step(double x) {
    const double y = b0_ * x - b0_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double b0_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Rises from 0 to 1 along half a cosine as u goes from 0 to 1.
double raised_cosine(double u) { return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(u, 0.0, 1.0)); }

}  // namespace

Noise::Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}

double Noise::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_ / 2147483648.0 - 1.0;
}

Signal::Signal(int rate, double seconds)
    : rate_(rate), samples_(static_cast<size_t>(std::lround(seconds * rate)), 0.0) {}

size_t Signal::index_at(double seconds) const {
  return std::min(samples_.size(), static_cast<size_t>(std::max(0.0, std::round(seconds * rate_))));
}

void Signal::add_note(double start, double freq, double amp, double decay, std::span<const Partial> partials) {
  constexpr double kAttack = 0.004;
  const size_t first = index_at(start);
  for (const Partial& p : partials) {
    const double f = freq * p.ratio;
    if (f >= 0.45 * rate_) continue;  // would alias
    const double tau = decay * p.decay_scale;
    const size_t last = index_at(start + tau * std::log(p.gain * amp / kInaudible));
    for (size_t i = first; i < last; ++i) {
      const double t = static_cast<double>(i - first) / rate_;
      samples_[i] += amp * p.gain * raised_cosine(t / kAttack) * std::exp(-t / tau) * std::sin(kTwoPi * f * t);
    }
  }
}

void Signal::add_noise_burst(Noise& noise, double start, double amp, double decay, double centre, double q) {
  constexpr double kAttack = 0.0005;
  BandPass filter;
  filter.tune(centre, q, rate_);
  const size_t first = index_at(start);
  const size_t last = index_at(start + decay * std::log(amp / kInaudible));
  for (size_t i = first; i < last; ++i) {
    const double t = static_cast<double>(i - first) / rate_;
    samples_[i] += amp * raised_cosine(t / kAttack) * std::exp(-t / decay) * filter.step(noise.next());
  }
}

void Signal::add_swish(Noise& noise, double start, double length, double amp, double f0, double f1, double q,
                       double grain) {
  BandPass filter;
  const size_t first = index_at(start);
  const size_t last = index_at(start + length);
  for (size_t i = first; i < last; ++i) {
    const double t = static_cast<double>(i - first) / rate_;
    const double u = t / length;
    filter.tune(f0 * std::pow(f1 / f0, u), q, rate_);
    // Wood on wood does not rub evenly: an uneven flutter of a few dozen hertz.
    const double flutter = 1.0 + grain * std::sin(kTwoPi * 23.0 * t + 0.7 * std::sin(kTwoPi * 7.0 * t));
    samples_[i] += amp * std::sin(std::numbers::pi * u) * flutter * filter.step(noise.next());
  }
}

void Signal::finish(double peak_dbfs, double fade_in, double fade_out, double tail) {
  double peak = 0;
  for (double x : samples_) peak = std::max(peak, std::abs(x));
  if (peak == 0) return;
  const double scale = std::pow(10.0, peak_dbfs / 20.0) / peak;
  const size_t fade_in_end = index_at(fade_in);
  const size_t silent_from = samples_.size() - index_at(tail);
  const size_t fade_out_start = silent_from - std::min(silent_from, index_at(fade_out));
  for (size_t i = 0; i < samples_.size(); ++i) {
    double gain = scale;
    if (i < fade_in_end) gain *= raised_cosine(static_cast<double>(i) / fade_in_end);
    if (i >= silent_from) {
      gain = 0;
    } else if (i >= fade_out_start) {
      gain *= raised_cosine(static_cast<double>(silent_from - i) / (silent_from - fade_out_start));
    }
    samples_[i] *= gain;
  }
}

}  // namespace velnor::sounds
