#include "pagecache.h"

#include <chrono>

#include "compression.h"

namespace {

constexpr size_t kRememberedClients = 1024;

std::string header_line(std::string_view name, std::string_view value) {
  return std::string(name) + ": " + std::string(value) + "\r\n";
}

}  // namespace

RenderedPage::RenderedPage(std::string html, std::time_t rendered_at)
    : html_(std::move(html)), rendered_at_(rendered_at) {}

const RenderedPage::Form& RenderedPage::form(http_conventions::Encoding encoding) const {
  const auto index = static_cast<size_t>(encoding);
  std::call_once(made_[index], [&] {
    Form& made = forms_[index];
    made.bytes = compressed(html_, encoding);
    made.etag = http_conventions::content_tag(html_);
    // Each form is a representation of its own, with a tag of its own.
    if (encoding != http_conventions::Encoding::kIdentity) {
      made.etag.pop_back();
      made.etag += '-';
      made.etag += http_conventions::encoding_name(encoding);
      made.etag += '"';
    }
    made.unchanged_header = header_line("Cache-Control", "no-cache") + header_line("Vary", "Accept-Encoding") +
                            header_line("ETag", made.etag) +
                            header_line("Last-Modified", http_conventions::http_date(rendered_at_));
    made.full_header = made.unchanged_header + header_line("Content-Type", "text/html; charset=utf-8") +
                       // Plain HTML that needs nothing from anywhere: a browser may run or fetch nothing.
                       header_line("Content-Security-Policy",
                                   "default-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'") +
                       header_line("X-Content-Type-Options", "nosniff");
    if (encoding != http_conventions::Encoding::kIdentity)
      made.full_header += header_line("Content-Encoding", http_conventions::encoding_name(encoding));
    made.full_header += header_line("Content-Length", std::to_string(made.bytes.size()));
  });
  return forms_[index];
}

bool PageCache::usable(const std::string& client, Clock::time_point now) const {
  if (!page_ || (stale_since_ && now - *stale_since_ >= kStaleFor)) return false;
  if (client.empty()) return true;
  const auto own = changed_by_.find(client);
  return own == changed_by_.end() || own->second < page_started_;
}

PageCache::Page PageCache::cached(const std::string& client) {
  std::lock_guard lock(mutex_);
  return usable(client, Clock::now()) ? page_ : nullptr;
}

PageCache::Page PageCache::get(const std::string& client, const std::function<std::string()>& render) {
  std::unique_lock lock(mutex_);
  // One render at a time: requests that find one under way wait for its page rather than each
  // asking the store for the same rows.
  rendered_.wait(lock, [&] { return usable(client, Clock::now()) || !rendering_; });
  if (usable(client, Clock::now())) return page_;
  rendering_ = true;
  const uint64_t generation = generation_;
  const auto started = Clock::now();
  lock.unlock();
  Page page;
  try {
    // Rendered outside the lock so that a slow read does not hold up the postings' changes.
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    page = std::make_shared<const RenderedPage>(render(), now);
  } catch (...) {
    lock.lock();
    rendering_ = false;
    rendered_.notify_all();
    throw;
  }
  lock.lock();
  rendering_ = false;
  page_ = page;
  page_started_ = started;
  // A change while it rendered may be missing from it: it is stale from its start.
  stale_since_ = generation == generation_ ? std::nullopt : std::optional(started);
  rendered_.notify_all();
  return page;
}

void PageCache::invalidate(const std::string& client) {
  const auto now = Clock::now();
  std::lock_guard lock(mutex_);
  ++generation_;
  if (!stale_since_) stale_since_ = now;
  if (!client.empty()) {
    changed_by_[client] = now;
    if (changed_by_.size() > kRememberedClients) forget_old_changes(now);
  }
}

// A change older than kStaleFor is in every page that may still be sent.
void PageCache::forget_old_changes(Clock::time_point now) {
  std::erase_if(changed_by_, [&](const auto& entry) { return now - entry.second >= kStaleFor; });
}
