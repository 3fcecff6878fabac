#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velnor::testing {

// Makes a started program die with the test, whatever ends the test.
void end_with_parent(QProcess& process);

struct CommandResult {
  bool ok = false;  // ended by itself within the time, with status 0
  int status = -1;
  QByteArray out;
  QByteArray err;
  QString describe() const;  // status and standard error, for a failure message
};

// Starts a server that says on its first line of standard output that it is ready (a display
// number, a bus address), dying with the test, and returns that line; an empty one, with the
// reason, when it did not start or said nothing within timeout_ms.
QByteArray start_and_read_line(QProcess& process, const QString& program, const QStringList& args, int timeout_ms,
                               QString& why);

// Runs a program to its end, or kills it after timeout_ms.
CommandResult run_command(const QString& program, const QStringList& args,
                          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                          int timeout_ms = 10000, const QString& folder = {});

}  // namespace velnor::testing
