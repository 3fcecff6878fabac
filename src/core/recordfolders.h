#pragma once

#include <filesystem>
#include <functional>

// Where the player's settings and tally live. A portable copy (its folder the player's own and
// writable, outside the system's folders) keeps them beside the program, as the game always has;
// an installed copy, or one in a folder shared with others, keeps each user's own in the folders
// the XDG base directories name.
namespace velnor {

struct RecordFolders {
  std::filesystem::path settings;  // holds the settings file
  std::filesystem::path tally;     // holds the tally file
  bool portable = true;
};

// The environment as getenv reads it; tests give their own.
using Environment = std::function<const char*(const char*)>;

// A folder that the system's packages fill (under /usr, or /bin, /sbin, /lib*), never a
// portable copy's, even for root who could write there.
bool is_system_folder(const std::filesystem::path& folder);

// The folders for the program in program_dir: itself when it is portable, otherwise
// $XDG_CONFIG_HOME/velnorsolo and $XDG_DATA_HOME/velnorsolo (~/.config and ~/.local/share by
// default; a relative value is ignored, as the XDG rules say).
RecordFolders record_folders(const std::filesystem::path& program_dir, const Environment& environment = std::getenv);

// Makes a records folder with its missing parents, each owner-only (0700); one that exists is
// left as it is. False when it cannot be made.
bool make_record_folder(const std::filesystem::path& folder);

}  // namespace velnor
