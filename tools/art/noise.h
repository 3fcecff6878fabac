#pragma once

#include <cstdint>

// Smooth value noise on an integer lattice. The seed alone fixes every value,
// so the pictures come out the same on every run and every machine.
class Noise {
 public:
  explicit Noise(uint32_t seed) : seed_(seed) {}

  // A value in [0, 1) for one lattice point.
  double lattice(int x, int y) const;
  // Smoothly interpolated noise in [0, 1).
  double at(double x, double y) const;
  // Sum of octaves, each at twice the frequency and half the weight; in [0, 1).
  double fbm(double x, double y, int octaves) const;

 private:
  uint32_t seed_;
};
