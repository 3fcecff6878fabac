#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

// Decoder of the LZHUF stream that follows the header of a "!HZL" container: LZSS over a
// 4096-byte ring, with an adaptive Huffman code for literals and match lengths and a fixed code
// for match positions. The stream carries no length; the caller decides when to stop.
namespace velnor {

class LzhDecoder {
 public:
  static constexpr std::size_t kMaxSymbolBytes = 60;  // the longest match

  // next_byte gives the stream's next byte, or -1 at its end; past the end every bit reads 0.
  explicit LzhDecoder(std::function<int()> next_byte);

  // Decodes one symbol into out (room for kMaxSymbolBytes) and returns how many bytes it stands for.
  std::size_t decode(std::uint8_t* out);

  // How many bits were taken past the end of the stream. A stream that its encoder finished needs
  // none, so a growing count means a cut or lying stream.
  std::uint64_t bits_past_end() const { return bits_past_end_; }

 private:
  static constexpr int kSymbols = 314;  // 256 literals, then lengths 3 to 60
  static constexpr int kNodes = 2 * kSymbols - 1;
  static constexpr int kRoot = kNodes - 1;
  static constexpr unsigned kMaxFreq = 0x8000;
  static constexpr std::size_t kRing = 4096;
  static constexpr std::size_t kRingStart = kRing - kMaxSymbolBytes;

  int bit();
  unsigned bits(int count);
  unsigned position();
  void update(int symbol);
  void rebuild();

  std::function<int()> next_byte_;
  unsigned bitbuf_ = 0;
  int bitcount_ = 0;
  std::uint64_t bits_past_end_ = 0;

  // freq[kNodes] is a sentinel above every frequency. A node i is a leaf when son[i] >= kNodes,
  // holding symbol son[i] - kNodes; prnt[kNodes + s] is symbol s's node.
  std::array<unsigned, kNodes + 1> freq_{};
  std::array<int, kNodes> son_{};
  std::array<int, kNodes + kSymbols> prnt_{};

  std::array<std::uint8_t, kRing> ring_{};
  std::size_t r_ = kRingStart;
};

}  // namespace velnor
