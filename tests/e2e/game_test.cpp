// A whole game through the installed program. The game is installed into a fresh folder, put on a
// private desktop menu with scripts/install-desktop and started from that menu entry. It is played
// for ten rounds with X input, a second start meanwhile hands over to it, its score is posted to
// velnor-server, and it is closed from the File menu.
//
// The dice are known in advance: the game plays from the seed that velnor-server dealt it, which
// the test sees pass on the way. The test replays the generator and plays from what it predicts;
// the screen must show exactly those dice and tiles, and the score is posted verified.
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>

#include "command.h"
#include "game/solver.h"
#include "installedgame.h"

using namespace velnor::testing;

namespace {

const QString kPostedDate = "12/7/26";     // the frozen day, as the game posts it
const QString kTallyDate = "7 Dec 2026";   // ...and as the locale's short format writes it
const QString kFirstName = "Ann";          // typed on the name panel at start
const QString kPostedName = "Ann Tester";  // typed on the game-over panel
const char* const kOwnVersion = "1.0.0";   // the program's version text: no update is offered
constexpr int kMenuCaptionsWidth = 320;    // File to Multiplayer, on the menu bar's left

constexpr QRgb kEnteredRed = 0xFF0000;
constexpr QRgb kPaleYellow = 0xFFFFC6;
constexpr QRgb kMarkGold = 0xFFC828;

class WholeGame : public InstalledGame {
 protected:
  void SetUp() override;

  void add_to_menu();
  void launch_from_menu();
  // The steps of the game, each ending where the next begins.
  void start_with_name();
  void play_ten_rounds();
  void start_again();
  // Posts the score and sees it on the page; the store holds it verified or not, as said.
  void send_score(bool verified = true);
  void show_tally();
  void look_at_coach();
  void expect_beside_the_board(quint64 shown);
  void expect_centred_on_the_board(quint64 shown);
  void ask_for_best_move(unsigned open, int total);
  void exit_from_menu();

  QString data_home;  // the player's XDG data folder
  Played played;
};

void WholeGame::SetUp() {
  InstalledGame::SetUp();
  ASSERT_FALSE(HasFatalFailure());
  // The game's folder holds the games and nothing else; the rest is in the system's folders.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList({"velnor-solve", "velnorsolo"}));
  EXPECT_TRUE(QFileInfo(file("velnorsolo")).isExecutable());
  for (const int pixels : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    const QString icon = QString("%1/share/icons/hicolor/%2x%2/apps/velnorsolo.png").arg(prefix).arg(pixels);
    EXPECT_EQ(QImage(icon).size(), QSize(pixels, pixels)) << icon.toStdString();
  }
  data_home = temp.filePath("share");
  ASSERT_NO_FATAL_FAILURE(add_to_menu());
  ASSERT_NO_FATAL_FAILURE(start_server(QByteArray(kOwnVersion)));
  // A screen reader listens in as the score is posted.
  ASSERT_NO_FATAL_FAILURE(start_screen_reader());
}

void WholeGame::add_to_menu() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_DATA_HOME", data_home);
  const CommandResult added = run_command(VELNOR_SOURCE_DIR "/scripts/install-desktop", {prefix}, environment);
  ASSERT_TRUE(added.ok) << added.describe().toStdString();
  ASSERT_TRUE(QFile::exists(data_home + "/applications/velnorsolo.desktop"));
  EXPECT_EQ(QImage(data_home + "/icons/hicolor/16x16/apps/velnorsolo.png").size(), QSize(16, 16));
  EXPECT_EQ(QImage(data_home + "/icons/hicolor/256x256/apps/velnorsolo.png").size(), QSize(256, 256));
}

void WholeGame::launch_from_menu() {
  // As a desktop menu would: the entry's Exec= line says what runs. The game inherits the
  // launcher's output, which must outlive the launcher: a file.
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
  while ((game = child_running(file("velnorsolo"))) == 0 && !deadline.hasExpired()) QThread::msleep(kPollMs);
  ASSERT_GT(game, 0) << "the menu entry started no game (" << children_ended().toStdString() << "): " << game_output();
}

