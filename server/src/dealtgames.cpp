#include "dealtgames.h"

#include <algorithm>

#include "rollrequest.h"
#include "rules/playedgame.h"

namespace {

// The history a store keeps, read back; nothing when no roll was dealt.
std::optional<std::vector<unsigned>> dealt_history(const std::optional<std::string>& kept) {
  if (!kept) return std::nullopt;
  return velnor::parse_rolls_text(*kept);
}

}  // namespace

DealtGames::DealtGames(ScoreStore& store, const SeedTickets& tickets)
    : store_(store), tickets_(tickets), dice_(tickets.derived_key("dice")) {}

DealtGames::Answer DealtGames::roll(std::string_view query, int64_t now_unix_time) {
  const std::optional<RollRequest> request = parse_roll_request(query);
  if (!request) return {Answer::Outcome::kMalformed, {}};
  if (!tickets_.genuine(*velnor::parse_seed_ticket(request->ticket), now_unix_time))
    return {Answer::Outcome::kMalformed, {}};
  const velnor::DiceOfRoll dice = [&](std::size_t index) { return dice_.roll(request->ticket, index); };
  const auto dealt = [&] { return dealt_history(store_.dealt_rolls(request->ticket)); };
  const std::optional<std::vector<unsigned>> before = dealt();
  const auto answer = [&] {
    const auto [first, second] = dice(request->shut.size());
    return Answer{Answer::Outcome::kDealt, std::to_string(first * 10 + second)};
  };
  switch (roll_step(before, request->shut, dice)) {
    case RollStep::kRepeat:
      return answer();
    case RollStep::kAdvance: {
      const std::optional<std::string> from =
          before ? std::optional<std::string>(velnor::rolls_text(*before)) : std::nullopt;
      if (store_.deal_roll(request->ticket, from, velnor::rolls_text(request->shut))) return answer();
      // Another request moved the history first: this one is answered only if it asked for the same.
      if (dealt() == request->shut) return answer();
      return {Answer::Outcome::kRefused, {}};
    }
    case RollStep::kRefuse:
      break;
  }
  return {Answer::Outcome::kRefused, {}};
}

std::string DealtGames::verifying_ticket(const Posting& posting, int64_t now_unix_time) {
  const auto game = velnor::parse_played_game(posting.game);
  if (!game || game->ticket.empty() || game->shut.empty()) return {};
  if (!tickets_.genuine(*velnor::parse_seed_ticket(game->ticket), now_unix_time)) return {};
  // The record's last roll was dealt without a play yet; every roll before it is the history kept.
  const std::optional<std::vector<unsigned>> dealt = dealt_history(store_.dealt_rolls(game->ticket));
  if (!dealt || dealt->size() + 1 != game->shut.size() || !std::equal(dealt->begin(), dealt->end(), game->shut.begin()))
    return {};
  const velnor::RollsReplay replayed =
      velnor::replay_rolls(game->shut, [&](std::size_t index) { return dice_.roll(game->ticket, index); });
  return replayed.outcome == velnor::RollsReplay::Outcome::kFinished && replayed.score == posting.score ? game->ticket
                                                                                                        : std::string();
}
