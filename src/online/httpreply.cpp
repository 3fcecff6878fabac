#include "httpreply.h"

#include <algorithm>
#include <system_error>

#include "core/bytetext.h"

namespace velnor {

namespace {

using text::is_blank;
using text::is_digit;
using text::lower;
using text::starts_with_nocase;

// Whether `text` could still grow into something that begins with `prefix`.
bool may_become(std::string_view text, std::string_view prefix) {
  return text.size() < prefix.size() && starts_with_nocase(prefix, text);
}

[[noreturn]] void fail(const char* reason) { throw EHttpException(kHttpFailureStatus, reason); }

// A CR, LF or other control character would end or split a request line.
void check_address_text(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) fail("Invalid address");
}

bool is_scheme(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '+' || c == '-' || c == '.';
  });
}

std::uint16_t parse_port(std::string_view text, std::uint16_t scheme_port) {
  if (text.empty()) return scheme_port;
  const std::optional<std::uint64_t> value = text::parse_digits(text, 65535);
  if (!value || *value == 0) fail("Invalid port");
  return static_cast<std::uint16_t>(*value);
}

// Far beyond any real body.
std::optional<std::uint64_t> parse_content_length(std::string_view text) {
  return text::parse_digits(text, 999'999'999'999'999'999);
}

}  // namespace

std::string system_reason(int error) {
  return std::system_category().message(error) + " (Error #" + std::to_string(error) + ")";
}

std::string HttpAddress::host_field() const { return host.find(':') == std::string::npos ? host : "[" + host + "]"; }

HttpAddress split_address(std::string_view url) {
  check_address_text(url);
  std::string_view rest = url;
  bool secure = false;
  const std::size_t scheme_end = rest.find("://");
  if (scheme_end != std::string_view::npos && is_scheme(rest.substr(0, scheme_end))) {
    const std::string scheme = lower(rest.substr(0, scheme_end));
    if (scheme != "http" && scheme != "https") fail("Unsupported protocol");
    secure = scheme == "https";
    rest.remove_prefix(scheme_end + 3);
  }

  HttpAddress address;
  address.secure = secure;
  const std::size_t authority_end = rest.find('/');
  std::string_view authority = rest.substr(0, authority_end);
  if (authority_end != std::string_view::npos) address.path = std::string(rest.substr(authority_end));

  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view user_info = authority.substr(0, at);
    const std::size_t colon = user_info.find(':');
    address.user = std::string(user_info.substr(0, colon));
    if (colon != std::string_view::npos) address.password = std::string(user_info.substr(colon + 1));
    address.has_user = !address.user.empty();
    authority.remove_prefix(at + 1);
  }

  std::string_view port;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) fail("Invalid address");
    address.host = std::string(authority.substr(1, close - 1));
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty() && after.front() != ':') fail("Invalid address");
    if (!after.empty()) port = after.substr(1);
  } else {
    const std::size_t colon = authority.find(':');
    address.host = std::string(authority.substr(0, colon));
    if (colon != std::string_view::npos) port = authority.substr(colon + 1);
  }
  if (address.host.empty()) fail("Invalid address");
  address.port = parse_port(port, secure ? HttpAddress::kSecurePort : HttpAddress::kPlainPort);
  return address;
}

HttpAddress follow_location(const HttpAddress& from, std::string_view location) {
  check_address_text(location);
  if (starts_with_nocase(location, "http://") || starts_with_nocase(location, "https://")) {
    HttpAddress next = split_address(location);
    if (from.secure && !next.secure) fail("Redirection from https to http refused");
    return next;
  }
  HttpAddress next = from;
  if (!location.empty() && location.front() == '/') {
    next.path = std::string(location);
  } else {
    // The folder is taken from the path without its query, which may hold slashes.
    const std::string_view path = std::string_view(from.path).substr(0, from.path.find('?'));
    const std::size_t slash = path.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? "/" : path.substr(0, slash + 1);
    next.path = std::string(folder) + std::string(location);
  }
  return next;
}

