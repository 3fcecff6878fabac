#include "pagecache.h"

#include <chrono>

#include "compression.h"

namespace {

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
                       header_line("Content-Security-Policy", "default-src 'none'; frame-ancestors 'none'") +
                       header_line("X-Content-Type-Options", "nosniff");
    if (encoding != http_conventions::Encoding::kIdentity)
      made.full_header += header_line("Content-Encoding", http_conventions::encoding_name(encoding));
    made.full_header += header_line("Content-Length", std::to_string(made.bytes.size()));
  });
  return forms_[index];
}

PageCache::Page PageCache::cached() {
  std::lock_guard lock(mutex_);
  return page_;
}

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
  if (generation == generation_) page_ = page;
  rendered_.notify_all();
  return page;
}

void PageCache::invalidate() {
  std::lock_guard lock(mutex_);
  ++generation_;
  page_.reset();
}
