#include "jpegimage.h"

#include <bit>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace velnor {

namespace {

// libjpeg reports fatal errors through a callback that must not return; jump
// back to the decoder instead of letting the library end the process.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void on_error(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void on_message(j_common_ptr) {}  // warnings are not the player's business

}  // namespace

ArgbImage decode_jpeg(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0) throw EPictureError("Empty JPEG data");
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = on_error;
  err.pub.output_message = on_message;
  // Everything that must survive a longjmp lives outside this frame's locals
  // that change after setjmp.
  static_assert(sizeof(unsigned long) >= 4);
  ArgbImage* result = new ArgbImage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    delete result;
    throw EPictureError(std::string("Bad JPEG data: ") + err.message);
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  // Our pictures are small; a header claiming a huge one is corrupt or hostile.
  if (static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height > (1u << 24)) {
    jpeg_destroy_decompress(&cinfo);
    delete result;
    throw EPictureError("JPEG picture too large");
  }
  // Blue, green, red and an opaque alpha byte: 0xAARRGGBB words on a little-endian machine.
  static_assert(std::endian::native == std::endian::little);
  cinfo.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  result->width = static_cast<int>(cinfo.output_width);
  result->height = static_cast<int>(cinfo.output_height);
  result->pixels.resize(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    auto row = reinterpret_cast<JSAMPROW>(result->pixels.data() +
                                          static_cast<std::size_t>(cinfo.output_width) * cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  ArgbImage out = std::move(*result);
  delete result;
  return out;
}

}  // namespace velnor
