#pragma once

#include <string>
#include <string_view>

// One score posting as the game sends it, decoded and checked.
struct Posting {
  std::string name;  // UTF-8, at most kMaxNameCharacters characters, possibly empty
  std::string date;  // UTF-8, at most kMaxDateCharacters characters
  int score = 0;     // 0 to kMaxScore
};

// Either a posting or the short reason it was refused.
struct PostingResult {
  Posting posting;
  std::string error;
  bool ok() const { return error.empty(); }
};

inline constexpr int kMaxScore = 650;
inline constexpr size_t kMaxNameCharacters = 10;
inline constexpr size_t kMaxDateCharacters = 10;

// Decodes and checks the query text of a posting (what follows "?" in the request target).
// Fields other than name, date and score are ignored; a field given twice is refused.
// Texts must be valid UTF-8 without control characters: the page shows them, and a text that is
// not what the game sends is refused rather than guessed at.
PostingResult parse_posting(std::string_view query);