void HttpReplyHeader::feed(std::string_view bytes) {
  pending_.append(bytes);
  while (!complete_) {
    if (start_ == Start::undecided) decide_start();
    if (start_ != Start::status_line) return;
    take_lines();
    // Still reading this head: more bytes are needed.
    if (start_ == Start::status_line) return;
  }
}

void HttpReplyHeader::take_lines() {
  std::size_t line_start = 0;
  while (!complete_ && start_ == Start::status_line) {
    const std::size_t end = pending_.find('\n', std::max(line_start, scanned_));
    if (end == std::string::npos) {
      if (pending_.size() - line_start > kMaxLineLength) fail("Reply header line too long");
      break;
    }
    if (end - line_start > kMaxLineLength) fail("Reply header line too long");
    std::string_view line(pending_.data() + line_start, end - line_start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    take_line(line);
    line_start = end + 1;
  }
  pending_.erase(0, line_start);
  scanned_ = start_ == Start::status_line && !complete_ ? pending_.size() : 0;
}

void HttpReplyHeader::decide_start() {
  const std::string_view received = pending_;
  if (starts_with_nocase(received, "<HTML>")) {
    start_ = Start::headerless;
    complete_ = true;
    status_ = 200;
    content_type_ = "text/html";
  } else if (received.starts_with("HTTP/1.0") || received.starts_with("HTTP/1.1")) {
    start_ = Start::status_line;
  } else if (!may_become(received, "<HTML>") && !may_become(received, "HTTP/1.x")) {
    // Anything that can no longer grow into either start is not a reply we read.
    fail("Invalid status line");
  }
}

void HttpReplyHeader::finish() {
  if (!complete_) fail("Connection closed during the reply header");
}

std::string HttpReplyHeader::take_body_start() {
  std::string body = std::move(pending_);
  pending_.clear();
  return body;
}

void HttpReplyHeader::take_line(std::string_view line) {
  if (lines_ == 0) {
    take_status_line(line);
  } else if (line.empty()) {
    // An interim reply (100 Continue) is followed by the real one.
    if (status_ >= 100 && status_ < 200)
      start_over();
    else
      complete_ = true;
    return;
  } else {
    take_field(line);
  }
  if (++lines_ > kMaxLines) fail("Too many reply header lines");
}

void HttpReplyHeader::take_status_line(std::string_view line) {
  // The number stands in characters 10 to 12, the reason from character 14 on.
  if (line.size() < 12 || !is_digit(line[9]) || !is_digit(line[10]) || !is_digit(line[11])) fail("Invalid status line");
  status_ = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
  reason_ = line.size() > 13 ? std::string(line.substr(13)) : std::string();
}

void HttpReplyHeader::take_field(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  const std::string name = lower(line.substr(0, colon));
  std::string_view value = line.substr(colon + 1);
  while (!value.empty() && is_blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && is_blank(value.back())) value.remove_suffix(1);

  if (name == "location") {
    location_ = std::string(value);
  } else if (name == "content-length") {
    content_length_ = parse_content_length(value);
    content_length_unreadable_ = !content_length_;
  } else if (name == "content-type") {
    content_type_ = lower(value);
  } else if (name == "transfer-encoding") {
    if (!transfer_encoding_.empty()) transfer_encoding_ += ", ";
    transfer_encoding_ += lower(value);
    if (transfer_encoding_.size() > kMaxLineLength) fail("Reply header line too long");
  }
}

void HttpReplyHeader::start_over() {
  if (++interim_heads_ > kMaxInterimHeads) fail("Too many interim replies");
  start_ = Start::undecided;
  lines_ = 0;
  status_ = 0;
  reason_.clear();
  content_type_.clear();
  location_.clear();
  content_length_.reset();
  content_length_unreadable_ = false;
  transfer_encoding_.clear();
}

}  // namespace velnor
