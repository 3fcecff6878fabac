#include "releasestatement.h"

#include <charconv>
#include <stdexcept>

#include "core/dottedversion.h"
#include "releasesignature.h"

namespace velnor::release {

namespace {

constexpr std::string_view kFirstLine = "velnor-release-statement 1\n";
constexpr std::size_t kMaxSizeDigits = 20;  // the digits of 2^64 - 1

// The value of the line that starts `text` with `name` and a space, of at most `max_value`
// characters; the line is taken off `text`. nullopt when the line is not that.
std::optional<std::string_view> take_line(std::string_view& text, std::string_view name, std::size_t max_value) {
  if (text.substr(0, name.size()) != name || text.substr(name.size(), 1) != " ") return std::nullopt;
  const std::size_t start = name.size() + 1;
  const std::size_t end = text.find('\n', start);
  if (end == std::string_view::npos || end - start > max_value) return std::nullopt;
  const std::string_view value = text.substr(start, end - start);
  text.remove_prefix(end + 1);
  return value;
}

// Lower-case digits only: one statement has one text, so a signed one is read back as written.
std::optional<std::string> bytes_of_digits(std::string_view digits, std::size_t size) {
  for (const char digit : digits)
    if ((digit < '0' || digit > '9') && (digit < 'a' || digit > 'f')) return std::nullopt;
  return key_from_text(digits, size);
}

std::optional<std::uint64_t> size_of(std::string_view digits) {
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  std::uint64_t size = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return size;
}

std::string signed_part(const Statement& statement) {
  return std::string(kFirstLine) + "version " + statement.version + "\nsize " + std::to_string(statement.size) +
         "\nsha512 " + hex_digits(statement.sha512) + "\n";
}

ReadStatement refused(std::string problem) { return {std::nullopt, std::move(problem)}; }

}  // namespace

Statement statement_of(std::string_view version, std::string_view installer) {
  return {std::string(version), installer.size(), sha512(installer)};
}

std::string signed_statement(const Statement& statement, std::string_view secret_key) {
  if (!dotted_version(statement.version))
    throw std::invalid_argument("\"" + statement.version + "\" is no version of dotted numbers, such as 1.0.1");
  if (statement.sha512.size() != kSha512Size) throw std::invalid_argument("A SHA-512 has 64 bytes");
  const std::string text = signed_part(statement);
  return text + "signature " + hex_digits(sign(text, secret_key)) + "\n";
}

ReadStatement read_statement(std::string_view text, std::string_view public_key) {
  if (text.size() > kMaxStatementSize) return refused("The signed statement is longer than any statement.");
  std::string_view rest = text;
  if (rest.substr(0, kFirstLine.size()) != kFirstLine)
    return refused("The installer's signature file is no signed statement of this game's releases.");
  rest.remove_prefix(kFirstLine.size());
  Statement statement;
  const auto version = take_line(rest, "version", kMaxVersionText);
  if (!version || !dotted_version(*version)) return refused("The signed statement names no version of dotted numbers.");
  statement.version = *version;
  const auto size_text = take_line(rest, "size", kMaxSizeDigits);
  const auto size = size_text ? size_of(*size_text) : std::nullopt;
  if (!size) return refused("The signed statement gives no size in whole bytes.");
  statement.size = *size;
  const auto sha512_text = take_line(rest, "sha512", 2 * kSha512Size);
  const auto digest = sha512_text ? bytes_of_digits(*sha512_text, kSha512Size) : std::nullopt;
  if (!digest) return refused("The signed statement gives no SHA-512 of 128 hexadecimal digits.");
  statement.sha512 = *digest;
  const std::string_view signed_text = text.substr(0, text.size() - rest.size());
  const auto signature_text = take_line(rest, "signature", 2 * kSignatureSize);
  const auto signature = signature_text ? bytes_of_digits(*signature_text, kSignatureSize) : std::nullopt;
  if (!signature || !rest.empty())
    return refused("The signed statement does not end in one signature of 128 hexadecimal digits.");
  if (!verify(signed_text, *signature, public_key))
    return refused("The statement's signature does not hold under this game's release key.");
  return {std::move(statement), {}};
}

std::string installer_mismatch(const Statement& statement, std::string_view installer) {
  if (installer.size() != statement.size)
    return "The installer has " + std::to_string(installer.size()) + " bytes where " + std::to_string(statement.size) +
           " were signed.";
  if (sha512(installer) != statement.sha512) return "The installer's SHA-512 is not the one signed.";
  return {};
}

}  // namespace velnor::release
