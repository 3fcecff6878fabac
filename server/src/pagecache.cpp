#include "pagecache.h"

#include <chrono>

#include "compression.h"

RenderedPage::RenderedPage(std::string html, std::time_t rendered_at)
    : html_(std::move(html)), rendered_at_(rendered_at) {}

const RenderedPage::Form& RenderedPage::form(http_conventions::Encoding encoding) const {
  const auto index = static_cast<size_t>(encoding);
  std::call_once(made_[index], [&] {
    auto bytes = std::make_shared<const std::string>(compressed(html_, encoding));
    std::string etag = http_conventions::content_tag(html_);
    // Each form is a representation of its own, with a tag of its own.
    if (encoding != http_conventions::Encoding::kIdentity)
      etag.insert(etag.size() - 1, "-" + std::string(http_conventions::encoding_name(encoding)));
    forms_[index] = Form{std::move(bytes), std::move(etag)};
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
