#pragma once

#include <string_view>

namespace velnor {

// The program's version, from the project's version in CMake: the about window shows it and the
// update check offers only a version newer than it (core/dottedversion.h).
inline constexpr std::string_view kVersion = VELNOR_VERSION;

}  // namespace velnor
