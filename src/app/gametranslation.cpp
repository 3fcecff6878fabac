#include "app/gametranslation.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

namespace velnor {

namespace {

// Asked before any application object exists, so from the system rather than from Qt.
QString translations_folder() {
  const QString program_dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  const QString beside = program_dir + "/translations";
  if (QFileInfo::exists(beside)) return beside;
  return QDir::cleanPath(program_dir + "/" VELNOR_TRANSLATIONS_DIR);
}

// "C" and "POSIX" are what Qt reports for the plain locales; English needs no translation.
bool wants_own_texts(const QString& language) {
  return language == "C" || language == "POSIX" || language == "en" || language.startsWith("en-");
}

// The C and POSIX locales keep the program's texts whatever LANGUAGE asks, as gettext has it: Qt
// would follow LANGUAGE even there.
bool plain_locale() {
  QByteArray locale = qgetenv("LC_ALL");
  if (locale.isEmpty()) locale = qgetenv("LC_MESSAGES");
  if (locale.isEmpty()) locale = qgetenv("LANG");
  return locale.isEmpty() || locale == "C" || locale == "POSIX" || locale.startsWith("C.");
}

}  // namespace

std::unique_ptr<QTranslator> load_game_translation() {
  if (plain_locale()) return nullptr;
  const QStringList languages = QLocale::system().uiLanguages();
  if (languages.isEmpty() || wants_own_texts(languages.first())) return nullptr;
  const QString folder = translations_folder();
  auto translator = std::make_unique<QTranslator>();
  for (const QString& language : languages) {
    // An English wish further down the list is met by the program's own texts.
    if (wants_own_texts(language)) return nullptr;
    // Qt tries "de_DE" and then "de" by itself. A file that holds no text yet is passed over.
    if (translator->load("velnorsolo_" + QString(language).replace('-', '_'), folder) && !translator->isEmpty())
      return translator;
  }
  return nullptr;
}

std::unique_ptr<QTranslator> load_qt_translation(const QTranslator& game) {
  auto translator = std::make_unique<QTranslator>();
  if (translator->load("qtbase_" + game.language(), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return translator;
  return nullptr;
}

}  // namespace velnor
