// The wave cues as compiled into the program, and the sound module, opened as the
// game opens it, making real sound: a PulseAudio server of the test's own plays
// into a null sink whose monitor is recorded, so no sound card is needed and
// nothing reaches the speakers of whoever runs the tests.
#include "game/soundmoduleplayer.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "game/soundcues.h"
#include "game/wavereader.h"

namespace {

using velnor::kSoundCues;
using velnor::SoundCue;
using velnor::WaveSound;

const SoundCue& cue_called(const char* name) { return kSoundCues.at(velnor::find_sound_cue(name).value()); }

std::span<const std::uint8_t> bytes_of(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QByteArray compiled_in_file(const SoundCue& cue) {
  QFile file(QStringLiteral(":/sounds/%1.wav").arg(QString::fromLatin1(cue.name)));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mono samples centred on zero: 8-bit PCM is unsigned with 128 as silence.
std::vector<int> samples_of(const WaveSound& wave) {
  std::vector<int> samples;
  const std::span<const std::uint8_t> p = wave.samples;
  if (wave.bits == 8) {
    for (std::uint8_t s : p) samples.push_back(s - 128);
  } else {
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) samples.push_back(qFromLittleEndian<qint16>(&p[i]));
  }
  return samples;
}

TEST(CueFiles, AreTheCuesOfTheTableWithTheirRateBitsAndLength) {
  // A file the table does not name could never be played.
  for (const QString& file : QDir(VELNOR_SOUNDS_DIR).entryList(QDir::Files)) {
    EXPECT_TRUE(std::ranges::any_of(
        kSoundCues, [&](const SoundCue& cue) { return file == QString::fromLatin1(cue.name) + ".wav"; }))
        << file.toStdString() << " is not in kSoundCues";
  }
  for (const SoundCue& cue : kSoundCues) {
    SCOPED_TRACE(cue.name);
    const QByteArray file = compiled_in_file(cue);
    const std::optional<WaveSound> wave = velnor::read_wave(bytes_of(file));
    ASSERT_TRUE(wave.has_value()) << "not a well-formed wave file of PCM";
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->rate, cue.rate);
    EXPECT_EQ(wave->bits, cue.bits);
    EXPECT_NEAR(static_cast<double>(wave->samples.size()) / (cue.bits / 8) / cue.rate, cue.seconds, 0.01);
  }
}

TEST(CueFiles, NeverClipAndStartAndEndOnSilence) {
  for (const SoundCue& cue : kSoundCues) {
    SCOPED_TRACE(cue.name);
    const QByteArray file = compiled_in_file(cue);
    const std::optional<WaveSound> wave = velnor::read_wave(bytes_of(file));
    ASSERT_TRUE(wave.has_value());
    const std::vector<int> samples = samples_of(*wave);
    ASSERT_FALSE(samples.empty());
    const int top = cue.bits == 8 ? 127 : 32767;  // the negative extreme is one further
    int run = 0, longest_run = 0, peak = 0;
    for (int s : samples) {
      run = (s >= top || s <= -top - 1) ? run + 1 : 0;
      longest_run = std::max(longest_run, run);
      peak = std::max(peak, std::abs(s));
    }
    EXPECT_LE(longest_run, 3);
    EXPECT_LE(peak, 0.9 * top) << "louder than -1 dBFS";
    // A cue that starts or stops away from zero clicks.
    EXPECT_LE(std::abs(samples.front()), 1);
    EXPECT_LE(std::abs(samples.back()), 1);
  }
}

// The cue files are ours, but a damaged one must play nothing, never noise or a read past its end.
TEST(CueFiles, OneThatDisagreesWithItselfIsRefused) {
  const QByteArray good = compiled_in_file(cue_called("invalid"));
  // An exact-size copy, so that the sanitizers see a read past the end.
  const auto refused = [](const QByteArray& bytes) {
    return !velnor::read_wave(std::vector<std::uint8_t>(bytes.begin(), bytes.end())).has_value();
  };
  // The file with a field of its 44-byte header changed.
  const auto with = [&](int at, quint32 value, int size) {
    QByteArray bytes = good;
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    return bytes;
  };
  ASSERT_FALSE(refused(good));
  EXPECT_TRUE(refused(good.first(good.size() - 1)));
  EXPECT_TRUE(refused(with(16, 0xFFFFFFFF, 4)));      // a format chunk beyond the end
  EXPECT_TRUE(refused(with(40, 0xFFFFFFF8, 4)));      // samples beyond the end
  EXPECT_TRUE(refused(with(36, 0x61746164 + 1, 4)));  // no "data" chunk
  EXPECT_TRUE(refused(with(20, 3, 2)));               // floating-point samples
  EXPECT_TRUE(refused(with(34, 12, 2)));              // 12 bits a sample
  EXPECT_TRUE(refused(with(32, 4, 2)));               // a frame size that disagrees
}

// Starts a child that dies with the test program, so a crash leaves no server behind.
void start_tied_to_us(QProcess& process, const QString& program, const QStringList& arguments) {
  process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
  process.start(program, arguments);
}

void end_process(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(5000)) {
    process.kill();
    process.waitForFinished(5000);
  }
}

