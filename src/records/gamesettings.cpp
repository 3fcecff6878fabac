#include "gamesettings.h"

#include <algorithm>

#include "core/wire.h"
#include "records/profilefile.h"

namespace velnor {

namespace {

const std::string kSection(wire::kProductKey);

}  // namespace

GameSettings GameSettings::load(const std::filesystem::path& path) {
  const ProfileFile profile = ProfileFile::load(path);
  const GameSettings defaults;
  GameSettings settings;
  settings.bounds.top = profile_int(profile.read(kSection, "Top"), defaults.bounds.top);
  settings.bounds.left = profile_int(profile.read(kSection, "Left"), defaults.bounds.left);
  settings.bounds.width = profile_int(profile.read(kSection, "Width"), defaults.bounds.width);
  settings.bounds.height = profile_int(profile.read(kSection, "Height"), defaults.bounds.height);
  settings.sounds = profile.read(kSection, "Sounds").value_or("yes") != "no";
  settings.update = profile.read(kSection, "Update").value_or("true") != "false";
  settings.verified = profile.read(kSection, "Verified").value_or("true") != "false";
  settings.name = profile.read(kSection, "Name").value_or(defaults.name);
  return settings;
}

void GameSettings::save(const std::filesystem::path& path) const {
  ProfileFile profile = ProfileFile::load(path);
  profile.write(kSection, "Top", std::to_string(bounds.top));
  profile.write(kSection, "Left", std::to_string(bounds.left));
  profile.write(kSection, "Width", std::to_string(bounds.width));
  profile.write(kSection, "Height", std::to_string(bounds.height));
  profile.write(kSection, "Name", name);
  profile.write(kSection, "Sounds", sounds ? "yes" : "no");
  profile.write(kSection, "Update", update ? "true" : "false");
  profile.write(kSection, "Verified", verified ? "true" : "false");
  profile.save(path);
}

WindowBounds within_reach(const WindowBounds& loaded) {
  // Far beyond any screen, and far from overflowing.
  constexpr int kFar = 1 << 20;
  const WindowBounds home;
  return {std::clamp(loaded.left, -kFar, kFar), std::clamp(loaded.top, -kFar, kFar),
          loaded.width > 0 ? std::min(loaded.width, kFar) : home.width,
          loaded.height > 0 ? std::min(loaded.height, kFar) : home.height};
}

WindowBounds bounds_at_close(const WindowBounds& now, const WindowBounds& loaded, int work_width, int work_height) {
  if (now == loaded) return loaded;
  WindowBounds stored = now;
  if (stored.width > work_width) stored.width -= 3;
  if (stored.height > work_height) stored.height -= 3;
  return stored;
}

}  // namespace velnor
