#pragma once

#include <QString>

namespace velnor {

// Plays the program's wave cues by name, asynchronously; a new cue cuts off the
// one still sounding. Tests substitute a recorder.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // The name is matched against the cues without regard to case ("Dice" finds DICE).
  virtual void play(const QString& name) = 0;
};

}  // namespace velnor
