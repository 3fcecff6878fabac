#include "queryfields.h"

#include <algorithm>
#include <optional>

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A "%" without two hex digits is refused.
std::optional<std::string> percent_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = hex_value(text[i + 1]);
      const int low = hex_value(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

QueryFields query_fields(std::string_view query, const std::vector<std::string_view>& wanted) {
  QueryFields fields;
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view field = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const size_t eq = field.find('=');
    const auto key = percent_decode(field.substr(0, eq));
    const auto value = percent_decode(eq == std::string_view::npos ? std::string_view() : field.substr(eq + 1));
    if (!key || !value) {
      fields.error = "bad percent-encoding in the query";
      return fields;
    }
    if (std::find(wanted.begin(), wanted.end(), *key) == wanted.end()) continue;
    if (!fields.values.emplace(*key, *value).second) {
      fields.error = *key + " given twice";
      return fields;
    }
  }
  return fields;
}
