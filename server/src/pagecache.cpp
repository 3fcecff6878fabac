#include "pagecache.h"

PageCache::Page PageCache::get(const std::function<std::string()>& render) {
  std::unique_lock lock(mutex_);
  // One render at a time: requests that find one under way wait for its page rather than each
  // asking the store for the same rows.
  rendered_.wait(lock, [this] { return page_ || !rendering_; });
  if (page_) return page_;
  rendering_ = true;
  const uint64_t generation = generation_;
  lock.unlock();
  Page page;
  try {
    // Rendered outside the lock so that a slow read does not hold up the postings' invalidations.
    page = std::make_shared<const std::string>(render());
  } catch (...) {
    lock.lock();
    rendering_ = false;
    rendered_.notify_all();
    throw;
  }
  lock.lock();
  rendering_ = false;
  if (generation == generation_) page_ = page;
  rendered_.notify_all();
  return page;
}

void PageCache::invalidate() {
  std::lock_guard lock(mutex_);
  ++generation_;
  page_.reset();
}
