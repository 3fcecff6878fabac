#pragma once

#include <chrono>

namespace velnor {

// A program ended by force never cuts a save short: each replacement of a player's file holds this
// lock from its first byte to its rename, and the forced end takes it first.
class SaveUnderway {
 public:
  SaveUnderway();
  ~SaveUnderway();
  SaveUnderway(const SaveUnderway&) = delete;
  SaveUnderway& operator=(const SaveUnderway&) = delete;
};

// Waits up to bound for the save under way, if any, to finish, and from then on lets no save begin:
// the files stay as they are until the process ends. False when the bound ran out first.
bool stop_saving(std::chrono::milliseconds bound);

}  // namespace velnor
