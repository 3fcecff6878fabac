#pragma once

#include <array>
#include <cstdint>

// The game's colours, once, for the windows and for the web server's page. Colours are 32-bit
// values read as 0x00BBGGRR, as the forms store them.
namespace velnor {

inline constexpr std::uint32_t kWindowColor = 4216943;  // #6F5840, dark brown
inline constexpr std::uint32_t kPaleYellow = 13041663;  // #FFFFC6, texts and button faces
inline constexpr std::uint32_t kDarkGreen = 22784;      // #005900, button frames
inline constexpr std::uint32_t kCaptionGrey = 4868682;  // #4A4A4A, button captions
inline constexpr std::uint32_t kCream = 15269887;       // #FFFFE8, edit boxes and pages
inline constexpr std::uint32_t kBrightGreen = 54528;    // #00D500, the final score and the title
inline constexpr std::uint32_t kPostingRed = 164;       // #A40000, SEND SCORE
inline constexpr std::uint32_t kEnteredRed = 255;       // #FF0000, the tally's newest entry
inline constexpr std::uint32_t kPageBlue = 11412544;    // #4024AE, behind the high-score page

// A colour as a web page writes it: "#RRGGBB".
constexpr std::array<char, 8> html_colour(std::uint32_t bgr) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::array<char, 8> text{'#'};
  const std::uint32_t rgb[3] = {bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF};
  for (int i = 0; i < 3; ++i) {
    text[1 + 2 * i] = kHex[rgb[i] >> 4];
    text[2 + 2 * i] = kHex[rgb[i] & 0xF];
  }
  return text;  // the last character stays '\0'
}

static_assert(html_colour(kWindowColor)[1] == '6' && html_colour(kWindowColor)[6] == '0');

}  // namespace velnor
