#pragma once

#include <string_view>

// Whether a request head (request line and headers, up to its blank line) announces a body, by
// Content-Length (other than 0) or Transfer-Encoding. Nothing the server offers takes one.
bool announces_body(std::string_view head);
