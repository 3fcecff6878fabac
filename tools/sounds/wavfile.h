#pragma once

#include <cstdint>
#include <vector>

// A RIFF WAVE file of uncompressed mono PCM.
namespace velnor::sounds {

// Encodes samples in [-1, 1] at 8 bits (unsigned, 128 is silence) or 16 bits (signed).
std::vector<uint8_t> encode_wav(const std::vector<double>& samples, int rate, int bits);

}  // namespace velnor::sounds
