#include "wavfile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace velnor::sounds {

namespace {

void put_tag(std::vector<uint8_t>& out, std::string_view tag) { out.insert(out.end(), tag.begin(), tag.end()); }

void put_le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> encode_wav(const std::vector<double>& samples, int rate, int bits) {
  if (bits != 8 && bits != 16) throw std::invalid_argument("only 8 or 16 bits per sample");
  const uint32_t bytes_per_sample = static_cast<uint32_t>(bits / 8);
  const uint32_t data_size = static_cast<uint32_t>(samples.size()) * bytes_per_sample;
  const uint32_t pad = data_size % 2;  // RIFF chunks start on even offsets

  std::vector<uint8_t> out;
  put_tag(out, "RIFF");
  put_le(out, 4 + (8 + 16) + (8 + data_size + pad), 4);
  put_tag(out, "WAVE");
  put_tag(out, "fmt ");
  put_le(out, 16, 4);
  put_le(out, 1, 2);  // PCM
  put_le(out, 1, 2);  // mono
  put_le(out, static_cast<uint32_t>(rate), 4);
  put_le(out, static_cast<uint32_t>(rate) * bytes_per_sample, 4);
  put_le(out, bytes_per_sample, 2);
  put_le(out, static_cast<uint32_t>(bits), 2);
  put_tag(out, "data");
  put_le(out, data_size, 4);
  for (double x : samples) {
    const double v = std::clamp(x, -1.0, 1.0);
    if (bits == 8) {
      put_le(out, static_cast<uint32_t>(128 + std::lround(v * 127.0)), 1);
    } else {
      put_le(out, static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 32767.0))), 2);
    }
  }
  if (pad != 0) out.push_back(0);
  return out;
}

}  // namespace velnor::sounds
