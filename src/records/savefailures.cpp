#include "savefailures.h"

#include <cstdio>

#include "core/safefile.h"
#include "windows/dialogs.h"

namespace velnor {

std::string SaveFailures::message(std::string_view what, const std::filesystem::path& file, std::string_view detail) {
  const std::filesystem::path target = save_target(file);
  std::string text = "Your " + std::string(what) + " could not be saved in the folder " + target.parent_path().string();
  if (!file_present(target)) {
    text += ", so it is kept only until the game ends";
  } else {
    text += ", so " + target.filename().string() + " there keeps what it held before";
    if (read_only_file(target)) text += ": the file is read-only";
  }
  return text + " (" + std::string(detail) + ").";
}

void SaveFailures::report(QWidget* owner, std::string_view what, const std::filesystem::path& file,
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
