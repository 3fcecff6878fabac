#include "rules/gamesession.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "rules/playedgame.h"
#include "support/recording_board.h"

using namespace velnor;
using namespace velnor::testing;

namespace {

// A source that holds each roll until the test lets it go, as one that asks the server would.
struct HeldDice : DiceSource {
  std::vector<Thrown> waiting;
  void throw_next(const Roll&, Thrown thrown) override { waiting.push_back(std::move(thrown)); }
};

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

// A ticket that comes after START GAME deals the game only while none of its dice is drawn: not
// once its first roll is out, though nothing is recorded yet, nor after.
TEST(GameSession, ALateTicketIsTakenOnlyBeforeTheFirstRoll) {
  RandomGen clock;
  clock.setseed(5);
  const RandomGen untouched = clock;
  RecordingBoard board;
  GameSession session(clock, board);
  const SeedTicket ticket{0xC0FFEE, 1'800'000'000, std::string(SeedTicket::kSealCharacters, 'x')};
  session.start_game(std::nullopt);
  ASSERT_TRUE(session.adopt_ticket(ticket));
  EXPECT_FALSE(session.may_adopt_ticket()) << "a second ticket replaced the first";
  session.roll();
  RandomGen dealt;
  dealt.setseed(ticket.seed);
  EXPECT_EQ(board.dice.back().first.value, throw_dice(dealt).first.value);
  EXPECT_EQ(clock.seed(), untouched.seed());
  EXPECT_EQ(session.played_text().rfind(ticket.text() + ".", 0), 0u);

  HeldDice held;
  session.set_dice(&held);
  session.start_game(std::nullopt);
  session.roll();
  EXPECT_FALSE(session.adopt_ticket(ticket)) << "taken while the first roll was out";
  held.waiting.back()({DieThrow{1}, DieThrow{2}});
  EXPECT_FALSE(session.adopt_ticket(ticket));
  EXPECT_EQ(session.played_text().find(ticket.text()), std::string::npos);
}
