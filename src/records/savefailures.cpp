#include "savefailures.h"

#include <QCoreApplication>

#include <cstdio>

#include "core/bytetext.h"
#include "core/safefile.h"
#include "windows/dialogs.h"

namespace velnor {

std::string SaveFailures::message(const char* what, const std::filesystem::path& file, std::string_view detail) {
  const std::filesystem::path target = save_target(file);
  const char* sentence =
      !file_present(target)    ? QT_TRANSLATE_NOOP("SaveFailures",
                                                   "%1 could not be saved in the folder %2, so it is kept only until the "
                                                      "game ends (%4).")
      : read_only_file(target) ? QT_TRANSLATE_NOOP("SaveFailures",
                                                   "%1 could not be saved in the folder %2, so %3 there keeps what it "
                                                   "held before: the file is read-only (%4).")
                               : QT_TRANSLATE_NOOP("SaveFailures",
                                                   "%1 could not be saved in the folder %2, so %3 there keeps what it "
                                                   "held before (%4).");
  return text::fill_in(QCoreApplication::translate("SaveFailures", sentence).toStdString(),
                       {QCoreApplication::translate("SaveFailures", what).toStdString(), target.parent_path().string(),
                        target.filename().string(), detail});
}

void SaveFailures::report(QWidget* owner, const char* what, const std::filesystem::path& file,
                          std::string_view detail) {
  const std::string text = message(what, file, detail);
  if (ending_) {
    std::fprintf(stderr, "velnorsolo: %s\n", text.c_str());
    return;
  }
  if (!told_.insert(file).second) return;
  dialogs_.error(owner, QString::fromStdString(text));
}

}  // namespace velnor
