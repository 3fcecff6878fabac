#pragma once

#include <string>
#include <string_view>

// One score posting as the game sends it, decoded and checked.
struct Posting {
  std::string name;  // UTF-8, at most kMaxNameCharacters characters, possibly empty
  std::string date;  // UTF-8, at most kMaxDateCharacters characters
  int score = 0;     // 0 to kMaxScore
  // The played game's record that came with the score (game/playedgame.h), or empty: none came,
  // or what came was not a record at all.
  std::string game;
  // Set when the record verifies the score (SeedTickets::verifying_ticket): the ticket it was
  // dealt, which the store spends with the posting. A ticket already spent leaves it unverified.
  std::string ticket;
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
// Fields other than name, date, score and game are ignored; a field given twice is refused. A game
// record that is not one is dropped, not refused: the score is kept, unverified.
// Texts must be valid UTF-8 without control characters: the page shows them, and a text that is
// not what the game sends is refused rather than guessed at.
PostingResult parse_posting(std::string_view query);
