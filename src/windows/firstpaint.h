#pragma once

#include <functional>

class QWidget;

namespace velnor {

// Runs work once, just after the window's first paint has reached the screen: for what a player
// would not miss in the first frame (a sound, an icon), so that the board shows first.
void after_first_paint(QWidget* window, std::function<void()> work);

}  // namespace velnor
