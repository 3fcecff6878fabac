#pragma once

#include "online/thttpget.h"

// How window-free units reach the Qt user-interface thread.
namespace velnor {

// Queues a task to run on the thread of the application object, in the order
// posted. Safe to call from any thread while the application object exists.
THTTPGet::PostToUi qt_ui_poster();

// Handles the events already waiting on the calling (user-interface) thread.
THTTPGet::PumpEvents qt_event_pump();

}  // namespace velnor
