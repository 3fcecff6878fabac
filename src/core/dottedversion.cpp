#include "dottedversion.h"

#include <algorithm>

namespace velnor {

std::optional<std::vector<std::uint32_t>> dotted_version(std::string_view text) {
  if (text.empty() || text.size() > kMaxVersionText) return std::nullopt;
  std::vector<std::uint32_t> numbers;
  while (true) {
    const std::size_t dot = std::min(text.find('.'), text.size());
    const std::string_view digits = text.substr(0, dot);
    if (digits.empty() || digits.size() > kMaxVersionDigits || numbers.size() == kMaxVersionNumbers)
      return std::nullopt;
    // Two texts of one version would let "1.01" pass where "1.1" was signed.
    if (digits.size() > 1 && digits.front() == '0') return std::nullopt;
    std::uint32_t number = 0;
    for (const char digit : digits) {
      if (digit < '0' || digit > '9') return std::nullopt;
      number = number * 10 + static_cast<std::uint32_t>(digit - '0');
    }
    numbers.push_back(number);
    if (dot == text.size()) return numbers;
    text.remove_prefix(dot + 1);
  }
}

bool is_newer_version(std::string_view candidate, std::string_view own) {
  const auto newer = dotted_version(candidate);
  const auto older = dotted_version(own);
  if (!newer || !older) return false;
  const std::size_t count = std::max(newer->size(), older->size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t a = i < newer->size() ? (*newer)[i] : 0;
    const std::uint32_t b = i < older->size() ? (*older)[i] : 0;
    if (a != b) return a > b;
  }
  return false;
}

}  // namespace velnor
