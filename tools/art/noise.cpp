#include "noise.h"

#include <cmath>

namespace {

uint32_t mix(uint32_t h) {
  h ^= h >> 16;
  h *= 0x7feb352dU;
  h ^= h >> 15;
  h *= 0x846ca68bU;
  h ^= h >> 16;
  return h;
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

double Noise::lattice(int x, int y) const {
  const uint32_t h =
      mix(seed_ ^ mix(static_cast<uint32_t>(x) * 0x9E3779B1U ^ mix(static_cast<uint32_t>(y) + 0x632BE5ABU)));
  return (h >> 8) / 16777216.0;
}

double Noise::at(double x, double y) const {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = smooth(x - fx);
  const double ty = smooth(y - fy);
  const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * tx;
  const double bottom = lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

double Noise::fbm(double x, double y, int octaves) const {
  double sum = 0.0;
  double weight = 0.5;
  double total = 0.0;
  for (int i = 0; i < octaves; ++i) {
    // Shift each octave so their lattices do not line up.
    sum += weight * at(x + i * 17.31, y - i * 9.77);
    total += weight;
    weight *= 0.5;
    x *= 2.0;
    y *= 2.0;
  }
  return total > 0.0 ? sum / total : 0.0;
}
