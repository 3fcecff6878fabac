#include "pagecache.h"

PageCache::Page PageCache::get(const std::function<std::string()>& render)
{
  uint64_t generation;
  {
    std::lock_guard lock(mutex_);
    if (page_) return page_;
    generation = generation_;
  }
  // Rendered outside the lock so that a slow read does not hold up the postings' invalidations.
  auto page = std::make_shared<const std::string>(render());
  std::lock_guard lock(mutex_);
  if (generation == generation_ && !page_) page_ = page;
  return page;
}

void PageCache::invalidate()
{
  std::lock_guard lock(mutex_);
  ++generation_;
  page_.reset();
}
