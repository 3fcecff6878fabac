#include "rules/gamesession.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "rules/playedgame.h"

using namespace velnor;

namespace {

// What the board is told, in order, and the scores it is told of.
struct RecordingBoard : SessionListener {
  std::vector<std::string> events;
  std::vector<int> round_scores;
  std::optional<int> final_score;

  void game_started() override { events.push_back("game"); }
  void round_started() override { events.push_back("round"); }
  void dice_thrown(const DieThrow&, const DieThrow&, bool has_play) override {
    events.push_back(has_play ? "dice" : "dice without a play");
  }
  void tiles_changed() override { events.push_back("tiles"); }
  void tile_refused(int) override { events.push_back("refused"); }
  void turn_done() override { events.push_back("turn"); }
  void round_scored(int, int score) override {
    events.push_back("scored");
    round_scores.push_back(score);
  }
  void game_over(int score) override {
    events.push_back("over");
    final_score = score;
  }
  void record_changed() override {}
};

// A source that holds each roll until the test lets it go, as one that asks the server would.
struct HeldDice : DiceSource {
  std::vector<Thrown> waiting;
  void throw_next(Thrown thrown) override { waiting.push_back(std::move(thrown)); }
};

// The tiles to shut: the lowest tile set (as a number) of open tiles that makes the roll.
unsigned first_play(const Tgame& game) {
  for (unsigned tiles = 1; tiles <= kAllTiles; ++tiles)
    if ((tiles & ~game.openmask()) == 0 && tilesum(tiles) == game.dicetotal()) return tiles;
  return 0;
}

void play_turn(GameSession& session) {
  const unsigned tiles = first_play(session.game());
  for (int n = 1; n <= Tgame::kTiles; ++n)
    if (tiles & (1u << (n - 1))) session.click(n);
}

// Plays the session's game to its end; the rolls it took.
int play_out(GameSession& session) {
  int rolls = 0;
  while (session.game().gameon()) {
    if (session.pausecount() > 0) {
      session.pause_tick();
      continue;
    }
    session.roll();
    ++rolls;
    if (session.selecting()) play_turn(session);
  }
  return rolls;
}

}  // namespace

// The session's games are the games the server replays: every score the board is told adds up to
// the game's, and the posted record plays again to the same score.
TEST(GameSession, WholeGamesFromSeedsReplayToTheScoresTheBoardShows) {
  for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
    SCOPED_TRACE(seed);
    RandomGen clock;
    clock.setseed(seed);
    RecordingBoard board;
    GameSession session(clock, board);
    session.start_game(std::nullopt);
    const int rolls = play_out(session);
    ASSERT_TRUE(board.final_score);
    ASSERT_EQ(board.round_scores.size(), 10u);
    int sum = 0;
    for (int score : board.round_scores) sum += score;
    EXPECT_EQ(*board.final_score, sum);
    EXPECT_EQ(session.record().turns().size(), static_cast<std::size_t>(rolls));
    const std::optional<PlayedGame> posted = parse_played_game(session.played_text());
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->seed, seed);
    EXPECT_EQ(replay_score(*posted), sum);
  }
}

// Each step is told once, after the state has moved: a roll without a play ends the round at
// once; a shut tile is refused without changing the record; nothing moves during the pause.
TEST(GameSession, TellsTheBoardEachStepInTurn) {
  RandomGen clock;
  clock.setseed(12345);
  RecordingBoard board;
  GameSession session(clock, board);
  session.start_game(std::nullopt);
  EXPECT_EQ(board.events, (std::vector<std::string>{"game", "round"}));
  bool refused = false;
  while (board.round_scores.empty()) {
    board.events.clear();
    session.roll();
    if (!session.selecting()) {
      EXPECT_EQ(board.events, (std::vector<std::string>{"dice without a play", "scored"}));
      break;
    }
    if (const unsigned shut = session.game().shutmask(); shut != 0 && !refused) {
      const std::size_t turns = session.record().turns().size();
      session.click(__builtin_ctz(shut) + 1);
      EXPECT_EQ(board.events.back(), "refused");
      EXPECT_EQ(session.record().turns().size(), turns);
      refused = true;
    }
    play_turn(session);
    EXPECT_TRUE(board.events.back() == "turn" || board.events.back() == "scored") << board.events.back();
  }
  ASSERT_EQ(session.pausecount(), GameSession::kPauseTicks);
  const std::size_t told = board.events.size();
  session.roll();
  session.click(1);
  EXPECT_EQ(board.events.size(), told);
  EXPECT_FALSE(session.pause_tick());
  EXPECT_FALSE(session.pause_tick());
  EXPECT_TRUE(session.pause_tick());
  EXPECT_EQ(board.events.back(), "round");
  EXPECT_EQ(session.game().round(), 2);
}

// START GAME during the pause begins round 1, and the abandoned pause starts no round of its own.
TEST(GameSession, ANewGameDuringThePauseStartsAfresh) {
  RandomGen clock;
  clock.setseed(7);
  RecordingBoard board;
  GameSession session(clock, board);
  session.start_game(std::nullopt);
  while (session.pausecount() == 0) {
    session.roll();
    if (session.selecting()) play_turn(session);
  }
  session.start_game(std::nullopt);
  EXPECT_EQ(session.game().round(), 1);
  EXPECT_EQ(session.game().score(), 0);
  EXPECT_TRUE(session.record().turns().empty());
  EXPECT_TRUE(session.pause_tick()) << "no pause runs";
  EXPECT_EQ(session.game().round(), 1);
}

// A game the server dealt draws from its ticket's seed and posts the ticket; the clock's sequence
// goes on in the next game as if the ticket's game had not been.
TEST(GameSession, ATicketGameLeavesTheClocksDiceAlone) {
  RandomGen clock;
  clock.setseed(99);
  RandomGen untouched = clock;
  RecordingBoard board;
  GameSession session(clock, board);
  const SeedTicket ticket{0xC0FFEE, 1'800'000'000, std::string(SeedTicket::kSealCharacters, 'x')};
  session.start_game(ticket);
  play_out(session);
  EXPECT_EQ(clock.seed(), untouched.seed());
  const std::optional<PlayedGame> posted = parse_played_game(session.played_text());
  ASSERT_TRUE(posted);
  EXPECT_EQ(posted->ticket, ticket.text());
  EXPECT_EQ(replay_score(*posted), *board.final_score);

  session.start_game(std::nullopt);
  session.roll();
  EXPECT_EQ(session.game().die(1), throw_dice(untouched).first.value);
}

// A roll from another source may come back late: one that comes back after a new game has begun
// is dropped, and no second roll is asked for while one is out.
TEST(GameSession, ALateRollOfAnAbandonedGameIsDropped) {
  RandomGen clock;
  RecordingBoard board;
  GameSession session(clock, board);
  HeldDice held;
  session.set_dice(&held);
  session.start_game(std::nullopt);
  session.roll();
  session.roll();
  ASSERT_EQ(held.waiting.size(), 1u);
  EXPECT_FALSE(session.awaiting_roll());
  session.start_game(std::nullopt);
  session.roll();
  ASSERT_EQ(held.waiting.size(), 2u);
  held.waiting.front()({DieThrow{6}, DieThrow{6}});
  EXPECT_EQ(session.game().dicetotal(), 0);
  EXPECT_TRUE(session.record().turns().empty());
  held.waiting.back()({DieThrow{4}, DieThrow{5}});
  EXPECT_EQ(session.game().dicetotal(), 9);
  EXPECT_TRUE(session.selecting());
}
