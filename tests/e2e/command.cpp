#include "command.h"

#include <signal.h>
#include <sys/prctl.h>

namespace velnor::testing {

void end_with_parent(QProcess& process) {
  process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
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
