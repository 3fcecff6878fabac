// A program that the end of a session finds stuck, in the middle of a save: it installs the game's
// handling of SIGTERM and SIGHUP, then, on its user-interface thread, replaces FILE with "whole\n"
// through a write that stalls for longer than the thread is given to answer, and after it never
// comes back to its event loop. It says "saving" on standard output once the write has begun. An
// answered end would write FILE.answered.
#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/terminationsignals.h"
#include "core/safefile.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return 2;
  const std::string file = argv[1];
  velnor::on_termination_signals(&app, [&] {
    QFile answered(QString::fromStdString(file + ".answered"));
    if (answered.open(QIODevice::WriteOnly)) answered.write("answered\n");
    QCoreApplication::quit();
  });
  QTimer::singleShot(0, &app, [&] {
    velnor::replace_file(file, [](std::FILE* out) {
      std::fputs("wh", out);
      std::puts("saving");
      std::fflush(stdout);
      std::this_thread::sleep_for(std::chrono::milliseconds(2400));
      return std::fputs("ole\n", out) >= 0;
    });
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  });
  return app.exec();
}
