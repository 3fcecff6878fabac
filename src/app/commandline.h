#pragma once

#include <optional>

class QTranslator;

namespace velnor {

// What the command line asks for, answered before any display is opened: the game takes no
// arguments of its own but --help and --version, and leaves Qt's own options (-platform,
// -display, ...) to the application object. Prints the help, the version, or a one-line refusal
// of an unknown argument or of a start with no display at all, and gives the exit status; nothing
// when the game is to start. The texts are translation's where it has them.
std::optional<int> answer_command_line(int argc, char** argv, const QTranslator* translation = nullptr);

}  // namespace velnor
