#include "profilefile.h"

#include <limits>
#include <system_error>

#include "core/bytetext.h"
#include "core/safefile.h"

namespace velnor {

namespace {

namespace fs = std::filesystem;

using text::ascii_lower;
using text::equal_nocase;

constexpr std::string_view trim(std::string_view s) { return text::trim_blanks(s); }

enum class LineKind { other, section, key };

struct LineView {
  LineKind kind = LineKind::other;
  std::string_view name;
  std::size_t value_pos = 0;  // for a key: where its value starts
};

LineView classify(std::string_view line) {
  const std::string_view body = trim(line);
  if (body.empty() || body.front() == ';') return {};
  if (body.front() == '[') {
    const std::string_view inner = body.substr(1);
    return {LineKind::section, trim(inner.substr(0, inner.find(']'))), 0};
  }
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  const std::string_view name = trim(line.substr(0, eq));
  if (name.empty()) return {};
  return {LineKind::key, name, eq + 1};
}

bool has_line_break(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A name is stored only when it reads back as the same name.
bool storable_name(std::string_view name, std::string_view forbidden) {
  return !name.empty() && trim(name).size() == name.size() && !has_line_break(name) &&
         name.find_first_of(forbidden) == std::string_view::npos;
}

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char l = ascii_lower(c);
  if (l >= 'a' && l <= 'f') return l - 'a' + 10;
  return 99;
}

}  // namespace

ProfileFile ProfileFile::load(const fs::path& path) {
  // A folder of that name is no settings file of ours, nor anyone's to keep aside.
  std::error_code ec;
  if (!file_present(path) || fs::is_directory(path, ec)) return {};
  return parse(read_regular_file(path, kMaxFileSize));
}

ProfileFile ProfileFile::parse(std::string_view bytes) {
  ProfileFile file;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      file.lines_.emplace_back(bytes.substr(start));
      break;
    }
    file.lines_.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return file;
}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
  bool in_section = false;
  bool section_seen = false;
  for (const std::string& line : lines_) {
    const LineView view = classify(line);
    if (view.kind == LineKind::section) {
      // Only the first section of that name counts.
      if (section_seen) return std::nullopt;
      in_section = equal_nocase(view.name, section);
      section_seen = in_section;
    } else if (in_section && view.kind == LineKind::key && equal_nocase(view.name, key)) {
      return line.substr(view.value_pos, kMaxValue);
    }
  }
  return std::nullopt;
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
  if (!storable_name(section, "]") || !storable_name(key, "=") || key.front() == '[' || key.front() == ';' ||
      has_line_break(value)) {
    throw std::invalid_argument("profile entry cannot be stored as one line");
  }
  std::string entry{key};
  entry += '=';
  entry += value;

  std::size_t header = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineView view = classify(lines_[i]);
    if (view.kind == LineKind::section && equal_nocase(view.name, section)) {
      header = i;
      break;
    }
  }
  if (header == lines_.size()) {
    lines_.push_back(std::string("[").append(section).append("]"));
    lines_.push_back(std::move(entry));
    return;
  }

  // The key goes after the section's last non-blank line, ahead of any blank
  // lines that separate it from the next section.
  std::size_t insert_at = header + 1;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    const LineView view = classify(lines_[i]);
    if (view.kind == LineKind::section) break;
    if (view.kind == LineKind::key && equal_nocase(view.name, key)) {
      lines_[i].replace(view.value_pos, std::string::npos, value);
      return;
    }
    if (!trim(lines_[i]).empty()) insert_at = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(entry));
}

std::string ProfileFile::bytes() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

void ProfileFile::save(const fs::path& path) const {
  if (replace_file(path, bytes()) == Replaced::done) return;
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec);
  throw EProfileWriteError("Unable to write to " + (ec ? path : full).string());
}

int profile_int(const std::optional<std::string>& value, int fallback) {
  if (!value) return fallback;
  std::string_view text = *value;
  bool negative = false;
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  } else if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return fallback;

  // Accumulate the magnitude with room for the one extra unit of INT_MIN.
  constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  long long magnitude = 0;
  for (char c : text) {
    const int digit = digit_value(c);
    if (digit >= base) return fallback;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return fallback;
  }
  const long long result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<int>::max()) return fallback;
  return static_cast<int>(result);
}

}  // namespace velnor
