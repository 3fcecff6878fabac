// The wave cues as compiled into the program, and QtSoundPlayer making real
// sound: a PulseAudio server of the test's own plays into a null sink whose
// monitor is recorded, so no sound card is needed and nothing reaches the
// speakers of whoever runs the tests.
#include "game/qtsoundplayer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

static void register_sound_resources() { Q_INIT_RESOURCE(sounds); }

namespace {

struct CueFormat {
  const char* name;
  int rate;
  int bits;
  double seconds;
};

constexpr std::array<CueFormat, 8> kCues{{
    {"entered", 11025, 8, 0.79},
    {"turnnew", 44100, 8, 0.43},
    {"dice", 22050, 8, 0.76},
    {"slide", 11025, 8, 0.78},
    {"invalid", 11025, 8, 0.25},
    {"shuttthemall", 22050, 8, 1.00},
    {"shutsome", 22050, 8, 0.72},
    {"gameover", 22050, 16, 2.79},
}};

double cue_seconds(const char* name) {
  for (const CueFormat& cue : kCues) {
    if (qstricmp(cue.name, name) == 0) return cue.seconds;
  }
  return 0;
}

// What a RIFF WAVE file says of itself; fields of a missing chunk stay zero.
struct Wave {
  bool riff = false;        // "RIFF" ... "WAVE", with a size that matches the file
  int format = 0;           // 1 is uncompressed PCM
  int channels = 0;
  int rate = 0;
  int byte_rate = 0;
  int block_align = 0;
  int bits = 0;
  QByteArray data;
};

Wave read_wave(const QByteArray& bytes) {
  Wave wave;
  const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
  const qsizetype n = bytes.size();
  if (n < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return wave;
  wave.riff = qFromLittleEndian<quint32>(p + 4) == static_cast<quint32>(n - 8);
  for (qsizetype at = 12; at + 8 <= n;) {
    const QByteArray tag = bytes.mid(at, 4);
    const qsizetype size = qFromLittleEndian<quint32>(p + at + 4);
    const qsizetype body = at + 8;
    if (size > n - body) break;
    if (tag == "fmt " && size >= 16) {
      wave.format = qFromLittleEndian<quint16>(p + body);
      wave.channels = qFromLittleEndian<quint16>(p + body + 2);
      wave.rate = static_cast<int>(qFromLittleEndian<quint32>(p + body + 4));
      wave.byte_rate = static_cast<int>(qFromLittleEndian<quint32>(p + body + 8));
      wave.block_align = qFromLittleEndian<quint16>(p + body + 12);
      wave.bits = qFromLittleEndian<quint16>(p + body + 14);
    } else if (tag == "data") {
      wave.data = bytes.mid(body, size);
    }
    at = body + size + size % 2;
  }
  return wave;
}

// Mono samples centred on zero: 8-bit PCM is unsigned with 128 as silence.
std::vector<int> samples_of(const Wave& wave) {
  std::vector<int> samples;
  const auto* p = reinterpret_cast<const uchar*>(wave.data.constData());
  if (wave.bits == 8) {
    for (qsizetype i = 0; i < wave.data.size(); ++i) samples.push_back(p[i] - 128);
  } else if (wave.bits == 16) {
    for (qsizetype i = 0; i + 1 < wave.data.size(); i += 2) samples.push_back(qFromLittleEndian<qint16>(p + i));
  }
  return samples;
}

Wave compiled_in_cue(const char* name) {
  static const bool registered = (register_sound_resources(), true);
  Q_UNUSED(registered);
  QFile file(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(name)));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return read_wave(file.readAll());
}

TEST(CueFiles, AreMonoPcmOfTheirRateBitsAndLength) {
  for (const CueFormat& cue : kCues) {
    SCOPED_TRACE(cue.name);
    const Wave wave = compiled_in_cue(cue.name);
    EXPECT_TRUE(wave.riff);
    EXPECT_EQ(wave.format, 1);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.rate, cue.rate);
    EXPECT_EQ(wave.bits, cue.bits);
    EXPECT_EQ(wave.block_align, cue.bits / 8);
    EXPECT_EQ(wave.byte_rate, cue.rate * cue.bits / 8);
    ASSERT_GT(wave.block_align, 0);
    EXPECT_NEAR(static_cast<double>(wave.data.size()) / wave.block_align / cue.rate, cue.seconds, 0.01);
  }
}

TEST(CueFiles, NeverClipAndStartAndEndOnSilence) {
  for (const CueFormat& cue : kCues) {
    SCOPED_TRACE(cue.name);
    const std::vector<int> samples = samples_of(compiled_in_cue(cue.name));
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
    const double seconds = cue_seconds(name);
    EXPECT_GT(span->length(), 0.7 * seconds) << name;
    EXPECT_LT(span->length(), 1.3 * seconds) << name;
  }

  static inline std::unique_ptr<SoundServer> server_;
  static inline std::unique_ptr<Recorder> recorder_;
  static inline QString why_;
  velnor::QtSoundPlayer player_;
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
  EXPECT_GT(span->length(), 0.3 + 0.7 * cue_seconds("invalid"));
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

}  // namespace
