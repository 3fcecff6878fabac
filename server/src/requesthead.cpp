#include "requesthead.h"

#include <algorithm>
#include <cctype>

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

}  // namespace

// The library would not read a body on a GET, so its bytes would be read as the next request: the
// server refuses a head that announces one and ends its connection.
bool announces_body(std::string_view head) {
  // Lines are split at every line feed, a lone one too: a header hidden behind one must not pass.
  size_t line_end = head.find('\n');
  while (line_end != std::string_view::npos) {
    const size_t line_start = line_end + 1;
    line_end = head.find('\n', line_start);
    std::string_view line =
        head.substr(line_start, line_end == std::string_view::npos ? line_end : line_end - line_start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = trimmed(line.substr(0, colon));
    if (equals_ignoring_case(name, "transfer-encoding")) return true;
    if (equals_ignoring_case(name, "content-length") && trimmed(line.substr(colon + 1)) != "0") return true;
  }
  return false;
}