void WholeGame::start_with_name() {
  ASSERT_NO_FATAL_FAILURE(launch_from_menu());
  ASSERT_NO_FATAL_FAILURE(find_main_window());
  // An installed copy asks the server nothing as it shows; START GAME asks for the game's seed, and
  // the game plays from it, come before the first roll.
  after_start = [this] {
    const std::optional<velnor::SeedTicket> ticket = relay->wait_ticket(1, kRoundMs);
    ASSERT_TRUE(ticket) << "START GAME asked for no seed";
    seed = ticket->seed;
    live = true;
  };
  // A fresh folder has no settings: the whole window, title bar included, stands at 3, 3.
  ASSERT_EQ(x.frame(window).topLeft(), QPoint(3, 3));

  // The layout, checked once against the screen: panel_board1's black frame where the
  // positions put it, window colour just outside it.
  ASSERT_TRUE(wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        const QRect frame = layout->board_frame();
        for (const QPoint corner : {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
          if ((shot.pixel(corner) & RGB_MASK) != 0) return false;
        return (shot.pixel(frame.topLeft() - QPoint(1, 1)) & RGB_MASK) == kWindowColor &&
               (shot.pixel(frame.bottomRight() + QPoint(1, 1)) & RGB_MASK) == kWindowColor;
      },
      "the board's frame at its place"));

  // The name panel asks for a name first.
  ASSERT_NO_FATAL_FAILURE(enter_name(kFirstName));
}

void WholeGame::play_ten_rounds() {
  bool board_saved = false;
  ASSERT_NO_FATAL_FAILURE(play_whole_game(played, [&](int round, const TilePlayer& player, int total) {
    if (round == 1 && player.round_score() == 0) {
      ASSERT_NO_FATAL_FAILURE(ask_for_best_move(player.open_tiles(), total));
    }
    // For the README: a board in play, several tiles shut and the dice on the felt.
    if (!board_saved && round >= 3 && player.round_score() >= 15) {
      save(x.frame(window), "board.png");
      board_saved = true;
    }
  }));
  EXPECT_TRUE(board_saved);
}

// The finished game is on the disk at once, before any exit (a kill now would keep it), and a
// second start of the game hands over to the running copy instead of writing a tally of its own.
void WholeGame::start_again() {
  const QStringList lines = tally_lines();
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0], "Total Games: 1");
  EXPECT_EQ(lines[2].simplified(), QString("1. %1 %2 %3").arg(kTallyDate, kFirstName).arg(played.score));

  // Another program's window in front, so that coming forward shows.
  QProcess other;
  end_with_parent(other);
  other.setProcessEnvironment(x.environment());
  other.start("xlogo", {});
  const quint64 other_window = wait_window("xlogo");
  ASSERT_NE(other_window, 0u);
  x.focus(other_window);
  ASSERT_NE(x.active_window(), window);

  pid_t second = start_copy();
  const std::optional<int> status = wait_for_exit_of(second, kRoundMs);
  ASSERT_TRUE(status.has_value()) << "the second start did not end";
  EXPECT_EQ(*status, 0) << game_output();
  EXPECT_EQ(x.active_window(), window) << "the running copy did not come forward";
  EXPECT_EQ(x.find_window("Velnor Solo"), window) << "a second main window showed";
  other.kill();
  other.waitForFinished();
}

// H, pressed on the board, marks the tiles that best play shuts with the roll, in gold.
void WholeGame::ask_for_best_move(unsigned open, int total) {
  const unsigned best = velnor::Solver::table().best(open, total);
  x.keys({"h"});
  ASSERT_TRUE(wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        for (int n = 1; n <= 9; ++n) {
          const int gold = count_colour(shot, layout->tile(n), kMarkGold);
          if ((best & (1u << (n - 1))) ? gold < 30 : gold > 0) return false;
        }
        return true;
      },
      "the best move marked on its tiles"));
  save(x.frame(window), "bestmove.png");
}

