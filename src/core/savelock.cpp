#include "savelock.h"

#include <mutex>

namespace velnor {

namespace {

// Never destroyed: a forced end that comes while the program is already ending normally, its
// statics half gone, still finds the lock whole.
std::timed_mutex& save_lock() {
  static auto* const lock = new std::timed_mutex;
  return *lock;
}

}  // namespace

SaveUnderway::SaveUnderway() { save_lock().lock(); }

SaveUnderway::~SaveUnderway() { save_lock().unlock(); }

bool stop_saving(std::chrono::milliseconds bound) { return save_lock().try_lock_for(bound); }

}  // namespace velnor
