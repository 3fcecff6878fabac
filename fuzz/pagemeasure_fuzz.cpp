// Measures arbitrary bytes as a high-score page; a page that passes must pass again as it is
// given to the view, at no more cost and unchanged by a second cleaning.
#include "online/pagemeasure.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr velnor::ImageBox kView{479, 505};
  const velnor::MeasuredPage measured =
      velnor::measure_page(std::string_view(reinterpret_cast<const char*>(data), size), kView);
  if (measured.fault != velnor::PageFault::none) return 0;
  const velnor::MeasuredPage again = velnor::measure_page(measured.page, kView);
  // Sizes written out in full may lengthen a page at the limit.
  if (again.fault == velnor::PageFault::too_long) return 0;
  if (again.fault != velnor::PageFault::none || again.cost > measured.cost || again.page != measured.page)
    __builtin_trap();
  return 0;
}
