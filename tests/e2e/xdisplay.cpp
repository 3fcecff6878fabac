#include "xdisplay.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include "command.h"
#include "xwdimage.h"

namespace velnor::testing {

namespace {

constexpr int kCommandMs = 10000;
constexpr int kPollMs = 50;

}  // namespace

XDisplay::~XDisplay() {
  for (QProcess* process : {&window_manager_, &server_}) {
    if (process->state() == QProcess::NotRunning) continue;
    process->terminate();
    if (!process->waitForFinished(5000)) {
      process->kill();
      process->waitForFinished(5000);
    }
  }
}

bool XDisplay::start(QString& why) {
  // -displayfd: the server takes a free display number and writes it to standard output.
  const QByteArray out = start_and_read_line(
      server_, "Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, kCommandMs, why);
  bool number = false;
  out.trimmed().toInt(&number);
  if (!number) {
    if (why.isEmpty()) why = "Xvfb gave no display number: " + QString::fromLatin1(out);
    return false;
  }
  display_ = ":" + QString::fromLatin1(out.trimmed());
  // On a machine busy with builds openbox now and then ends at its start before it takes the
  // screen; a second start then takes it.
  if (start_window_manager(why)) return true;
  qWarning("%s; starting it once more", qPrintable(why));
  return start_window_manager(why);
}

bool XDisplay::start_window_manager(QString& why) {
  end_with_parent(window_manager_);
  window_manager_.setProcessEnvironment(environment());
  window_manager_.start("openbox", {"--sm-disable"});
  if (!window_manager_.waitForStarted(kCommandMs)) {
    why = "openbox did not start: " + window_manager_.errorString();
    return false;
  }
  // It names itself on the root window early in its start; it manages windows once it has also
  // said where the work area is, at the end of its start. A window shown before then may never
  // be mapped.
  const QDeadlineTimer deadline(kCommandMs);
  while (!run("xprop", {"-root", "_NET_WORKAREA"}, true).contains(" = ")) {
    if (deadline.hasExpired() || window_manager_.state() != QProcess::Running) {
      why = (window_manager_.state() == QProcess::Running
                 ? QString("openbox did not take the screen in time")
                 : QString("openbox ended at its start with status %1").arg(window_manager_.exitCode())) +
            ": " + QString::fromLocal8Bit(window_manager_.readAllStandardError());
      window_manager_.kill();
      window_manager_.waitForFinished(kCommandMs);
      return false;
    }
    QThread::msleep(kPollMs);
  }
  return true;
}

QProcessEnvironment XDisplay::environment() const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DISPLAY", display_);
  return environment;
}

QByteArray XDisplay::run(const QString& program, const QStringList& args, bool failure_answers) {
  const CommandResult result = run_command(program, args, environment(), kCommandMs);
  if (!failure_answers) {
    EXPECT_TRUE(result.ok) << program.toStdString() << ' ' << args.join(' ').toStdString() << ": "
                           << result.describe().toStdString();
  }
  return result.ok ? result.out : QByteArray();
}

QImage XDisplay::grab() {
  // Now and then, on a busy machine, xwd ends well with its dump cut short; the screen is read
  // again before that counts as a failure.
  constexpr int kTries = 3;
  QString why;
  QImage screen;
  for (int tried = 0; tried < kTries && screen.isNull(); ++tried)
    screen = read_xwd(run("xwd", {"-root", "-silent"}), why);
  EXPECT_FALSE(screen.isNull()) << "screenshot, " << kTries << " times: " << why.toStdString();
  return screen;
}

void XDisplay::click(QPoint at) {
  // The server takes the move and the click in order, so the click lands where the pointer went.
  // (Waiting for the move with --sync would wait for ever when the pointer is there already.)
  run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void XDisplay::keys(const QStringList& names) { run("xdotool", QStringList{"key"} + names); }

void XDisplay::type(const QString& text) { run("xdotool", {"type", "--delay", "20", text}); }

quint64 XDisplay::find_window(const QString& title) {
  const QString pattern = "^" + QRegularExpression::escape(title) + "$";
  // xdotool ends with status 1 when no window matches.
  const QByteArray found = run("xdotool", {"search", "--onlyvisible", "--name", pattern}, true);
  return found.split('\n').first().toULongLong();
}

quint64 XDisplay::wait_for_window(const QString& title, int timeout_ms) {
  const QDeadlineTimer deadline(timeout_ms);
  quint64 window = find_window(title);
  while (window == 0 && !deadline.hasExpired()) {
    QThread::msleep(kPollMs);
    window = find_window(title);
  }
  return window;
}

bool XDisplay::shown(quint64 window) {
  const QByteArray visible = run("xdotool", {"search", "--onlyvisible", "--name", "."}, true);
  return visible.split('\n').contains(QByteArray::number(window));
}

bool XDisplay::wait_for_window_gone(quint64 window, int timeout_ms) {
  const QDeadlineTimer deadline(timeout_ms);
  for (;;) {
    if (!shown(window)) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(kPollMs);
  }
}

void XDisplay::focus(quint64 window) { run("xdotool", {"windowfocus", "--sync", QString::number(window)}); }

void XDisplay::minimise(quint64 window) { run("xdotool", {"windowminimize", "--sync", QString::number(window)}); }

void XDisplay::restore(quint64 window) { run("xdotool", {"windowactivate", "--sync", QString::number(window)}); }

QRect XDisplay::geometry(quint64 window) {
  // xwininfo rather than xdotool, which counts a reparenting window manager's frame twice.
  const QByteArray said = run("xwininfo", {"-id", QString::number(window)});
  int values[4] = {0, 0, 0, 0};
  const char* names[4] = {"Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:"};
  for (const QByteArray& line : said.split('\n'))
    for (int i = 0; i < 4; ++i)
      if (line.trimmed().startsWith(names[i])) values[i] = line.trimmed().mid(qstrlen(names[i])).trimmed().toInt();
  return QRect(values[0], values[1], values[2], values[3]);
}

QRect XDisplay::frame(quint64 window) {
  // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
  const QByteArray said = run("xprop", {"-id", QString::number(window), "_NET_FRAME_EXTENTS"});
  const QList<QByteArray> numbers = said.mid(said.indexOf('=') + 1).split(',');
  int extents[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4 && i < numbers.size(); ++i) extents[i] = numbers[i].trimmed().toInt();
  return geometry(window).adjusted(-extents[0], -extents[2], extents[1], extents[3]);
}

QString XDisplay::title(quint64 window) {
  // _NET_WM_NAME(UTF8_STRING) = "the title"
  const QByteArray said = run("xprop", {"-id", QString::number(window), "_NET_WM_NAME"});
  const int first = said.indexOf('"');
  return QString::fromUtf8(said.mid(first + 1, said.lastIndexOf('"') - first - 1));
}

quint64 XDisplay::active_window() { return run("xdotool", {"getactivewindow"}, true).trimmed().toULongLong(); }

}  // namespace velnor::testing