constexpr int kRecordRate = 22050;
constexpr int kLoud = 64;  // of 32767: about -54 dBFS; the null sink's silence is exact zeros
constexpr int kDeadlineMs = 15000;

// A PulseAudio server in a private folder with one null sink. Whatever server
// the user may run is left alone: ours has its own socket, named in PULSE_SERVER.
class SoundServer {
 public:
  SoundServer() {
    const QString base = dir_.path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", base);  // a root server keeps its state under HOME
    env.insert("XDG_RUNTIME_DIR", base);
    env.insert("XDG_CONFIG_HOME", base + "/config");
    env.insert("PULSE_RUNTIME_PATH", base + "/runtime");
    env.insert("PULSE_STATE_PATH", base + "/state");
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::MergedChannels);
    start_tied_to_us(server_, "pulseaudio",
                     {"--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no", "--log-target=stderr",
                      "--load=module-null-sink sink_name=velnortest",
                      "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket()});
  }
  ~SoundServer() { end_process(server_); }

  QString address() const { return "unix:" + socket(); }

  // Waits until the server answers; false with the reason if it does not.
  bool wait_ready(QString& why) {
    const bool up = QTest::qWaitFor(
        [&] {
          if (server_.state() == QProcess::NotRunning) return true;
          QProcess probe;
          probe.start("pactl", {"--server=" + address(), "info"});
          return probe.waitForFinished(2000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
        },
        kDeadlineMs);
    if (up && server_.state() != QProcess::NotRunning) return true;
    why = "PulseAudio did not come up: " + QString::fromLocal8Bit(server_.readAll());
    return false;
  }

 private:
  QString socket() const { return dir_.path() + "/native"; }

  QTemporaryDir dir_;
  QProcess server_;
};

// Where sound was heard in a recording, in seconds from its start.
struct Span {
  double first = 0;
  double last = 0;
  double length() const { return last - first; }
};

// Records the null sink as 16-bit mono, in real time once the first data has come.
class Recorder {
 public:
  explicit Recorder(const QString& server) {
    QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { bytes_ += parec_.readAllStandardOutput(); });
    start_tied_to_us(parec_, "parec",
                     {"--server=" + server, "--device=velnortest.monitor", "--raw", "--format=s16le", "--channels=1",
                      "--rate=" + QString::number(kRecordRate), "--latency-msec=20"});
  }
  ~Recorder() { end_process(parec_); }

  // The monitor starts delivering a moment after parec connects.
  bool wait_ready() {
    return QTest::qWaitFor([&] { return !bytes_.isEmpty() || parec_.state() == QProcess::NotRunning; }, kDeadlineMs) &&
           !bytes_.isEmpty();
  }

  // Forgets what was recorded so far; keeps a half sample that has come early.
  void restart() { bytes_.remove(0, bytes_.size() - bytes_.size() % 2); }

  double seconds() const { return static_cast<double>(bytes_.size() / 2) / kRecordRate; }

  std::optional<Span> heard() const {
    const auto* p = reinterpret_cast<const uchar*>(bytes_.constData());
    std::optional<Span> span;
    for (qsizetype i = 0; i + 1 < bytes_.size(); i += 2) {
      if (std::abs(qFromLittleEndian<qint16>(p + i)) <= kLoud) continue;
      const double t = static_cast<double>(i / 2) / kRecordRate;
      if (!span) span = Span{t, t};
      span->last = t;
    }
    return span;
  }

  // Waits until sound has come and then stopped for long enough to call it over;
  // nothing if that does not happen in time.
  std::optional<Span> wait_for_sound_to_end() {
    std::optional<Span> span;
    const bool over = QTest::qWaitFor(
        [&] {
          span = heard();
          return span && seconds() - span->last > 0.4;
        },
        kDeadlineMs);
    return over ? span : std::nullopt;
  }

 private:
  QProcess parec_;
  QByteArray bytes_;
};

class RealSound : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<SoundServer>();
    if (!server_->wait_ready(why_)) return;
    // Before the first player: Qt reads it when it first connects to the server.
    qputenv("PULSE_SERVER", server_->address().toLocal8Bit());
    recorder_ = std::make_unique<Recorder>(server_->address());
    if (!recorder_->wait_ready()) why_ = "parec delivered nothing";
  }
  static void TearDownTestSuite() {
    recorder_.reset();
    server_.reset();
  }
  void SetUp() override {
    ASSERT_TRUE(why_.isEmpty()) << why_.toStdString();
    for (const char* tool : {"pulseaudio", "parec", "pactl"}) {
      ASSERT_FALSE(QStandardPaths::findExecutable(tool).isEmpty()) << tool << " is not installed";
    }
    recorder_->restart();
  }

  static void expect_length_of(const char* name, const std::optional<Span>& span) {
    ASSERT_TRUE(span.has_value()) << "no complete sound was heard of " << name;
    const double seconds = cue_called(name).seconds;
    EXPECT_GT(span->length(), 0.7 * seconds) << name;
    EXPECT_LT(span->length(), 1.3 * seconds) << name;
  }

  static inline std::unique_ptr<SoundServer> server_;
  static inline std::unique_ptr<Recorder> recorder_;
  static inline QString why_;
  velnor::SoundModulePlayer player_{VELNOR_SOUND_MODULE_PATH};
};

