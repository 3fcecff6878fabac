#pragma once

#include <string_view>

// The names that the game and its web server must agree on, in one place so
// that the two can never drift apart. Paths are relative to the server's base
// address (the game) or to its root (the server).
namespace velnor::wire {

inline constexpr std::string_view kProductKey = "velnorsolo";

// Files beside the program.
inline constexpr std::string_view kSettingsFile = "velnorsolo.ini";
inline constexpr std::string_view kTallyFile = "velnorsolotally.tld";

// Files of the release folder on the server, and the installer's name on disk.
inline constexpr std::string_view kVersionFile = "velnorsoloversion.txt";
inline constexpr std::string_view kInstallerFile = "vnssetup.exe";
// The installer's signature lies beside it, under its name and this suffix.
inline constexpr std::string_view kSignatureSuffix = ".sig";
inline constexpr std::string_view kInstallerSignatureFile = "vnssetup.exe.sig";

// Addresses on the server.
inline constexpr std::string_view kPostingPath = "cgi-bin/velnorsolo.cgi";
inline constexpr std::string_view kHighScorePath = "counter/velnorsolo.shtml";
inline constexpr std::string_view kVersionPath = "velnorsolo/velnorsoloversion.txt";
inline constexpr std::string_view kInstallerPath = "velnorsolo/vnssetup.exe";
inline constexpr std::string_view kInstallerSignaturePath = "velnorsolo/vnssetup.exe.sig";
inline constexpr std::string_view kMultiplayerPage = "multiplayer.html";
// A fresh seed for the next game, with the ticket that lets its score be verified.
inline constexpr std::string_view kSeedPath = "velnorsolo/seed";
// The next roll of a ticket's game, dealt by the server: "?ticket=TICKET&game=ROLLS", where ROLLS is
// the game's record of the rolls so far; the answer is the two dice as two digits ("35").
inline constexpr std::string_view kRollPath = "velnorsolo/roll";

}  // namespace velnor::wire
