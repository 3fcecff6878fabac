#include "seedtickets.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace {

constexpr size_t kSealBytes = 16;

void need_sodium() {
  if (sodium_init() < 0) throw std::runtime_error("the random source cannot be opened");
}

}  // namespace

std::string new_ticket_key() {
  need_sodium();
  std::array<unsigned char, crypto_auth_hmacsha256_KEYBYTES> key;
  randombytes_buf(key.data(), key.size());
  std::array<char, crypto_auth_hmacsha256_KEYBYTES * 2 + 1> hex;
  sodium_bin2hex(hex.data(), hex.size(), key.data(), key.size());
  return hex.data();
}

SeedTickets::SeedTickets(std::string_view key) {
  need_sodium();
  key_.resize(crypto_auth_hmacsha256_KEYBYTES);
  size_t length = 0;
  if (sodium_hex2bin(reinterpret_cast<unsigned char*>(key_.data()), key_.size(), key.data(), key.size(), nullptr,
                     &length, nullptr) != 0 ||
      length != key_.size())
    throw std::runtime_error("the store's ticket key is not 64 hex digits");
}

std::string SeedTickets::seal(const velnor::SeedTicket& ticket) const {
  const std::string sealed = ticket.sealed_text();
  std::array<unsigned char, crypto_auth_hmacsha256_BYTES> mac;
  crypto_auth_hmacsha256(mac.data(), reinterpret_cast<const unsigned char*>(sealed.data()), sealed.size(),
                         reinterpret_cast<const unsigned char*>(key_.data()));
  std::array<char, velnor::SeedTicket::kSealCharacters + 1> text;
  sodium_bin2base64(text.data(), text.size(), mac.data(), kSealBytes, sodium_base64_VARIANT_URLSAFE_NO_PADDING);
  return text.data();
}

velnor::SeedTicket SeedTickets::deal(int64_t now_unix_time) const {
  velnor::SeedTicket ticket{randombytes_random(), now_unix_time, {}};
  ticket.seal = seal(ticket);
  return ticket;
}

bool SeedTickets::genuine(const velnor::SeedTicket& ticket, int64_t now_unix_time) const {
  if (ticket.issued > now_unix_time + kClockSlackSeconds || now_unix_time - ticket.issued > kTicketLifeSeconds)
    return false;
  const std::string expected = seal(ticket);
  return expected.size() == ticket.seal.size() &&
         sodium_memcmp(expected.data(), ticket.seal.data(), expected.size()) == 0;
}

std::string SeedTickets::derived_key(std::string_view purpose) const {
  std::string key(crypto_auth_hmacsha256_BYTES, '\0');
  crypto_auth_hmacsha256(reinterpret_cast<unsigned char*>(key.data()),
                         reinterpret_cast<const unsigned char*>(purpose.data()), purpose.size(),
                         reinterpret_cast<const unsigned char*>(key_.data()));
  return key;
}
