#pragma once

#include <functional>

class QObject;
class QWidget;

namespace velnor {

// SIGTERM and SIGHUP (what a desktop session sends at logout, and a closed
// terminal) run end_session on the user-interface thread, while context lives:
// it saves and ends the program as File › Exit does, without asking anyone.
// Should that thread not have ended the program 2 seconds after the signal (it
// is stuck on something), the program ends all the same, in under 3 seconds:
// a save under way is finished first, and only this run's settings are lost.
void on_termination_signals(QObject* context, std::function<void()> end_session);

// A closed main window is an ended program: should the program still run 2 seconds after the
// window closed (its settings saved then), it is ended with status 1, a save under way finished
// first. Needs on_termination_signals, whose watchdog does it.
void end_when_closed(QWidget* main_window);

}  // namespace velnor
