#include "command.h"

#include <QDeadlineTimer>

#include <signal.h>
#include <sys/prctl.h>

namespace velnor::testing {

void end_with_parent(QProcess& process) {
  process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

namespace {

constexpr int kPollMs = 50;

}  // namespace

QByteArray start_and_read_line(QProcess& process, const QString& program, const QStringList& args, int timeout_ms,
                               QString& why) {
  end_with_parent(process);
  process.start(program, args);
  if (!process.waitForStarted(timeout_ms)) {
    why = program + " did not start: " + process.errorString();
    return {};
  }
  QByteArray out;
  const QDeadlineTimer deadline(timeout_ms);
  while (!out.contains('\n') && !deadline.hasExpired() && process.state() == QProcess::Running) {
    process.waitForReadyRead(kPollMs);
    out += process.readAllStandardOutput();
  }
  if (!out.contains('\n')) {
    why = program + " said nothing: " + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
  }
  return out.left(out.indexOf('\n'));
}

QString CommandResult::describe() const {
  return QString("status %1: %2").arg(status).arg(QString::fromLocal8Bit(err).trimmed());
}

CommandResult run_command(const QString& program, const QStringList& args, const QProcessEnvironment& environment,
                          int timeout_ms, const QString& folder) {
  QProcess process;
  end_with_parent(process);
  process.setProcessEnvironment(environment);
  if (!folder.isEmpty()) process.setWorkingDirectory(folder);
  process.start(program, args);
  CommandResult result;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished();
    result.err = (program + " did not end: " + process.errorString()).toLocal8Bit();
    return result;
  }
  result.out = process.readAllStandardOutput();
  result.err = process.readAllStandardError();
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.ok = result.status == 0;
  return result;
}

}  // namespace velnor::testing
