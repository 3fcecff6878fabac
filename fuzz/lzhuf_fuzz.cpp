// Decodes arbitrary bytes as an LZHUF stream, then the same stream behind a "!HZL" header that
// asks for a length taken from the input.
#include "records/lzhuf.h"
#include "records/tlzrw1.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t pos = 0;
  velnor::LzhDecoder decoder([&] { return pos < size ? static_cast<int>(data[pos++]) : -1; });
  std::uint8_t out[velnor::LzhDecoder::kMaxSymbolBytes];
  for (std::size_t produced = 0; decoder.bits_past_end() == 0 && produced < (1u << 20);) {
    const std::size_t n = decoder.decode(out);
    check(n >= 1 && n <= velnor::LzhDecoder::kMaxSymbolBytes);
    produced += n;
  }

  if (size < 2) return 0;
  const std::uint32_t length = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8;
  std::string container = "!HZL";
  for (int i = 0; i < 4; ++i) container += static_cast<char>(length >> (8 * i));
  container.append(reinterpret_cast<const char*>(data) + 2, size - 2);
  try {
    check(velnor::Tlzrw1().expand_memory(container, "fuzz").size() == length);
  } catch (const velnor::ELzrw1Exception&) {
  }
  return 0;
}
