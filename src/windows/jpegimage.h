#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace velnor {

class EJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An 8-bit RGB picture, rows top to bottom, three bytes a pixel.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// Decodes a baseline or progressive JPEG held in memory; throws EJpegError on bad data.
RgbImage decode_jpeg(const std::uint8_t* data, std::size_t size);

}  // namespace velnor
