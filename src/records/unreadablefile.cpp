#include "unreadablefile.h"

#include "core/safefile.h"

namespace velnor {

UnreadableOutcome set_aside_unreadable(const std::filesystem::path& path, const std::exception& failure,
                                       std::string_view what, std::string_view afresh, std::string_view kept_back,
                                       const std::tm& local_time) {
  // A player's files may lie in a hidden folder: the message names it, so that they can be found.
  const std::string folder = " in the folder " + path.parent_path().string();
  const std::string name = path.filename().string();
  const auto* unreadable = dynamic_cast<const UnreadableFile*>(&failure);
  const std::string reason = failure.what();
  if (unreadable != nullptr && !unreadable->damaged()) {
    return {false,
            std::string(what) + " could not be opened, so " + name + folder + " was left as it is and " +
                std::string(kept_back) + ".",
            reason};
  }
  try {
    const std::filesystem::path kept = keep_aside(path, local_time);
    return {true,
            std::string(what) + " could not be read, so the file was kept as " + kept.filename().string() + folder +
                " and " + std::string(afresh) + ".",
            reason};
  } catch (const std::exception& moving) {
    return {false,
            std::string(what) + " could not be read nor kept aside, so " + name + folder + " was left as it is and " +
                std::string(kept_back) + ".",
            reason + "\nKeeping it aside: " + moving.what()};
  }
}

std::tm local_time_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace velnor
