#pragma once

#include <filesystem>
#include <string>

// The game's settings as the settings file keeps them, in the section named after the product key:
// the main window's outer bounds, the player's name (as bytes, written back as they were read), the
// sound and update switches, and whether games are played verified online. Everything else in the
// file is kept as it stands.
namespace velnor {

struct WindowBounds {
  int left = 3;
  int top = 3;
  int width = 681;
  int height = 327;

  bool operator==(const WindowBounds&) const = default;
};

struct GameSettings {
  WindowBounds bounds;
  std::string name = "Guest";
  bool sounds = true;    // off only for exactly "no"
  bool update = true;    // off only for exactly "false"
  bool verified = true;  // off only for exactly "false"

  // Values that are missing or not valid take their defaults. A file that cannot be read throws
  // UnreadableFile (see ProfileFile::load).
  static GameSettings load(const std::filesystem::path& path);
  // Writes all eight keys, in the order Top, Left, Width, Height, Name, Sounds, Update, Verified
  // (the last one added after the first seven, whose order older copies know); throws
  // EProfileWriteError ("Unable to write to PATH") when the file cannot be written.
  void save(const std::filesystem::path& path) const;
};

// Loaded bounds made safe to place a window by, whatever the file held: a size that is not above
// zero takes its default, and no value is so far out that a sum of two overflows. Fitting them to a
// screen is the window's business.
WindowBounds within_reach(const WindowBounds& loaded);

// The bounds stored when the window closes: as they were loaded if the window was neither moved
// nor resized; otherwise as they are now, each dimension that exceeds the work area's made three
// pixels smaller, once.
WindowBounds bounds_at_close(const WindowBounds& now, const WindowBounds& loaded, int work_width, int work_height);

}  // namespace velnor