void WholeGame::send_score(bool verified) {
  x.click(layout->gameover_name().center());
  x.keys({"ctrl+a"});
  x.type(kPostedName);
  reader.listen(game);
  x.click(layout->send_score().center());

  // Posted: the game-over panel goes, and the high-score window shows the server's page.
  const quint64 scores_window = wait_high_score_page();
  ASSERT_NE(scores_window, 0u);
  // The wait, however short, was read out to a screen reader as it came up.
  EXPECT_TRUE(reader.heard().contains("status bar 'Posting Score, Please Wait'"))
      << reader.heard().join('\n').toStdString();
  const QRect scores = x.geometry(scores_window);
  EXPECT_GE(x.frame(scores_window).top(), 0) << "the title bar is above the screen";

  // Posted in the player's default locale, the date still has its slashes; the server played the
  // game again from the seed it dealt, and the score stands verified, with its mark on the page.
  const CommandResult stored = run_command(
      "sqlite3", {temp.filePath("data/scores.db"), "SELECT name, date, score, client, verified FROM scores"});
  ASSERT_TRUE(stored.ok) << stored.describe().toStdString();
  EXPECT_EQ(QString::fromUtf8(stored.out),
            QString("%1|%2|%3|127.0.0.1|%4\n").arg(kPostedName, kPostedDate).arg(played.score).arg(verified ? 1 : 0));
  const CommandResult page = run_command("curl", {"-sS", "http://127.0.0.1/counter/velnorsolo.shtml"});
  ASSERT_TRUE(page.ok) << page.describe().toStdString();
  // A verified score bears its mark on the page; one that is not stands among the unverified.
  EXPECT_TRUE(page.out.contains(QString("<td><bdi>%1</bdi></td><td align=\"right\"><b>%2</b>%3")
                                    .arg(kPostedName)
                                    .arg(played.score)
                                    .arg(verified ? " <font color=" : "</td>")
                                    .toUtf8()))
      << page.out.constData();
  EXPECT_EQ(page.out.contains("Unverified Scores"), !verified);
  EXPECT_TRUE(page.out.contains("Games posted: 1"));

  x.click(scores.topLeft() + QRect(498, 521, 95, 32).center());  // DONE
  ASSERT_TRUE(x.wait_for_window_gone(scores_window, kTurnMs)) << "DONE left the high-score window up";
  // The posting took the game-over panel away.
  EXPECT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return !shows(shot, layout->gameover_picture(), pictures.gameover); },
      "the board without the game-over panel"));
}

void WholeGame::show_tally() {
  // View › Tally List, by keys alone: Alt+F opens the File menu, and moving to a menu with the
  // keys highlights its first item.
  ASSERT_NO_FATAL_FAILURE(open_file_menu({"alt+f"}));
  x.keys({"Right", "Right", "Return"});
  const quint64 tally_window = wait_window("Velnor Solo - Tally List");
  ASSERT_NE(tally_window, 0u);
  ASSERT_NO_FATAL_FAILURE(expect_centred_on_the_board(tally_window));
  // The game just entered is rank 1, in red; no other rank is.
  const QRect tally = x.geometry(tally_window);
  const auto rank_row = [&](int rank) {
    return QRect(tally.topLeft() + QPoint(6 + 5, 6 + 126 + 24 * (rank - 1)), QSize(320, 16));
  };
  EXPECT_TRUE(wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        return count_colour(shot, rank_row(1), kEnteredRed) > 50 && count_colour(shot, rank_row(2), kEnteredRed) == 0;
      },
      "rank 1 in red"));
  save(tally, "tally.png");
}

// A window shown beside the board: wholly on the screen, and the board's menus in sight.
void WholeGame::expect_beside_the_board(quint64 shown) {
  const QRect frame = x.frame(shown);
  EXPECT_TRUE(QRect(QPoint(0, 0), screen.size()).contains(frame)) << "off the screen";
  EXPECT_FALSE(frame.intersects(QRect(bounds.topLeft(), QSize(kMenuCaptionsWidth, 20)))) << "over the menus";
}

// A window centred on the board, moved only as far as it must be to lie wholly on the screen.
void WholeGame::expect_centred_on_the_board(quint64 shown) {
  const QRect frame = x.frame(shown);
  const QRect whole_screen(QPoint(0, 0), screen.size());
  EXPECT_TRUE(whole_screen.contains(frame)) << "off the screen";
  QRect expected = frame;
  expected.moveCenter(x.frame(window).center());
  expected.moveLeft(std::clamp(expected.left(), 0, whole_screen.width() - expected.width()));
  expected.moveTop(std::clamp(expected.top(), 0, whole_screen.height() - expected.height()));
  EXPECT_LE((frame.topLeft() - expected.topLeft()).manhattanLength(), 2)
      << "at " << frame.x() << "," << frame.y() << ", not " << expected.x() << "," << expected.y();
}

