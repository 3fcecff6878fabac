#include "unreadablefile.h"

#include <QCoreApplication>

#include "core/bytetext.h"
#include "core/safefile.h"

namespace velnor {

UnreadableOutcome set_aside_unreadable(const std::filesystem::path& path, const std::exception& failure,
                                       const char* what, const char* afresh, const char* kept_back,
                                       const std::tm& local_time) {
  const auto translated = [](const char* text) {
    return QCoreApplication::translate("UnreadableFile", text).toStdString();
  };
  // A player's files may lie in a hidden folder: the message names it, so that they can be found.
  const std::string folder = path.parent_path().string();
  const std::string name = path.filename().string();
  const auto* unreadable = dynamic_cast<const UnreadableFile*>(&failure);
  const std::string reason = failure.what();
  if (unreadable != nullptr && !unreadable->damaged()) {
    return {false,
            text::fill_in(translated(QT_TRANSLATE_NOOP("UnreadableFile",
                                                       "%1 could not be opened, so %2 in the folder "
                                                       "%3 was left as it is and %4.")),
                          {translated(what), name, folder, translated(kept_back)}),
            reason};
  }
  try {
    const std::filesystem::path kept = keep_aside(path, local_time);
    return {true,
            text::fill_in(translated(QT_TRANSLATE_NOOP("UnreadableFile",
                                                       "%1 could not be read, so the file was kept "
                                                       "as %2 in the folder %3 and %4.")),
                          {translated(what), kept.filename().string(), folder, translated(afresh)}),
            reason};
  } catch (const std::exception& moving) {
    return {false,
            text::fill_in(translated(QT_TRANSLATE_NOOP("UnreadableFile",
                                                       "%1 could not be read nor kept aside, so %2 "
                                                       "in the folder %3 was left as it is and %4.")),
                          {translated(what), name, folder, translated(kept_back)}),
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
