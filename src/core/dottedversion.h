#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Release versions as the game and velnor-release write them: whole numbers between dots
// ("1.0.1"), compared number by number.
namespace velnor {

inline constexpr std::size_t kMaxVersionNumbers = 8;
inline constexpr std::size_t kMaxVersionDigits = 9;  // a number's, so that it fits 32 bits
inline constexpr std::size_t kMaxVersionText = kMaxVersionNumbers * (kMaxVersionDigits + 1) - 1;

// The numbers of a version text that is exactly one to eight numbers of one to nine digits with
// a dot between each two (no sign, no space, no line break, no leading zero but in "0" itself);
// nullopt for any other text.
std::optional<std::vector<std::uint32_t>> dotted_version(std::string_view text);

// Whether `candidate` is a version newer than `own`, number by number, a missing number counting
// as 0 (so 1.10 is newer than 1.9, and 1.0 is no newer than 1.0.0). False when either text is no
// version.
bool is_newer_version(std::string_view candidate, std::string_view own);

}  // namespace velnor
