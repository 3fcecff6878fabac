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