// C on the board shows the coach: the game just played, turn by turn, beside best play.
void WholeGame::look_at_coach() {
  x.focus(window);
  x.keys({"c"});
  const quint64 coach = wait_window("Velnor Solo - Coach");
  ASSERT_NE(coach, 0u);
  ASSERT_NO_FATAL_FAILURE(expect_beside_the_board(coach));
  EXPECT_GT(x.geometry(coach).height(), 540) << "the rows take the height the screen has";
  const QRect area = x.geometry(coach);
  // The chart's bars and the rows' pale text on the window's brown.
  EXPECT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return count_colour(shot, area, kPaleYellow) > 2000; }, "the coach's rows"));
  save(x.frame(coach), "coach.png");
  x.keys({"Escape"});
  ASSERT_TRUE(x.wait_for_window_gone(coach, kTurnMs)) << "Escape left the coach up";
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
  const QRect frame = x.frame(window);
  ASSERT_NO_FATAL_FAILURE(play_ten_rounds());
  EXPECT_EQ(played.dealt_rolls, played.rolls) << "a roll did not come from the server";
  ASSERT_NO_FATAL_FAILURE(start_again());
  ASSERT_NO_FATAL_FAILURE(send_score());
  ASSERT_NO_FATAL_FAILURE(show_tally());
  ASSERT_NO_FATAL_FAILURE(look_at_coach());
  ASSERT_NO_FATAL_FAILURE(exit_from_menu());

  QFile settings(file("velnorsolo.ini"));
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(settings.readAll()),
            QString("[velnorsolo]\r\nTop=3\r\nLeft=3\r\nWidth=%1\r\nHeight=%2\r\nName=%3\r\n"
                    "Sounds=yes\r\nUpdate=true\r\nVerified=true\r\n")
                .arg(frame.width())
                .arg(frame.height())
                .arg(kPostedName));

  // The rolls played their sound: the game found its module where the install put it. The test's
  // desktop has no sound server, which the game says once, not at every cue.
  const std::string said = game_output();
  EXPECT_EQ(said.find("plays no sounds"), std::string::npos) << said;
  const std::size_t no_device = said.find("No sound device was found");
  EXPECT_NE(no_device, std::string::npos) << said;
  EXPECT_EQ(said.find("No sound device was found", no_device + 1), std::string::npos) << said;
  EXPECT_EQ(said.find("No audio device detected"), std::string::npos) << said;

  const QStringList lines = tally_lines();
  ASSERT_EQ(lines.size(), 12) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[0], "Total Games: 1");
  EXPECT_EQ(lines[1], QString("Velnores: %1").arg(played.all_shut_rounds));
  // The tally took the name in use when the game ended.
  EXPECT_EQ(lines[2].simplified(), QString("1. %1 %2 %3").arg(kTallyDate, kFirstName).arg(played.score));
  for (int rank = 2; rank <= 10; ++rank) EXPECT_EQ(lines[rank + 1].simplified(), QString("%1.").arg(rank));

  // Beside the program: its settings and tally, and no work file left behind.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList({"velnor-solve", "velnorsolo", "velnorsolo.ini", "velnorsolotally.tld"}));
  std::printf("%d rolls, score %d, %d all-shut rounds, %.1f s\n", played.rolls, played.score, played.all_shut_rounds,
              static_cast<double>(clock.elapsed()) / 1000);
}

// The server gone after round 3: the game plays on from its own generator, says nothing alarming,
// and its score, posted once the server is back, is stored but not verified.
TEST_F(WholeGame, AServerGoneMidGameLeavesTheGamePlayingAndItsScoreUnverified) {
  ASSERT_NO_FATAL_FAILURE(start_with_name());
  before_round = [this](int round) {
    if (round != 4) return;
    relay->cut(true);
    live = false;
  };
  ASSERT_NO_FATAL_FAILURE(play_whole_game(played));
  EXPECT_GT(played.dealt_rolls, 0);
  EXPECT_LT(played.dealt_rolls, played.rolls);
  relay->cut(false);
  ASSERT_NO_FATAL_FAILURE(send_score(false));
}

int main(int argc, char** argv) { return run_installed_game_tests(argc, argv); }
