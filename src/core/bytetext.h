#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Text as bytes, the way our files and HTTP read it: ASCII letters compared without regard to case,
// blanks trimmed, whole numbers read strictly, UTF-8 read strictly. Header only, so that the game's
// web server shares it too.
namespace velnor::text {

constexpr char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

constexpr bool starts_with_nocase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (ascii_lower(text[i]) != ascii_lower(prefix[i])) return false;
  return true;
}

constexpr bool equal_nocase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && starts_with_nocase(a, b);
}

inline std::string lower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = ascii_lower(c);
  return result;
}

// Without the spaces and tabs at either end.
constexpr std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// Decimal digits only (no sign, no blanks, at least one digit) of a number no larger than max.
constexpr std::optional<std::uint64_t> parse_digits(std::string_view text, std::uint64_t max) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (!is_digit(c)) return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (max - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// An optional sign and decimal digits, within the range of int.
constexpr std::optional<int> parse_int(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const auto limit = static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
  const std::optional<std::uint64_t> magnitude = parse_digits(text, limit);
  if (!magnitude) return std::nullopt;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(*magnitude)) : static_cast<int>(*magnitude);
}

// The length of the strict UTF-8 sequence at bytes[at] (no overlong forms, no surrogates, nothing
// past U+10FFFF), with its code point in code; 0 when none starts there.
constexpr std::size_t utf8_sequence(std::string_view bytes, std::size_t at, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// The text with each %1 ... %9 in it replaced by that value, byte for byte, in one pass: a value
// that holds a "%2" of its own (a folder's name, say) is left as it is.
inline std::string fill_in(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string filled;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const std::size_t which =
        at + 1 < text.size() && text[at] == '%' ? static_cast<std::size_t>(text[at + 1] - '1') : 9;
    if (which < values.size()) {
      filled += values.begin()[which];
      ++at;
    } else {
      filled += text[at];
    }
  }
  return filled;
}

}  // namespace velnor::text
