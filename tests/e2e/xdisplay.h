#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

namespace velnor::testing {

// A private X server (Xvfb) with a window manager (openbox), as a player's desktop has one, and
// a player's hands and eyes on it: input through xdotool, screenshots through xwd.
class XDisplay {
 public:
  XDisplay() = default;
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;
  ~XDisplay();

  // Starts the server on a display number that it picks itself, and the window manager on it.
  // False, with the reason, on failure.
  bool start(QString& why);
  // The caller's environment with this display in DISPLAY.
  QProcessEnvironment environment() const;

  // The whole screen; a null image (and a test failure) when it cannot be read.
  QImage grab();
  void click(QPoint at);
  // Key names as xdotool knows them ("ctrl+a", "Return").
  void keys(const QStringList& names);
  void type(const QString& text);
  // A visible window whose title is exactly title, or 0 when there is none.
  quint64 find_window(const QString& title);
  // The same, waiting up to timeout_ms for it to show.
  quint64 wait_for_window(const QString& title, int timeout_ms);
  // Whether the window is on the screen now (mapped, with a title).
  bool shown(quint64 window);
  // True once the window is no longer shown, within the time.
  bool wait_for_window_gone(quint64 window, int timeout_ms);
  // The window's inside, and its outer frame with the title bar the window manager put round it.
  QRect geometry(quint64 window);
  QRect frame(quint64 window);
  // The title the window manager shows.
  QString title(quint64 window);
  // The window that has the keyboard, as the window manager says.
  quint64 active_window();
  // Gives the window the keyboard, as a window manager does when the window is clicked.
  void focus(quint64 window);
  // Minimises the window, and brings it back as a task bar does (the window manager's activation).
  void minimise(quint64 window);
  void restore(quint64 window);

 private:
  // A program's output; a failure fails the test unless failure is an answer.
  QByteArray run(const QString& program, const QStringList& args, bool failure_answers = false);

  bool start_window_manager(QString& why);

  QProcess server_;
  QProcess window_manager_;
  QString display_;
};

}  // namespace velnor::testing
