#include "httpconventions.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace http_conventions {

namespace {

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Calls `each` with every comma-separated element of a header's list, trimmed, empty ones skipped.
template <class Each>
void for_each_element(std::string_view list, Each each) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view element = trimmed(list.substr(0, comma));
    if (!element.empty()) each(element);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
}

// An entity tag without its weakness mark, for the weak comparison that If-None-Match uses.
std::string_view opaque_tag(std::string_view tag) {
  if (tag.starts_with("W/")) tag.remove_prefix(2);
  return tag;
}

// The weight a coding's parameters give it: 1 without q, 0 for anything that is not a valid q.
double quality(std::string_view parameters) {
  while (!parameters.empty()) {
    const size_t semicolon = parameters.find(';');
    const std::string_view parameter = trimmed(parameters.substr(0, semicolon));
    if (parameter.size() >= 2 && (parameter[0] == 'q' || parameter[0] == 'Q') && parameter[1] == '=') {
      const std::string_view number = trimmed(parameter.substr(2));
      double value = 0;
      const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
      if (error != std::errc() || end != number.data() + number.size() || !(value >= 0 && value <= 1)) return 0;
      return value;
    }
    if (semicolon == std::string_view::npos) break;
    parameters.remove_prefix(semicolon + 1);
  }
  return 1;
}

}  // namespace

std::string http_date(std::time_t time) {
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[40];
  const size_t length = std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
  return std::string(text, length);
}

std::optional<std::time_t> parse_http_date(std::string_view text) {
  static constexpr std::string_view kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  text = trimmed(text);
  // "Sun, 06 Nov 1994 08:49:37 GMT", fixed width.
  if (text.size() != 29 || text.substr(3, 2) != ", " || text[7] != ' ' || text[11] != ' ' || text[16] != ' ' ||
      text[19] != ':' || text[22] != ':' || text.substr(25) != " GMT")
    return std::nullopt;
  if (std::find(std::begin(kDays), std::end(kDays), text.substr(0, 3)) == std::end(kDays)) return std::nullopt;
  const auto month = std::find(std::begin(kMonths), std::end(kMonths), text.substr(8, 3));
  if (month == std::end(kMonths)) return std::nullopt;
  const auto number = [&](size_t at, size_t length, int low, int high) -> std::optional<int> {
    int value = 0;
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + length, value);
    if (error != std::errc() || end != begin + length || value < low || value > high) return std::nullopt;
    return value;
  };
  const auto day = number(5, 2, 1, 31), year = number(12, 4, 1970, 9999), hour = number(17, 2, 0, 23),
             minute = number(20, 2, 0, 59), second = number(23, 2, 0, 60);
  if (!day || !year || !hour || !minute || !second) return std::nullopt;
  std::tm utc{};
  utc.tm_mday = *day;
  utc.tm_mon = static_cast<int>(month - std::begin(kMonths));
  utc.tm_year = *year - 1900;
  utc.tm_hour = *hour;
  utc.tm_min = *minute;
  utc.tm_sec = *second;
  return timegm(&utc);
}

std::string content_tag(std::string_view bytes) {
  // FNV-1a over 64 bits: enough to tell one page from the next, and the same everywhere.
  uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char hex[16];
  const std::string digits(hex, std::to_chars(hex, hex + sizeof hex, hash, 16).ptr);
  return '"' + std::string(16 - digits.size(), '0') + digits + '"';
}

bool still_fresh(std::string_view if_none_match, std::string_view if_modified_since, std::string_view etag,
                 std::time_t modified, std::time_t now) {
  if (!trimmed(if_none_match).empty()) {
    bool matched = false;
    for_each_element(if_none_match, [&](std::string_view tag) {
      matched = matched || tag == "*" || opaque_tag(tag) == opaque_tag(etag);
    });
    return matched;
  }
  const auto since = parse_http_date(if_modified_since);
  return since && *since <= now && modified <= *since;
}

size_t leading_empty_lines(std::string_view bytes) {
  size_t skipped = 0;
  while (bytes.substr(skipped, 2) == "\r\n") skipped += 2;
  return skipped;
}

bool folds_a_line(std::string_view head) {
  for (size_t end = head.find("\r\n"); end != std::string_view::npos; end = head.find("\r\n", end + 2))
    if (end + 2 < head.size() && (head[end + 2] == ' ' || head[end + 2] == '\t')) return true;
  return false;
}

bool host_lines_valid(unsigned version, size_t host_lines, std::string_view host) {
  if (host_lines > 1 || (host_lines == 0 && version >= 11)) return false;
  // uri-host [":" port]: an IP literal in brackets, or a name of unreserved characters,
  // percent-escapes and sub-delimiters (an empty one included).
  const auto is_name_character = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("-._~%!$&'()*+,;=").find(c) != std::string_view::npos;
  };
  std::string_view rest = host;
  if (rest.starts_with('[')) {
    const size_t close = rest.find(']');
    if (close == std::string_view::npos) return false;
    const std::string_view literal = rest.substr(1, close - 1);
    if (literal.empty() ||
        !std::all_of(literal.begin(), literal.end(), [&](char c) { return c == ':' || is_name_character(c); }))
      return false;
    rest.remove_prefix(close + 1);
  } else {
    const std::string_view name = rest.substr(0, rest.find(':'));
    if (!std::all_of(name.begin(), name.end(), is_name_character)) return false;
    rest.remove_prefix(name.size());
  }
  if (rest.empty()) return true;
  if (rest.front() != ':') return false;
  rest.remove_prefix(1);
  return std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Encoding preferred_encoding(std::string_view accept_encoding) {
  double brotli = -1, gzip = -1, any = -1;
  for_each_element(accept_encoding, [&](std::string_view element) {
    const size_t semicolon = element.find(';');
    const std::string_view coding = trimmed(element.substr(0, semicolon));
    const double weight = semicolon == std::string_view::npos ? 1 : quality(element.substr(semicolon + 1));
    if (equals_ignoring_case(coding, "br"))
      brotli = weight;
    else if (equals_ignoring_case(coding, "gzip") || equals_ignoring_case(coding, "x-gzip"))
      gzip = weight;
    else if (coding == "*")
      any = weight;
  });
  // A coding not named takes the weight of "*", if there is one.
  if (brotli < 0) brotli = any;
  if (gzip < 0) gzip = any;
  if (brotli > 0 && brotli >= gzip) return Encoding::kBrotli;
  if (gzip > 0) return Encoding::kGzip;
  return Encoding::kIdentity;
}

std::string_view encoding_name(Encoding encoding) {
  switch (encoding) {
    case Encoding::kGzip:
      return "gzip";
    case Encoding::kBrotli:
      return "br";
    case Encoding::kIdentity:
      break;
  }
  return "identity";
}

}  // namespace http_conventions
