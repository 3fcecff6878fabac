#pragma once

#include <functional>

// How window-free units reach the user-interface thread, which they know nothing of: the windows
// hand them these two functions.
namespace velnor {

// Runs a task on the user-interface thread, later, in the order posted; safe from any thread.
using PostToUi = std::function<void(std::function<void()>)>;
// Handles the user-interface events that are already waiting, then returns.
using PumpEvents = std::function<void()>;

}  // namespace velnor
