#include "unreadablefile.h"

#include "core/safefile.h"

namespace velnor {

UnreadableOutcome set_aside_unreadable(const std::filesystem::path& path, const std::exception& failure,
                                       std::string_view what, std::string_view afresh, std::string_view kept_back,
                                       const std::tm& local_time) {
  const std::string name = path.filename().string();
  const auto* unreadable = dynamic_cast<const UnreadableFile*>(&failure);
  const std::string reason = failure.what();
  if (unreadable != nullptr && !unreadable->damaged()) {
    return {false,
            std::string(what) + " could not be opened, so " + name + " was left as it is and " +
                std::string(kept_back) + ".",
            reason};
  }
  try {
    const std::filesystem::path kept = keep_aside(path, local_time);
    return {true,
            std::string(what) + " could not be read, so the file was kept as " + kept.filename().string() + " and " +
                std::string(afresh) + ".",
            reason};
  } catch (const std::exception& moving) {
    return {false,
            std::string(what) + " could not be read nor kept aside, so " + name + " was left as it is and " +
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
