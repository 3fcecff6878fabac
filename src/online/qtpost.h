#pragma once

#include "core/uithread.h"

// How window-free units reach the Qt user-interface thread.
namespace velnor {

// Queues a task to run on the thread of the application object, in the order
// posted. Safe to call from any thread while the application object exists.
PostToUi qt_ui_poster();

}  // namespace velnor
