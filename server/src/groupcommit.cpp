#include "groupcommit.h"

void GroupCommit::add(const Posting& posting, std::string_view client_address, int64_t received_unix_time) {
  std::unique_lock lock(mutex_);
  if (!open_batch_) open_batch_ = std::make_shared<Batch>();
  const std::shared_ptr<Batch> batch = open_batch_;
  batch->rows.push_back({&posting, client_address, received_unix_time});
  // Whoever finds no write in progress writes the open batch with every row that has joined it;
  // the others wait for their batch. The rows point into the waiting callers, who outlive the write.
  while (!batch->done) {
    if (writing_) {
      written_.wait(lock);
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
    written_.notify_all();
  }
  if (batch->error) std::rethrow_exception(batch->error);
}
