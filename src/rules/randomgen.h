#pragma once

#include <cstdint>

namespace velnor {

// The program's one pseudo-random generator: a 32-bit linear congruential
// generator whose draws a known seed makes repeatable.
class RandomGen {
 public:
  void setseed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t seed() const { return seed_; }
  // An integer from 0 to n-1 (0 when n is 0 or less).
  int random(int n);

 private:
  std::uint32_t seed_ = 0;
};

// Milliseconds since midnight of the system clock in universal time: the start-up seed.
std::uint32_t ms_since_midnight_utc();

}  // namespace velnor
