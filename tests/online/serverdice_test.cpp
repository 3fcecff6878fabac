// A game the server dealt a ticket for, asked of the server roll by roll: the session with the
// server's dice against a scripted server on port 80 of a private network.
#include <QTest>

#include <gtest/gtest.h>

#include "online/qtpost.h"
#include "online/script_server.h"
#include "online/serverdice.h"
#include "rules/gamesession.h"
#include "support/recording_board.h"

using namespace velnor;
using namespace velnor::testing;

namespace {

const std::string kAnswer = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nCache-Control: no-store\r\n\r\n";

struct ServerDiceGame : ::testing::Test {
  ScriptServer server{80};
  RandomGen clock;
  RecordingBoard board;
  GameSession session{clock, board};
  SeedTicket ticket{0xC0FFEE, 1'800'000'000, std::string(SeedTicket::kSealCharacters, 'Q')};
  RandomGen generator;  // the ticket's generator, as the game should draw from it
  std::optional<ServerDice> dice;

  // A game of the ticket; the dice's source is made for the first.
  void start(std::chrono::milliseconds answer_limit = ServerDice::kAnswerLimit) {
    if (!dice) dice.emplace(VELNOR_SERVER_BASE, qt_ui_poster(), answer_limit);
    session.set_dice(&*dice);
    session.start_game(ticket);
    generator.setseed(ticket.seed);
  }

  // Rolls and waits for the dice; the request line the roll sent, if it sent one.
  std::string roll() {
    const std::size_t thrown = board.dice.size();
    const std::size_t asked = server.requests().size();
    session.roll();
    EXPECT_TRUE(QTest::qWaitFor([&] { return board.dice.size() > thrown; }, 10000));
    const std::vector<std::string> requests = server.requests();
    if (requests.size() == asked) return {};
    return requests.back().substr(0, requests.back().find("\r\n"));
  }

  // Plays the roll's dice and any pause after them, so that the next roll is awaited.
  void play_on() {
    if (session.selecting()) play_turn(session);
    while (session.pausecount() > 0) session.pause_tick();
  }

  std::string roll_line(const std::string& rolls) const {
    return "GET /velnorsolo/roll?ticket=" + ticket.text() + "&game=" + rolls + " HTTP/1.0";
  }
};

void expect_placed_as(const std::pair<DieThrow, DieThrow>& shown, const std::pair<DieThrow, DieThrow>& drawn) {
  EXPECT_EQ(shown.first.left, drawn.first.left);
  EXPECT_EQ(shown.first.top, drawn.first.top);
  EXPECT_EQ(shown.second.left, drawn.second.left);
  EXPECT_EQ(shown.second.top, drawn.second.top);
}

}  // namespace

// Each roll asks the server with the record so far; the dice show the server's faces where the
// ticket's generator throws them, and the game posts the rolls it played.
TEST_F(ServerDiceGame, FacesComeFromTheServerAndPlacesFromTheGenerator) {
  start();
  const std::vector<std::string> faces = {"35", "61\n", "22\r\n", "54", "13", "46"};
  for (std::size_t at = 0; at < faces.size(); ++at) {
    SCOPED_TRACE(faces[at]);
    server.script({kAnswer + faces[at], false, "/velnorsolo/roll"});
    const std::string rolls = session.played_rolls();
    session.roll();
    EXPECT_FALSE(session.awaiting_roll()) << "a second roll would be taken while one is out";
    EXPECT_EQ(board.dice.size(), at) << "dice shown before the answer";
    ASSERT_TRUE(QTest::qWaitFor([&] { return board.dice.size() == at + 1; }, 10000));
    const std::string request = server.requests().back();
    EXPECT_EQ(request.substr(0, request.find("\r\n")), roll_line(rolls));
    EXPECT_EQ(board.dice.back().first.value, faces[at][0] - '0');
    EXPECT_EQ(board.dice.back().second.value, faces[at][1] - '0');
    expect_placed_as(board.dice.back(), throw_dice(generator));
    play_on();
  }
  EXPECT_EQ(session.played_text(), ticket.text() + "." + session.played_rolls());
  EXPECT_EQ(session.played_rolls().size(), 2 * faces.size());
  EXPECT_EQ(clock.seed(), RandomGen().seed()) << "the clock's sequence was drawn from";
}

// Anything but two dice, or no answer in time: that roll and the rest of the game are the
// generator's, asking nothing more; the next ticket's game asks the server again.
TEST_F(ServerDiceGame, ARefusedOrSilentRollLeavesTheGameToItsGenerator) {
  std::uint32_t seed = 1;
  for (const std::string& refusal :
       std::vector<std::string>{std::string(), "HTTP/1.0 409 Conflict\r\nContent-Type: text/plain\r\n\r\n35",
                                kAnswer + "3 5", kAnswer + "356", kAnswer + "70", kAnswer + "35\n\n",
                                kAnswer + "\xB3\xB5", kAnswer, std::string("HTTP/1.0 200 OK")}) {
    SCOPED_TRACE(refusal);
    // Each its own ticket's game, with one source: a new game is asked for whatever befell the last.
    ticket.seed = seed++;
    const bool silent = refusal.empty();
    start(std::chrono::milliseconds(1000));
    server.script({kAnswer + "66", false, "/velnorsolo/roll"});
    ASSERT_EQ(roll(), roll_line(""));
    EXPECT_EQ(board.dice.back().first.value, 6);
    throw_dice(generator);
    play_on();
    server.script({refusal, silent, "/velnorsolo/roll"});
    const std::string rolls = session.played_rolls();
    ASSERT_EQ(roll(), roll_line(rolls));
    for (int more = 0;; ++more) {
      const auto drawn = throw_dice(generator);
      EXPECT_EQ(board.dice.back().first.value, drawn.first.value);
      EXPECT_EQ(board.dice.back().second.value, drawn.second.value);
      expect_placed_as(board.dice.back(), drawn);
      play_on();
      if (more == 3 || !session.game().gameon()) break;
      EXPECT_EQ(roll(), "") << "the server was asked again in the same game";
    }
    if (silent) {
      EXPECT_TRUE(server.wait_client_gone());
    }
    EXPECT_EQ(server.drop_unused(), 0u);
  }
}
