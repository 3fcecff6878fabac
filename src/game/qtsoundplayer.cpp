#include "game/qtsoundplayer.h"

#include <QAudioSink>
#include <QFile>

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

QtSoundPlayer::~QtSoundPlayer() = default;

const QtSoundPlayer::Pcm& QtSoundPlayer::pcm_of(const SoundCue& cue) {
  std::optional<Pcm>& pcm = loaded_[static_cast<std::size_t>(&cue - kSoundCues.data())];
  if (pcm) return *pcm;
  pcm.emplace();
  QFile file(QStringLiteral(":/sounds/%1.wav").arg(QString::fromLatin1(cue.name)));
  if (!file.open(QIODevice::ReadOnly)) return *pcm;
  const QByteArray bytes = file.readAll();
  const auto wave = read_wave({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())});
  if (!wave) return *pcm;
  pcm->format.setSampleRate(wave->rate);
  pcm->format.setChannelCount(wave->channels);
  pcm->format.setSampleFormat(wave->bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  pcm->samples = QByteArray(reinterpret_cast<const char*>(wave->samples.data()),
                            static_cast<qsizetype>(wave->samples.size()));
  const auto tail_frames = static_cast<qsizetype>(wave->rate * kSilentTailSeconds);
  pcm->samples.append(tail_frames * pcm->format.bytesPerFrame(), wave->bits == 8 ? '\x80' : '\0');
  return *pcm;
}

void QtSoundPlayer::play(const QString& name) {
  const QByteArray latin = name.toLatin1();
  const SoundCue* cue = find_sound_cue({latin.constData(), static_cast<std::size_t>(latin.size())});
  if (cue == nullptr) return;
  const Pcm& pcm = pcm_of(*cue);
  if (pcm.samples.isEmpty()) return;
  sink_.reset();  // cuts off the cue still sounding
  source_.close();
  source_.setData(pcm.samples);
  source_.open(QIODevice::ReadOnly);
  // A sink of the cue's own format: the cues differ in rate and bits. The first one opens the audio.
  sink_ = std::make_unique<QAudioSink>(pcm.format);
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(), [sink = sink_.get()](QAudio::State state) {
    if (state == QAudio::IdleState) sink->stop();  // run dry: see kSilentTailSeconds
  });
  sink_->start(&source_);
}

}  // namespace velnor
