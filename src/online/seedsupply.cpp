#include "seedsupply.h"

#include "core/wire.h"

namespace velnor {

SeedSupply::SeedSupply(std::string base, PostToUi post_to_ui)
    : address_(std::move(base) + std::string(wire::kSeedPath)), fetch_(std::move(post_to_ui)) {
  // A ticket is a line; anything longer is not one.
  fetch_.max_body = SeedTicket::kMaxCharacters + 2;
  fetch_.stall_limit = std::chrono::seconds(10);
  fetch_.deadline = std::chrono::seconds(20);
  fetch_.OnDoneString = [this](THTTPGet* get, const std::string& body) {
    if (get->status_code() >= 200 && get->status_code() <= 299) received(body);
  };
}

void SeedSupply::refill() {
  if (ticket_ && Clock::now() - fetched_at_ < kTicketLife) return;
  ticket_.reset();
  if (fetch_.busy()) return;
  fetch_.URL = address_;
  fetch_.FetchString();
}

std::optional<SeedTicket> SeedSupply::take() {
  std::optional<SeedTicket> ticket;
  if (Clock::now() - fetched_at_ < kTicketLife) ticket.swap(ticket_);
  ticket_.reset();
  return ticket;
}

void SeedSupply::received(const std::string& body) {
  ticket_ = parse_seed_reply(body);
  fetched_at_ = Clock::now();
  if (ticket_ && on_ticket) on_ticket();
}

}  // namespace velnor
