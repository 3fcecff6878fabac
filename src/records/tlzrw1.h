#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The compressed container of the tally file: a tag, the expanded length, then the content in
// 32768-byte blocks, each coded with LZRW1/KH ("WRZL", the Fast method). Containers of the Good
// method ("!HZL", one LZHUF stream) are read too, never written.
namespace velnor {

class ELzrw1Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The block coder: LZRW1/KH over one block of at most kBlockSize bytes.
class TLZR {
 public:
  static constexpr std::size_t kBlockSize = 32768;
  // Room that compress() needs in its output: the block, its flag, and the last item's overrun.
  static constexpr std::size_t kCodedRoom = kBlockSize + 16;

  // Codes size bytes of in into out and returns the coded length: a flag byte, then either
  // items or, when items would not be shorter, the bytes unchanged.
  std::size_t compress(const std::uint8_t* in, std::size_t size, std::uint8_t* out);
  // Expands a coded block of length bytes into out (room for kBlockSize) and returns the expanded
  // length. A corrupt block throws ELzrw1Exception; nothing outside in and out is touched.
  static std::size_t expand(const std::uint8_t* in, std::size_t length, std::uint8_t* out);

 private:
  std::array<std::uint16_t, 4096> hash_{};
};

class Tlzrw1 {
 public:
  static constexpr std::uint32_t kNoLimit = 0xFFFFFFFF;

  std::string InputFile;
  std::string OutputFile;

  // File to file, with the Fast method. Returns the container's length.
  std::uint64_t Compress();
  // File to file, by the container's tag. Returns the expanded length.
  std::uint32_t Decompress();

  // Bytes to bytes. name stands for the input in failure messages. A container whose header
  // announces more than max_length bytes is refused before anything is expanded.
  std::string compress_memory(std::string_view content, const std::string& name);
  std::string expand_memory(std::string_view container, const std::string& name, std::uint32_t max_length = kNoLimit);
  // The same into a string that they replace (empty after a failure), which must not hold the
  // bytes they read. Its storage is reused, so packing or expanding again and again into one
  // string allocates once.
  void compress_into(std::string_view content, const std::string& name, std::string& container);
  void expand_into(std::string_view container, const std::string& name, std::string& content,
                   std::uint32_t max_length = kNoLimit);
  // The container in the named file, expanded into memory.
  std::string expand_file(const std::string& filename, std::uint32_t max_length = kNoLimit);
  // Writes the container for content to the named file, replacing it safely (replace_file), so a
  // failure leaves any earlier file as it was.
  void compress_to_file(std::string_view content, const std::string& filename);

 private:
  TLZR coder_;
};

}  // namespace velnor
