#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Measures a page from the network before the HTML view is given it. The view
// builds its document on the user-interface thread, and some pages make it work
// for minutes or run out of stack: deep nesting, tables in tables (each level
// doubles the layout), wide table grids, long unbreakable words, many lines,
// style sheets tried on many elements, many images in one paragraph (each is
// placed again for every later one), images stated larger than the view (a
// document some millions of pixels tall never finishes its layout). The page is
// scanned once, as the view would nest its tags, and refused at the first limit
// it passes; what passes comes back with its images' stated sizes made to fit
// the view and without its styles. Cheap enough for a worker thread, never meant
// for the window's.
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
  too_costly,         // laying it out would cost more than kMaxPageCost
};

inline constexpr std::size_t kMaxPageBytes = 1024 * 1024;
inline constexpr std::size_t kMaxPageDepth = 32;
inline constexpr std::size_t kMaxPageElements = 20000;
inline constexpr std::size_t kMaxTableDepth = 4;
inline constexpr std::size_t kMaxTableCells = 4500;
inline constexpr std::size_t kMaxPageLines = 20000;
inline constexpr std::size_t kMaxWordBytes = 256;
inline constexpr std::size_t kMaxStyleWork = 500000;

// What loading and laying a page out costs, in units of about a microsecond of a
// small machine's time (bench/page reports the ratio on the machine it runs on):
// half a second at most. Rows of cells as the server sends them, plain text,
// and elements in a row were measured at about the unit; images at a fifth of
// it and less.
inline constexpr std::uint64_t kMaxPageCost = 500000;
inline constexpr std::uint64_t kCellCost = 60;
inline constexpr std::uint64_t kElementCost = 20;
inline constexpr std::uint64_t kTextByteCost = 1;
inline constexpr std::uint64_t kImageCost = 20;
// For each image before it in the same paragraph.
inline constexpr std::uint64_t kImagePairCost = 1;
// An image's area at the size it is laid out at: less a cost of time than a
// bound on the document's height, which stays some millions of pixels short of
// where the layout never ends.
inline constexpr std::uint64_t kImagePixelsPerCost = 1000;

// The largest size the view lays an image out at, in pixels.
struct ImageBox {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

struct MeasuredPage {
  PageFault fault = PageFault::none;
  // What laying out the page costs (as far as it was read, when refused).
  std::uint64_t cost = 0;
  // Without a fault, the page to give the view: every image's stated width and
  // height within `box`, where an image states only one of them that one renamed
  // away, so that it is laid out at its own size (which the view keeps within the
  // box); every style attribute renamed away and every style sheet emptied, as
  // their lengths are no more bounded than an image's.
  std::string page;
};

// Any bytes at all may be given.
MeasuredPage measure_page(std::string_view html, ImageBox box);

}  // namespace velnor
