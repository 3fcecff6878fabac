// A whole game through the installed program. The game is installed with `cmake --install`
// into a fresh folder whose name holds a space, put on a private desktop menu with
// scripts/install-desktop and started from that menu entry under Xvfb, with its clock frozen
// by libfaketime. It is played for ten rounds with X input, its score is posted to
// velnor-server on port 80 of a private network, and it is closed from the File menu.
//
// The dice are known in advance: the game seeds its generator once, with the milliseconds
// since midnight UTC, and the frozen clock fixes those. The test replays the generator and
// plays from what it predicts; the screen must show exactly those dice and tiles.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <optional>

#include "boardlayout.h"
#include "boardpictures.h"
#include "command.h"
#include "dicereplay.h"
#include "support/private_network.h"
#include "tileplayer.h"
#include "xdisplay.h"

using namespace velnor::testing;

namespace {

// The frozen clock, and the seed it gives: (10 × 3600 + 13 × 60 + 46) × 1000 ms. With it the
// test's player has a game of 45 rolls with one round where all nine tiles shut.
const char* const kFrozenTime = "2026-12-07 10:13:46";
constexpr std::uint32_t kSeed = 36826000;
const QString kPostedDate = "12/7/26";  // the frozen day, as the game writes it under US settings
const QString kFirstName = "Ann";           // typed on the name panel at start
const QString kPostedName = "Ann Tester";   // typed on the game-over panel
const char* const kOwnVersion = "1.0.0";    // the program's version text: no update is offered

constexpr QRgb kWindowColor = 0x6F5840;
constexpr QRgb kDarkGreen = 0x005900;
constexpr QRgb kEnteredRed = 0xFF0000;
constexpr QRgb kEditColor = 0xFFFFE8;

constexpr int kPollMs = 30;
constexpr int kTurnMs = 5000;   // a click's effect, tiles' slides included
constexpr int kRoundMs = 10000;  // the three-second pause between rounds, with room

// The process, among this one's children, that runs the program file given.
pid_t child_running(const QString& program) {
  const QString wanted = QFileInfo(program).canonicalFilePath();
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
    bool number = false;
    const pid_t pid = entry.toInt(&number);
    if (!number) continue;
    QFile stat("/proc/" + entry + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) continue;
    // pid (name) state ppid ...: the name may hold blanks, so read after its last ')'.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 2 || fields[1].toInt() != getpid()) continue;
    if (QFile::symLinkTarget("/proc/" + entry + "/exe") == wanted) return pid;
  }
  return 0;
}

class WholeGame : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // What a run of the game did, as the test's own account has it.
  struct Played {
    int rolls = 0;
    int score = 0;
    int all_shut_rounds = 0;
  };

  void install();
  void add_to_menu();
  void start_server();
  void launch();
  // The steps of the game, each ending where the next begins.
  void start_with_name();
  void play_ten_rounds();
  void send_score();
  void show_tally();
  void exit_from_menu();

  QProcessEnvironment game_environment() const;
  QString log_path() const { return temp.filePath("game.log"); }
  std::string game_output() const;  // what the game and its launcher wrote

  // Takes screenshots until check passes on one, for at most timeout_ms; the last one stays
  // in screen, and is saved for a look when the wait fails.
  bool wait_screen(int timeout_ms, const std::function<bool(const QImage&)>& check, const char* what);
  bool tiles_show(const QImage& screen, const TilePlayer& player) const;
  bool dice_show(const QImage& screen, const DiceReplay& dice) const;
  void save(const QRect& area, const QString& name) const;
  std::string save_failure();
  // A visible window of that title, or 0 and a failure when none shows in time.
  quint64 wait_window(const QString& title);
  // Gives the main window the keyboard, clicks File on its menu bar and waits for the menu,
  // which then takes the keys.
  void open_file_menu();
  // The game's exit status, once it has ended within the time; nullopt while it runs.
  std::optional<int> wait_for_exit(int timeout_ms);

  QTemporaryDir temp;
  QString folder;     // the installed game
  QString data_home;  // the player's XDG data folder
  XDisplay x;
  QProcess server;
  pid_t game = 0;
  quint64 window = 0;  // the main window
  QRect bounds;        // ...on the screen
  Played played;
  BoardPictures pictures{VELNOR_SOURCE_DIR "/assets"};
  std::optional<BoardLayout> layout;
  QImage screen;
};

