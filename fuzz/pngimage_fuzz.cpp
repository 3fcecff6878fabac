// The PNG decoder must turn any bytes into a picture or a clear error.
#include <cstddef>
#include <cstdint>

#include "windows/pngimage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const velnor::ArgbImage image = velnor::decode_png(data, size);
    if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) __builtin_trap();
  } catch (const velnor::EPictureError&) {
  }
  return 0;
}
