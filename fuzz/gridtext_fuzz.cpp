// Reads arbitrary bytes as a grid text file and checks that whatever was read writes out as a
// file that reads back to the same grid.
#include "records/gridtext.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velnor::TextGrid grid(9, 12);
  try {
    velnor::read_grid_text(grid, std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const velnor::GridFileError&) {
    check(static_cast<std::size_t>(grid.colcount()) * grid.rowcount() <= velnor::TextGrid::kMaxCells);
    return 0;
  }
  const std::string text = velnor::grid_text(grid);
  velnor::TextGrid back;
  velnor::read_grid_text(back, text);
  check(back.colcount() == grid.colcount() && back.rowcount() == grid.rowcount());
  check(velnor::grid_text(back) == text);
  return 0;
}
