#pragma once

#include <string>
#include <string_view>

namespace velnor {

// The game's web server base address as built in: "http://", the host, and a
// path ending in "/". Every address the game uses on that server grows from it.
std::string server_base();

// The host of a base address, with its port if it names one, without the
// scheme: the maker's home page, as the about window opens it.
std::string maker_host(std::string_view base = server_base());

// The page on the multiplayer edition, without the scheme: the base's host and
// path followed by "multiplayer.html".
std::string multiplayer_page(std::string_view base = server_base());

}  // namespace velnor
