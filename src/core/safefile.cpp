#include "safefile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "savelock.h"

namespace velnor {

namespace fs = std::filesystem;

namespace {

std::string reason(int error) { return std::system_category().message(error); }

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The new file of a save: "NAME.new" beside path.
fs::path temporary_beside(const fs::path& path) {
  fs::path temporary = path;
  temporary += ".new";
  return temporary;
}

// Creates the new file; never through a link someone left at its name.
FilePtr create_new_file(const fs::path& temporary) {
  FilePtr file(std::fopen(temporary.c_str(), "wbx"));
  if (!file && errno == EEXIST) {
    // Left by a save that was cut short. Anything but a file or a link stays in the way.
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(temporary, ec).type();
    if (type == fs::file_type::regular || type == fs::file_type::symlink) {
      fs::remove(temporary, ec);
      file.reset(std::fopen(temporary.c_str(), "wbx"));
    }
  }
  return file;
}

}  // namespace

bool file_present(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

std::FILE* open_regular_file(const fs::path& path) {
  // O_NONBLOCK keeps a pipe that stood in for the file from holding the open for ever; the
  // descriptor is checked before anything is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    throw UnreadableFile(path.string() + ": " + reason(error), error != EACCES && error != EPERM);
  }
  struct stat about {};
  if (::fstat(fd, &about) != 0 || !S_ISREG(about.st_mode)) {
    ::close(fd);
    throw UnreadableFile(path.string() + ": not a regular file", true);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    ::close(fd);
    throw UnreadableFile(path.string() + ": " + reason(ENOMEM), false);
  }
  return file;
}

std::string read_regular_file(const fs::path& path, std::size_t max_bytes) {
  FilePtr file(open_regular_file(path));
  std::string bytes;
  char chunk[16384];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    if (got > max_bytes - bytes.size()) throw UnreadableFile(path.string() + ": the file is too big", true);
    bytes.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  if (std::ferror(file.get())) throw UnreadableFile(path.string() + ": " + reason(EIO), true);
  return bytes;
}

bool read_only_file(const fs::path& path) {
  return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

fs::path save_target(const fs::path& path) {
  fs::path target = path;
  std::error_code ec;
  // As many links as the system itself follows; a loop stops there.
  for (int hops = 0; hops < 40 && fs::is_symlink(target, ec); ++hops) {
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

Replaced replace_file(const fs::path& link_or_file, const std::function<bool(std::FILE*)>& write) {
  const fs::path path = save_target(link_or_file);
  if (read_only_file(path)) return Replaced::read_only;
  const SaveUnderway underway;
  const fs::path temporary = temporary_beside(path);
  FilePtr file = create_new_file(temporary);
  if (!file) return Replaced::not_created;
  bool ok = false;
  try {
    ok = write(file.get());
  } catch (...) {
    file.reset();
    std::remove(temporary.c_str());
    throw;
  }
  ok = std::fflush(file.get()) == 0 && ok;
  // Without this a power cut right after the rename could leave an empty file.
  ok = ::fsync(::fileno(file.get())) == 0 && ok;
  ok = std::fclose(file.release()) == 0 && ok;
  std::error_code ec;
  if (ok) {
    const fs::file_status old_status = fs::status(path, ec);
    if (!ec && fs::is_regular_file(old_status)) fs::permissions(temporary, old_status.permissions(), ec);
    ec.clear();
    fs::rename(temporary, path, ec);
    ok = !ec;
  }
  if (ok) return Replaced::done;
  fs::remove(temporary, ec);
  return Replaced::not_written;
}

Replaced replace_file(const fs::path& path, std::string_view bytes) {
  return replace_file(
      path, [bytes](std::FILE* file) { return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); });
}

void remove_stale_temporaries(const fs::path& path) {
  const fs::path temporary = temporary_beside(path);
  std::error_code ec;
  if (fs::symlink_status(temporary, ec).type() == fs::file_type::regular) fs::remove(temporary, ec);
}

fs::path keep_aside(const fs::path& path, const std::tm& local_time) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local_time);
  const std::string stem = path.stem().string() + "-unreadable-" + stamp;
  const std::string extension = path.extension().string();
  for (int number = 1; number < 1000; ++number) {
    std::string name = stem;
    if (number > 1) name.append("-").append(std::to_string(number));
    const fs::path kept = path.parent_path() / (name + extension);
    // RENAME_NOREPLACE: the name is taken only if nothing has it, in one step.
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE) == 0) return kept;
    if (errno != EEXIST) throw std::runtime_error(path.string() + " could not be moved aside: " + reason(errno));
  }
  throw std::runtime_error(path.string() + " could not be moved aside: too many kept files");
}

}  // namespace velnor
