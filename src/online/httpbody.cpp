#include "httpbody.h"

#include <algorithm>

namespace velnor {

namespace {

[[noreturn]] void fail(const char* reason) { throw EHttpException(kHttpFailureStatus, reason); }

[[noreturn]] void too_large() { throw EHttpBodyTooLarge(); }

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

HttpBody::HttpBody(const HttpReplyHeader& header, std::uint64_t max_size) : max_size_(max_size) {
  const std::string& coding = header.transfer_encoding();
  if (coding == "chunked") {
    framing_ = Framing::chunked;
    state_ = State::chunk_size;
  } else if (!coding.empty() && coding != "identity") {
    // A coding we cannot undo would end up in the body as it came.
    fail("Unsupported transfer coding");
  } else if (header.content_length()) {
    if (*header.content_length() > max_size_) too_large();
    framing_ = Framing::length;
    remaining_ = *header.content_length();
    if (remaining_ == 0) state_ = State::done;
  }
}

void HttpBody::feed(std::string_view bytes, const Sink& sink) {
  while (!bytes.empty() && state_ != State::done) {
    switch (state_) {
      case State::data:
        take(bytes, framing_ == Framing::to_close ? bytes.size() : remaining_, sink);
        break;
      case State::chunk_size:
        if (take_line(bytes)) take_chunk_size();
        break;
      case State::chunk_end:
        if (!take_line(bytes)) break;
        if (!line_.empty()) fail("Invalid chunked body");
        state_ = State::chunk_size;
        break;
      case State::trailer:
        if (!take_line(bytes)) break;
        if (line_.empty())
          state_ = State::done;
        else if (++trailer_lines_ > HttpReplyHeader::kMaxLines)
          fail("Invalid chunked body");
        line_.clear();
        break;
      case State::done:
        break;
    }
  }
}

void HttpBody::take(std::string_view& bytes, std::uint64_t count, const Sink& sink) {
  const auto taken = static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes.size()));
  if (taken > max_size_ - size_) too_large();
  size_ += taken;
  sink(bytes.substr(0, taken));
  bytes.remove_prefix(taken);
  if (framing_ == Framing::to_close) return;
  remaining_ -= taken;
  if (remaining_ == 0) state_ = framing_ == Framing::chunked ? State::chunk_end : State::done;
}

bool HttpBody::take_line(std::string_view& bytes) {
  const std::size_t end = bytes.find('\n');
  const std::size_t count = std::min(end, bytes.size());
  if (line_.size() + count > HttpReplyHeader::kMaxLineLength) fail("Invalid chunked body");
  line_.append(bytes.substr(0, count));
  if (end == std::string_view::npos) {
    bytes = {};
    return false;
  }
  bytes.remove_prefix(end + 1);
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  return true;
}

void HttpBody::take_chunk_size() {
  std::string_view text = line_;
  std::uint64_t size = 0;
  std::size_t digits = 0;
  for (; digits < text.size() && hex_value(text[digits]) >= 0; ++digits) {
    // Checked before it grows, so the number never overflows.
    if (size > max_size_ / 16) too_large();
    size = size * 16 + static_cast<std::uint64_t>(hex_value(text[digits]));
  }
  if (digits == 0) fail("Invalid chunked body");
  text.remove_prefix(digits);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  // What may follow the size is a chunk extension, which says nothing we need.
  if (!text.empty() && text.front() != ';') fail("Invalid chunked body");
  line_.clear();
  if (size == 0) {
    state_ = State::trailer;
    return;
  }
  if (size > max_size_ - size_) too_large();
  remaining_ = size;
  state_ = State::data;
}

}  // namespace velnor
