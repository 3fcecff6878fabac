#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

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

// The rendered high-score page. A change (a posting here or on another server) makes it stale, and
// a stale page is still sent for a moment before it is rendered again: however fast postings come,
// the page is rendered a few times a second at most, and every posting shows within kStaleFor.
// The client that made a change never gets a page older than its change.
class PageCache {
 public:
  using Page = std::shared_ptr<const RenderedPage>;
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kStaleFor = std::chrono::milliseconds(250);

  // The page that `client` may be sent now without rendering, or none.
  Page cached(const std::string& client);

  // The page that `client` may be sent, rendered from `render`'s HTML when there is none. While one
  // request renders, the others that need a new page wait for it.
  Page get(const std::string& client, const std::function<std::string()>& render);

  // Records a change, made by `client` (empty: by someone else, such as another server). Call it
  // once the change is committed.
  void invalidate(const std::string& client = {});

 private:
  bool usable(const std::string& client, Clock::time_point now) const;
  void forget_old_changes(Clock::time_point now);

  std::mutex mutex_;
  std::condition_variable rendered_;
  bool rendering_ = false;
  Page page_;
  Clock::time_point page_started_;                // when the page's rendering began: its rows are newer
  std::optional<Clock::time_point> stale_since_;  // the first change the page does not show
  std::unordered_map<std::string, Clock::time_point> changed_by_;  // clients' recent changes
  uint64_t generation_ = 0;
};
