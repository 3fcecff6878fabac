#pragma once

#include <QString>

#include <memory>

#include "game/soundplayer.h"

namespace velnor {

// Plays the cues through the sound module, opened from the folder given on the first play.
// Until then it costs nothing; a module that is missing or does not open leaves the game silent.
class SoundModulePlayer : public SoundPlayer {
 public:
  explicit SoundModulePlayer(QString module_path);
  ~SoundModulePlayer() override;
  SoundModulePlayer(const SoundModulePlayer&) = delete;
  SoundModulePlayer& operator=(const SoundModulePlayer&) = delete;

  // The module's file: beside the program (a build), else in the private library folder where an
  // install puts it.
  static QString for_program(const QString& program_dir);

  void play(const QString& name) override;

 private:
  QString module_path_;
  bool opened_ = false;  // tried, whether or not it worked
  std::unique_ptr<SoundPlayer> player_;
};

}  // namespace velnor