void WholeGame::SetUp() {
  ASSERT_TRUE(temp.isValid());
  folder = temp.filePath("Velnor Solo");
  data_home = temp.filePath("share");
  ASSERT_TRUE(QFile::exists(VELNOR_FAKETIME_LIBRARY))
      << VELNOR_FAKETIME_LIBRARY << " is missing: install faketime (scripts/deps.sh lists it)";
  ASSERT_NO_FATAL_FAILURE(install());
  ASSERT_NO_FATAL_FAILURE(add_to_menu());
  QString why;
  ASSERT_TRUE(x.start(why)) << why.toStdString();
  ASSERT_NO_FATAL_FAILURE(start_server());
}

void WholeGame::TearDown() {
  if (game > 0 && !wait_for_exit(0)) {
    kill(game, SIGTERM);
    if (!wait_for_exit(5000)) {
      kill(game, SIGKILL);
      wait_for_exit(5000);
    }
  }
  if (server.state() != QProcess::NotRunning) {
    server.terminate();
    EXPECT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(server.exitCode(), 0) << server.readAllStandardError().toStdString();
  }
}

void WholeGame::install() {
  const CommandResult installed = run_command(
      VELNOR_CMAKE_COMMAND, {"--install", VELNOR_BUILD_DIR, "--prefix", folder, "--component", "game"});
  ASSERT_TRUE(installed.ok) << installed.describe().toStdString();
  // The program with its desktop entry and icon, and nothing else.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList({"velnorsolo", "velnorsolo.desktop", "velnorsolo.png"}));
  EXPECT_TRUE(QFileInfo(folder + "/velnorsolo").isExecutable());
  EXPECT_EQ(QImage(folder + "/velnorsolo.png").size(), QSize(256, 256));
}

void WholeGame::add_to_menu() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_DATA_HOME", data_home);
  const CommandResult added =
      run_command(VELNOR_SOURCE_DIR "/scripts/install-desktop", {folder}, environment);
  ASSERT_TRUE(added.ok) << added.describe().toStdString();
  ASSERT_TRUE(QFile::exists(data_home + "/applications/velnorsolo.desktop"));
  EXPECT_EQ(QImage(data_home + "/icons/hicolor/256x256/apps/velnorsolo.png").size(), QSize(256, 256));
}

void WholeGame::start_server() {
  ASSERT_TRUE(QDir().mkpath(temp.filePath("release")));
  QFile version(temp.filePath("release/velnorsoloversion.txt"));
  ASSERT_TRUE(version.open(QIODevice::WriteOnly) && version.write(kOwnVersion) > 0);
  version.close();
  end_with_parent(server);
  server.start(VELNOR_SERVER_PROGRAM, {"--listen", "127.0.0.1", "--port", "80", "--data",
                                       temp.filePath("data"), "--release", temp.filePath("release")});
  ASSERT_TRUE(server.waitForStarted(10000)) << server.errorString().toStdString();
  // The server says so once it listens.
  QByteArray said;
  const QDeadlineTimer deadline(10000);
  while (!said.contains("serving") && !deadline.hasExpired() && server.state() == QProcess::Running) {
    server.waitForReadyRead(kPollMs);
    said += server.readAllStandardError();
  }
  ASSERT_TRUE(said.contains("serving")) << said.toStdString();
}

QProcessEnvironment WholeGame::game_environment() const {
  QProcessEnvironment environment = x.environment();
  // The player's own desktop: no test platform, no scaling, US settings for the date.
  for (const char* name : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                           "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "LC_ALL", "LC_TIME", "LANGUAGE"})
    environment.remove(name);
  environment.insert("LANG", "en_US.UTF-8");
  // The clock stands still, so the seed is known; the monotonic clock runs on, so the timers
  // that pace the rounds and slide the tiles still fire.
  environment.insert("LD_PRELOAD", VELNOR_FAKETIME_LIBRARY);
  // A sanitizer build wants its runtime loaded first; the preloaded clock comes before it.
  environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  environment.insert("FAKETIME", kFrozenTime);
  environment.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
  environment.insert("TZ", "UTC");
  // Nothing of the test machine's session: no sound server is started, no message bus
  // launched, and the single-instance lock is the test's own.
  environment.insert("PULSE_SERVER", "unix:" + temp.filePath("no-sound-server"));
  environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + temp.filePath("no-bus"));
  environment.insert("XDG_RUNTIME_DIR", temp.filePath("run"));
  return environment;
}

