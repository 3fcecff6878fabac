#include "randomgen.h"

#include <chrono>

namespace velnor {

int RandomGen::random(int n) {
  seed_ = seed_ * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(n)) >> 32);
}

std::uint32_t ms_since_midnight_utc() {
  using namespace std::chrono;
  const auto now = time_point_cast<milliseconds>(system_clock::now());
  const auto midnight = floor<days>(now);
  return static_cast<std::uint32_t>((now - midnight).count());
}

}  // namespace velnor
