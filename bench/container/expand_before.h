#pragma once

// The block decoder of the Fast method as it was before the block decoder that checks room for a
// group of 16 items at once: one item at a time, each checked on its own. It is kept here, out
// of the game, as the yardstick: the benchmark measures the new decoder against it in the same
// run, and the container fuzz target checks that both give the same bytes or the same failure
// on any input.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "records/tlzrw1.h"

namespace velnor::before {

inline std::size_t expand(const std::uint8_t* in, std::size_t length, std::uint8_t* out) {
  constexpr std::size_t kBlockSize = TLZR::kBlockSize;
  constexpr std::size_t kMinRun = 16;
  constexpr std::size_t kMinMatch = 3;
  const char* const kPastBlock = "Lzrw1 (decompression LZRW1/KH) : corrupt block, it expands past 32768 bytes !";
  const char* const kBeforeBlock = "Lzrw1 (decompression LZRW1/KH) : corrupt block, a copy reaches before its start !";
  const char* const kCutItem = "Lzrw1 (decompression LZRW1/KH) : corrupt block, it ends inside an item !";

  if (length < 2) return 0;
  if (in[0] == 0x80) {
    if (length - 1 > kBlockSize) throw ELzrw1Exception(kPastBlock);
    std::memcpy(out, in + 1, length - 1);
    return length - 1;
  }
  std::size_t i = 1;
  std::size_t o = 0;
  unsigned control = 0;
  int bits = 0;
  while (i < length) {
    if (bits == 0) {
      if (length - i < 3) throw ELzrw1Exception(kCutItem);
      control = static_cast<unsigned>(in[i]) << 8 | in[i + 1];
      i += 2;
      bits = 16;
    }
    if ((control & 0x8000u) == 0) {
      if (o == kBlockSize) throw ELzrw1Exception(kPastBlock);
      out[o++] = in[i++];
    } else {
      if (length - i < 2) throw ELzrw1Exception(kCutItem);
      const std::size_t distance = static_cast<std::size_t>(in[i]) << 4 | in[i + 1] >> 4;
      if (distance == 0) {
        if (length - i < 4) throw ELzrw1Exception(kCutItem);
        const std::size_t count = (static_cast<std::size_t>(in[i + 1]) << 8 | in[i + 2]) + kMinRun;
        if (count > kBlockSize - o) throw ELzrw1Exception(kPastBlock);
        std::memset(out + o, in[i + 3], count);
        o += count;
        i += 4;
      } else {
        const std::size_t count = (in[i + 1] & 0x0Fu) + kMinMatch;
        if (distance > o) throw ELzrw1Exception(kBeforeBlock);
        if (count > kBlockSize - o) throw ELzrw1Exception(kPastBlock);
        if (distance >= count) {
          std::memcpy(out + o, out + o - distance, count);
          o += count;
        } else {
          for (std::size_t k = 0; k < count; ++k, ++o) out[o] = out[o - distance];
        }
        i += 2;
      }
    }
    control <<= 1;
    --bits;
  }
  return o;
}

}  // namespace velnor::before
