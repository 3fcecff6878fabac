#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The signed statement that the release folder serves beside the installer (its ".sig" file):
// which version the installer is, its size and its SHA-512, signed together with the release key,
// so that an installer cannot be passed off as another version, an older one above all. The text,
// each line ending in a line feed:
//   velnor-release-statement 1
//   version 1.0.1
//   size 123456
//   sha512 <128 lower-case hexadecimal digits>
//   signature <128 lower-case hexadecimal digits>
// The signature is the Ed25519 one of the first four lines' bytes, exactly as they stand. Nothing
// else is read as a statement: no other spacing, no carriage return, no byte more.
namespace velnor::release {

inline constexpr std::size_t kMaxStatementSize = 512;

struct Statement {
  std::string version;     // a dotted version (core/dottedversion.h), as it was written
  std::uint64_t size = 0;  // the installer's bytes
  std::string sha512;      // the installer's SHA-512, kSha512Size bytes (releasesignature.h)

  bool operator==(const Statement&) const = default;
};

// What velnor-release signs: `installer`'s size and SHA-512 as `version`.
Statement statement_of(std::string_view version, std::string_view installer);

// The statement's text, signed with `secret_key`. Throws std::invalid_argument for a version that
// is no dotted version or a key of the wrong size.
std::string signed_statement(const Statement& statement, std::string_view secret_key);

struct ReadStatement {
  std::optional<Statement> statement;  // only when the text is one and its signature holds
  std::string problem;                 // otherwise why not, in words
};
// The statement `text` holds, signed under `public_key`.
ReadStatement read_statement(std::string_view text, std::string_view public_key);

// Why `installer` is not the one `statement` describes, in words; empty when it is.
std::string installer_mismatch(const Statement& statement, std::string_view installer);

}  // namespace velnor::release
