// What a game's record costs velnor-server: postings a second with the played game's record (a
// fresh ticket each, so every one's seal is checked and its rolls looked up among those dealt)
// beside plain postings of the same scores, on the same server in the same run, the two taking
// turns over several rounds. The games are computed from the seed, so none is verified: a game
// played through the dealt rolls costs a replay more (bench/server/rolls.cpp posts those).
//
//   posting_cost PORT [SECONDS_A_ROUND] [CONNECTIONS]
//
// The server must allow unlimited postings (--post-limit 0).
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/bestplay.h"

namespace {

constexpr int kRounds = 3;

using Clock = std::chrono::steady_clock;

// Postings a second over `seconds` on `connections` connections, each posting the next target.
double rate(int port, const std::vector<std::string>& targets, std::atomic<size_t>& next, int seconds,
            int connections) {
  std::atomic<long> posted = 0;
  std::atomic<bool> refused = false, ran_out = false;
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> posters;
  for (int c = 0; c < connections; ++c)
    posters.emplace_back([&] {
      httplib::Client client("127.0.0.1", port);
      client.set_url_encode(false);
      client.set_keep_alive(true);
      while (Clock::now() < end) {
        const size_t at = next++;
        if (at >= targets.size()) {
          ran_out = true;
          return;
        }
        const auto reply = client.Get(targets[at]);
        if (reply && reply->status == 200)
          ++posted;
        else
          refused = true;
      }
    });
  for (auto& poster : posters) poster.join();
  if (refused) std::fprintf(stderr, "posting_cost: some postings were not answered 200\n");
  if (ran_out) std::fprintf(stderr, "posting_cost: ran out of games to post; this rate is too low\n");
  return static_cast<double>(posted) / seconds;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: posting_cost PORT [SECONDS_A_ROUND] [CONNECTIONS]\n");
    return 2;
  }
  const int port = std::atoi(argv[1]);
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
  const int connections = argc > 3 ? std::atoi(argv[3]) : 16;
  // Enough fresh games for every round at a rate well above what one machine posts.
  const size_t games = static_cast<size_t>(20000) * seconds * kRounds;

  std::vector<std::string> plain, recorded;
  plain.reserve(games);
  recorded.reserve(games);
  httplib::Client dealer("127.0.0.1", port);
  dealer.set_keep_alive(true);
  for (size_t i = 0; i < games; ++i) {
    const auto reply = dealer.Get("/velnorsolo/seed");
    const auto ticket = velnor::parse_seed_reply(reply ? reply->body : std::string());
    if (!ticket) {
      std::fprintf(stderr, "posting_cost: the server dealt no ticket\n");
      return 1;
    }
    const velnor::PlayedGame game = velnor::testing::play_best(ticket->seed, ticket->text());
    const std::string fields = "/cgi-bin/velnorsolo.cgi?name=bench" + std::to_string(i % 100) +
                               "&date=1%2F5%2F27&score=" + std::to_string(velnor::replay_score(game).value_or(0));
    plain.push_back(fields);
    recorded.push_back(fields + "&game=" + velnor::played_game_text(game));
  }

  std::vector<double> plain_rates, recorded_rates;
  std::atomic<size_t> next_plain = 0, next_recorded = 0;
  for (int round = 0; round < kRounds; ++round) {
    // Each round starts with the other kind, so neither always meets a warm or a tired machine.
    if (round % 2 == 0) plain_rates.push_back(rate(port, plain, next_plain, seconds, connections));
    recorded_rates.push_back(rate(port, recorded, next_recorded, seconds, connections));
    if (round % 2 == 1) plain_rates.push_back(rate(port, plain, next_plain, seconds, connections));
  }
  const double without = median(plain_rates), with = median(recorded_rates);
  std::printf("postings/s without the record %10.0f\n", without);
  std::printf("postings/s with the record    %10.0f  (looked up, unverified; %.2f of without)\n", with, with / without);
  return 0;
}