void WholeGame::launch() {
  ASSERT_TRUE(QDir().mkpath(temp.filePath("run")));
  QFile::setPermissions(temp.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // As a desktop menu would: the entry's Exec= and Path= lines say what runs, and where. The
  // game inherits the launcher's output, which must outlive the launcher: a file.
  QProcess launcher;
  end_with_parent(launcher);
  launcher.setProcessEnvironment(game_environment());
  launcher.setStandardOutputFile(log_path());
  launcher.setStandardErrorFile(log_path(), QIODevice::Append);
  launcher.start("gio", {"launch", data_home + "/applications/velnorsolo.desktop"});
  ASSERT_TRUE(launcher.waitForFinished(10000)) << "gio launch did not end";
  ASSERT_EQ(launcher.exitCode(), 0) << "gio launch: " << game_output();
  // The launcher has ended; its orphan, the game, has come to this process (a subreaper).
  const QDeadlineTimer deadline(10000);
  while ((game = child_running(folder + "/velnorsolo")) == 0 && !deadline.hasExpired())
    QThread::msleep(kPollMs);
  ASSERT_GT(game, 0) << "the menu entry started no game: " << game_output();
}

bool WholeGame::wait_screen(int timeout_ms, const std::function<bool(const QImage&)>& check,
                            const char* what) {
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

std::string WholeGame::save_failure() {
  if (screen.isNull()) screen = x.grab();
  const QString failed = QString(VELNOR_SHOTS_DIR "/failed.png");
  screen.save(failed);
  return "last screenshot: " + failed.toStdString();
}

quint64 WholeGame::wait_window(const QString& title) {
  const quint64 window = x.wait_for_window(title, kRoundMs);
  if (window == 0) {
    screen = x.grab();
    ADD_FAILURE() << "no window titled " << title.toStdString() << " showed (" << save_failure() << ")";
  }
  return window;
}

bool WholeGame::tiles_show(const QImage& shot, const TilePlayer& player) const {
  for (int n = 1; n <= 9; ++n) {
    const int frame = player.is_open(n) ? BoardPictures::kOpenFrame : BoardPictures::kShutFrame;
    if (!shows(shot, layout->tile_below_top_row(n), pictures.tiles[n][frame])) return false;
  }
  return true;
}

bool WholeGame::dice_show(const QImage& shot, const DiceReplay& dice) const {
  // Before the first roll the dice show no face at all.
  for (const Die& die : dice.dice())
    if (die.value != 0 && !shows(shot, layout->die(die), pictures.faces[die.value])) return false;
  return true;
}

void WholeGame::save(const QRect& area, const QString& name) const {
  EXPECT_TRUE(screen.copy(area).save(QString(VELNOR_SHOTS_DIR "/") + name)) << name.toStdString();
}

void WholeGame::open_file_menu() {
  // Without a window manager the keyboard stays with the window that last took it; a click
  // on a window gives it the keyboard only with one.
  x.focus(window);
  x.click(bounds.topLeft() + QPoint(14, 10));
  // The menu drops over the board's brown top edge.
  const QPoint under_menu_bar =
      bounds.topLeft() + QPoint(100, bounds.height() - BoardLayout::kClientHeight + 2);
  ASSERT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) {
    return (shot.pixel(under_menu_bar) & RGB_MASK) != kWindowColor;
  }, "the File menu"));
}

std::string WholeGame::game_output() const {
  QFile log(log_path());
  return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
}

std::optional<int> WholeGame::wait_for_exit(int timeout_ms) {
  const QDeadlineTimer deadline(timeout_ms);
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(game, &status, WNOHANG);
    if (ended == game) {
      game = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (ended < 0) {
      game = 0;
      return -1;
    }
    if (deadline.hasExpired()) return std::nullopt;
    QThread::msleep(kPollMs);
  }
}

