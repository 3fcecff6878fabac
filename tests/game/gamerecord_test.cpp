#include "rules/gamerecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "rules/playedgame.h"
#include "support/bestplay.h"

using namespace velnor;

namespace {

// Tile sets, bit n-1 for tile n.
constexpr unsigned k39 = 1u << 2 | 1u << 8;
constexpr unsigned k145 = 1u << 0 | 1u << 3 | 1u << 4;

// Round 1 up to its last roll: 12 shuts 3+9, 10 shuts 1+4+5, then 3 has no play.
GameRecord to_last_roll() {
  GameRecord record;
  record.on_round_start();
  record.on_roll(6, 6);
  record.on_turn_shut(k39);
  record.on_roll(4, 6);
  record.on_turn_shut(k145);
  record.on_roll(1, 2);
  return record;
}

}  // namespace

// A miswired game must not turn into a review of a game nobody played.
TEST(GameRecord, CallsThatDoNotFitTheGameAreRefusedAndChangeNothing) {
  GameRecord record;
  EXPECT_THROW(record.on_roll(3, 4), std::runtime_error);  // no round running
  record.on_round_start();
  EXPECT_THROW(record.on_round_start(), std::runtime_error);
  EXPECT_THROW(record.on_roll(0, 7), std::runtime_error);
  record.on_roll(6, 6);
  EXPECT_THROW(record.on_turn_shut(k145), std::runtime_error);  // 12 is not 1+4+5
  EXPECT_THROW(record.on_round_end(0), std::runtime_error);     // 12 has a play
  record.on_turn_shut(k39);
  record.on_roll(6, 6);
  EXPECT_THROW(record.on_turn_shut(k39), std::runtime_error);  // already shut
  EXPECT_EQ(record.turns().size(), 1u);
  EXPECT_TRUE(record.round_scores().empty());

  EXPECT_THROW(to_last_roll().on_round_end(45), std::runtime_error);  // the tiles give 22
  GameRecord done = to_last_roll();
  done.on_round_end(22);
  EXPECT_EQ(done.turns().size(), 3u);  // the roll without a play is a turn too
  EXPECT_EQ(done.turns().back().shut, 0u);
  EXPECT_EQ(done.round_scores(), std::vector<int>{22});
}

// A posted game's record reads back as written, and its replay refuses every way a record can
// stray from the dice: a play left out, a roll too few or too many, tiles that are not the roll's,
// tiles with a roll that had no play, a turn left short of its roll.
TEST(PlayedGame, ReplaysOnlyWhatTheDiceAllowed) {
  const std::string ticket = SeedTicket{0xC0FFEE, 1'800'000'000, std::string(22, 'x')}.text();
  const PlayedGame game = velnor::testing::play_best(0xC0FFEE, ticket);
  const std::optional<PlayedGame> read = parse_played_game(played_game_text(game));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ticket, ticket);
  EXPECT_EQ(read->seed, 0xC0FFEEu);
  EXPECT_EQ(read->shut, game.shut);
  const std::optional<int> score = replay_score(game);
  ASSERT_TRUE(score);
  EXPECT_GE(*score, 10) << "best play scores something every round";

  const auto first_play = [](PlayedGame& g) -> unsigned& {
    return *std::find_if(g.shut.begin(), g.shut.end(), [](unsigned tiles) { return tiles != 0; });
  };
  PlayedGame strayed = game;
  first_play(strayed) = 0;
  EXPECT_FALSE(replay_score(strayed)) << "a play recorded as none";
  strayed = game;
  unsigned& turn = first_play(strayed);
  turn |= ~turn & (turn + 1);  // its lowest tile not already in it
  EXPECT_FALSE(replay_score(strayed)) << "a tile added to a turn";
  strayed = game;
  *std::find(strayed.shut.begin(), strayed.shut.end(), 0u) = 1u;
  EXPECT_FALSE(replay_score(strayed)) << "a tile shut on a roll without a play";
  // A game whose last turn shuts two tiles or more, that turn then split over two rolls: the
  // roll between them has nothing to play on, so only the turn's own end can tell.
  PlayedGame split = velnor::testing::play_best(1);
  for (std::uint32_t seed = 2; (split.shut.back() & (split.shut.back() - 1)) == 0; ++seed)
    split = velnor::testing::play_best(seed);
  ASSERT_TRUE(replay_score(split));
  const unsigned last = split.shut.back();
  split.shut.back() = last & -last;
  split.shut.push_back(last & (last - 1));
  EXPECT_FALSE(replay_score(split)) << "a turn that stops short of its roll";
  strayed = game;
  strayed.shut.pop_back();
  EXPECT_FALSE(replay_score(strayed)) << "the last roll left out";
  strayed = game;
  strayed.shut.push_back(0);
  EXPECT_FALSE(replay_score(strayed)) << "a roll after the tenth round";

  // Only the one spelling of a record is read.
  const std::string text = played_game_text(game);
  const std::string rolls = text.substr(ticket.size());
  for (const std::string& bad :
       {text + "A", "00C0FFEE" + text.substr(text.rfind('.')), text.substr(1), text.substr(0, text.size() - 2) + "//",
        text.substr(0, text.size() - 2) + "_A", ticket.substr(0, ticket.size() - 1) + rolls, ticket + "x" + rolls})
    EXPECT_FALSE(parse_played_game(bad)) << bad;
}
