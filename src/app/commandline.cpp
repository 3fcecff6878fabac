#include "commandline.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QTranslator>

#include "core/bytetext.h"
#include "core/serveraddress.h"
#include "core/version.h"

namespace velnor {

namespace {

struct Answer {
  std::string text;  // on standard output for status 0, on standard error otherwise
  int status;
};

const char* const kHelp = QT_TRANSLATE_NOOP(
    "CommandLine",
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
    "tally in $XDG_DATA_HOME/velnorsolo (~/.local/share/velnorsolo).\n"
    "\n"
    "VELNOR_SERVER=http://HOST/ or https://HOST/ (a path ending in / may follow) points the game at\n"
    "another web server for scores and updates; https is checked against the system's trust store.\n");

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

// The text in the player's language, where the translation has it; argument fills in its %1 as
// the bytes it came in.
std::string translated(const QTranslator* translation, const char* text, const std::string& argument = {}) {
  const QString shown = translation == nullptr ? QString() : translation->translate("CommandLine", text);
  return text::fill_in(shown.isEmpty() ? std::string(text) : shown.toStdString(), {argument});
}

// What to print and how to end, when the arguments ask for anything but the game.
std::optional<Answer> read_arguments(const std::vector<std::string>& arguments, const QTranslator* translation) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-h" || argument == "--help") return Answer{translated(translation, kHelp), 0};
    if (argument == "-v" || argument == "--version") {
      return Answer{"Velnor Solo " + std::string(kVersion) + "\n", 0};
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
      return Answer{
          translated(translation,
                     QT_TRANSLATE_NOOP("CommandLine", "velnorsolo: unknown option '%1' (try velnorsolo --help)\n"),
                     argument),
          2};
    }
    return Answer{translated(translation,
                             QT_TRANSLATE_NOOP("CommandLine",
                                               "velnorsolo: the game takes no file or other argument: "
                                               "'%1' (try velnorsolo --help)\n"),
                             argument),
                  2};
  }
  return std::nullopt;
}

// With no platform named and neither X11 nor Wayland set up, Qt would abort.
std::optional<Answer> missing_display(const std::vector<std::string>& arguments, const QTranslator* translation,
                                      const char* platform, const char* x11_display, const char* wayland_display) {
  const auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (set(platform) || set(x11_display) || set(wayland_display)) return std::nullopt;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i].size() < 2 || arguments[i][0] != '-') continue;
    const std::string_view name = qt_option_name(arguments[i]);
    if (name == "platform" || name == "display") return std::nullopt;
  }
  return Answer{translated(translation, QT_TRANSLATE_NOOP("CommandLine",
                                                          "velnorsolo: no display to open: neither "
                                                          "DISPLAY nor WAYLAND_DISPLAY is set\n")),
                1};
}

// A server address the game could not use is refused before the game starts, rather than the
// game quietly talking to the one built in.
std::optional<Answer> unusable_server(const char* chosen, const QTranslator* translation) {
  if (chosen == nullptr || *chosen == '\0' || is_server_base(chosen)) return std::nullopt;
  return Answer{translated(translation,
                           QT_TRANSLATE_NOOP("CommandLine",
                                             "velnorsolo: VELNOR_SERVER must be http://HOST/ or "
                                             "https://HOST/ (no port; a path must end in /), not '%1'\n"),
                           chosen),
                2};
}

}  // namespace

std::optional<int> answer_command_line(int argc, char** argv, const QTranslator* translation) {
  const std::vector<std::string> arguments(argv, argv + argc);
  std::optional<Answer> answer = read_arguments(arguments, translation);
  if (!answer) answer = unusable_server(std::getenv(kServerVariable), translation);
  if (!answer) {
    answer = missing_display(arguments, translation, std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                             std::getenv("WAYLAND_DISPLAY"));
  }
  if (!answer) return std::nullopt;
  std::fputs(answer->text.c_str(), answer->status == 0 ? stdout : stderr);
  return answer->status;
}

}  // namespace velnor