void WholeGame::start_with_name() {
  ASSERT_NO_FATAL_FAILURE(launch());
  window = wait_window("Velnor Solo");
  ASSERT_NE(window, 0u) << game_output();
  bounds = x.geometry(window);
  // A fresh folder has no settings: the window stands at 3, 3.
  ASSERT_EQ(bounds.topLeft(), QPoint(3, 3));
  layout.emplace(bounds);

  // The layout, checked once against the screen: panel_board1's black frame where the
  // positions put it, window colour just outside it.
  ASSERT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) {
    const QRect frame = layout->board_frame();
    for (const QPoint corner : {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
      if ((shot.pixel(corner) & RGB_MASK) != 0) return false;
    return (shot.pixel(frame.topLeft() - QPoint(1, 1)) & RGB_MASK) == kWindowColor &&
           (shot.pixel(frame.bottomRight() + QPoint(1, 1)) & RGB_MASK) == kWindowColor;
  }, "the board's frame at its place"));

  // The name panel asks for a name first.
  ASSERT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) {
    return count_colour(shot, layout->name_box(), kEditColor) > 1000;
  }, "the name panel"));
  x.click(layout->name_box().center());
  x.keys({"ctrl+a"});
  x.type(kFirstName);
  x.click(layout->name_done().center());
}

void WholeGame::play_ten_rounds() {
  x.click(layout->start_button().center());
  DiceReplay dice(kSeed);
  TilePlayer player;
  bool board_saved = false;
  for (int round = 1; round <= 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    player.new_round();
    dice.rest();
    for (;;) {
      // Ready for a roll: the roll picture up, the dice at rest, the tiles as the player left them.
      ASSERT_TRUE(wait_screen(kRoundMs, [&](const QImage& shot) {
        return shows(shot, layout->roll_button().topLeft(), pictures.roll) && dice_show(shot, dice) &&
               tiles_show(shot, player);
      }, "the board ready for a roll"));
      const std::array<Die, 2> rolled = dice.roll();
      ++played.rolls;
      x.click(layout->roll_button().center());
      ASSERT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) {
        return dice_show(shot, dice) && !shows(shot, layout->roll_button().topLeft(), pictures.roll);
      }, "the dice the generator predicts"));
      const std::optional<std::vector<int>> tiles = player.choose(rolled[0].value + rolled[1].value);
      if (!tiles) break;  // no play: the round ends where the dice lie
      // For the README: a board in play, several tiles shut and the dice on the felt.
      if (!board_saved && round >= 3 && player.round_score() >= 15) {
        save(bounds, "board.png");
        board_saved = true;
      }
      for (const int n : *tiles) x.click(layout->tile(n).center());
      player.shut(*tiles);
      if (player.round_done()) break;
      dice.rest();
    }
    // The round's last state, before the pause ends it: its shut tiles covered.
    ASSERT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) { return tiles_show(shot, player); },
                            "the round's shut tiles"));
    played.score += player.round_score();
    played.all_shut_rounds += player.round_score() == 65;
  }
  EXPECT_TRUE(board_saved);
  // After the tenth round's pause: the game-over panel.
  ASSERT_TRUE(wait_screen(kRoundMs, [&](const QImage& shot) {
    return shows(shot, layout->gameover_picture(), pictures.gameover);
  }, "the game-over panel"));
}

void WholeGame::send_score() {
  x.click(layout->gameover_name().center());
  x.keys({"ctrl+a"});
  x.type(kPostedName);
  x.click(layout->send_score().center());

  // Posted: the game-over panel goes, and the high-score window shows the server's page,
  // which only its fetch of /counter/velnorsolo.shtml can have brought: the page's dark brown
  // title and green heading row on the viewer's pale ground.
  const quint64 scores_window = wait_window("Velnor Solo - High Scores");
  ASSERT_NE(scores_window, 0u);
  const QRect scores = x.geometry(scores_window);
  const QRect viewer(scores.topLeft() + QPoint(113, 9), QSize(479, 505));
  // The window covers most of the panel; its picture's top rows stay in view.
  const QImage picture_top = pictures.gameover.copy(0, 0, pictures.gameover.width(), 30);
  ASSERT_LT(layout->gameover_picture().y() + picture_top.height(), scores.top());
  EXPECT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) {
    return !shows(shot, layout->gameover_picture(), picture_top) &&
           count_colour(shot, viewer, kWindowColor) > 5000 && count_colour(shot, viewer, kDarkGreen) > 1000;
  }, "the high-score page, with the game-over panel gone"));

  const CommandResult stored = run_command(
      "sqlite3", {temp.filePath("data/scores.db"), "SELECT name, date, score, client FROM scores"});
  ASSERT_TRUE(stored.ok) << stored.describe().toStdString();
  EXPECT_EQ(QString::fromUtf8(stored.out),
            QString("%1|%2|%3|127.0.0.1\n").arg(kPostedName, kPostedDate).arg(played.score));
  const CommandResult page = run_command("curl", {"-sS", "http://127.0.0.1/counter/velnorsolo.shtml"});
  ASSERT_TRUE(page.ok) << page.describe().toStdString();
  EXPECT_TRUE(page.out.contains(kPostedName.toUtf8()));
  EXPECT_TRUE(page.out.contains("Games posted: 1"));

  x.click(scores.topLeft() + QRect(498, 521, 95, 32).center());  // DONE
  ASSERT_TRUE(x.wait_for_window_gone(scores_window, kTurnMs)) << "DONE left the high-score window up";
}

