// Reads arbitrary bytes as a wave file and checks that a sound it accepts lies within them,
// in whole frames of a format the player can open.
#include "game/wavereader.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto wave = velnor::read_wave({data, size});
  if (!wave) return 0;
  check(wave->channels >= 1 && wave->channels <= 2 && (wave->bits == 8 || wave->bits == 16) && wave->rate > 0);
  check(wave->samples.size() % static_cast<std::size_t>(wave->channels * wave->bits / 8) == 0);
  const std::uint8_t* samples = wave->samples.data();
  check(wave->samples.empty() || (samples >= data && samples + wave->samples.size() <= data + size));
  return 0;
}
