// A key file's text, a signature and a signed statement from the server, all arbitrary: reading
// them and checking them never crash, a key read back is written the same way, no signature but
// the signer's holds, and a statement that is read is exactly the text the signer writes for what
// was read (so no second spelling of a statement, and no forged or changed one, gets through).
#include "online/releasesignature.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "core/dottedversion.h"
#include "online/releasestatement.h"

namespace {

namespace release = velnor::release;

void check(bool condition) {
  if (!condition) std::abort();
}

const release::KeyPair& signer() {
  static const release::KeyPair pair = release::make_key_pair();
  return pair;
}

// A statement that the signer made is read back as made, and refused once changed in one byte or
// cut short.
void check_signed_statement(FuzzedDataProvider& input) {
  const std::string version = input.ConsumeRandomLengthString(100);
  const std::string installer = input.ConsumeRandomLengthString(200);
  if (!velnor::dotted_version(version)) return;
  check(!velnor::is_newer_version(version, version));
  const release::Statement made = release::statement_of(version, installer);
  std::string text = release::signed_statement(made, signer().secret_key);
  const release::ReadStatement read = release::read_statement(text, signer().public_key);
  check(read.statement == made && release::installer_mismatch(made, installer).empty());
  if (input.ConsumeBool()) {
    text[input.ConsumeIntegralInRange<std::size_t>(0, text.size() - 1)] ^= input.ConsumeIntegralInRange<char>(1, 127);
  } else {
    text.resize(input.ConsumeIntegralInRange<std::size_t>(0, text.size() - 1));
  }
  check(!release::read_statement(text, signer().public_key).statement);
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
  check_signed_statement(input);
  const std::string message = input.ConsumeRemainingBytesAsString();
  const bool holds = release::verify(message, signature, signer().public_key);
  check(holds == (signature == release::sign(message, signer().secret_key)));
  const release::ReadStatement read = release::read_statement(message, signer().public_key);
  check(read.statement.has_value() == read.problem.empty());
  if (read.statement) check(release::signed_statement(*read.statement, signer().secret_key) == message);
  return 0;
}
