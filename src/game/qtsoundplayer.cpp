#include "game/qtsoundplayer.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>
#include <algorithm>
#include <array>

// The cues live in a static library: their resources must be registered by name.
static void register_sound_resources() { Q_INIT_RESOURCE(sounds); }

namespace velnor {

namespace {

constexpr std::array<const char*, 8> kCueNames{"entered", "turnnew",      "dice",     "slide",
                                                "invalid", "shuttthemall", "shutsome", "gameover"};

// Qt 6.4 closes its PulseAudio stream as soon as it has handed over the last
// sample, and the server drops the quarter second it still holds: every cue
// lost its end, the short ones half of themselves. Silence appended to each
// cue is what gets dropped instead.
constexpr double kSilentTailSeconds = 0.5;

// Offsets in the canonical 44-byte header that our cue files have.
constexpr int kHeaderSize = 44;
constexpr int kRiffSizeAt = 4, kRateAt = 24, kBlockAlignAt = 32, kBitsAt = 34, kDataTagAt = 36, kDataSizeAt = 40;

// The cue as QSoundEffect should load it: the resource with a silent tail, as a
// data: address. A file not laid out as expected plays as it is.
QUrl source_with_silent_tail(const QString& name) {
  const QString path = QStringLiteral(":/sounds/%1.wav").arg(name);
  const QUrl plain(QStringLiteral("qrc") + path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return plain;
  const QByteArray wav = file.readAll();
  if (wav.size() < kHeaderSize || !wav.startsWith("RIFF") || wav.mid(8, 8) != "WAVEfmt " ||
      wav.mid(kDataTagAt, 4) != "data") {
    return plain;
  }
  const auto* bytes = reinterpret_cast<const uchar*>(wav.constData());
  const qint64 rate = qFromLittleEndian<quint32>(bytes + kRateAt);
  const qint64 block_align = qFromLittleEndian<quint16>(bytes + kBlockAlignAt);
  const int bits = qFromLittleEndian<quint16>(bytes + kBitsAt);
  const qint64 data_size = std::min<qint64>(qFromLittleEndian<quint32>(bytes + kDataSizeAt), wav.size() - kHeaderSize);
  if (rate <= 0 || rate > 192000 || block_align <= 0 || block_align > 8) return plain;

  QByteArray padded = wav.left(kHeaderSize + data_size);
  const qint64 frames = static_cast<qint64>(rate * kSilentTailSeconds);
  padded.append(frames * block_align, bits == 8 ? '\x80' : '\0');  // 8-bit PCM is unsigned
  const qint64 new_data_size = padded.size() - kHeaderSize;
  if (new_data_size % 2 != 0) padded.append('\0');  // RIFF pads chunks to even lengths
  auto* out = reinterpret_cast<uchar*>(padded.data());
  qToLittleEndian<quint32>(static_cast<quint32>(new_data_size), out + kDataSizeAt);
  qToLittleEndian<quint32>(static_cast<quint32>(padded.size() - 8), out + kRiffSizeAt);
  return QUrl(QStringLiteral("data:audio/wav;base64,") + QString::fromLatin1(padded.toBase64()));
}

}  // namespace

QtSoundPlayer::QtSoundPlayer() {
  register_sound_resources();
  for (const char* name : kCueNames) {
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(source_with_silent_tail(QString::fromLatin1(name)));
    effects_.emplace(QString::fromLatin1(name), std::move(effect));
  }
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& name) {
  const auto it = effects_.find(name.toLower());
  if (it == effects_.end()) return;
  if (current_ != nullptr) current_->stop();
  current_ = it->second.get();
  current_->play();
}

}  // namespace velnor
