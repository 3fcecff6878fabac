#include "ticketdice.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

TicketDice::TicketDice(std::string key) : key_(std::move(key)) {
  if (key_.size() != crypto_auth_hmacsha256_KEYBYTES) throw std::invalid_argument("the dice key has the wrong size");
}

std::pair<int, int> TicketDice::roll(std::string_view ticket, std::size_t index) const {
  std::array<int, 2> dice{};
  std::size_t thrown = 0;
  // Bytes of 252 and above are skipped, so that each face takes 42 of the 252 left; in the rare
  // case that fewer than two bytes of a MAC are taken, the next block of the same roll follows.
  for (unsigned block = 0; thrown < dice.size(); ++block) {
    const std::string message = std::string(ticket) + '/' + std::to_string(index) + '/' + std::to_string(block);
    std::array<unsigned char, crypto_auth_hmacsha256_BYTES> mac;
    crypto_auth_hmacsha256(mac.data(), reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                           reinterpret_cast<const unsigned char*>(key_.data()));
    for (std::size_t at = 0; at < mac.size() && thrown < dice.size(); ++at)
      if (mac[at] < 252) dice[thrown++] = mac[at] % 6 + 1;
  }
  return {dice[0], dice[1]};
}
