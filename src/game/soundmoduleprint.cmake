# Run once the sound module is linked: writes the header that tells the game the module's size and
# SHA-256, so that it loads that module and no other.
file(SIZE "${MODULE}" size)
file(SHA256 "${MODULE}" sha256)
set(text "#pragma once\n\n#include <cstdint>\n\n// Made by the build from the sound module it linked (soundmoduleprint.cmake).\nnamespace velnor {\n\ninline constexpr std::int64_t kSoundModuleSize = ${size};\ninline constexpr char kSoundModuleSha256[] = \"${sha256}\";\n\n}  // namespace velnor\n")
# Rewritten only when it changes, so that a relink that leaves the module's bytes alone rebuilds nothing.
file(CONFIGURE OUTPUT "${OUT}" CONTENT "${text}")
