#include "compression.h"

#include <brotli/encode.h>
#include <zlib.h>

#include <stdexcept>

namespace {

std::string gzip(std::string_view bytes) {
  z_stream stream{};
  // 15 window bits, plus 16 for the gzip wrapper that browsers take.
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("gzip cannot start");
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("gzip failed");
  return out;
}

std::string brotli(std::string_view bytes) {
  size_t size = BrotliEncoderMaxCompressedSize(bytes.size());
  std::string out(size, '\0');
  // Quality 9: nearly all of the gain at a small part of the cost of 11, once per page.
  if (!BrotliEncoderCompress(9, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_TEXT, bytes.size(),
                             reinterpret_cast<const uint8_t*>(bytes.data()), &size,
                             reinterpret_cast<uint8_t*>(out.data())))
    throw std::runtime_error("brotli failed");
  out.resize(size);
  return out;
}

}  // namespace

std::string compressed(std::string_view bytes, http_conventions::Encoding encoding) {
  switch (encoding) {
    case http_conventions::Encoding::kGzip:
      return gzip(bytes);
    case http_conventions::Encoding::kBrotli:
      return brotli(bytes);
    case http_conventions::Encoding::kIdentity:
      break;
  }
  return std::string(bytes);
}
