#include "game/soundmoduleplayer.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <utility>

#include "game/soundmodule.h"
#include "game/soundmoduleprint.h"

namespace velnor {

namespace {

// Empty when the file holds exactly the module built with the game; otherwise why not. A module
// cut short by a copy, or of another build, would be mapped and called, and crash the game.
QString differs_from_own(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  if (file.size() != kSoundModuleSize) {
    return QString("it holds %1 bytes, and the game's holds %2").arg(file.size()).arg(kSoundModuleSize);
  }
  QCryptographicHash sha256(QCryptographicHash::Sha256);
  if (!sha256.addData(&file)) return file.errorString();
  if (sha256.result().toHex() != kSoundModuleSha256) return "it is not the one built with the game";
  return {};
}

}  // namespace

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
    if (const QString why = differs_from_own(module_path_); !why.isEmpty()) {
      qWarning().noquote() << "The game plays no sounds: its sound module" << module_path_ << "is not loaded:" << why;
      return;
    }
    QLibrary module(module_path_);
    // Every symbol bound now: a module that misses one fails here, not with a crash at a later cue.
    // It stays loaded for the life of the process.
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    const auto entry = reinterpret_cast<SoundModuleEntry>(module.resolve(kSoundModuleEntry));
    if (entry == nullptr) {
      qWarning().noquote() << "The game plays no sounds:" << module.errorString();
      return;
    }
    player_.reset(entry());
  }
  if (player_) player_->play(name);
}

}  // namespace velnor
