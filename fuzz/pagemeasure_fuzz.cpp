// Measures arbitrary bytes as a high-score page.
#include "online/pagemeasure.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velnor::measure_page(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