void WholeGame::show_tally() {
  // View › Tally List, by keys from the File menu. Moving to a menu with the keys highlights
  // its first item.
  ASSERT_NO_FATAL_FAILURE(open_file_menu());
  x.keys({"Right", "Right", "Return"});
  const quint64 tally_window = wait_window("Velnor Solo - Tally List");
  ASSERT_NE(tally_window, 0u);
  // The game just entered is rank 1, in red; no other rank is.
  const QRect tally = x.geometry(tally_window);
  const auto rank_row = [&](int rank) {
    return QRect(tally.topLeft() + QPoint(6 + 5, 6 + 126 + 24 * (rank - 1)), QSize(320, 16));
  };
  EXPECT_TRUE(wait_screen(kTurnMs, [&](const QImage& shot) {
    return count_colour(shot, rank_row(1), kEnteredRed) > 50 &&
           count_colour(shot, rank_row(2), kEnteredRed) == 0;
  }, "rank 1 in red"));
  save(tally, "tally.png");
}

void WholeGame::exit_from_menu() {
  ASSERT_NO_FATAL_FAILURE(open_file_menu());
  x.keys({"Up", "Return"});  // Exit, the menu's last item
  const std::optional<int> status = wait_for_exit(20000);
  ASSERT_TRUE(status.has_value()) << "the game did not end after File, Exit";
  EXPECT_EQ(*status, 0) << game_output();
}

}  // namespace

TEST_F(WholeGame, TenRoundsPostedTalliedAndSaved) {
  QElapsedTimer clock;
  clock.start();
  ASSERT_NO_FATAL_FAILURE(start_with_name());
  ASSERT_NO_FATAL_FAILURE(play_ten_rounds());
  ASSERT_NO_FATAL_FAILURE(send_score());
  ASSERT_NO_FATAL_FAILURE(show_tally());
  ASSERT_NO_FATAL_FAILURE(exit_from_menu());

  QFile settings(folder + "/velnorsolo.ini");
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(settings.readAll()),
            QString("[velnorsolo]\r\nTop=3\r\nLeft=3\r\nWidth=%1\r\nHeight=%2\r\nName=%3\r\n"
                    "Sounds=yes\r\nUpdate=true\r\n")
                .arg(bounds.width())
                .arg(bounds.height())
                .arg(kPostedName));

  const CommandResult shown = run_command(VELNOR_TALLY_PROGRAM, {"show", folder + "/velnorsolotally.tld"});
  ASSERT_TRUE(shown.ok) << shown.describe().toStdString();
  const QStringList lines = QString::fromUtf8(shown.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 12) << shown.out.toStdString();
  EXPECT_EQ(lines[0], "Total Games: 1");
  EXPECT_EQ(lines[1], QString("Velnores: %1").arg(played.all_shut_rounds));
  // The tally took the name in use when the game ended.
  EXPECT_EQ(lines[2].simplified(), QString("1. %1 %2 %3").arg(kPostedDate, kFirstName).arg(played.score));
  for (int rank = 2; rank <= 10; ++rank) EXPECT_EQ(lines[rank + 1].simplified(), QString("%1.").arg(rank));

  // Beside the program: its settings and tally, and no work file left behind.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList({"velnorsolo", "velnorsolo.desktop", "velnorsolo.ini", "velnorsolo.png",
                         "velnorsolotally.tld"}));
  std::printf("%d rolls, score %d, %d all-shut rounds, %.1f s\n", played.rolls, played.score,
              played.all_shut_rounds, static_cast<double>(clock.elapsed()) / 1000);
}

int main(int argc, char** argv) {
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
