#include "serveraddress.h"

#include <algorithm>
#include <cstdlib>

#include "core/bytetext.h"
#include "core/wire.h"

namespace velnor {

namespace {

// The scheme and its "://", or nothing for a text that has neither scheme.
std::string_view scheme_of(std::string_view base) {
  for (const std::string_view scheme : {"http://", "https://"})
    if (text::starts_with_nocase(base, scheme)) return base.substr(0, scheme.size());
  return {};
}

// The base without its scheme, always ending in "/" so that page names can be
// put after it.
std::string without_scheme(std::string_view base) {
  base.remove_prefix(scheme_of(base).size());
  std::string rest(base);
  if (!rest.ends_with('/')) rest += '/';
  return rest;
}

}  // namespace

bool is_plain_host(std::string_view host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return text::is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' || c == '_';
  });
}

bool is_server_base(std::string_view base) {
  const std::string_view scheme = scheme_of(base);
  if (scheme.empty()) return false;
  base.remove_prefix(scheme.size());
  const std::size_t slash = base.find('/');
  if (slash == std::string_view::npos || !is_plain_host(base.substr(0, slash)) || !base.ends_with('/')) return false;
  for (const char c : base.substr(slash))
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
  return true;
}

std::string server_base() {
  const char* chosen = std::getenv(kServerVariable);
  if (chosen != nullptr && is_server_base(chosen)) return chosen;
  return VELNOR_SERVER_BASE;
}

std::string maker_host(std::string_view base) {
  const std::string rest = without_scheme(base);
  return rest.substr(0, rest.find('/'));
}

bool is_secure_base(std::string_view base) { return text::starts_with_nocase(base, "https://"); }

std::string maker_home(std::string_view base) {
  return (is_secure_base(base) ? "https://" : "http://") + maker_host(base);
}

std::string multiplayer_page(std::string_view base) {
  return without_scheme(base) + std::string(wire::kMultiplayerPage);
}

}  // namespace velnor
