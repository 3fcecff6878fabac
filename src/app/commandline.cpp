#include "commandline.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/version.h"

namespace velnor {

namespace {

constexpr std::string_view kHelp =
    "Usage: velnorsolo [OPTION]...\n"
    "Roll two dice and shut the numbered tiles that add up to the roll; ten rounds make a game.\n"
    "\n"
    "  -h, --help       print this help and exit\n"
    "  -v, --version    print the version and exit\n"
    "\n"
    "Qt's own options work as in any Qt program, among them -platform NAME, -display DISPLAY\n"
    "and -style STYLE.\n"
    "\n"
    "A copy in a folder you can write to, outside the system's folders, keeps its settings\n"
    "(velnorsolo.ini) and tally (velnorsolotally.tld) beside the program. An installed copy keeps\n"
    "each user's own: the settings in $XDG_CONFIG_HOME/velnorsolo (~/.config/velnorsolo), the\n"
    "tally in $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).\n";

// Qt's options that take the next argument as their value (unless given as -name=value).
constexpr std::array<std::string_view, 16> kQtValued = {"platform",        "platformpluginpath",
                                                        "platformtheme",   "plugin",
                                                        "qwindowgeometry", "geometry",
                                                        "qwindowicon",     "icon",
                                                        "qwindowtitle",    "title",
                                                        "display",         "name",
                                                        "style",           "stylesheet",
                                                        "session",         "qmljsdebugger"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "nograb",      "dograb",
                                                      "sync",    "widgetcount", "testability"};

bool one_of(std::string_view name, auto names) { return std::find(names.begin(), names.end(), name) != names.end(); }

// Qt takes "--name" as "-name", and some options as "-name=value".
std::string_view qt_option_name(std::string_view argument) {
  if (argument.starts_with("--")) argument.remove_prefix(1);
  argument.remove_prefix(1);
  return argument.substr(0, argument.find('='));
}

}  // namespace

CommandLine read_command_line(const std::vector<std::string>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-h" || argument == "--help") return {CommandLine::Action::print_and_exit, std::string(kHelp)};
    if (argument == "-v" || argument == "--version") {
      return {CommandLine::Action::print_and_exit, "Velnor Solo " + std::string(kVersion) + "\n"};
    }
  }
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() > 1 && argument[0] == '-') {
      const std::string_view name = qt_option_name(argument);
      if (one_of(name, kQtFlags)) continue;
      if (one_of(name, kQtValued)) {
        if (argument.find('=') == std::string::npos) ++i;  // its value
        continue;
      }
      return {CommandLine::Action::refuse, "velnorsolo: unknown option '" + argument + "' (try velnorsolo --help)\n"};
    }
    return {CommandLine::Action::refuse,
            "velnorsolo: the game takes no file or other argument: '" + argument + "' (try velnorsolo --help)\n"};
  }
  return {};
}

std::string missing_display(const std::vector<std::string>& arguments, const char* platform, const char* x11_display,
                            const char* wayland_display) {
  const auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (set(platform) || set(x11_display) || set(wayland_display)) return {};
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i].size() < 2 || arguments[i][0] != '-') continue;
    const std::string_view name = qt_option_name(arguments[i]);
    if (name == "platform" || name == "display") return {};
  }
  return "velnorsolo: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
}

}  // namespace velnor
