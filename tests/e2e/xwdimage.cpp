#include "xwdimage.h"

#include <bit>
#include <cstdint>

namespace velnor::testing {

namespace {

// The header's fields, each a 32-bit big-endian word, in file order.
enum Field {
  kHeaderSize,
  kFileVersion,
  kPixmapFormat,
  kPixmapDepth,
  kWidth,
  kHeight,
  kXOffset,
  kByteOrder,
  kBitmapUnit,
  kBitmapBitOrder,
  kBitmapPad,
  kBitsPerPixel,
  kBytesPerLine,
  kVisualClass,
  kRedMask,
  kGreenMask,
  kBlueMask,
  kBitsPerRgb,
  kColormapEntries,
  kColorCount,
  kFieldCount = 25
};
constexpr std::uint32_t kVersion = 7;
constexpr std::uint32_t kZPixmap = 2;
constexpr std::uint32_t kTrueColor = 4;
// What xwd writes when windows of several visuals share the screen: a channel's value is an
// index into the colour map that follows the header.
constexpr std::uint32_t kDirectColor = 5;
constexpr std::uint32_t kColorEntryBytes = 12;
constexpr std::uint32_t kMaxSide = 1 << 14;

std::uint32_t big_endian(const unsigned char* at) {
  return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

// One colour channel as 0..255, from a mask of eight contiguous bits.
int channel(std::uint32_t pixel, std::uint32_t mask) {
  return static_cast<int>((pixel & mask) >> std::countr_zero(mask));
}

bool eight_bit_mask(std::uint32_t mask) {
  return std::popcount(mask) == 8 && std::popcount((mask >> std::countr_zero(mask)) + 1) == 1;
}

}  // namespace

QImage read_xwd(const QByteArray& dump, QString& why) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(dump.constData());
  const auto size = static_cast<std::uint64_t>(dump.size());
  if (size < kFieldCount * 4) {
    why = "the dump is shorter than its header";
    return {};
  }
  std::uint32_t field[kFieldCount];
  for (int i = 0; i < kFieldCount; ++i) field[i] = big_endian(bytes + 4 * i);

  const std::uint32_t width = field[kWidth];
  const std::uint32_t height = field[kHeight];
  const std::uint32_t bits = field[kBitsPerPixel];
  const std::uint32_t line = field[kBytesPerLine];
  const bool direct = field[kVisualClass] == kDirectColor;
  if (field[kFileVersion] != kVersion || field[kPixmapFormat] != kZPixmap ||
      (field[kVisualClass] != kTrueColor && !direct)) {
    why = QString("not a true- or direct-colour Z-format dump of version 7 (version %1, format %2, class %3)")
              .arg(field[kFileVersion])
              .arg(field[kPixmapFormat])
              .arg(field[kVisualClass]);
    return {};
  }
  if (direct && field[kColorCount] < 256) {
    why = "a direct-colour dump without a colour map of 256 entries";
    return {};
  }
  if (bits != 24 && bits != 32) {
    why = QString("%1 bits a pixel are not read").arg(bits);
    return {};
  }
  if (!eight_bit_mask(field[kRedMask]) || !eight_bit_mask(field[kGreenMask]) || !eight_bit_mask(field[kBlueMask])) {
    why = "colour masks other than eight bits each are not read";
    return {};
  }
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
      std::uint64_t{line} < std::uint64_t{width} * bits / 8) {
    why = "implausible image size";
    return {};
  }
  const std::uint64_t pixels = std::uint64_t{field[kHeaderSize]} + std::uint64_t{field[kColorCount]} * kColorEntryBytes;
  if (field[kHeaderSize] < kFieldCount * 4 || pixels + std::uint64_t{line} * height > size) {
    why = "the dump is shorter than its pixels";
    return {};
  }

  // Each channel's 256 values, as the colour map gives them for a direct-colour dump.
  int ramp[3][256];
  for (int value = 0; value < 256; ++value)
    for (int c = 0; c < 3; ++c) ramp[c][value] = value;
  if (direct) {
    // An entry: pixel (4 bytes), then red, green and blue (2 bytes each, high byte first),
    // flags and a pad byte.
    const unsigned char* map = bytes + field[kHeaderSize];
    for (int value = 0; value < 256; ++value)
      for (int c = 0; c < 3; ++c) ramp[c][value] = map[value * kColorEntryBytes + 4 + 2 * c];
  }

  const bool most_significant_first = field[kByteOrder] != 0;
  const int step = static_cast<int>(bits / 8);
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  for (std::uint32_t y = 0; y < height; ++y) {
    const unsigned char* row = bytes + pixels + std::uint64_t{line} * y;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
    for (std::uint32_t x = 0; x < width; ++x) {
      const unsigned char* at = row + x * step;
      std::uint32_t pixel = 0;
      for (int b = 0; b < step; ++b) pixel |= std::uint32_t{at[b]} << (8 * (most_significant_first ? step - 1 - b : b));
      out[x] = qRgb(ramp[0][channel(pixel, field[kRedMask])], ramp[1][channel(pixel, field[kGreenMask])],
                    ramp[2][channel(pixel, field[kBlueMask])]);
    }
  }
  return image;
}

}  // namespace velnor::testing
