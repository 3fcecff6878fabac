#include "posting.h"

#include <cstdint>
#include <optional>

#include "core/bytetext.h"
#include "queryfields.h"
#include "rules/playedgame.h"

namespace {

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
  QueryFields fields = query_fields(query, {"name", "date", "score", "game"});
  if (!fields.ok()) {
    result.error = std::move(fields.error);
    return result;
  }
  const auto field = [&](std::string_view name) -> std::optional<std::string> {
    const auto found = fields.values.find(name);
    if (found == fields.values.end()) return std::nullopt;
    return std::move(found->second);
  };
  const std::optional<std::string> name = field("name"), date = field("date"), score = field("score"),
                                   game = field("game");

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
  if (game && velnor::parse_played_game(*game)) result.posting.game = *game;
  return result;
}
