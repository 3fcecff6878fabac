#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace velnor {

// Texts in our files are bytes. Files of the first edition hold Windows-1252,
// ours hold UTF-8: show each byte run as UTF-8 where it is valid UTF-8 and as
// Windows-1252 elsewhere.
QString file_text_to_display(std::string_view bytes);

// A text read from a file, kept as its bytes so that it is written back
// unchanged unless the player edits it.
class FileText {
 public:
  FileText() = default;
  // Shown in a box that holds at most max_shown characters: the box shows the
  // start of a longer text, and that start still stands for all of its bytes.
  explicit FileText(std::string bytes, int max_shown = -1)
      : bytes_(std::move(bytes)), shown_(file_text_to_display(bytes_)) {
    if (max_shown >= 0) shown_.truncate(max_shown);
  }
  const QString& shown() const { return shown_; }
  // The bytes to store for what is shown now: the original bytes while the text
  // is unchanged, UTF-8 for anything the player typed.
  std::string bytes_for(const QString& now) const { return now == shown_ ? bytes_ : now.toUtf8().toStdString(); }

 private:
  std::string bytes_;
  QString shown_;
};

}  // namespace velnor
