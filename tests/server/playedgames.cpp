#include "playedgames.h"

#include <gtest/gtest.h>
#include <httplib.h>

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

DealtGame play_dealt_game(int port) {
  const velnor::SeedTicket ticket = deal_ticket(port);
  httplib::Client client("127.0.0.1", port);
  std::vector<std::pair<int, int>> dealt;
  DealtGame played;
  played.game = play_best(
      [&](const std::vector<unsigned>& shut) {
        const auto reply = client.Get(roll_target(ticket.text(), shut));
        const bool answered = reply && reply->status == 200 && reply->body.size() == 2;
        EXPECT_TRUE(answered) << "roll " << shut.size() << ": " << (reply ? reply->status : 0);
        // A refused roll ends the game's dice with ones; the game is then no use, and the test failed.
        dealt.emplace_back(answered ? reply->body[0] - '0' : 1, answered ? reply->body[1] - '0' : 1);
        return dealt.back();
      },
      ticket.text(), ticket.seed);
  const velnor::RollsReplay replayed =
      velnor::replay_rolls(played.game.shut, [&](std::size_t index) { return dealt.at(index); });
  if (replayed.outcome == velnor::RollsReplay::Outcome::kFinished) played.score = replayed.score;
  return played;
}
