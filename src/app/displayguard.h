#pragma once

#include <QtGlobal>

namespace velnor {

// Held while the application object connects to its display. A display that cannot be opened
// (gone, or refusing us) ends the program with one line on standard error and status 1, where Qt
// would print a page of advice and abort. Qt's platform messages of the connection are held back
// meanwhile, and passed on once it has worked.
class DisplayGuard {
 public:
  DisplayGuard();
  ~DisplayGuard();
  DisplayGuard(const DisplayGuard&) = delete;
  DisplayGuard& operator=(const DisplayGuard&) = delete;
};

}  // namespace velnor
