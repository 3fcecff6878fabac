// The server's reading of a posting's query must refuse or accept any bytes
// cleanly, what it accepts must come out of the page escaped, and a game record
// it keeps must read back to the same text and replay without harm.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "highscorepage.h"
#include "posting.h"
#include "rules/playedgame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const PostingResult result = parse_posting(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!result.ok()) return 0;
  if (result.posting.score < 0 || result.posting.score > kMaxScore) __builtin_trap();
  Standings standings;
  if (!result.posting.game.empty()) {
    const auto game = velnor::parse_played_game(result.posting.game);
    if (!game || velnor::played_game_text(*game) != result.posting.game) __builtin_trap();
    const auto replayed = velnor::replay_score(*game);
    if (replayed && (*replayed < 0 || *replayed > kMaxScore)) __builtin_trap();
  }
  standings.best.push_back({result.posting.name, result.posting.date, result.posting.score});
  standings.unverified.push_back({result.posting.name, result.posting.date, result.posting.score});
  standings.games_posted = 1;
  const std::string page = render_high_score_page(standings);
  const std::string escaped = html_escape(result.posting.name);
  if (escaped.find('<') != std::string::npos || page.find(escaped) == std::string::npos) __builtin_trap();
  return 0;
}
