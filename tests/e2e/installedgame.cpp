#include "installedgame.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "command.h"
#include "rules/tgame.h"
#include "support/private_network.h"

namespace velnor::testing {

namespace {

constexpr std::uint16_t kServerPort = 8080;  // the server's own, behind the relay on port 80

}  // namespace

long seconds_to_frozen_clock() {
  const QDateTime frozen(QDate::fromString(QString(kFrozenTime).left(10), Qt::ISODate),
                         QTime::fromString(QString(kFrozenTime).mid(11), Qt::ISODate), Qt::UTC);
  return static_cast<long>(frozen.toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch());
}

QByteArray read_file(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

struct Child {
  pid_t pid;
  QByteArray name;
  char state;     // 'Z' once it has ended and waits to be reaped
  int exit_code;  // as waitpid() tells it, once ended
};

// This process's children, as /proc tells them, without reaping any.
std::vector<Child> children() {
  std::vector<Child> found;
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
    bool number = false;
    const pid_t pid = entry.toInt(&number);
    if (!number) continue;
    QFile stat("/proc/" + entry + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) continue;
    // pid (name) state ppid ... exit_code (the 52nd field): the name may hold blanks, so the
    // fields are read after its last ')'.
    const QByteArray line = stat.readAll().trimmed();
    const qsizetype name_end = line.lastIndexOf(')');
    const QList<QByteArray> fields = line.mid(name_end + 2).split(' ');
    if (fields.size() < 2 || fields[1].toInt() != getpid()) continue;
    const qsizetype name_start = line.indexOf('(');
    found.push_back({pid, line.mid(name_start + 1, name_end - name_start - 1), fields[0].isEmpty() ? '?' : fields[0][0],
                     fields.size() >= 50 ? fields[49].toInt() : 0});
  }
  return found;
}

}  // namespace

pid_t child_running(const QString& program) {
  const QString wanted = QFileInfo(program).canonicalFilePath();
  for (const Child& child : children())
    if (QFile::symLinkTarget(QString("/proc/%1/exe").arg(child.pid)) == wanted) return child.pid;
  return 0;
}

QString children_ended() {
  QStringList ended;
  for (const Child& child : children()) {
    if (child.state != 'Z') continue;
    const int status = child.exit_code;
    ended << QString("%1 (%2) %3")
                 .arg(QString::fromLocal8Bit(child.name))
                 .arg(child.pid)
                 .arg(WIFSIGNALED(status) ? QString("ended by signal %1").arg(WTERMSIG(status))
                                          : QString("ended with status %1").arg(WEXITSTATUS(status)));
  }
  return ended.isEmpty() ? QString("no child has ended") : ended.join("; ");
}

void InstalledGame::SetUp() {
  ASSERT_TRUE(temp.isValid());
  prefix = temp.filePath("Velnor Solo");
  folder = prefix + "/games";
  const CommandResult installed =
      run_command(VELNOR_CMAKE_COMMAND, {"--install", VELNOR_BUILD_DIR, "--prefix", prefix, "--component", "game"});
  ASSERT_TRUE(installed.ok) << installed.describe().toStdString();
  ASSERT_NO_FATAL_FAILURE(start_desktop());
}

void InstalledGame::start_desktop() {
  ASSERT_TRUE(QFile::exists(VELNOR_FAKETIME_LIBRARY))
      << VELNOR_FAKETIME_LIBRARY << " is missing: install faketime (scripts/deps.sh lists it)";
  ASSERT_TRUE(QDir().mkpath(temp.filePath("run")));
  QFile::setPermissions(temp.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QString why;
  ASSERT_TRUE(x.start(why)) << why.toStdString();
}

void InstalledGame::TearDown() {
  if (game > 0 && !wait_for_exit(0)) {
    kill(game, SIGTERM);
    if (!wait_for_exit(5000)) {
      kill(game, SIGKILL);
      wait_for_exit(5000);
    }
  }
  if (server) {
    EXPECT_EQ(server->stop(), 0) << server->log();
  }
}

void InstalledGame::start_screen_reader() {
  // The display and the runtime folder, and nothing of the game's frozen clock.
  QProcessEnvironment environment = x.environment();
  environment.insert("XDG_RUNTIME_DIR", temp.filePath("run"));
  QString why;
  ASSERT_TRUE(reader.start(environment, why)) << why.toStdString();
}

void InstalledGame::start_server(const std::optional<QByteArray>& version) {
  ASSERT_TRUE(QDir().mkpath(temp.filePath("release")));
  if (version) {
    QFile text(temp.filePath("release/velnorsoloversion.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write(*version) == version->size());
  }
  const std::string site = temp.path().toStdString();
  server.emplace(
      site,
      std::vector<std::string>{VELNOR_SERVER_PROGRAM, "--listen", "127.0.0.1", "--port", std::to_string(kServerPort),
                               "--data", site + "/data", "--release", site + "/release"},
      site + "/server.log");
  ASSERT_TRUE(server->wait_for_port(kServerPort)) << server->log();
  relay.emplace(80, kServerPort);
}

void InstalledGame::play_whole_game(
    Played& played, const std::function<void(int round, const TilePlayer& player, int total)>& before_tiles) {
  ASSERT_NO_FATAL_FAILURE(play_rounds(Tgame::kRounds, played, before_tiles));
  // After the tenth round's pause: the game-over panel.
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return shows(shot, layout->gameover_picture(), pictures.gameover); },
      "the game-over panel"));
}

