#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Ed25519 signatures over release files: the maintainers sign an installer's
// statement (releasestatement.h) with their secret key, and the game runs it only
// if the signature holds under the public key built into it. Keys and signatures are raw bytes here; key files
// hold a key's bytes as lower-case hexadecimal digits on one line.
namespace velnor::release {

inline constexpr std::size_t kPublicKeySize = 32;
inline constexpr std::size_t kSecretKeySize = 64;
inline constexpr std::size_t kSignatureSize = 64;
inline constexpr std::size_t kSha512Size = 64;

struct KeyPair {
  std::string public_key;
  std::string secret_key;
};

// Throws std::runtime_error when the system's random source cannot be used.
KeyPair make_key_pair();

// The detached signature of `message`; throws std::invalid_argument for a key of the wrong size.
std::string sign(std::string_view message, std::string_view secret_key);

// Whether `signature` is `message`'s under `public_key`; anything of a wrong size is not.
bool verify(std::string_view message, std::string_view signature, std::string_view public_key);

// The SHA-512 of `bytes`, kSha512Size bytes.
std::string sha512(std::string_view bytes);

// `bytes` as lower-case hexadecimal digits.
std::string hex_digits(std::string_view bytes);
// A key file's text: the hexadecimal digits and a line break.
std::string key_text(std::string_view key);
// The key of `size` bytes that a key file's text holds (one line break may end it); nullopt for
// any other text.
std::optional<std::string> key_from_text(std::string_view text, std::size_t size);

}  // namespace velnor::release
