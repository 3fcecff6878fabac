#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The seed that the game's web server deals for a player's next game, with the ticket that shows
// the server dealt it: "SEED.ISSUED.SEAL", the seed as 8 hex digits, when it was dealt in seconds
// since 1970 (UTC, the server's clock) and the server's seal over the two, 16 bytes in URL-safe
// base64. The game takes a ticket only in this form, and posts it back verbatim with the game.
namespace velnor {

struct SeedTicket {
  static constexpr std::size_t kSealCharacters = 22;
  static constexpr std::size_t kMaxIssuedDigits = 12;
  static constexpr std::size_t kMaxCharacters = 8 + 1 + kMaxIssuedDigits + 1 + kSealCharacters;

  std::uint32_t seed = 0;
  std::int64_t issued = 0;
  std::string seal;

  // What the seal covers: "SEED.ISSUED".
  std::string sealed_text() const;
  std::string text() const { return sealed_text() + '.' + seal; }
};

// The seed as the ticket and a game's record write it: 8 lowercase hex digits.
std::string seed_text(std::uint32_t seed);
std::optional<std::uint32_t> parse_seed_text(std::string_view text);

// A ticket in exactly the form above, or nothing (whatever the bytes).
std::optional<SeedTicket> parse_seed_ticket(std::string_view text);
// The ticket of a reply's body as the server sends it: the ticket and one line end.
std::optional<SeedTicket> parse_seed_reply(std::string_view body);

// Whether every character is one of URL-safe base64's 64.
bool is_base64url(std::string_view text);

}  // namespace velnor
