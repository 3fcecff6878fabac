// Expands arbitrary bytes as a container (both methods), and checks that the same bytes taken as
// content come back unchanged from their own container. The bytes are also expanded as one coded
// block, by the block decoder and by the one it replaced: both must give the same bytes or fail
// with the same message.
#include "container/expand_before.h"
#include "records/tlzrw1.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The expanded bytes, or the failure's message. The output has exactly the room a block may
// fill, so a write past it is caught.
template <class Expand>
std::pair<std::string, std::string> expand_block(Expand expand, const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> out(velnor::TLZR::kBlockSize);
  try {
    const std::size_t n = expand(data, size, out.data());
    return {std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n)), ""};
  } catch (const velnor::ELzrw1Exception& e) {
    return {"", e.what()};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  velnor::Tlzrw1 doit;
  try {
    const std::string content = doit.expand_memory(bytes, "fuzz", 64u << 20);
    // A container that expands is only ever as long as its header says.
    check(content.size() == (static_cast<std::uint32_t>(data[4]) | static_cast<std::uint32_t>(data[5]) << 8 |
                             static_cast<std::uint32_t>(data[6]) << 16 | static_cast<std::uint32_t>(data[7]) << 24));
  } catch (const velnor::ELzrw1Exception&) {
  }
  check(expand_block(velnor::TLZR::expand, data, size) == expand_block(velnor::before::expand, data, size));
  const std::string container = doit.compress_memory(bytes, "fuzz");
  check(doit.expand_memory(container, "fuzz") == bytes);
  return 0;
}
