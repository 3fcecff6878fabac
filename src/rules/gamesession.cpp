#include "gamesession.h"

#include "rules/playedgame.h"

namespace velnor {

GameSession::GameSession(RandomGen& clock_random, SessionListener& listener)
    : clock_random_(clock_random), listener_(listener) {}

void GameSession::start_game(const std::optional<SeedTicket>& ticket) {
  ++games_;
  rolling_ = false;
  // A pause still running from the abandoned game must not start a surprise round.
  pausecount_ = 0;
  deal_from(ticket);
  dice_ = chosen_dice_ != nullptr ? chosen_dice_ : &generator_dice_;
  game_.newgame();
  record_.on_game_start();
  recorded();
  listener_.game_started();
  start_round();
}

void GameSession::deal_from(const std::optional<SeedTicket>& ticket) {
  // The ticket's game draws from a generator of its own, so the clock's sequence goes on where it
  // left off in the next game without one.
  if (ticket) ticket_random_.setseed(ticket->seed);
  game_random_ = ticket ? &ticket_random_ : &clock_random_;
  game_ticket_ = ticket ? ticket->text() : std::string();
  game_seed_ = game_random_->seed();
}

bool GameSession::may_adopt_ticket() const {
  return game_ticket_.empty() && record_.turns().empty() && awaiting_roll();
}

bool GameSession::adopt_ticket(const SeedTicket& ticket) {
  if (!may_adopt_ticket()) return false;
  deal_from(ticket);
  recorded();
  return true;
}

void GameSession::start_round() {
  if (!game_.startround()) {
    listener_.game_over(game_.score());
    return;
  }
  record_.on_round_start();
  recorded();
  listener_.round_started();
}

void GameSession::roll() {
  if (!awaiting_roll()) return;
  rolling_ = true;
  const unsigned game = games_;
  const std::string rolls = played_rolls();
  dice_->throw_next({*game_random_, game_ticket_, rolls}, [this, game](std::pair<DieThrow, DieThrow> dice) {
    if (game == games_ && rolling_) thrown(dice.first, dice.second);
  });
}

void GameSession::thrown(const DieThrow& first, const DieThrow& second) {
  rolling_ = false;
  record_.on_roll(first.value, second.value);
  recorded();
  const RollOutcome outcome = game_.roll(first.value, second.value);
  listener_.dice_thrown(first, second, outcome == RollOutcome::play);
  if (outcome == RollOutcome::roundover) end_round();
}

void GameSession::click(int n) {
  if (!selecting()) return;
  const unsigned shut_before = game_.shutmask();
  const ClickResult result = game_.clicktile(n);
  if (result.outcome == ClickOutcome::invalid) listener_.tile_refused(n);
  if (result.outcome == ClickOutcome::invalid || result.outcome == ClickOutcome::ignored) return;
  listener_.tiles_changed();
  if (!result.turncomplete) return;
  record_.on_turn_shut(game_.shutmask() & ~shut_before);
  recorded();
  if (result.roundover)
    end_round();
  else
    listener_.turn_done();
}

void GameSession::end_round() {
  const int round = game_.round();
  const int score = game_.roundscore(round);
  record_.on_round_end(score);
  recorded();
  pausecount_ = kPauseTicks;
  listener_.round_scored(round, score);
}

bool GameSession::pause_tick() {
  if (pausecount_ < 1) return true;
  if (--pausecount_ >= 1) return false;
  start_round();
  return true;
}

void GameSession::recorded() { listener_.record_changed(); }

std::string GameSession::played_text() const {
  return played_game_text(played_game(game_ticket_, game_seed_, record_.turns()));
}

std::string GameSession::played_rolls() const {
  const std::string text = played_text();
  return text.substr(text.rfind('.') + 1);
}

}  // namespace velnor
