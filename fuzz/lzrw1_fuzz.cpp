// Expands arbitrary bytes as a container (both methods), and checks that the same bytes taken as
// content come back unchanged from their own container.
#include "records/tlzrw1.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
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
  const std::string container = doit.compress_memory(bytes, "fuzz");
  check(doit.expand_memory(container, "fuzz") == bytes);
  return 0;
}
