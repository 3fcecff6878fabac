#pragma once

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "game/soundcues.h"
#include "game/soundplayer.h"

class QAudioSink;

namespace velnor {

// Plays the cues of kSoundCues, compiled in from assets/sounds, through Qt Multimedia.
// Creating it opens no audio device and reads no file, so that it costs start-up nothing:
// the first play opens the audio, and each cue is read when it first plays, then kept.
class QtSoundPlayer : public SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;
  QtSoundPlayer(const QtSoundPlayer&) = delete;
  QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

  // Stops the cue still sounding and starts the one named; an unknown name, or a cue whose
  // file cannot be read, plays nothing.
  void play(const QString& name) override;

 private:
  struct Pcm {
    QAudioFormat format;
    QByteArray samples;  // empty when the file could not be read
  };
  const Pcm& pcm_of(const SoundCue& cue);

  std::array<std::optional<Pcm>, kSoundCues.size()> loaded_;  // in the table's order
  QBuffer source_;
  std::unique_ptr<QAudioSink> sink_;
};

}  // namespace velnor