QProcessEnvironment InstalledGame::game_environment() const {
  QProcessEnvironment environment = x.environment();
  // The player's own desktop: no test platform, no scaling, Debian's default locale.
  for (const char* name : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
                           "QT_FONT_DPI", "LC_ALL", "LC_TIME", "LANGUAGE"})
    environment.remove(name);
  environment.insert("LANG", "C.UTF-8");
  // The clock stands still, so the seed is known; the monotonic clock runs on, so the timers
  // that pace the rounds and slide the tiles still fire.
  environment.insert("LD_PRELOAD", VELNOR_FAKETIME_LIBRARY);
  // A sanitizer build wants its runtime loaded first; the preloaded clock comes before it.
  environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  environment.insert("FAKETIME", kFrozenTime);
  environment.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
  environment.insert("TZ", "UTC");
  // Nothing of the test machine's session: no sound server is started, no message bus
  // launched, and the runtime folder (single-instance lock and socket) is the test's own.
  environment.insert("PULSE_SERVER", "unix:" + temp.filePath("no-sound-server"));
  environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + temp.filePath("no-bus"));
  environment.insert("XDG_RUNTIME_DIR", temp.filePath("run"));
  // ...unless the test reads it as a screen reader does, on a bus of the test's own.
  reader.add_to(environment);
  environment.insert(extra_environment);
  return environment;
}

void InstalledGame::launch() { game = start_copy(); }

pid_t InstalledGame::start_copy() {
  // Detached, as a desktop starts it: the game's output goes to a file, and the orphaned game
  // comes to this process, a subreaper.
  QProcess launcher;
  launcher.setProcessEnvironment(game_environment());
  launcher.setProgram(file("velnorsolo"));
  launcher.setWorkingDirectory(temp.path());
  launcher.setStandardOutputFile(log_path(), QIODevice::Append);
  launcher.setStandardErrorFile(log_path(), QIODevice::Append);
  qint64 pid = 0;
  EXPECT_TRUE(launcher.startDetached(&pid)) << launcher.errorString().toStdString();
  return static_cast<pid_t>(pid);
}

void InstalledGame::find_main_window() {
  window = wait_window("Velnor Solo");
  ASSERT_NE(window, 0u) << game_output();
  // The window manager frames the window, and the game then places it by its frame: wait for
  // the frame, then for the inside to settle.
  const QDeadlineTimer deadline(kTurnMs);
  while (x.frame(window) == x.geometry(window) && !deadline.hasExpired()) QThread::msleep(kPollMs);
  QRect last;
  while ((bounds = x.geometry(window)) != last && !deadline.hasExpired()) {
    last = bounds;
    QThread::msleep(200);
  }
  layout.emplace(bounds);
}

void InstalledGame::open_file_menu(const QStringList& keys) {
  if (keys.isEmpty()) {
    x.click(bounds.topLeft() + QPoint(14, 10));
  } else {
    x.focus(window);
    x.keys(keys);
  }
  // The menu drops over the board's brown top edge.
  const QPoint under_menu_bar = bounds.topLeft() + QPoint(100, bounds.height() - BoardLayout::kClientHeight + 2);
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return (shot.pixel(under_menu_bar) & RGB_MASK) != kWindowColor; },
      "the File menu"));
}

void InstalledGame::enter_name(const QString& name) {
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return count_colour(shot, layout->name_box(), kEditColor) > 1000; },
      "the name panel"));
  x.click(layout->name_box().center());
  x.keys({"ctrl+a"});
  x.type(name);
  x.click(layout->name_done().center());
}

