#pragma once

#include <cstddef>
#include <string_view>

// Measures a page from the network before the HTML view is given it. The view
// builds its document on the user-interface thread, and some pages make it work
// for minutes or run out of stack: deep nesting, tables in tables (each level
// doubles the layout), wide table grids, long unbreakable words, many lines,
// style sheets tried on many elements. The page is scanned once, as the view
// would nest its tags, and refused at the first limit it passes.
namespace velnor {

enum class PageFault {
  none,
  too_long,           // more than kMaxPageBytes
  too_deep,           // more than kMaxPageDepth elements open at once
  too_many_elements,  // more than kMaxPageElements
  tables_too_deep,    // more than kMaxTableDepth tables open at once
  too_many_cells,     // more than kMaxTableCells places in table grids
  too_many_lines,     // more than kMaxPageLines line breaks in the text
  word_too_long,      // more than kMaxWordBytes of text without a place to break the line
  style_too_heavy,    // style selectors times elements beyond kMaxStyleWork
};

inline constexpr std::size_t kMaxPageBytes = 1024 * 1024;
inline constexpr std::size_t kMaxPageDepth = 32;
inline constexpr std::size_t kMaxPageElements = 20000;
inline constexpr std::size_t kMaxTableDepth = 4;
inline constexpr std::size_t kMaxTableCells = 12000;
inline constexpr std::size_t kMaxPageLines = 20000;
inline constexpr std::size_t kMaxWordBytes = 256;
inline constexpr std::size_t kMaxStyleWork = 500000;

// The first limit the page passes, or none; any bytes at all may be given.
PageFault measure_page(std::string_view html);

}  // namespace velnor
