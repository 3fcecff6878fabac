#include "game/qtsoundplayer.h"

#include <QAudioSink>
#include <QDebug>
#include <QFile>
#include <QMediaDevices>

#include "game/wavereader.h"

namespace velnor {

namespace {

// A cue's stream is closed once it has handed over its last sample, so that none
// is held open (and woken) while the game is idle. Qt 6.4 closes the PulseAudio
// stream at once, and the server drops the quarter second it still holds: every
// cue lost its end, the short ones half of themselves. Silence appended to each
// cue is what gets dropped instead.
constexpr double kSilentTailSeconds = 0.5;

}  // namespace

QtSoundPlayer::QtSoundPlayer() = default;

// Sinks are stopped, never destroyed while they play: Qt 6.4's sink runs pending
// events as it is destroyed, and a feed still queued for a playing sink then
// writes to its closed stream (PulseAudio aborts the program).
QtSoundPlayer::~QtSoundPlayer() {
  if (sounding_ != nullptr) sounding_->stop();
}

QtSoundPlayer::Loaded& QtSoundPlayer::load(std::size_t cue) {
  std::unique_ptr<Loaded>& loaded = loaded_.at(cue);
  if (loaded) return *loaded;
  loaded = std::make_unique<Loaded>();
  QFile file(QStringLiteral(":/sounds/%1.wav").arg(QString::fromLatin1(kSoundCues.at(cue).name)));
  if (!file.open(QIODevice::ReadOnly)) return *loaded;
  const QByteArray bytes = file.readAll();
  const auto wave =
      read_wave({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
  if (!wave) return *loaded;

  loaded->format.setSampleRate(wave->rate);
  loaded->format.setChannelCount(wave->channels);
  loaded->format.setSampleFormat(wave->bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  loaded->samples =
      QByteArray(reinterpret_cast<const char*>(wave->samples.data()), static_cast<qsizetype>(wave->samples.size()));
  const auto tail_frames = static_cast<qsizetype>(wave->rate * kSilentTailSeconds);
  loaded->samples.append(tail_frames * loaded->format.bytesPerFrame(), wave->bits == 8 ? '\x80' : '\0');
  loaded->source.setBuffer(&loaded->samples);
  loaded->source.open(QIODevice::ReadOnly);
  return *loaded;
}

bool QtSoundPlayer::has_sink(Loaded& loaded) {
  if (loaded.sink) return true;
  // Without a device Qt would warn at every sink made: the player is told once, and each cue
  // tries again when it next plays, so that a device plugged in later is used.
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    if (!told_no_device_) qWarning().noquote() << "No sound device was found; the game is silent until there is one.";
    told_no_device_ = true;
    return false;
  }
  // The first sink made opens the audio.
  loaded.sink = std::make_unique<QAudioSink>(device, loaded.format);
  QAudioSink* sink = loaded.sink.get();
  QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
    if (state == QAudio::IdleState) sink->stop();  // run dry: see kSilentTailSeconds
  });
  return true;
}

void QtSoundPlayer::play(const QString& name) {
  const QByteArray latin = name.toLatin1();
  const std::optional<std::size_t> cue = find_sound_cue({latin.constData(), static_cast<std::size_t>(latin.size())});
  if (!cue) return;
  Loaded& loaded = load(*cue);
  if (loaded.samples.isEmpty() || !has_sink(loaded)) return;
  if (sounding_ != nullptr) sounding_->stop();  // cuts off the cue still sounding
  loaded.source.seek(0);
  loaded.sink->start(&loaded.source);
  sounding_ = loaded.sink.get();
}

}  // namespace velnor
