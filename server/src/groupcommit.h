#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Writes that arrive while another is being committed are committed together, so that they share
// one transaction and one sync to disk; each caller returns once its own row is committed (or with
// the error that stopped its batch). A row may point into its caller, who outlives the write.
template <typename Row>
class GroupCommit {
 public:
  using Writer = std::function<void(const std::vector<Row>&)>;

  explicit GroupCommit(Writer writer) : writer_(std::move(writer)) {}

  void add(Row row) {
    std::unique_lock lock(mutex_);
    if (!open_batch_) open_batch_ = std::make_shared<Batch>();
    const std::shared_ptr<Batch> batch = open_batch_;
    batch->rows.push_back(std::move(row));
    // Whoever finds no write in progress writes the open batch with every row that has joined it;
    // the others wait for their batch. Each batch wakes only its own callers, and one caller of the
    // batch that filled meanwhile to write it: a crowd of callers is not woken for every write.
    while (!batch->done) {
      if (writing_) {
        batch->written.wait(lock);
        continue;
      }
      writing_ = true;
      open_batch_.reset();
      lock.unlock();
      try {
        writer_(batch->rows);
      } catch (...) {
        batch->error = std::current_exception();
      }
      lock.lock();
      batch->done = true;
      writing_ = false;
      batch->written.notify_all();
      if (open_batch_) open_batch_->written.notify_one();
    }
    if (batch->error) std::rethrow_exception(batch->error);
  }

 private:
  struct Batch {
    std::vector<Row> rows;
    bool done = false;
    std::exception_ptr error;
    std::condition_variable written;
  };

  Writer writer_;
  std::mutex mutex_;
  std::shared_ptr<Batch> open_batch_;
  bool writing_ = false;
};
