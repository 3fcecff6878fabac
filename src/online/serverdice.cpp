#include "serverdice.h"

#include "core/wire.h"
#include "online/percentencode.h"

namespace velnor {

std::optional<std::pair<int, int>> parse_roll_reply(std::string_view body) {
  if (body.ends_with("\r\n"))
    body.remove_suffix(2);
  else if (body.ends_with('\n'))
    body.remove_suffix(1);
  const auto face = [](char c) { return c >= '1' && c <= '6'; };
  if (body.size() != 2 || !face(body[0]) || !face(body[1])) return std::nullopt;
  return std::pair(body[0] - '0', body[1] - '0');
}

ServerDice::ServerDice(std::string base, PostToUi post_to_ui, std::chrono::milliseconds answer_limit)
    : address_(std::move(base) + std::string(wire::kRollPath)),
      post_to_ui_(std::move(post_to_ui)),
      answer_limit_(answer_limit) {}

void ServerDice::throw_next(const Roll& roll, Thrown thrown) {
  // Drawn in full as in any game, so the generator's sequence does not depend on the server.
  drawn_ = throw_dice(roll.generator);
  if (roll.ticket.empty() || roll.ticket == gave_up_on_) {
    thrown(drawn_);
    return;
  }
  thrown_ = std::move(thrown);
  const std::string ticket(roll.ticket);
  fetch_ = std::make_unique<THTTPGet>(post_to_ui_);
  fetch_->URL = address_ + "?ticket=" + percent_encode(ticket) + "&game=" + percent_encode(roll.rolls);
  fetch_->max_body = 4;
  fetch_->stall_limit = answer_limit_;
  fetch_->deadline = answer_limit_;
  fetch_->OnDoneString = [this, ticket](THTTPGet* get, const std::string& body) {
    answered(ticket, get->status_code() == 200 ? parse_roll_reply(body) : std::nullopt);
  };
  fetch_->OnError = [this, ticket](THTTPGet*) { answered(ticket, std::nullopt); };
  fetch_->FetchString();
}

void ServerDice::answered(const std::string& ticket, std::optional<std::pair<int, int>> faces) {
  std::pair<DieThrow, DieThrow> dice = drawn_;
  if (faces) {
    dice.first.value = faces->first;
    dice.second.value = faces->second;
  } else {
    gave_up_on_ = ticket;
  }
  // The handler may ask for the next roll, which replaces what this one keeps.
  Thrown thrown = std::move(thrown_);
  thrown_ = nullptr;
  if (thrown) thrown(dice);
}

}  // namespace velnor
