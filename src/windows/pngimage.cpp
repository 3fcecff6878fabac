#include "pngimage.h"

#include <png.h>

#include <bit>
#include <memory>
#include <string>

namespace velnor {

ArgbImage decode_png(const std::uint8_t* data, std::size_t size) {
  static_assert(std::endian::native == std::endian::little, "BGRA bytes are 0xAARRGGBB words");
  if (data == nullptr || size == 0) throw EPictureError("Empty PNG data");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  // The library keeps its state behind image.opaque until png_image_free.
  const std::unique_ptr<png_image, void (*)(png_image*)> release(&image, png_image_free);
  if (png_image_begin_read_from_memory(&image, data, size) == 0)
    throw EPictureError(std::string("Bad PNG data: ") + image.message);
  // Our pictures are small; a header claiming a huge one is corrupt or hostile.
  if (static_cast<std::uint64_t>(image.width) * image.height > (1u << 24)) throw EPictureError("PNG picture too large");
  ArgbImage result;
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  result.has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_BGRA;
  result.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  if (png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr) == 0)
    throw EPictureError(std::string("Bad PNG data: ") + image.message);
  return result;
}

}  // namespace velnor
