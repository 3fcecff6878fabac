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
  return text + '.' + rolls_text(game.shut);
}

std::string rolls_text(const std::vector<unsigned>& shut) {
  std::string text;
  for (const unsigned tiles : shut) {
    text += kBase64url[(tiles >> 6) & 63];
    text += kBase64url[tiles & 63];
  }
  return text;
}

std::optional<std::vector<unsigned>> parse_rolls_text(std::string_view rolls) {
  if (rolls.size() % 2 != 0 || rolls.size() / 2 > PlayedGame::kMaxRolls) return std::nullopt;
  std::vector<unsigned> shut;
  for (std::size_t at = 0; at < rolls.size(); at += 2) {
    const std::size_t high = kBase64url.find(rolls[at]);
    const std::size_t low = kBase64url.find(rolls[at + 1]);
    if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
    const auto tiles = static_cast<unsigned>(high << 6 | low);
    if (tiles & ~kAllTiles) return std::nullopt;
    shut.push_back(tiles);
  }
  return shut;
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
  auto shut = parse_rolls_text(rolls);
  if (!shut) return std::nullopt;
  game.shut = std::move(*shut);
  return game;
}

std::optional<int> replay_score(const PlayedGame& played) {
  RandomGen random;
  random.setseed(played.seed);
  // The board throws each roll's dice in turn from the seed's generator.
  const RollsReplay replayed = replay_rolls(played.shut, [&random](std::size_t) {
    const auto [first, second] = throw_dice(random);
    return std::pair{first.value, second.value};
  });
  if (replayed.outcome != RollsReplay::Outcome::kFinished) return std::nullopt;
  return replayed.score;
}

RollsReplay replay_rolls(const std::vector<unsigned>& shut, const DiceOfRoll& dice) {
  constexpr RollsReplay kIllegal{};
  Tgame game;
  game.newgame();
  std::size_t roll = 0;
  while (game.startround()) {
    for (;;) {
      if (roll == shut.size()) return {RollsReplay::Outcome::kUnfinished, game.score()};
      const unsigned tiles = shut[roll];
      const auto [first, second] = dice(roll++);
      if (game.roll(first, second) == RollOutcome::roundover) {
        if (tiles != 0) return kIllegal;
        break;
      }
      // The tiles are clicked lowest first, so the selection reaches the dice only with the last.
      ClickResult click;
      for (int n = 1; n <= Tgame::kTiles; ++n) {
        if (!(tiles & (1u << (n - 1)))) continue;
        if (click.turncomplete) return kIllegal;
        click = game.clicktile(n);
        if (click.outcome != ClickOutcome::selected) return kIllegal;
      }
      if (!click.turncomplete) return kIllegal;
      if (click.roundover) break;
    }
  }
  if (roll != shut.size()) return kIllegal;
  return {RollsReplay::Outcome::kFinished, game.score()};
}

}  // namespace velnor
