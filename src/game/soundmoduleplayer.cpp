#include "game/soundmoduleplayer.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <string_view>
#include <utility>

#include "core/version.h"
#include "game/soundmodule.h"

namespace velnor {

SoundModulePlayer::SoundModulePlayer(QString module_path) : module_path_(std::move(module_path)) {}

SoundModulePlayer::~SoundModulePlayer() = default;

QString SoundModulePlayer::for_program(const QString& program_dir) {
  const QString beside = program_dir + "/" VELNOR_SOUND_MODULE;
  if (QFileInfo::exists(beside)) return beside;
  return QDir::cleanPath(program_dir + "/" VELNOR_SOUND_MODULE_DIR "/" VELNOR_SOUND_MODULE);
}

void SoundModulePlayer::play(const QString& name) {
  if (!opened_) {
    opened_ = true;
    QLibrary module(module_path_);
    // Every symbol bound now: a module that misses one fails here, not with a crash at a later cue.
    // It stays loaded for the life of the process.
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    const auto version = reinterpret_cast<SoundModuleVersionEntry>(module.resolve(kSoundModuleVersionEntry));
    const auto entry = reinterpret_cast<SoundModuleEntry>(module.resolve(kSoundModuleEntry));
    if (version == nullptr || entry == nullptr) {
      qWarning().noquote() << "The game plays no sounds:" << module.errorString();
      return;
    }
    if (std::string_view(version()) != kVersion) {
      qWarning().noquote() << "The game plays no sounds: its sound module" << module_path_ << "is of version"
                           << version() << "and the game of" << QString::fromUtf8(kVersion.data(), kVersion.size());
      return;
    }
    player_.reset(entry());
  }
  if (player_) player_->play(name);
}

}  // namespace velnor
