#pragma once

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <memory>

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
  struct Loaded {
    QByteArray samples;  // PCM, with a silent tail; empty if its file cannot be read
    QAudioFormat format;
    QBuffer source;
    std::unique_ptr<QAudioSink> sink;  // of the cue's own format, made when it first plays on a device
  };
  Loaded& load(std::size_t cue);  // cue: its place in kSoundCues
  // The cue's sink, made on the system's sound device; false while there is none.
  bool has_sink(Loaded& loaded);

  std::array<std::unique_ptr<Loaded>, kSoundCues.size()> loaded_;
  QAudioSink* sounding_ = nullptr;  // the sink started last
  bool told_no_device_ = false;
};

}  // namespace velnor
