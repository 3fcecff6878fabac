#include "verifiedgames.h"

#include "online/seedsupply.h"

namespace velnor {

VerifiedGames::VerifiedGames(GameSession& session, SeedSupply* seeds, DiceSource* server_dice, Consent consent)
    : session_(session), seeds_(seeds), server_dice_(server_dice), consent_(std::move(consent)) {
  session_.set_dice(this);
  if (seeds_ != nullptr) seeds_->on_ticket = [this] { ticket_came(); };
}

VerifiedGames::~VerifiedGames() {
  if (seeds_ != nullptr) seeds_->on_ticket = nullptr;
}

void VerifiedGames::window_shown() { fetch_ahead(); }

void VerifiedGames::game_over() { fetch_ahead(); }

void VerifiedGames::fetch_ahead() {
  if (seeds_ != nullptr && consent_.verified() && consent_.fetch_ahead()) seeds_->refill();
}

void VerifiedGames::start_game() {
  std::optional<SeedTicket> ticket;
  if (seeds_ != nullptr && consent_.verified()) {
    ticket = seeds_->take();
    if (!ticket) seeds_->refill();
  }
  session_.start_game(ticket);
}

void VerifiedGames::ticket_came() {
  if (!consent_.verified() || !session_.may_adopt_ticket()) return;
  if (const std::optional<SeedTicket> ticket = seeds_->take()) session_.adopt_ticket(*ticket);
}

void VerifiedGames::throw_next(const Roll& roll, Thrown thrown) {
  // Turned off during a game, the rest of it asks nothing.
  DiceSource& source = server_dice_ != nullptr && consent_.verified() ? *server_dice_ : generator_dice_;
  source.throw_next(roll, std::move(thrown));
}

}  // namespace velnor
