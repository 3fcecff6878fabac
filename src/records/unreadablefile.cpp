#include "unreadablefile.h"

#include "core/safefile.h"

namespace velnor {

UnreadableOutcome set_aside_unreadable(const std::filesystem::path& path, const std::exception& failure,
                                       std::string_view what, std::string_view afresh, std::string_view kept_back,
                                       const std::tm& local_time) {
  const std::string name = path.filename().string();
  const auto* unreadable = dynamic_cast<const UnreadableFile*>(&failure);
  if (unreadable != nullptr && !unreadable->damaged()) {
    return {false, "The " + std::string(what) + " " + name + " could not be opened (" + failure.what() +
                       "). It is left as it is, and " + std::string(kept_back) + "."};
  }
  try {
    const std::filesystem::path kept = keep_aside(path, local_time);
    return {true, "The " + std::string(what) + " could not be read (" + failure.what() + "). It was kept as " +
                      kept.filename().string() + ", and " + std::string(afresh) + "."};
  } catch (const std::exception& moving) {
    return {false, "The " + std::string(what) + " " + name + " could not be read (" + failure.what() +
                       "), nor kept aside (" + moving.what() + "). It is left as it is, and " + std::string(kept_back) +
                       "."};
  }
}

std::tm local_time_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace velnor
