#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/types.h>

#include <array>
#include <functional>
#include <optional>

#include "boardlayout.h"
#include "boardpictures.h"
#include "dicereplay.h"
#include "screenreader.h"
#include "support/childprocess.h"
#include "ticketrelay.h"
#include "tileplayer.h"
#include "xdisplay.h"

namespace velnor::testing {

// The clock the game is started with, frozen, and the seed it gives: (10 × 3600 + 13 × 60 + 46)
// × 1000 ms. With it the game is one of 45 rolls with one round where all nine tiles shut.
inline const char* const kFrozenTime = "2026-12-07 10:13:46";
inline constexpr std::uint32_t kSeed = 36826000;

inline constexpr QRgb kWindowColor = 0x6F5840;
inline constexpr QRgb kEditColor = 0xFFFFE8;
inline constexpr QRgb kPageGreen = 0x005900;  // the high-score page's heading row

inline constexpr int kPollMs = 30;
inline constexpr int kTurnMs = 5000;    // a click's effect, tiles' slides included
inline constexpr int kRoundMs = 10000;  // the three-second pause between rounds, with room

// The game installed with `cmake --install` under a fresh prefix whose name holds a space (the
// program in PREFIX/games, a portable copy keeping its records beside it), on a private desktop
// (Xvfb and openbox), with the game's web server on port 80 of a private network. The game runs
// in the player's default locale, C.UTF-8, with its clock frozen by libfaketime so that its dice
// are known; the test sees only the screen and the files.
class InstalledGame : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // What SetUp does once the game is installed: the frozen clock's library checked, the runtime
  // folder made, the desktop started.
  void start_desktop();

  // A screen reader on a session bus of the game's own, for the game started afterwards.
  void start_screen_reader();
  // The server, with a release folder offering this version text (none for nullopt). The game
  // reaches it on port 80 through a relay, which shows the test the seeds it deals.
  void start_server(const std::optional<QByteArray>& version);
  // Starts the installed program as the desktop would; the game is the first copy started.
  void launch();
  pid_t start_copy();
  // Waits for the main window and takes its place: window, bounds (its inside), layout.
  void find_main_window();
  // Types a name on the name panel and presses its DONE button.
  void enter_name(const QString& name);
  // Opens the main window's File menu, by a click on its caption or with the keys given (F10,
  // alt+f), and waits for the menu, which then takes the keys.
  void open_file_menu(const QStringList& keys = {});

  // What a run of the game did, as the test's own account has it.
  struct Played {
    int rolls = 0;
    int dealt_rolls = 0;  // ...of them, the rolls whose faces the server dealt
    int score = 0;
    int all_shut_rounds = 0;
  };
  // Presses START GAME and plays that many rounds with the test's player and the mouse, each
  // roll's dice and each turn's tiles checked on the screen. before_tiles, when given, runs after
  // each roll that has a play, before its tiles are clicked (the player's open tiles, the total).
  void play_rounds(int rounds, Played& played,
                   const std::function<void(int round, const TilePlayer& player, int total)>& before_tiles = {});
  // Runs as play_rounds has pressed START GAME, before the first roll: where a test learns the
  // seed the game plays from.
  std::function<void()> after_start;
  // Runs before each round's first roll.
  std::function<void(int round)> before_round;
  // Whether the game asks the server for its rolls (it plays from the server's ticket, through the
  // relay): play_rounds then takes each roll's faces from the relay, and a refused roll ends it.
  bool live = false;
  // After a roll is asked for in a live game: its faces as the relay saw the server deal them (true),
  // or, after a refusal, none, and the game plays on from its generator alone. Without a relay (the
  // server reached over TLS, where nothing between reads the dice), the ticket comes from the
  // server's store once its first roll is dealt, and the faces from the screen.
  bool take_dealt_faces(DiceReplay& dice);
  // The ticket of the game whose rolls the server's store holds, once the first is dealt.
  std::optional<SeedTicket> wait_dealt_ticket();
  // The faces shown at the places the replay gives both dice; nothing while either shows none.
  std::optional<std::array<int, 2>> faces_shown(const QImage& shot, const DiceReplay& dice) const;

  // The same for a whole game of ten rounds, until the game-over panel shows.
  void play_whole_game(Played& played,
                       const std::function<void(int round, const TilePlayer& player, int total)>& before_tiles = {});

  QProcessEnvironment game_environment() const;
  // Set by a test for the game it starts, over the rest of game_environment().
  QProcessEnvironment extra_environment;
  QString log_path() const { return temp.filePath("game.log"); }
  std::string game_output() const;  // what the game wrote
  QString file(const QString& name) const { return folder + "/" + name; }
  // The lines of `velnor-tally show` for the game's tally file.
  QStringList tally_lines() const;

  // Takes screenshots until check passes on one, for at most timeout_ms; the last one stays in
  // screen, and is saved for a look when the wait fails.
  bool wait_screen(int timeout_ms, const std::function<bool(const QImage&)>& check, const char* what);
  bool tiles_show(const QImage& screen, const TilePlayer& player) const;
  bool dice_show(const QImage& screen, const DiceReplay& dice) const;
  void save(const QRect& area, const QString& name) const;
  std::string save_failure();
  // A visible window of that title, or 0 and a failure when none shows in time.
  quint64 wait_window(const QString& title);
  // The message box that the game shows over its window, once it has taken the keyboard; 0 when
  // none came within a turn.
  quint64 wait_box();
  // The game's exit status, once it has ended within the time; nullopt while it runs.
  std::optional<int> wait_for_exit(int timeout_ms) { return wait_for_exit_of(game, timeout_ms); }
  // The same for any copy; pid becomes 0 once it has ended.
  static std::optional<int> wait_for_exit_of(pid_t& pid, int timeout_ms);
  // Ends the game with a signal and waits for it; its exit status.
  std::optional<int> end_game(int signal);
  // Waits for the high-score window that a posting opens and for the server's page in it: the
  // page's dark brown title and green heading row on the viewer's pale ground, which only its
  // fetch of the page can have brought. The window, or 0 and a failure.
  quint64 wait_high_score_page();

  // The store of the server the test starts, in the site folder.
  QString store() const { return temp.filePath("data/scores.db"); }

  QTemporaryDir temp;
  QString prefix;  // the install's prefix
  QString folder;  // ...and the installed game's folder in it
  XDisplay x;
  ScreenReader reader;
  std::optional<ChildProgram> server;
  std::optional<TicketRelay> relay;
  std::size_t relayed_rolls = 0;  // the rolls of a live game asked of the server
  std::uint32_t seed = kSeed;     // what play_rounds plays from: the frozen clock's, unless the server dealt one
  pid_t game = 0;
  quint64 window = 0;  // the main window
  QRect bounds;        // ...its inside on the screen
  BoardPictures pictures{VELNOR_SOURCE_DIR "/assets"};
  std::optional<BoardLayout> layout;
  QImage screen;
};

// Seconds from now to the frozen clock (negative, as it is past): a certificate the game is to
// trust must hold then as well as now, however long after that day the test runs.
long seconds_to_frozen_clock();

// A file's bytes; empty when it cannot be read.
QByteArray read_file(const QString& path);

// The process, among this one's children, that runs the program file given; 0 when none does.
pid_t child_running(const QString& program);
// This process's children that have ended and wait to be reaped, each with how it ended.
QString children_ended();

// What a test program of the installed game does first: a private network for port 80, and it
// becomes the parent of the game that a launcher leaves behind.
int run_installed_game_tests(int argc, char** argv);

}  // namespace velnor::testing
