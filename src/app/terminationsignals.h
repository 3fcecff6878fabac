#pragma once

class QWidget;

namespace velnor {

// SIGTERM and SIGHUP (what a desktop session sends at logout, and a closed
// terminal) close the main window as File › Exit does, so that the settings and
// the tally are saved.
void close_on_termination_signals(QWidget* main_window);

}  // namespace velnor
