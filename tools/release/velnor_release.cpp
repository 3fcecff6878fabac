// velnor-release: signs the release files that the game downloads.
//   velnor-release keygen PUBLIC SECRET       makes a key pair: the public key for the game's
//                                             build, the secret one (owner-only) for signing
//   velnor-release sign --key SECRET --version VERSION FILE
//                                             writes FILE.sig, the signed statement that FILE is
//                                             that version, of its size and SHA-512
//   velnor-release verify --key PUBLIC FILE   whether FILE.sig holds for FILE; prints its version
// Key files hold the key's bytes as hexadecimal digits on one line. Failures go to standard error;
// the exit code is then 1 (2 for a wrong command line).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "core/filedescriptor.h"
#include "core/safefile.h"
#include "online/releasesignature.h"
#include "online/releasestatement.h"

namespace {

namespace release = velnor::release;

// Release files are installers, a few MiB.
constexpr std::size_t kMaxFile = 1024ull * 1024 * 1024;

int usage() {
  std::fputs(
      "usage: velnor-release keygen PUBLIC SECRET\n"
      "       velnor-release sign --key SECRET --version VERSION FILE\n"
      "       velnor-release verify --key PUBLIC FILE\n",
      stderr);
  return 2;
}

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

// A key file is never written over: a lost secret key cannot be made again. The mode is the most
// the file gets (the umask may take more away).
void write_new_file(const std::string& path, const std::string& text, mode_t mode) {
  velnor::FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (file.get() < 0) fail(path + ": " + std::strerror(errno));
  if (::write(file.get(), text.data(), text.size()) != ssize_t(text.size()) || ::fsync(file.get()) != 0) {
    const std::string error = std::strerror(errno);
    ::unlink(path.c_str());
    fail(path + ": " + error);
  }
}

std::string read_key(const std::string& path, std::size_t size) {
  const auto key = release::key_from_text(velnor::read_regular_file(path, 4 * size), size);
  if (!key) fail(path + ": not a key file of " + std::to_string(size) + " bytes");
  return *key;
}

int keygen(const std::string& public_path, const std::string& secret_path) {
  const release::KeyPair pair = release::make_key_pair();
  write_new_file(secret_path, release::key_text(pair.secret_key), 0600);
  try {
    write_new_file(public_path, release::key_text(pair.public_key), 0644);
  } catch (...) {
    // Half a pair is no use: the secret key goes too.
    ::unlink(secret_path.c_str());
    throw;
  }
  return 0;
}

int sign(const std::string& secret_path, const std::string& version, const std::string& file) {
  const release::Statement statement = release::statement_of(version, velnor::read_regular_file(file, kMaxFile));
  const std::string text = release::signed_statement(statement, read_key(secret_path, release::kSecretKeySize));
  if (velnor::replace_file(file + ".sig", text) != velnor::Replaced::done) fail(file + ".sig: cannot be written");
  return 0;
}

int verify(const std::string& public_path, const std::string& file) {
  const std::string key = read_key(public_path, release::kPublicKeySize);
  const release::ReadStatement read =
      release::read_statement(velnor::read_regular_file(file + ".sig", release::kMaxStatementSize), key);
  const std::string problem =
      read.statement ? release::installer_mismatch(*read.statement, velnor::read_regular_file(file, kMaxFile))
                     : read.problem;
  if (!problem.empty()) {
    std::fprintf(stderr, "velnor-release: %s: the signature does not hold: %s\n", file.c_str(), problem.c_str());
    return 1;
  }
  std::printf("%s: version %s, signed\n", file.c_str(), read.statement->version.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const bool keyed = argc == 5 && std::string(argv[2]) == "--key";
  try {
    if (command == "keygen" && argc == 4) return keygen(argv[2], argv[3]);
    if (command == "sign" && argc == 7 && std::string(argv[2]) == "--key" && std::string(argv[4]) == "--version")
      return sign(argv[3], argv[5], argv[6]);
    if (command == "verify" && keyed) return verify(argv[3], argv[4]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velnor-release: %s\n", e.what());
    return 1;
  }
  return usage();
}
