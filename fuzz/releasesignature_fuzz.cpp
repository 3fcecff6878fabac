// A key file's text and a signature from the server, both arbitrary: reading the one
// and checking the other never crash, a key read back is written the same way, and
// no signature but the signer's holds.
#include "online/releasesignature.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

namespace release = velnor::release;

void check(bool condition) {
  if (!condition) std::abort();
}

const release::KeyPair& signer() {
  static const release::KeyPair pair = release::make_key_pair();
  return pair;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string text = input.ConsumeRandomLengthString(200);
  if (const auto key = release::key_from_text(text, release::kPublicKeySize)) {
    check(key->size() == release::kPublicKeySize);
    check(release::key_from_text(release::key_text(*key), release::kPublicKeySize) == key);
  }
  const std::string signature = input.ConsumeRandomLengthString(100);
  const std::string message = input.ConsumeRemainingBytesAsString();
  const bool holds = release::verify(message, signature, signer().public_key);
  check(holds == (signature == release::sign(message, signer().secret_key)));
  return 0;
}
