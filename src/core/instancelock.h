#pragma once

#include <string>

namespace velnor {

// A lock file named after the product key in the user's runtime folder, held
// for the life of the process (other installations can see the game is running).
class InstanceLock {
 public:
  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace velnor
