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
  if (server_.state() == QProcess::NotRunning) return;
  server_.terminate();
  if (!server_.waitForFinished(5000)) {
    server_.kill();
    server_.waitForFinished(5000);
  }
}

bool XDisplay::start(QString& why) {
  end_with_parent(server_);
  // -displayfd: the server takes a free display number and writes it to standard output.
  server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
  if (!server_.waitForStarted(kCommandMs)) {
    why = "Xvfb did not start: " + server_.errorString();
    return false;
  }
  QByteArray out;
  const QDeadlineTimer deadline(kCommandMs);
  while (!out.contains('\n') && !deadline.hasExpired() && server_.state() == QProcess::Running) {
    server_.waitForReadyRead(kPollMs);
    out += server_.readAllStandardOutput();
  }
  bool number = false;
  out.trimmed().toInt(&number);
  if (!number) {
    why = "Xvfb gave no display number: " + QString::fromLocal8Bit(server_.readAllStandardError());
    return false;
  }
  display_ = ":" + QString::fromLatin1(out.trimmed());
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
  QString why;
  QImage screen = read_xwd(run("xwd", {"-root", "-silent"}), why);
  EXPECT_FALSE(screen.isNull()) << "screenshot: " << why.toStdString();
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

bool XDisplay::wait_for_window_gone(quint64 window, int timeout_ms) {
  const QDeadlineTimer deadline(timeout_ms);
  for (;;) {
    const QByteArray shown = run("xdotool", {"search", "--onlyvisible", "--name", "."}, true);
    if (!shown.split('\n').contains(QByteArray::number(window))) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(kPollMs);
  }
}

void XDisplay::focus(quint64 window) { run("xdotool", {"windowfocus", "--sync", QString::number(window)}); }

QRect XDisplay::geometry(quint64 window) {
  const QByteArray shell = run("xdotool", {"getwindowgeometry", "--shell", QString::number(window)});
  int values[4] = {0, 0, 0, 0};
  const char* names[4] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
  for (const QByteArray& line : shell.split('\n'))
    for (int i = 0; i < 4; ++i)
      if (line.startsWith(names[i])) values[i] = line.mid(qstrlen(names[i])).toInt();
  return QRect(values[0], values[1], values[2], values[3]);
}

}  // namespace velnor::testing
