#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace velnor {

// The sound held in a RIFF WAVE file of uncompressed PCM.
struct WaveSound {
  int channels = 0;
  int rate = 0;                           // frames per second
  int bits = 0;                           // per sample: 8 (unsigned, 128 is silence) or 16 (signed, little-endian)
  std::span<const std::uint8_t> samples;  // within the file's bytes; whole frames only
};

// Reads a WAVE file held in memory. Nothing unless the bytes are one such file, 8 or 16 bits
// per sample in one or two channels, whose sizes agree with each other and with the bytes
// given; nothing outside those bytes is ever read.
std::optional<WaveSound> read_wave(std::span<const std::uint8_t> file);

}  // namespace velnor
