#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "httpconventions.h"

// One rendering of the high-score page, in each form a client may take it, each with its reply's
// header made once for all the clients that fetch it.
class RenderedPage {
 public:
  struct Form {
    std::string bytes;
    std::string etag;
    std::string full_header;       // of a 200 reply: every line but the status, Date and Connection
    std::string unchanged_header;  // of a 304 reply, likewise
  };

  RenderedPage(std::string html, std::time_t rendered_at);

  // The page in `encoding`, compressed the first time it is asked for and kept.
  const Form& form(http_conventions::Encoding encoding) const;
  std::time_t rendered_at() const { return rendered_at_; }

 private:
  const std::string html_;
  const std::time_t rendered_at_;
  mutable std::array<std::once_flag, 3> made_;
  mutable std::array<Form, 3> forms_;
};

// The rendered high-score page, kept until the next successful posting.
class PageCache {
 public:
  using Page = std::shared_ptr<const RenderedPage>;

  // The cached page, or none: lets a request be answered without waiting when there is one.
  Page cached();

  // The cached page, or a fresh one rendered from `render`'s HTML when there is none. While one
  // request renders, the others wait for its page.
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
