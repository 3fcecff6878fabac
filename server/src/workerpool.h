#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A fixed set of threads serving connections in arrival order. It tells how many connections are
// waiting for a thread, so that a connection idling in keep-alive can make way for them.
class WorkerPool : public httplib::TaskQueue {
 public:
  explicit WorkerPool(size_t threads);
  ~WorkerPool() override;

  void enqueue(std::function<void()> job) override;
  // Runs the jobs already queued, then ends the threads.
  void shutdown() override;

  size_t waiting() const;

 private:
  void work();

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};
