#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/gamerecord.h"
#include "rules/seedticket.h"

// A finished game as it travels with its score's posting, so that the server can play it again
// with the same rules and dice: where its dice came from (the server's ticket, or for a game the
// clock seeded, the seed alone) and the tiles each roll shut. As text, "FROM.ROLLS": FROM is the
// ticket's text or the seed's 8 hex digits, ROLLS two URL-safe base64 characters a roll (its tile
// set, 0 for a roll without a play). Nothing in it needs escaping in an address.
namespace velnor {

struct PlayedGame {
  // The most rolls a game can take: ten rounds of nine turns and a roll without a play.
  static constexpr std::size_t kMaxRolls = 100;
  static constexpr std::size_t kMaxCharacters = SeedTicket::kMaxCharacters + 1 + 2 * kMaxRolls;

  std::string ticket;  // empty when the clock seeded the game
  std::uint32_t seed = 0;
  std::vector<unsigned> shut;  // each roll's tiles, in order
};

// The game that `turns` record, dealt from `seed` (with the ticket that dealt it, if any).
PlayedGame played_game(std::string_view ticket, std::uint32_t seed, const std::vector<Turn>& turns);

std::string played_game_text(const PlayedGame& game);
// The game a text holds, or nothing when it is not in the form above (whatever the bytes).
std::optional<PlayedGame> parse_played_game(std::string_view text);
// The ROLLS part alone, as the record writes it and reads it back.
std::string rolls_text(const std::vector<unsigned>& shut);
std::optional<std::vector<unsigned>> parse_rolls_text(std::string_view text);

// Plays the game again from its seed with the board's dice and the game's rules: its final score,
// or nothing when a roll's tiles were not a legal play (or a play was left out), or when the rolls
// end before the tenth round does or go on after it.
std::optional<int> replay_score(const PlayedGame& game);

// The two dice of roll `index` (0 for the game's first), each 1 to 6.
using DiceOfRoll = std::function<std::pair<int, int>(std::size_t index)>;

// How a game's rolls so far stand under the rules, with each roll's dice from `dice`: a roll's
// tiles not a legal play for its dice (or rolls going on after the tenth round), a game still
// going (its next roll may be dealt), or a game over with its score.
struct RollsReplay {
  enum class Outcome { kIllegal, kUnfinished, kFinished };
  Outcome outcome = Outcome::kIllegal;
  int score = 0;
};
RollsReplay replay_rolls(const std::vector<unsigned>& shut, const DiceOfRoll& dice);

}  // namespace velnor
