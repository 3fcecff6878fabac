#include "ticketdice.h"

#include <array>
#include <stdexcept>

TicketDice::TicketDice(std::string key) : keyed_() {
  if (key.size() != crypto_auth_hmacsha256_KEYBYTES) throw std::invalid_argument("the dice key has the wrong size");
  crypto_auth_hmacsha256_init(&keyed_, reinterpret_cast<const unsigned char*>(key.data()), key.size());
}

std::pair<int, int> TicketDice::roll(std::string_view ticket, std::size_t index) const {
  std::array<int, 2> dice{};
  std::size_t thrown = 0;
  // Bytes of 252 and above are skipped, so that each face takes 42 of the 252 left; in the rare
  // case that fewer than two bytes of a MAC are taken, the next block of the same roll follows.
  for (unsigned block = 0; thrown < dice.size(); ++block) {
    const std::string message = std::string(ticket) + '/' + std::to_string(index) + '/' + std::to_string(block);
    std::array<unsigned char, crypto_auth_hmacsha256_BYTES> mac;
    crypto_auth_hmacsha256_state state = keyed_;
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(message.data()), message.size());
    crypto_auth_hmacsha256_final(&state, mac.data());
    for (std::size_t at = 0; at < mac.size() && thrown < dice.size(); ++at)
      if (mac[at] < 252) dice[thrown++] = mac[at] % 6 + 1;
  }
  return {dice[0], dice[1]};
}
