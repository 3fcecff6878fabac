#include "game/wavereader.h"

#include <string_view>

namespace velnor {

namespace {

constexpr std::size_t kChunkHeader = 8;  // tag and size
constexpr std::size_t kFmtSize = 16;     // the PCM fields of a "fmt " chunk
constexpr int kPcm = 1;
constexpr int kMinRate = 1000, kMaxRate = 192000;

std::uint32_t le(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

bool tag_is(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data() + at), tag.size()) == tag;
}

}  // namespace

std::optional<WaveSound> read_wave(std::span<const std::uint8_t> file) {
  if (file.size() < 12 || !tag_is(file, 0, "RIFF") || !tag_is(file, 8, "WAVE")) return std::nullopt;
  // A size that disagrees with the bytes is a file cut short or run together with another.
  if (le(file, 4, 4) != file.size() - kChunkHeader) return std::nullopt;

  std::optional<std::span<const std::uint8_t>> fmt, data;
  for (std::size_t at = 12; file.size() - at >= kChunkHeader;) {
    const std::size_t body = at + kChunkHeader;
    const std::size_t size = le(file, at + 4, 4);
    if (size > file.size() - body) return std::nullopt;
    if (!fmt && tag_is(file, at, "fmt ")) fmt = file.subspan(body, size);
    if (!data && tag_is(file, at, "data")) data = file.subspan(body, size);
    at = body + size;
    if (size % 2 != 0 && at < file.size()) ++at;  // chunks start on even offsets
  }
  if (!fmt || !data || fmt->size() < kFmtSize || le(*fmt, 0, 2) != kPcm) return std::nullopt;

  WaveSound sound;
  sound.channels = static_cast<int>(le(*fmt, 2, 2));
  const std::uint32_t rate = le(*fmt, 4, 4);
  const std::uint32_t byte_rate = le(*fmt, 8, 4);
  const std::uint32_t block_align = le(*fmt, 12, 2);
  sound.bits = static_cast<int>(le(*fmt, 14, 2));
  if (sound.channels < 1 || sound.channels > 2 || (sound.bits != 8 && sound.bits != 16)) return std::nullopt;
  if (rate < kMinRate || rate > kMaxRate) return std::nullopt;
  sound.rate = static_cast<int>(rate);
  const std::uint32_t frame = static_cast<std::uint32_t>(sound.channels * sound.bits / 8);
  if (block_align != frame || byte_rate != rate * frame) return std::nullopt;
  sound.samples = data->first(data->size() - data->size() % frame);
  return sound;
}

}  // namespace velnor
