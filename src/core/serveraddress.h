#pragma once

#include <string>
#include <string_view>

namespace velnor {

// The environment variable with which a player points the game at another server.
inline constexpr char kServerVariable[] = "VELNOR_SERVER";

// Whether `host` is a plain host name or number: not empty, and no port, user or brackets.
bool is_plain_host(std::string_view host);

// Whether `base` can be a server base address: "http://" or "https://", a plain host
// name or number (no port: http is on port 80, https on 443), and "/" or a path ending
// in "/", without spaces or control characters.
bool is_server_base(std::string_view base);

// The game's web server base address: VELNOR_SERVER when it is set to a base address,
// else the one built in. Every address the game uses on that server grows from it.
std::string server_base();

// The host of a base address, with its port if it names one, without the
// scheme: the maker's home page, as the about window opens it.
std::string maker_host(std::string_view base = server_base());

// Whether the base is on https, so that links to the maker's pages go there the same way.
bool is_secure_base(std::string_view base = server_base());

// The maker's home page as the about window names it: the base's scheme and host.
std::string maker_home(std::string_view base = server_base());

// The page on the multiplayer edition, without the scheme: the base's host and
// path followed by "multiplayer.html".
std::string multiplayer_page(std::string_view base = server_base());

}  // namespace velnor
