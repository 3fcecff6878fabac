#include "recordfolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string_view>

#include "core/wire.h"

namespace velnor {

namespace fs = std::filesystem;

namespace {

// The user's home: $HOME, or the password database's entry when it is unset.
fs::path home_folder(const Environment& environment) {
  if (const char* home = environment("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
  return "/";
}

fs::path base_folder(const Environment& environment, const char* variable, const fs::path& fallback) {
  const char* value = environment(variable);
  if (value != nullptr && *value == '/') return value;
  return home_folder(environment) / fallback;
}

}  // namespace

bool is_system_folder(const fs::path& folder) {
  static constexpr std::array<std::string_view, 7> kSystem = {"usr", "bin", "sbin", "lib", "lib32", "lib64", "libx32"};
  auto part = folder.begin();
  if (part == folder.end() || *part != "/" || ++part == folder.end()) return false;
  for (const std::string_view name : kSystem) {
    if (part->native() == name) return true;
  }
  return false;
}

RecordFolders record_folders(const fs::path& program_dir, const Environment& environment) {
  std::error_code ec;
  fs::path folder = fs::canonical(program_dir, ec);
  if (ec) folder = program_dir;
  // A folder the player owns and may write: another user who may write there too (a shared
  // folder) keeps records of their own, so that nobody's games mix with another's.
  struct stat about {};
  if (::stat(folder.c_str(), &about) == 0 && about.st_uid == ::geteuid() && ::access(folder.c_str(), W_OK) == 0 &&
      !is_system_folder(folder)) {
    return {folder, folder, true};
  }
  const fs::path product(wire::kProductKey);
  return {base_folder(environment, "XDG_CONFIG_HOME", ".config") / product,
          base_folder(environment, "XDG_DATA_HOME", fs::path(".local") / "share") / product, false};
}

bool make_record_folder(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  if (folder.has_parent_path() && folder.parent_path() != folder && !make_record_folder(folder.parent_path())) {
    return false;
  }
  return ::mkdir(folder.c_str(), 0700) == 0 || (errno == EEXIST && fs::is_directory(folder, ec));
}

}  // namespace velnor
