#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A profile (INI) file held in memory: "[section]" lines and "key=value" lines.
// Names and values are bytes, kept as they are whether or not they are UTF-8.
// Everything a write does not touch (other sections, comments, blank lines,
// repeated keys) is written back as it stood; lines are always written with CR LF.
namespace velnor {

class EProfileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ProfileFile {
 public:
  // Longest value a read returns; longer values are cut.
  static constexpr std::size_t kMaxValue = 2047;
  // A settings file is a few hundred bytes; one far beyond that is no settings file.
  static constexpr std::size_t kMaxFileSize = 1 << 20;

  // A missing file, or a folder of that name, gives an empty profile. A file that cannot be
  // opened, is no regular file or is larger than kMaxFileSize throws UnreadableFile.
  static ProfileFile load(const std::filesystem::path& path);
  // Lines may end in CR LF, LF or CR (files edited by hand).
  static ProfileFile parse(std::string_view bytes);

  // Section and key names match without regard to ASCII case. Of repeated
  // sections or keys the first one counts.
  std::optional<std::string> read(std::string_view section, std::string_view key) const;
  // Replaces the value of the key's first occurrence in place, or appends the key
  // at the end of its section, or the section at the end of the file.
  // Throws std::invalid_argument for a name or value that cannot be stored as one
  // line and read back unchanged.
  void write(std::string_view section, std::string_view key, std::string_view value);

  std::string bytes() const;
  // Replaces the file safely (see replace_file), so the old file stays whole when
  // anything fails; then throws EProfileWriteError.
  void save(const std::filesystem::path& path) const;

 private:
  std::vector<std::string> lines_;
};

// An integer value: an optional sign and decimal digits, or "0x", "0X" or "$"
// followed by hexadecimal digits. Anything else, and any number outside the
// range of int, gives the fallback.
int profile_int(const std::optional<std::string>& value, int fallback);

}  // namespace velnor
