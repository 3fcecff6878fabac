#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace velnor {

class EPngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An 8-bit picture, rows top to bottom, one 0xAARRGGBB word a pixel, not premultiplied;
// alpha is 255 throughout unless has_alpha.
struct ArgbImage {
  int width = 0;
  int height = 0;
  bool has_alpha = false;
  std::vector<std::uint32_t> pixels;
};

// Decodes a PNG held in memory; throws EPngError on bad data.
ArgbImage decode_png(const std::uint8_t* data, std::size_t size);

}  // namespace velnor
