#include "playedgames.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <optional>
#include <thread>

#include "rules/tgame.h"

velnor::SeedTicket deal_ticket(int port) {
  httplib::Client client("127.0.0.1", port);
  const auto reply = client.Get("/velnorsolo/seed");
  EXPECT_TRUE(reply && reply->status == 200);
  const auto ticket = velnor::parse_seed_reply(reply ? reply->body : std::string());
  EXPECT_TRUE(ticket) << (reply ? reply->body : std::string());
  return ticket.value_or(velnor::SeedTicket{});
}

std::string posting_with_game(std::string_view name, int score, const velnor::PlayedGame& game) {
  return "/cgi-bin/velnorsolo.cgi?name=" + std::string(name) + "&date=1%2F5%2F27&score=" + std::to_string(score) +
         "&game=" + velnor::played_game_text(game);
}

std::string roll_target(std::string_view ticket, const std::vector<unsigned>& shut) {
  return "/velnorsolo/roll?ticket=" + std::string(ticket) + "&game=" + velnor::rolls_text(shut);
}

namespace {

// The dice of a roll's answer, or nothing when it was not one.
std::optional<std::pair<int, int>> dice_of(const httplib::Result& reply) {
  if (!reply || reply->status != 200 || reply->body.size() != 2) return std::nullopt;
  return std::pair{reply->body[0] - '0', reply->body[1] - '0'};
}

}  // namespace

DealtGame play_dealt_game(const std::vector<int>& ports) {
  const velnor::SeedTicket ticket = deal_ticket(ports.front());
  std::vector<std::pair<int, int>> dealt;
  DealtGame played;
  played.game = play_best(
      [&](const std::vector<unsigned>& shut) {
        httplib::Client client("127.0.0.1", ports[shut.size() % ports.size()]);
        const auto reply = client.Get(roll_target(ticket.text(), shut));
        const auto dice = dice_of(reply);
        EXPECT_TRUE(dice) << "roll " << shut.size() << ": " << (reply ? reply->status : 0);
        // A refused roll ends the game's dice with ones; the game is then no use, and the test failed.
        dealt.push_back(dice.value_or(std::pair{1, 1}));
        return dealt.back();
      },
      ticket.text(), ticket.seed);
  const velnor::RollsReplay replayed =
      velnor::replay_rolls(played.game.shut, [&](std::size_t index) { return dealt.at(index); });
  if (replayed.outcome == velnor::RollsReplay::Outcome::kFinished) played.score = replayed.score;
  return played;
}

GameAtAFork play_to_a_fork(int port) {
  GameAtAFork fork{deal_ticket(port).text(), {}, {}, {}};
  httplib::Client client("127.0.0.1", port);
  const auto legal_plays = [&] {
    std::vector<unsigned> legal;
    for (unsigned tiles = 0; tiles <= velnor::kAllTiles; ++tiles) {
      std::vector<unsigned> next = fork.shut;
      next.push_back(tiles);
      if (velnor::replay_rolls(next, [&](std::size_t index) { return fork.dice.at(index); }).outcome !=
          velnor::RollsReplay::Outcome::kIllegal)
        legal.push_back(tiles);
    }
    return legal;
  };
  for (;;) {
    const auto dice = dice_of(client.Get(roll_target(fork.ticket, fork.shut)));
    EXPECT_TRUE(dice) << "roll " << fork.shut.size();
    if (!dice) return fork;
    fork.dice.push_back(*dice);
    fork.plays = legal_plays();
    if (fork.plays.size() >= 3 || fork.plays.empty()) return fork;
    fork.shut.push_back(fork.plays.front());
  }
}

std::pair<int, int> race_three_plays(const GameAtAFork& fork, const std::vector<int>& ports) {
  std::atomic<int> answered = 0, refused = 0, ready = 0;
  std::vector<std::thread> racers;
  for (std::size_t racer = 0; racer < 3 && racer < fork.plays.size(); ++racer)
    racers.emplace_back([&, racer] {
      std::vector<unsigned> mine = fork.shut;
      mine.push_back(fork.plays[racer]);
      httplib::Client client("127.0.0.1", ports[racer % ports.size()]);
      client.set_keep_alive(true);
      // Each connects first, so that the three requests leave together.
      ++ready;
      while (ready < 3) std::this_thread::yield();
      const auto reply = client.Get(roll_target(fork.ticket, mine));
      if (reply && reply->status == 200) ++answered;
      if (reply && reply->status == 409) ++refused;
    });
  for (auto& racer : racers) racer.join();
  return {answered, refused};
}