TEST_F(RealSound, CueNamedInAnyCaseSoundsForItsWholeLength) {
  // The short cue is where an early end of playback shows most.
  for (const char* name : {"Dice", "INVALID"}) {
    recorder_->restart();
    player_.play(QString::fromLatin1(name));
    expect_length_of(name, recorder_->wait_for_sound_to_end());
  }
}

TEST_F(RealSound, NewCueCutsOffTheOneStillSounding) {
  player_.play("gameover");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const auto span = recorder_->heard();
        return span && recorder_->seconds() - span->first > 0.3;
      },
      kDeadlineMs));
  player_.play("invalid");
  const auto span = recorder_->wait_for_sound_to_end();
  ASSERT_TRUE(span.has_value());
  // About 0.3 s of the closing phrase, then the buzz: far short of the phrase's 2.79 s.
  EXPECT_GT(span->length(), 0.3 + 0.7 * cue_called("invalid").seconds);
  EXPECT_LT(span->length(), 1.2);
}

TEST_F(RealSound, UnknownNamePlaysNothing) {
  player_.play("nosuchcue");
  // Listening for nothing: long enough for any cue to have begun.
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorder_->seconds() > 0.6; }, kDeadlineMs));
  EXPECT_FALSE(recorder_->heard().has_value());
  // And the player still works afterwards.
  player_.play("invalid");
  expect_length_of("invalid", recorder_->wait_for_sound_to_end());
}

// A damaged, cut short, missing or other build's module costs the game its sounds, never its life:
// a copy cut short once crashed the game at every cue.
TEST_F(RealSound, ModuleThatIsNotTheGamesLeavesTheGameSilent) {
  QTemporaryDir folder;
  QFile real(VELNOR_SOUND_MODULE_PATH);
  ASSERT_TRUE(real.open(QIODevice::ReadOnly));
  const QByteArray module = real.readAll();
  std::vector<std::unique_ptr<velnor::SoundModulePlayer>> players;
  const auto module_of = [&](const QString& name, const QByteArray& bytes) {
    QFile copy(folder.filePath(name));
    EXPECT_TRUE(copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size());
    players.push_back(std::make_unique<velnor::SoundModulePlayer>(copy.fileName()));
  };
  module_of("damaged.so", QByteArray(4096, '\x7f'));
  module_of("cut-5000.so", module.left(5000));
  module_of("cut-12000.so", module.left(12000));
  QByteArray rebuilt = module;  // same size, one byte other: as from another build
  rebuilt[rebuilt.size() / 2] = static_cast<char>(~rebuilt[rebuilt.size() / 2]);
  module_of("rebuilt.so", rebuilt);
  players.push_back(
      std::make_unique<velnor::SoundModulePlayer>(velnor::SoundModulePlayer::for_program(folder.filePath("missing"))));
  // Of another build: calling it would abort the game.
  players.push_back(std::make_unique<velnor::SoundModulePlayer>(VELNOR_OTHER_SOUND_MODULE_PATH));
  for (int i = 0; i < 2; ++i) {
    for (const auto& player : players) player->play("invalid");
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorder_->seconds() > 0.6; }, kDeadlineMs));
  EXPECT_FALSE(recorder_->heard().has_value());
}

}  // namespace
