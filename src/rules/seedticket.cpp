#include "seedticket.h"

#include "core/bytetext.h"

namespace velnor {

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";

}  // namespace

std::string seed_text(std::uint32_t seed) {
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, seed >>= 4) text[static_cast<std::size_t>(i)] = kHexDigits[seed & 0xF];
  return text;
}

std::optional<std::uint32_t> parse_seed_text(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  std::uint32_t seed = 0;
  for (const char c : text) {
    const std::size_t digit = kHexDigits.find(c);
    if (digit == std::string_view::npos) return std::nullopt;
    seed = seed << 4 | static_cast<std::uint32_t>(digit);
  }
  return seed;
}

bool is_base64url(std::string_view text) {
  for (const char c : text)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || text::is_digit(c) || c == '-' || c == '_')) return false;
  return true;
}

std::string SeedTicket::sealed_text() const { return seed_text(seed) + '.' + std::to_string(issued); }

std::optional<SeedTicket> parse_seed_ticket(std::string_view text) {
  if (text.size() > SeedTicket::kMaxCharacters) return std::nullopt;
  const std::size_t first = text.find('.');
  const std::size_t second = first == std::string_view::npos ? first : text.find('.', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto seed = parse_seed_text(text.substr(0, first));
  const std::string_view issued_digits = text.substr(first + 1, second - first - 1);
  const std::string_view seal = text.substr(second + 1);
  // One spelling of each number, so that one ticket has one text.
  if (!seed || issued_digits.size() > SeedTicket::kMaxIssuedDigits || issued_digits.starts_with('0'))
    return std::nullopt;
  const auto issued = text::parse_digits(issued_digits, 999'999'999'999);
  if (!issued || seal.size() != SeedTicket::kSealCharacters || !is_base64url(seal)) return std::nullopt;
  return SeedTicket{*seed, static_cast<std::int64_t>(*issued), std::string(seal)};
}

std::optional<SeedTicket> parse_seed_reply(std::string_view body) {
  if (body.ends_with('\n')) body.remove_suffix(1);
  if (body.ends_with('\r')) body.remove_suffix(1);
  return parse_seed_ticket(body);
}

}  // namespace velnor
