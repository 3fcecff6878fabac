#include "posting.h"

#include <cstdint>
#include <optional>

#include "core/bytetext.h"
#include "rules/playedgame.h"

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Form decoding: "%XX" is a byte, "+" a space. A "%" without two hex digits is refused.
std::optional<std::string> percent_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = hex_value(text[i + 1]);
      const int low = hex_value(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Counts the characters of strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF)
// and finds C0/C1 control characters, which have no place in a name or a date.
enum class TextProblem { kNone, kInvalidUtf8, kControlCharacter };

TextProblem check_text(std::string_view text, size_t& characters) {
  characters = 0;
  for (size_t at = 0; at < text.size(); ++characters) {
    char32_t code = 0;
    const size_t length = velnor::text::utf8_sequence(text, at, code);
    if (length == 0) return TextProblem::kInvalidUtf8;
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return TextProblem::kControlCharacter;
    at += length;
  }
  return TextProblem::kNone;
}

std::string check_field(std::string_view label, const std::optional<std::string>& value, size_t max_characters) {
  if (!value) return std::string(label) + " is missing";
  size_t characters = 0;
  switch (check_text(*value, characters)) {
    case TextProblem::kInvalidUtf8:
      return std::string(label) + " is not valid UTF-8";
    case TextProblem::kControlCharacter:
      return std::string(label) + " contains control characters";
    case TextProblem::kNone:
      break;
  }
  if (characters > max_characters)
    return std::string(label) + " is longer than " + std::to_string(max_characters) + " characters";
  return {};
}

}  // namespace

PostingResult parse_posting(std::string_view query) {
  PostingResult result;
  std::optional<std::string> name, date, score, game;
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view field = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const size_t eq = field.find('=');
    const auto key = percent_decode(field.substr(0, eq));
    const auto value = percent_decode(eq == std::string_view::npos ? std::string_view() : field.substr(eq + 1));
    if (!key || !value) {
      result.error = "bad percent-encoding in the query";
      return result;
    }
    std::optional<std::string>* slot = *key == "name"    ? &name
                                       : *key == "date"  ? &date
                                       : *key == "score" ? &score
                                       : *key == "game"  ? &game
                                                         : nullptr;
    if (!slot) continue;
    if (*slot) {
      result.error = *key + " given twice";
      return result;
    }
    *slot = *value;
  }

  if (!score) {
    result.error = "score is missing";
    return result;
  }
  // Digits only: no sign, no fraction, no spaces.
  const std::optional<std::uint64_t> value = velnor::text::parse_digits(*score, kMaxScore);
  if (!value) {
    result.error = "score must be a whole number from 0 to " + std::to_string(kMaxScore);
    return result;
  }
  result.error = check_field("name", name, kMaxNameCharacters);
  if (result.error.empty()) result.error = check_field("date", date, kMaxDateCharacters);
  if (!result.ok()) return result;
  result.posting = Posting{*name, *date, static_cast<int>(*value), {}, {}};
  if (game && velnor::parse_played_game(*game)) result.posting.game = std::move(*game);
  return result;
}