void InstalledGame::play_rounds(
    int rounds, Played& played,
    const std::function<void(int round, const TilePlayer& player, int total)>& before_tiles) {
  x.click(layout->start_button().center());
  if (after_start) after_start();
  DiceReplay dice(seed);
  TilePlayer player;
  for (int round = 1; round <= rounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    player.new_round();
    dice.rest();
    if (before_round) before_round(round);
    for (;;) {
      // Ready for a roll: the roll picture up, the dice at rest, the tiles as the player left them.
      ASSERT_TRUE(wait_screen(
          kRoundMs,
          [&](const QImage& shot) {
            return shows(shot, layout->roll_button().topLeft(), pictures.roll) && dice_show(shot, dice) &&
                   tiles_show(shot, player);
          },
          "the board ready for a roll"));
      std::array<Die, 2> rolled = dice.roll();
      ++played.rolls;
      x.click(layout->roll_button().center());
      if (take_dealt_faces(dice)) ++played.dealt_rolls;
      if (HasFatalFailure()) return;
      rolled = dice.dice();
      ASSERT_TRUE(wait_screen(
          kTurnMs,
          [&](const QImage& shot) {
            return dice_show(shot, dice) && !shows(shot, layout->roll_button().topLeft(), pictures.roll);
          },
          "the dice the server dealt or the generator predicts"));
      const int total = rolled[0].value + rolled[1].value;
      const std::optional<std::vector<int>> tiles = player.choose(total);
      if (!tiles) break;  // no play: the round ends where the dice lie
      if (before_tiles) {
        before_tiles(round, player, total);
        if (HasFatalFailure()) return;
      }
      for (const int n : *tiles) x.click(layout->tile(n).center());
      player.shut(*tiles);
      if (player.round_done()) break;
      dice.rest();
    }
    // The round's last state, before the pause ends it: its shut tiles covered.
    ASSERT_TRUE(wait_screen(
        kTurnMs, [&](const QImage& shot) { return tiles_show(shot, player); }, "the round's shut tiles"));
    played.score += player.round_score();
    played.all_shut_rounds += player.round_score() == 65;
  }
}

bool InstalledGame::take_dealt_faces(DiceReplay& dice) {
  if (!live) return false;
  ++relayed_rolls;
  // The server deals a live game's faces; the generator still places the dice.
  if (relay) {
    const std::optional<TicketRelay::Roll> dealt = relay->wait_roll(relayed_rolls, kTurnMs);
    EXPECT_TRUE(dealt) << "the roll was not asked of the server";
    live = dealt && dealt->faces;
    if (live) dice.set_faces(*dealt->faces);
    return live;
  }
  if (relayed_rolls == 1) {
    // The first roll was placed by a seed not yet known: placed again by the ticket's.
    const std::optional<SeedTicket> ticket = wait_dealt_ticket();
    if (!ticket) return live = false;
    seed = ticket->seed;
    dice = DiceReplay(seed);
    dice.roll();
  }
  std::optional<std::array<int, 2>> faces;
  wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        return !shows(shot, layout->roll_button().topLeft(), pictures.roll) &&
               (faces = faces_shown(shot, dice)).has_value();
      },
      "the dealt dice where the ticket's generator places them");
  live = faces.has_value();
  if (live) dice.set_faces(*faces);
  return live;
}

std::optional<SeedTicket> InstalledGame::wait_dealt_ticket() {
  const QDeadlineTimer deadline(kTurnMs);
  for (;;) {
    const CommandResult dealt = run_command("sqlite3", {store(), "SELECT ticket FROM dealt_games"});
    if (const std::optional<SeedTicket> ticket = parse_seed_ticket(dealt.out.trimmed().toStdString())) return ticket;
    if (deadline.hasExpired()) {
      ADD_FAILURE() << "the store holds no dealt game: " << dealt.out.constData() << dealt.describe().toStdString();
      return std::nullopt;
    }
    QThread::msleep(kPollMs);
  }
}

std::optional<std::array<int, 2>> InstalledGame::faces_shown(const QImage& shot, const DiceReplay& dice) const {
  std::array<int, 2> faces{};
  for (std::size_t i = 0; i < faces.size(); ++i) {
    for (int value = 1; value <= 6 && faces[i] == 0; ++value)
      if (shows(shot, layout->die(dice.dice()[i]), pictures.faces[value])) faces[i] = value;
    if (faces[i] == 0) return std::nullopt;
  }
  return faces;
}

