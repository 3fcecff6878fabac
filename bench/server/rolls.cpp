// The rolls that velnor-server deals one at a time, for bench/server_bench.sh, on loopback. Every
// game takes a fresh ticket and plays by best play, asking the server for each roll as it comes.
//
//   rolls live PORT GAMES INTERVAL_MS SECONDS
//     GAMES games at once, each on a connection of its own asking a roll every INTERVAL_MS (a game
//     over, the next begins); prints "rolls p50_ms p99_ms max_ms failures" for the roll answers.
//   rolls rate PORT CLIENTS SECONDS
//     CLIENTS players asking roll after roll without a pause; prints "rolls_per_s failures".
//   rolls bots PORT GAMES POSTED
//     GAMES games through the rolls, the first POSTED posted as "dealtbot"; and POSTED games
//     computed from the ticket's seed alone and posted as "seedbot"; prints
//     "mean_score_of_dealt_games failures".
//
// The server must deal seeds and take postings without a limit (--seed-limit 0 --post-limit 0).
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/bestplay.h"

namespace {

using Clock = std::chrono::steady_clock;

// Thrown before a roll is asked for once a run is over, to leave the game where it stands.
struct RunOver {};

struct Player {
  explicit Player(int port) : client("127.0.0.1", port) {
    client.set_keep_alive(true);
    client.set_url_encode(false);
  }

  std::optional<velnor::SeedTicket> ticket() {
    const auto reply = client.Get("/velnorsolo/seed");
    return velnor::parse_seed_reply(reply ? reply->body : std::string());
  }

  // A game played through the rolls: its record, and its score under the dice dealt (-1 when a
  // roll was refused). `before_each` runs before each roll's request; `took` gets its time.
  template <typename Before, typename Took>
  std::pair<velnor::PlayedGame, int> play(const velnor::SeedTicket& ticket, Before before_each, Took took) {
    std::vector<std::pair<int, int>> dealt;
    bool whole = true;
    velnor::PlayedGame game = velnor::testing::play_best(
        [&](const std::vector<unsigned>& shut) {
          before_each();
          const auto asked = Clock::now();
          const auto reply =
              client.Get("/velnorsolo/roll?ticket=" + ticket.text() + "&game=" + velnor::rolls_text(shut));
          took(Clock::now() - asked);
          if (reply && reply->status == 200 && reply->body.size() == 2)
            dealt.emplace_back(reply->body[0] - '0', reply->body[1] - '0');
          else
            whole = false, dealt.emplace_back(1, 1);
          return dealt.back();
        },
        ticket.text(), ticket.seed);
    const auto replayed = velnor::replay_rolls(game.shut, [&](std::size_t index) { return dealt.at(index); });
    const bool finished = whole && replayed.outcome == velnor::RollsReplay::Outcome::kFinished;
    return {std::move(game), finished ? replayed.score : -1};
  }

  bool post(const std::string& name, int score, const velnor::PlayedGame& game) {
    const auto reply =
        client.Get("/cgi-bin/velnorsolo.cgi?name=" + name + "&date=1%2F5%2F27&score=" + std::to_string(score) +
                   "&game=" + velnor::played_game_text(game));
    return reply && reply->status == 200;
  }

  httplib::Client client;
};

double ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

int live(int port, int games, int interval_ms, int seconds) {
  std::mutex mutex;
  std::vector<double> times;
  std::atomic<long> failures = 0;
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> players;
  for (int g = 0; g < games; ++g)
    players.emplace_back([&, g] {
      Player player(port);
      std::vector<double> mine;
      // Spread over the first interval, so that the games do not ask in step.
      auto next = Clock::now() + std::chrono::milliseconds(interval_ms * g / games);
      try {
        while (Clock::now() < end) {
          const auto ticket = player.ticket();
          if (!ticket) {
            ++failures;
            break;
          }
          const auto [game, score] = player.play(
              *ticket,
              [&] {
                std::this_thread::sleep_until(next);
                next += std::chrono::milliseconds(interval_ms);
                if (Clock::now() >= end) throw RunOver{};
              },
              [&](Clock::duration took) { mine.push_back(ms(took)); });
          if (score < 0) ++failures;
        }
      } catch (const RunOver&) {
      }
      std::lock_guard lock(mutex);
      times.insert(times.end(), mine.begin(), mine.end());
    });
  for (auto& player : players) player.join();
  if (times.empty()) return 1;
  std::sort(times.begin(), times.end());
  const auto at = [&](double share) {
    return times[static_cast<size_t>(share * static_cast<double>(times.size() - 1))];
  };
  std::printf("%zu %.2f %.2f %.2f %ld\n", times.size(), at(0.5), at(0.99), times.back(), failures.load());
  return 0;
}

int rate(int port, int clients, int seconds) {
  std::atomic<long> rolls = 0, failures = 0;
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> players;
  for (int c = 0; c < clients; ++c)
    players.emplace_back([&] {
      Player player(port);
      try {
        while (Clock::now() < end) {
          const auto ticket = player.ticket();
          if (!ticket) {
            ++failures;
            return;
          }
          const auto [game, score] = player.play(
              *ticket,
              [&] {
                if (Clock::now() >= end) throw RunOver{};
              },
              [&](Clock::duration) { ++rolls; });
          if (score < 0) ++failures;
        }
      } catch (const RunOver&) {
      }
    });
  for (auto& player : players) player.join();
  std::printf("%.0f %ld\n", static_cast<double>(rolls) / seconds, failures.load());
  return 0;
}

int bots(int port, int games, int posted) {
  constexpr int kThreads = 8;
  std::atomic<int> next = 0;
  std::atomic<long> total = 0, failures = 0;
  std::vector<std::thread> players;
  for (int t = 0; t < kThreads; ++t)
    players.emplace_back([&] {
      Player player(port);
      for (int g; (g = next++) < games;) {
        const auto ticket = player.ticket();
        if (!ticket) {
          ++failures;
          continue;
        }
        const auto [game, score] = player.play(
            *ticket, [] {}, [](Clock::duration) {});
        if (score < 0) {
          ++failures;
          continue;
        }
        total += score;
        if (g < posted && !player.post("dealtbot", score, game)) ++failures;
        if (g >= posted) continue;
        // The bot that reads every roll from the seed, as the seed once told them.
        const auto seeded = player.ticket();
        if (!seeded) {
          ++failures;
          continue;
        }
        const velnor::PlayedGame computed = velnor::testing::play_best(seeded->seed, seeded->text());
        if (!player.post("seedbot", velnor::replay_score(computed).value_or(0), computed)) ++failures;
      }
    });
  for (auto& player : players) player.join();
  std::printf("%.2f %ld\n", static_cast<double>(total) / std::max<long>(1, games - failures), failures.load());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto number = [&](int at) { return argc > at ? std::atoi(argv[at]) : 0; };
  if (mode == "live" && argc == 6) return live(number(2), number(3), number(4), number(5));
  if (mode == "rate" && argc == 5) return rate(number(2), number(3), number(4));
  if (mode == "bots" && argc == 5) return bots(number(2), number(3), number(4));
  std::fprintf(stderr,
               "usage: rolls live PORT GAMES INTERVAL_MS SECONDS | rolls rate PORT CLIENTS SECONDS |"
               " rolls bots PORT GAMES POSTED\n");
  return 2;
}
