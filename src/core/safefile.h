#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

// The player's files beside the program, read and replaced without ever losing what they held.
namespace velnor {

// A file that is there but cannot be used. damaged(): its bytes (or what stands at the name) make
// no sense to us, so it may be kept aside and replaced; otherwise it could not be opened at all
// (no permission, say), and must be left as it is.
class UnreadableFile : public std::runtime_error {
 public:
  UnreadableFile(const std::string& what, bool damaged) : std::runtime_error(what), damaged_(damaged) {}
  bool damaged() const noexcept { return damaged_; }

 private:
  bool damaged_;
};

// Whether anything stands at path (a dangling link counts as something).
bool file_present(const std::filesystem::path& path);

// Opens a regular file for reading. Anything else at that name (a folder, a pipe, a device) is
// refused without being opened, as a damaged file, since opening a pipe would wait for ever.
// Throws UnreadableFile.
std::FILE* open_regular_file(const std::filesystem::path& path);

// All bytes of a regular file of at most max_bytes; a bigger one is damaged. Throws UnreadableFile.
std::string read_regular_file(const std::filesystem::path& path, std::size_t max_bytes);

enum class Replaced { done, not_created, not_written, read_only };

// Writes a new file "NAME.new" beside path through write, puts it on the disk and renames it over
// path, so that path holds either its old bytes or all of the new ones. The new file takes the old
// one's permissions. A link at path is written through: its target is replaced and the link stays.
// A file the player may not write is left alone (read_only), as a rename could replace it all the
// same. On failure (write returning false included) the new file is gone and path is untouched.
Replaced replace_file(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& write);
Replaced replace_file(const std::filesystem::path& path, std::string_view bytes);

// A file that is there and that this user may not write.
bool read_only_file(const std::filesystem::path& path);

// Where a save of path writes: the file that path's links lead to, or path itself.
std::filesystem::path save_target(const std::filesystem::path& path);

// Removes the new files that a save cut short (by a kill or a power cut) left beside path.
void remove_stale_temporaries(const std::filesystem::path& path);

// Renames the file at path to a name beside it that says it could not be read and when:
// "NAME-unreadable-YYYY-MM-DD-HHMMSS.EXT", with "-2", "-3", ... before the extension should that
// name be taken; an earlier kept file is never written over. Returns the new path; throws
// std::runtime_error when the file cannot be moved.
std::filesystem::path keep_aside(const std::filesystem::path& path, const std::tm& local_time);

}  // namespace velnor
