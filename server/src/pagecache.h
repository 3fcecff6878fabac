#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

// The rendered high-score page, kept until the next successful posting.
class PageCache {
 public:
  using Page = std::shared_ptr<const std::string>;

  // The cached page, or a fresh one from `render` when there is none.
  Page get(const std::function<std::string()>& render);

  // Drops the page. Call after a posting has been committed; a page rendered before the call
  // is never kept afterwards, even if its rendering ends later.
  void invalidate();

 private:
  std::mutex mutex_;
  Page page_;
  uint64_t generation_ = 0;
};
