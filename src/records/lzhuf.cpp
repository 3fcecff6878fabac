#include "lzhuf.h"

#include <utility>

namespace velnor {

namespace {

// The fixed code of a match position's upper 6 bits, looked up by the next 8 bits of the stream:
// the upper bits and the code's length (3 to 8). Within a length the codes count up, and the first
// code of each length is the previous length's last code plus one, shifted left.
struct PositionTable {
  std::array<std::uint8_t, 256> upper{};
  std::array<std::uint8_t, 256> length{};
};

constexpr int position_code_length(unsigned upper) {
  return upper < 1 ? 3 : upper < 4 ? 4 : upper < 12 ? 5 : upper < 24 ? 6 : upper < 48 ? 7 : 8;
}

constexpr PositionTable make_position_table() {
  PositionTable table;
  unsigned code = 0;
  int length = 3;
  for (unsigned upper = 0; upper < 64; ++upper) {
    for (; length < position_code_length(upper); ++length) code <<= 1;
    const unsigned spare = 8 - static_cast<unsigned>(length);
    for (unsigned low = 0; low < (1u << spare); ++low) {
      table.upper[(code << spare) | low] = static_cast<std::uint8_t>(upper);
      table.length[(code << spare) | low] = static_cast<std::uint8_t>(length);
    }
    ++code;
  }
  return table;
}

constexpr PositionTable kPositionTable = make_position_table();

}  // namespace

LzhDecoder::LzhDecoder(std::function<int()> next_byte) : next_byte_(std::move(next_byte)) {
  for (int s = 0; s < kSymbols; ++s) {
    freq_[s] = 1;
    son_[s] = s + kNodes;
    prnt_[s + kNodes] = s;
  }
  for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
    freq_[j] = freq_[i] + freq_[i + 1];
    son_[j] = i;
    prnt_[i] = prnt_[i + 1] = j;
  }
  freq_[kNodes] = 0xFFFF;
  prnt_[kRoot] = 0;
  for (std::size_t i = 0; i < kRingStart; ++i) ring_[i] = ' ';
}

int LzhDecoder::bit() {
  if (bitcount_ == 0) {
    const int c = next_byte_();
    if (c < 0) {
      bitbuf_ = 0;
      bits_past_end_ += 8;
    } else {
      bitbuf_ = static_cast<unsigned>(c);
    }
    bitcount_ = 8;
  }
  --bitcount_;
  return static_cast<int>((bitbuf_ >> bitcount_) & 1u);
}

unsigned LzhDecoder::bits(int count) {
  unsigned value = 0;
  for (int i = 0; i < count; ++i) value = (value << 1) | static_cast<unsigned>(bit());
  return value;
}

unsigned LzhDecoder::position() {
  unsigned code = bits(8);
  const unsigned upper = kPositionTable.upper[code];
  const int length = kPositionTable.length[code];
  code = (code << (length - 2)) | bits(length - 2);
  return (upper << 6) | (code & 0x3Fu);
}

std::size_t LzhDecoder::decode(std::uint8_t* out) {
  int c = son_[kRoot];
  while (c < kNodes) c = son_[c + bit()];
  const int symbol = c - kNodes;
  update(symbol);
  if (symbol < 256) {
    out[0] = static_cast<std::uint8_t>(symbol);
    ring_[r_] = out[0];
    r_ = (r_ + 1) % kRing;
    return 1;
  }
  const std::size_t from = r_ + kRing - position() - 1;
  const std::size_t count = static_cast<std::size_t>(symbol) - 253;
  for (std::size_t k = 0; k < count; ++k) {
    out[k] = ring_[(from + k) % kRing];
    ring_[r_] = out[k];
    r_ = (r_ + 1) % kRing;
  }
  return count;
}

void LzhDecoder::update(int symbol) {
  if (freq_[kRoot] == kMaxFreq) rebuild();
  int c = prnt_[symbol + kNodes];
  do {
    const unsigned k = ++freq_[c];
    if (k > freq_[c + 1]) {
      // Keep the table sorted: trade places with the last node of a lower frequency.
      int l = c + 1;
      while (k > freq_[l + 1]) ++l;
      freq_[c] = freq_[l];
      freq_[l] = k;
      const int i = son_[c];
      prnt_[i] = l;
      if (i < kNodes) prnt_[i + 1] = l;
      const int j = son_[l];
      son_[l] = i;
      prnt_[j] = c;
      if (j < kNodes) prnt_[j + 1] = c;
      son_[c] = j;
      c = l;
    }
  } while ((c = prnt_[c]) != 0);
}

void LzhDecoder::rebuild() {
  int j = 0;
  for (int i = 0; i < kNodes; ++i) {
    if (son_[i] >= kNodes) {
      freq_[j] = (freq_[i] + 1) / 2;
      son_[j] = son_[i];
      ++j;
    }
  }
  for (int i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
    const unsigned f = freq_[i] + freq_[i + 1];
    int k = n - 1;
    while (f < freq_[k]) --k;
    ++k;
    for (int m = n; m > k; --m) {
      freq_[m] = freq_[m - 1];
      son_[m] = son_[m - 1];
    }
    freq_[k] = f;
    son_[k] = i;
  }
  for (int i = 0; i < kNodes; ++i) {
    const int k = son_[i];
    prnt_[k] = i;
    if (k < kNodes) prnt_[k + 1] = i;
  }
}

}  // namespace velnor
