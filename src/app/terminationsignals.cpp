#include "terminationsignals.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velnor {

namespace {

int signal_pipe[2] = {-1, -1};

// Only async-signal-safe work here: the user-interface thread does the rest.
void on_signal(int number) {
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const auto written = ::write(signal_pipe[1], &byte, 1);
}

}  // namespace

void close_on_termination_signals(QWidget* main_window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, main_window);
  QObject::connect(notifier, &QSocketNotifier::activated, main_window, [main_window] {
    char bytes[16];
    while (::read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    main_window->close();
  });
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace velnor
