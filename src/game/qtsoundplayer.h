#pragma once

#include <QString>
#include <map>
#include <memory>

#include "game/soundplayer.h"

class QSoundEffect;

namespace velnor {

// Plays the wave cues compiled in from assets/sounds.qrc (":/sounds/<name>.wav",
// names in lower case) through Qt Multimedia. Every cue is loaded once, up front,
// so that a cue starts without waiting for its file.
class QtSoundPlayer : public SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;
  QtSoundPlayer(const QtSoundPlayer&) = delete;
  QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

  // Stops the cue still sounding and starts the one named; an unknown name plays nothing.
  void play(const QString& name) override;

 private:
  std::map<QString, std::unique_ptr<QSoundEffect>> effects_;  // by lower-case name
  QSoundEffect* current_ = nullptr;
};

}  // namespace velnor
