#include "releasesignature.h"

#include <sodium.h>

#include <stdexcept>

namespace velnor::release {

namespace {

void start_sodium() {
  // Safe to call from any thread and more than once; it fails only without a random source.
  if (sodium_init() < 0) throw std::runtime_error("The cryptography library cannot start");
}

const unsigned char* bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

static_assert(kPublicKeySize == crypto_sign_PUBLICKEYBYTES && kSecretKeySize == crypto_sign_SECRETKEYBYTES &&
              kSignatureSize == crypto_sign_BYTES && kSha512Size == crypto_hash_sha512_BYTES);

KeyPair make_key_pair() {
  start_sodium();
  KeyPair pair{std::string(kPublicKeySize, '\0'), std::string(kSecretKeySize, '\0')};
  crypto_sign_keypair(reinterpret_cast<unsigned char*>(pair.public_key.data()),
                      reinterpret_cast<unsigned char*>(pair.secret_key.data()));
  return pair;
}

std::string sign(std::string_view message, std::string_view secret_key) {
  if (secret_key.size() != kSecretKeySize) throw std::invalid_argument("A secret key has 64 bytes");
  start_sodium();
  std::string signature(kSignatureSize, '\0');
  crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr, bytes(message), message.size(),
                       bytes(secret_key));
  return signature;
}

bool verify(std::string_view message, std::string_view signature, std::string_view public_key) {
  if (signature.size() != kSignatureSize || public_key.size() != kPublicKeySize) return false;
  start_sodium();
  return crypto_sign_verify_detached(bytes(signature), bytes(message), message.size(), bytes(public_key)) == 0;
}

std::string sha512(std::string_view message) {
  start_sodium();
  std::string digest(kSha512Size, '\0');
  crypto_hash_sha512(reinterpret_cast<unsigned char*>(digest.data()), bytes(message), message.size());
  return digest;
}

std::string hex_digits(std::string_view data) {
  // sodium_bin2hex ends the digits with a zero byte, which the text then drops.
  std::string text(2 * data.size() + 1, '\0');
  sodium_bin2hex(text.data(), text.size(), bytes(data), data.size());
  text.pop_back();
  return text;
}

std::string key_text(std::string_view key) { return hex_digits(key) + '\n'; }

std::optional<std::string> key_from_text(std::string_view text, std::size_t size) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (text.size() != 2 * size) return std::nullopt;
  std::string key(size, '\0');
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_hex2bin(reinterpret_cast<unsigned char*>(key.data()), key.size(), text.data(), text.size(), nullptr,
                     &length, &end) != 0 ||
      length != size || end != text.data() + text.size())
    return std::nullopt;
  return key;
}

}  // namespace velnor::release
