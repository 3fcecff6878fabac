#include "terminationsignals.h"

#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/savelock.h"

namespace velnor {

namespace {

// How long the user-interface thread has to save and end once a signal came, and how much longer
// a save under way then has to finish: together within the 3 seconds a session may wait.
constexpr std::timespec kAnswerTime{2, 0};
constexpr std::chrono::milliseconds kSaveTime{700};

int signal_pipe[2] = {-1, -1};
int watchdog_pipe[2] = {-1, -1};

// What the watchdog is told: a signal's number, or this for the main window's close.
constexpr char kWindowClosed = 0;

void tell_watchdog(char cause) { [[maybe_unused]] const auto told = ::write(watchdog_pipe[1], &cause, 1); }

// Only async-signal-safe work here: the user-interface thread and the watchdog do the rest.
void on_signal(int number) {
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const auto told_window = ::write(signal_pipe[1], &byte, 1);
  tell_watchdog(byte);
}

void say(const char* text, std::size_t size) {
  [[maybe_unused]] const auto written = ::write(STDERR_FILENO, text, size);
}

// Sleeps until the program should end, by a signal or a closed window, and that end's time has
// passed; a program still running then is held up by something that will not let go, and is
// ended here.
void watch_for_an_end_that_does_not_come() {
  char cause = 0;
  while (::read(watchdog_pipe[0], &cause, 1) != 1) {
    if (errno != EINTR) return;
  }
  // The monotonic clock, which runs on whatever is done to the time of day.
  while (::clock_nanosleep(CLOCK_MONOTONIC, 0, &kAnswerTime, nullptr) == EINTR) {
  }
  stop_saving(kSaveTime);
  if (cause == kWindowClosed) {
    static constexpr char kSaid[] = "velnorsolo: the game did not end when its window closed: ended by force\n";
    say(kSaid, sizeof kSaid - 1);
    ::_exit(1);
  }
  static constexpr char kSaid[] = "velnorsolo: the window did not answer in time: ended without saving the settings\n";
  say(kSaid, sizeof kSaid - 1);
  ::_exit(128 + cause);
}

// Tells the watchdog when the window it watches has closed: closing the main window always ends
// the program. The close is done when the window hides after it, not when it is asked: a box that
// a failed save shows from the close may be read for as long as the player likes.
class CloseWatch : public QObject {
 public:
  explicit CloseWatch(QWidget* window) : QObject(window) { window->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != parent()) return false;
    if (event->type() == QEvent::Close) {
      closing_ = true;
    } else if (event->type() == QEvent::Hide && closing_ && !event->spontaneous()) {
      tell_watchdog(kWindowClosed);
    }
    return false;
  }

 private:
  bool closing_ = false;  // a close was asked; a minimised window hides without one
};

}  // namespace

void on_termination_signals(QObject* context, std::function<void()> end_session) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [end_session = std::move(end_session)] {
    char bytes[16];
    while (::read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    end_session();
  });
  // Without a watchdog a stuck window still ends normally once it answers.
  if (::pipe2(watchdog_pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    // Only the signal's side may not block; the watchdog sleeps on its own.
    ::fcntl(watchdog_pipe[0], F_SETFL, 0);
    try {
      std::thread(watch_for_an_end_that_does_not_come).detach();
    } catch (const std::system_error&) {
    }
  }
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void end_when_closed(QWidget* main_window) { new CloseWatch(main_window); }

}  // namespace velnor
