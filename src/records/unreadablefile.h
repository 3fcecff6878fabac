#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace velnor {

// What became of a file of the player's that could not be read.
struct UnreadableOutcome {
  // The file was moved aside, so a new one may be written at its name. When false the file is
  // still at its name and must not be written over.
  bool replaceable = false;
  std::string message;  // what to tell the player: what happened and what the game did
  std::string details;  // the technical reason, for those who want it
};

// Deals with a file that failed to load: a damaged one is kept aside under a new name
// (keep_aside), one that could not be opened at all is left alone. `what` names the file for the
// player ("Your tally"), `afresh` says what the game did instead ("a new tally was started"),
// `kept_back` what the player loses while the file stays ("this session's games are not recorded"),
// each marked for translation in the UnreadableFile context.
UnreadableOutcome set_aside_unreadable(const std::filesystem::path& path, const std::exception& failure,
                                       const char* what, const char* afresh, const char* kept_back,
                                       const std::tm& local_time);

// The local time now, for the name of a kept file.
std::tm local_time_now();

}  // namespace velnor
