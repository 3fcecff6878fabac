#pragma once

#include <QTranslator>

#include <memory>

namespace velnor {

// The game's texts in the player's language, as Qt reads it (LANGUAGE, LC_ALL, LC_MESSAGES, LANG),
// from the folder beside the program (a portable copy, the build) or else the installed one. Null
// in the C and POSIX locales, when the first language asked for is English, whose texts are the
// program's own, or when no language asked for has a translation: then nothing is read at all.
std::unique_ptr<QTranslator> load_game_translation();

// Qt's own texts (the message boxes' buttons) in the language the game's translation is in, from
// Qt's translations when the system has them; null otherwise.
std::unique_ptr<QTranslator> load_qt_translation(const QTranslator& game);

}  // namespace velnor
