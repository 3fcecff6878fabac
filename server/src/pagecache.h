#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

// The rendered high-score page, kept until the next successful posting.
class PageCache {
 public:
  using Page = std::shared_ptr<const std::string>;

  // The cached page, or a fresh one from `render` when there is none. While one request renders,
  // the others wait for its page.
  Page get(const std::function<std::string()>& render);

  // Drops the page. Call after a posting has been committed; a page rendered before the call
  // is never kept afterwards, even if its rendering ends later.
  void invalidate();

 private:
  std::mutex mutex_;
  std::condition_variable rendered_;
  bool rendering_ = false;
  Page page_;
  uint64_t generation_ = 0;
};
