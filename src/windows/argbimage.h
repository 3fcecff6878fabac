#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace velnor {

// Bytes that are not the picture their reader expects.
class EPictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An 8-bit picture, rows top to bottom, one 0xAARRGGBB word a pixel, not premultiplied;
// alpha is 255 throughout unless has_alpha. The form both picture readers give.
struct ArgbImage {
  int width = 0;
  int height = 0;
  bool has_alpha = false;
  std::vector<std::uint32_t> pixels;
};

}  // namespace velnor
