#include "rollrequest.h"

#include <algorithm>

#include "queryfields.h"
#include "rules/seedticket.h"

std::optional<RollRequest> parse_roll_request(std::string_view query) {
  QueryFields fields = query_fields(query, {"ticket", "game"});
  const auto ticket = fields.values.find("ticket");
  const auto game = fields.values.find("game");
  if (!fields.ok() || ticket == fields.values.end() || game == fields.values.end()) return std::nullopt;
  if (!velnor::parse_seed_ticket(ticket->second)) return std::nullopt;
  auto shut = velnor::parse_rolls_text(game->second);
  if (!shut) return std::nullopt;
  return RollRequest{std::move(ticket->second), std::move(*shut)};
}

RollStep roll_step(const std::optional<std::vector<unsigned>>& dealt, const std::vector<unsigned>& asked,
                   const velnor::DiceOfRoll& dice) {
  if (!dealt) return asked.empty() ? RollStep::kAdvance : RollStep::kRefuse;
  if (asked == *dealt) return RollStep::kRepeat;
  if (asked.size() != dealt->size() + 1 || !std::equal(dealt->begin(), dealt->end(), asked.begin()))
    return RollStep::kRefuse;
  return velnor::replay_rolls(asked, dice).outcome == velnor::RollsReplay::Outcome::kUnfinished ? RollStep::kAdvance
                                                                                                : RollStep::kRefuse;
}
