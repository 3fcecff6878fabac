#pragma once

#include <string>
#include <vector>

namespace velnor {

// What the command line asks for, read before any display is opened: the game takes no
// arguments of its own but --help and --version; Qt's own options (-platform, -display, ...)
// are left for the application object.
struct CommandLine {
  enum class Action { play, print_and_exit, refuse };
  Action action = Action::play;
  std::string text;  // what to print: on standard output to exit 0, on standard error to exit 2
};

CommandLine read_command_line(const std::vector<std::string>& arguments);

// Why no display can be opened with these arguments and this environment, or empty when one may
// be: with no platform named and neither X11 nor Wayland set up, Qt would abort.
std::string missing_display(const std::vector<std::string>& arguments, const char* platform, const char* x11_display,
                            const char* wayland_display);

}  // namespace velnor