std::string InstalledGame::game_output() const {
  QFile log(log_path());
  return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
}

QStringList InstalledGame::tally_lines() const {
  const CommandResult shown = run_command(VELNOR_TALLY_PROGRAM, {"show", file("velnorsolotally.tld")});
  EXPECT_TRUE(shown.ok) << shown.describe().toStdString();
  return QString::fromUtf8(shown.out).split('\n', Qt::SkipEmptyParts);
}

bool InstalledGame::wait_screen(int timeout_ms, const std::function<bool(const QImage&)>& check, const char* what) {
  const QDeadlineTimer deadline(timeout_ms);
  for (;;) {
    screen = x.grab();
    if (!screen.isNull() && check(screen)) return true;
    if (deadline.hasExpired()) break;
    QThread::msleep(kPollMs);
  }
  ADD_FAILURE() << "the screen never showed " << what << " (" << save_failure() << ")";
  return false;
}

std::string InstalledGame::save_failure() {
  if (screen.isNull()) screen = x.grab();
  const QString failed =
      QString(VELNOR_SHOTS_DIR "/failed-%1.png").arg(::testing::UnitTest::GetInstance()->current_test_info()->name());
  screen.save(failed);
  return "last screenshot: " + failed.toStdString();
}

quint64 InstalledGame::wait_window(const QString& title) {
  // A loaded machine can take its time to start a program.
  const quint64 found = x.wait_for_window(title, 2 * kRoundMs);
  if (found == 0) {
    screen = x.grab();
    ADD_FAILURE() << "no window titled " << title.toStdString() << " showed (" << save_failure() << ")";
  }
  return found;
}

quint64 InstalledGame::wait_box() {
  const QDeadlineTimer deadline(kTurnMs);
  for (;;) {
    // A box just answered can still be named the active window for a moment after it has gone.
    const quint64 box = x.active_window();
    if (box != window && box != 0 && x.shown(box)) return box;
    if (deadline.hasExpired()) break;
    QThread::msleep(kPollMs);
  }
  screen = x.grab();
  ADD_FAILURE() << "no box took the keyboard within " << kTurnMs << " ms (" << save_failure() << ")";
  return 0;
}

bool InstalledGame::tiles_show(const QImage& shot, const TilePlayer& player) const {
  for (int n = 1; n <= 9; ++n) {
    const int frame = player.is_open(n) ? BoardPictures::kOpenFrame : BoardPictures::kShutFrame;
    if (!shows(shot, layout->tile_below_top_row(n), pictures.tiles[n][frame])) return false;
  }
  return true;
}

bool InstalledGame::dice_show(const QImage& shot, const DiceReplay& dice) const {
  // Before the first roll the dice show no face at all.
  for (const Die& die : dice.dice())
    if (die.value != 0 && !shows(shot, layout->die(die), pictures.faces[die.value])) return false;
  return true;
}

void InstalledGame::save(const QRect& area, const QString& name) const {
  EXPECT_TRUE(screen.copy(area).save(QString(VELNOR_SHOTS_DIR "/") + name)) << name.toStdString();
}

std::optional<int> InstalledGame::wait_for_exit_of(pid_t& pid, int timeout_ms) {
  const QDeadlineTimer deadline(timeout_ms);
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) {
      pid = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (ended < 0) {
      pid = 0;
      return -1;
    }
    if (deadline.hasExpired()) return std::nullopt;
    QThread::msleep(kPollMs);
  }
}

quint64 InstalledGame::wait_high_score_page() {
  const quint64 scores_window = wait_window("Velnor Solo - High Scores");
  if (scores_window == 0) return 0;
  const QRect viewer(x.geometry(scores_window).topLeft() + QPoint(113, 9), QSize(479, 505));
  const bool shown = wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        return count_colour(shot, viewer, kWindowColor) > 5000 && count_colour(shot, viewer, kPageGreen) > 1000;
      },
      "the high-score page");
  return shown ? scores_window : 0;
}

std::optional<int> InstalledGame::end_game(int signal) {
  kill(game, signal);
  return wait_for_exit(20000);
}

int run_installed_game_tests(int argc, char** argv) {
  clear_proxy_settings();
  std::string why;
  if (!listing_only(argc, argv)) {
    if (!enter_private_network(why)) {
      std::fprintf(stderr, "This test needs a private network namespace: %s\n", why.c_str());
      return 1;
    }
    // The game is started by a launcher that ends at once; its orphan comes to this process.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
  }
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace velnor::testing
