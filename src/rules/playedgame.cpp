#include "playedgame.h"

#include "rules/dicethrow.h"
#include "rules/seedticket.h"
#include "rules/tgame.h"

namespace velnor {

namespace {

constexpr std::string_view kBase64url = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

}  // namespace

PlayedGame played_game(std::string_view ticket, std::uint32_t seed, const std::vector<Turn>& turns) {
  PlayedGame game{std::string(ticket), seed, {}};
  for (const Turn& turn : turns) game.shut.push_back(turn.shut);
  return game;
}

std::string played_game_text(const PlayedGame& game) {
  std::string text = game.ticket.empty() ? seed_text(game.seed) : game.ticket;
  text += '.';
  for (const unsigned tiles : game.shut) {
    text += kBase64url[(tiles >> 6) & 63];
    text += kBase64url[tiles & 63];
  }
  return text;
}

std::optional<PlayedGame> parse_played_game(std::string_view text) {
  if (text.size() > PlayedGame::kMaxCharacters) return std::nullopt;
  const std::size_t dot = text.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view from = text.substr(0, dot);
  const std::string_view rolls = text.substr(dot + 1);
  PlayedGame game;
  if (const auto seed = parse_seed_text(from)) {
    game.seed = *seed;
  } else if (const auto ticket = parse_seed_ticket(from)) {
    game.seed = ticket->seed;
    game.ticket = std::string(from);
  } else {
    return std::nullopt;
  }
  if (rolls.size() % 2 != 0 || rolls.size() / 2 > PlayedGame::kMaxRolls) return std::nullopt;
  for (std::size_t at = 0; at < rolls.size(); at += 2) {
    const std::size_t high = kBase64url.find(rolls[at]);
    const std::size_t low = kBase64url.find(rolls[at + 1]);
    if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
    const auto tiles = static_cast<unsigned>(high << 6 | low);
    if (tiles & ~kAllTiles) return std::nullopt;
    game.shut.push_back(tiles);
  }
  return game;
}

std::optional<int> replay_score(const PlayedGame& played) {
  RandomGen random;
  random.setseed(played.seed);
  Tgame game;
  game.newgame();
  auto next = played.shut.begin();
  while (game.startround()) {
    for (;;) {
      const auto [first, second] = throw_dice(random);
      if (next == played.shut.end()) return std::nullopt;
      const unsigned tiles = *next++;
      if (game.roll(first.value, second.value) == RollOutcome::roundover) {
        if (tiles != 0) return std::nullopt;
        break;
      }
      // The tiles are clicked lowest first, so the selection reaches the dice only with the last.
      ClickResult click;
      for (int n = 1; n <= Tgame::kTiles; ++n) {
        if (!(tiles & (1u << (n - 1)))) continue;
        if (click.turncomplete) return std::nullopt;
        click = game.clicktile(n);
        if (click.outcome != ClickOutcome::selected) return std::nullopt;
      }
      if (!click.turncomplete) return std::nullopt;
      if (click.roundover) break;
    }
  }
  if (next != played.shut.end()) return std::nullopt;
  return game.score();
}

}  // namespace velnor
