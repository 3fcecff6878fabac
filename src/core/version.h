#pragma once

#include <string_view>

namespace velnor {

// The program's version, from the project's version in CMake: the about window shows it and the
// update check compares the server's version text with it, byte for byte.
inline constexpr std::string_view kVersion = VELNOR_VERSION;

}  // namespace velnor
