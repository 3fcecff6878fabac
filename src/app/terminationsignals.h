#pragma once

#include <functional>

class QObject;

namespace velnor {

// SIGTERM and SIGHUP (what a desktop session sends at logout, and a closed
// terminal) run end_session on the user-interface thread, while context lives:
// it saves and ends the program as File › Exit does, without asking anyone.
void on_termination_signals(QObject* context, std::function<void()> end_session);

}  // namespace velnor
