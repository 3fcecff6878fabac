#include "serveraddress.h"

#include "core/wire.h"

namespace velnor {

namespace {

constexpr std::string_view kScheme = "http://";

// The base without its scheme, always ending in "/" so that page names can be
// put after it.
std::string without_scheme(std::string_view base) {
  if (base.starts_with(kScheme)) base.remove_prefix(kScheme.size());
  std::string rest(base);
  if (!rest.ends_with('/')) rest += '/';
  return rest;
}

}  // namespace

std::string server_base() { return VELNOR_SERVER_BASE; }

std::string maker_host(std::string_view base) {
  const std::string rest = without_scheme(base);
  return rest.substr(0, rest.find('/'));
}

std::string multiplayer_page(std::string_view base) {
  return without_scheme(base) + std::string(wire::kMultiplayerPage);
}

}  // namespace velnor
