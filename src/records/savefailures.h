#pragma once

#include <QString>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

class QWidget;

namespace velnor {

class Dialogs;

// Tells of a save of the player's files that failed. While the game runs the player hears of each
// file once, in a box; once the session is ending (a logout) nobody is there to close a box, so it
// goes to standard error, which the session's journal keeps.
class SaveFailures {
 public:
  explicit SaveFailures(Dialogs& dialogs) : dialogs_(dialogs) {}

  // what names the file for the player ("Your tally", marked for translation in the SaveFailures
  // context); detail is the failure's own text.
  void report(QWidget* owner, const char* what, const std::filesystem::path& file, std::string_view detail);
  void session_ending() { ending_ = true; }

  // The plain words for it: which folder, and that the file there keeps what it held.
  static std::string message(const char* what, const std::filesystem::path& file, std::string_view detail);

 private:
  Dialogs& dialogs_;
  std::set<std::filesystem::path> told_;
  bool ending_ = false;
};

}  // namespace velnor
