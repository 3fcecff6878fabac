#pragma once

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <functional>
#include <optional>

namespace velnor::testing {

// One object of a program's windows as a screen reader reads it.
struct Accessible {
  QString role;  // as AT-SPI names it: "push button", "label", "text"
  QString name;
  QString description;
  QStringList states;  // "showing", "focused", "pressed", "sensitive", ...
  QStringList actions;
  int depth = 0;  // how far down the program's windows it lies: 1 for a window
  // For a table: its rows and columns, and how many of each have a header a screen reader reads.
  struct Table {
    int rows = 0;
    int columns = 0;
    int row_headers = 0;
    int column_headers = 0;
  };
  std::optional<Table> table;

  bool is(const QString& state) const { return states.contains(state); }
};

// A program's windows as a screen reader reads them, from the top.
using AccessibleTree = QList<Accessible>;

// The showing object of that role and name; nullopt when none shows.
std::optional<Accessible> find_showing(const AccessibleTree& tree, const QString& role, const QString& name);

// A screen reader on a private session bus (the accessibility bus starts on it when first asked
// for): what AT-SPI shows of a program, read and pressed through tests/e2e/screenreader.py.
class ScreenReader {
 public:
  ScreenReader() = default;
  ScreenReader(const ScreenReader&) = delete;
  ScreenReader& operator=(const ScreenReader&) = delete;
  ~ScreenReader();

  // Starts the session bus in the environment given (the display and the runtime folder, which
  // the accessibility bus takes from it). False, with the reason, on failure.
  bool start(const QProcessEnvironment& environment, QString& why);
  // What a program needs to be read: the session bus, and Qt's bridge on without a desktop's switch.
  void add_to(QProcessEnvironment& environment) const;

  // The program of that process, as read now; a failure (and an empty tree) when it cannot be read.
  AccessibleTree tree(pid_t program);
  // Presses the showing object of that name through its Press action, as a screen reader's user
  // does; a failure when there is none.
  void press(pid_t program, const QString& name);
  // Reads the program until check passes, for at most timeout_ms; the last reading stays in
  // last. A failure, naming what, when it never passes.
  bool wait_for(pid_t program, int timeout_ms, const std::function<bool(const AccessibleTree&)>& check,
                const char* what);

  // From now on, hears every change of an object's name that the program tells, as a screen
  // reader does (what it speaks of a live status); a failure when it cannot.
  void listen(pid_t program);
  // What has been heard since, each as "role 'name'".
  QStringList heard();

  AccessibleTree last;

 private:
  QProcess listener_;
  QStringList heard_;
  QProcess bus_;
  QString address_;
  QProcessEnvironment environment_;
};

}  // namespace velnor::testing
