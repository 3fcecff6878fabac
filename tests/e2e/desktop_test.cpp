// The game as a player meets it on a desktop: a window manager, the keyboard, the locale Debian
// starts with, the game started twice, damaged files, the server without release files or gone
// quiet, and the session's end. Everything goes through the X server and the files; nothing
// calls into the program.
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <poll.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <cstring>

#include "command.h"
#include "core/wire.h"
#include "installedgame.h"
#include "online/script_server.h"
#include "support/tlstestserver.h"

using namespace velnor::testing;

namespace {

constexpr QRgb kButtonFace = 0xFFFFC6;
// The keyboard's ring: black outside, bright green inside.
constexpr QRgb kRingDark = 0x000000;
constexpr QRgb kRingBright = 0x00D500;

// The answer of a server that deals no seeds: the game then plays from the clock's.
ScriptServer::Reply no_seed() {
  return {"HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n", false, "/" + std::string(velnor::wire::kSeedPath)};
}

// The four bounds in the settings file: left, top, width, height.
QRect saved_bounds(const QString& settings) {
  QFile file(settings);
  if (!file.open(QIODevice::ReadOnly)) return {};
  int left = 0, top = 0, width = 0, height = 0;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
    if (line.startsWith("Left=")) left = value.toInt();
    if (line.startsWith("Top=")) top = value.toInt();
    if (line.startsWith("Width=")) width = value.toInt();
    if (line.startsWith("Height=")) height = value.toInt();
  }
  return {left, top, width, height};
}

// A program that takes the clipboard and never answers a request for its contents, as a hung one
// would: a paste waits on it.
class SilentClipboardOwner {
 public:
  explicit SilentClipboardOwner(const QString& display) : connection_(xcb_connect(display.toLocal8Bit(), nullptr)) {
    if (xcb_connection_has_error(connection_)) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t window = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const char name[] = "CLIPBOARD";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
    if (atom == nullptr) return;
    xcb_set_selection_owner(connection_, window, atom->atom, XCB_CURRENT_TIME);
    std::free(atom);
    xcb_flush(connection_);
  }
  ~SilentClipboardOwner() { xcb_disconnect(connection_); }
  SilentClipboardOwner(const SilentClipboardOwner&) = delete;
  SilentClipboardOwner& operator=(const SilentClipboardOwner&) = delete;

  // True once someone has asked for the clipboard's contents, within the time.
  bool wait_request(int timeout_ms) {
    const QDeadlineTimer deadline(timeout_ms);
    while (!deadline.hasExpired()) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const bool request = (event->response_type & 0x7f) == XCB_SELECTION_REQUEST;
        std::free(event);
        if (request) return true;
      }
      pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
      ::poll(&readable, 1, kPollMs);
    }
    return false;
  }

 private:
  xcb_connection_t* connection_;
};

class Desktop : public InstalledGame {
 protected:
  // Starts the game and waits for its board; with the name panel dismissed by its DONE button.
  void start_game_window();
  // Closes the main window as the window manager's close button does, and waits for the end.
  void close_window();
  // Starts a game with the mouse and plays one roll with the keyboard alone: Space rolls, the
  // digits shut the tiles the test's player picks.
  void play_one_roll_by_keys(DiceReplay& dice, TilePlayer& player);
  // The offer's UPDATE button, pale yellow, where no other panel has a button.
  bool update_offered(const QImage& shot) const { return count_colour(shot, layout->update_yes(), kButtonFace) > 2000; }
  // The update panel lies over the name panel, which a fresh start shows: its box is in sight
  // again once the update panel has gone.
  bool name_box_shows(const QImage& shot) const { return count_colour(shot, layout->name_box(), kEditColor) > 1000; }
  // The keyboard's ring round the control at that place: on its left and right edges.
  static bool ring_on(const QImage& shot, const QRect& control);
  // Options › Change  Name, with a click on the menu and the keys.
  void change_name_from_menu();
  // Types a name into the name box, which must have the keyboard, and presses Enter; the name
  // panel goes (after what the window went through, said in the failure).
  void type_name(const QString& name, const char* after);
};

void Desktop::type_name(const QString& name, const char* after) {
  x.keys({"ctrl+a"});
  x.type(name);
  x.keys({"Return"});
  const std::string what = std::string("the name panel gone by Enter, ") + after;
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return !name_box_shows(shot); }, what.c_str()));
}

bool Desktop::ring_on(const QImage& shot, const QRect& control) {
  const int middle = control.center().y();
  const auto colour = [&](int x) { return shot.pixel(x, middle) & RGB_MASK; };
  return colour(control.left()) == kRingDark && colour(control.left() + 2) == kRingBright &&
         colour(control.right()) == kRingDark && colour(control.right() - 2) == kRingBright;
}

void Desktop::change_name_from_menu() {
  x.click(bounds.topLeft() + QPoint(60, 10));
  x.keys({"Down", "Down", "Down", "Return"});
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return name_box_shows(shot); }, "the name panel from Options, Change Name"));
}

void Desktop::start_game_window() {
  ASSERT_NO_FATAL_FAILURE(launch());
  ASSERT_NO_FATAL_FAILURE(find_main_window());
}

void Desktop::close_window() {
  // Raised and given the keyboard as a click would, so that the window manager's close key
  // reaches this window however busy the machine.
  x.restore(window);
  x.focus(window);
  x.keys({"alt+F4"});  // openbox's close
  const std::optional<int> status = wait_for_exit(20000);
  ASSERT_TRUE(status.has_value()) << "the game did not end when its window was closed once (the window "
                                  << (x.shown(window) ? "still shows" : "is gone") << ")";
  EXPECT_EQ(*status, 0) << game_output();
}

void Desktop::play_one_roll_by_keys(DiceReplay& dice, TilePlayer& player) {
  x.click(layout->start_button().center());
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return shows(shot, layout->roll_button().topLeft(), pictures.roll); },
      "the roll picture of round 1"));
  player.new_round();
  dice.roll();
  x.keys({"space"});
  take_dealt_faces(dice);
  const std::array<Die, 2> rolled = dice.dice();
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return dice_show(shot, dice); }, "the dice rolled by the Space key"));
  const std::optional<std::vector<int>> tiles = player.choose(rolled[0].value + rolled[1].value);
  ASSERT_TRUE(tiles.has_value()) << "the frozen clock's first roll has a play";
  for (const int n : *tiles) x.keys({QString::number(n)});
  player.shut(*tiles);
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return tiles_show(shot, player); }, "the tiles shut by the digit keys"));
}

}  // namespace

// The keyboard reaches the game as soon as the name panel is gone, by its DONE button or by
// Enter in its box, and nothing the player presses for the game lands in a hidden name. The
// session's end (SIGTERM) then saves it all, as File › Exit does.
TEST_F(Desktop, KeysPlayTheGameOnceTheNamePanelIsGone) {
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  EXPECT_EQ(x.title(window), "Velnor Solo");
  ASSERT_NO_FATAL_FAILURE(enter_name("Bo"));
  DiceReplay dice(kSeed);
  TilePlayer player;
  ASSERT_NO_FATAL_FAILURE(play_one_roll_by_keys(dice, player));

  // Options › Change  Name, the keys only: the box has the keyboard, Enter is DONE.
  ASSERT_NO_FATAL_FAILURE(change_name_from_menu());
  x.keys({"ctrl+a"});
  x.type("Cy");
  x.keys({"Return"});
  dice.rest();
  const std::array<Die, 2> rolled = dice.roll();
  x.keys({"r"});
  ASSERT_TRUE(wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        return count_colour(shot, layout->name_box(), kEditColor) == 0 && dice_show(shot, dice);
      },
      "the name panel gone and the dice rolled by the R key"));
  EXPECT_GT(rolled[0].value, 0);

  const std::optional<int> status = end_game(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the game";
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(read_file(file("velnorsolo.ini")).contains("\r\nName=Cy\r\n"))
      << read_file(file("velnorsolo.ini")).constData();
  EXPECT_EQ(tally_lines().value(0), "Total Games: 1");
}

// The whole board by the keys, visibly: Tab rings the control it reaches, down the board, and
// Space presses it; the keyboard goes on to the roll picture when it comes up. And a window
// minimised with the name panel up, then restored or raised by a second start, still has the
// keyboard in the name box: the typing lands there and Enter is DONE.
TEST_F(Desktop, TheKeyboardShowsWhereItIsAndStaysThroughAMinimise) {
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return name_box_shows(shot); }, "the name panel"));
  x.minimise(window);
  x.restore(window);
  ASSERT_NO_FATAL_FAILURE(type_name("Bob", "restored"));

  // Before a game the roll picture is not up: Tab reaches tile 1 first, and START GAME nine on.
  x.keys({"Tab"});
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return ring_on(shot, layout->tile(1)) && !ring_on(shot, layout->tile(2)); },
      "the ring on tile 1 alone"));
  for (int n = 2; n <= 9; ++n) x.keys({"Tab"});
  x.keys({"Tab", "space"});
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return ring_on(shot, layout->roll_button()); },
      "the ring on the roll picture once START GAME is pressed"));
  DiceReplay dice(kSeed);
  TilePlayer player;
  player.new_round();
  const std::array<Die, 2> rolled = dice.roll();
  x.keys({"space"});
  // The roll picture goes, and the keyboard with it to the next control: tile 1.
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return dice_show(shot, dice) && ring_on(shot, layout->tile(1)); },
      "the dice rolled by Space, the ring on tile 1"));
  const std::optional<std::vector<int>> tiles = player.choose(rolled[0].value + rolled[1].value);
  ASSERT_TRUE(tiles.has_value()) << "the frozen clock's first roll has a play";
  int at = 1;
  for (const int n : *tiles) {
    for (; at < n; ++at) x.keys({"Tab"});
    for (; at > n; --at) x.keys({"shift+Tab"});
    ASSERT_TRUE(wait_screen(
        kTurnMs, [&](const QImage& shot) { return ring_on(shot, layout->tile(n)); }, "the ring on the tile to shut"));
    save(layout->board_frame().adjusted(-6, -26, 6, 6), "keyboard.png");
    x.keys({"space"});
  }
  player.shut(*tiles);
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return tiles_show(shot, player) && ring_on(shot, layout->roll_button()); },
      "the tiles shut by Space, the ring back on the roll picture"));

  // Raised by a second start instead of restored: the same.
  ASSERT_NO_FATAL_FAILURE(change_name_from_menu());
  x.minimise(window);
  pid_t second = start_copy();
  EXPECT_EQ(wait_for_exit_of(second, 2 * kRoundMs), 0) << "the second start did not hand over";
  ASSERT_NE(x.wait_for_window("Velnor Solo", kRoundMs), 0u) << "the second start did not raise the game";
  x.focus(window);
  ASSERT_NO_FATAL_FAILURE(type_name("Cy", "raised"));
  const std::optional<int> status = end_game(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the game";
  EXPECT_TRUE(read_file(file("velnorsolo.ini")).contains("\r\nName=Cy\r\n"))
      << read_file(file("velnorsolo.ini")).constData();
}

// A sound module cut short by an interrupted copy once crashed the game at its first cue: now the
// game plays on, silent, and says why once.
TEST_F(Desktop, ASoundModuleCutShortLeavesTheGamePlayingSilently) {
  QFile module(prefix + "/lib/velnorsolo/velnorsolo-sound.so");
  ASSERT_TRUE(module.exists());
  ASSERT_TRUE(module.resize(12000));
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_NO_FATAL_FAILURE(enter_name("Eve"));
  DiceReplay dice(kSeed);
  TilePlayer player;
  ASSERT_NO_FATAL_FAILURE(play_one_roll_by_keys(dice, player));
  EXPECT_FALSE(wait_for_exit(0).has_value()) << game_output();
  ASSERT_NO_FATAL_FAILURE(close_window());
  const std::string said = game_output();
  const std::size_t warning = said.find("The game plays no sounds");
  ASSERT_NE(warning, std::string::npos) << said;
  EXPECT_EQ(said.find("The game plays no sounds", warning + 1), std::string::npos) << said;
}

// A closed window is an ended program: started and closed again and again, with the name panel up
// or in a game, one close from the window manager ends the game at once, with status 0 (a game
// that had to be ended by force says 1).
TEST_F(Desktop, EveryCloseOfTheWindowEndsTheGame) {
  for (int start = 1; start <= 20; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    ASSERT_NO_FATAL_FAILURE(start_game_window());
    if (start % 2 == 0) {
      x.focus(window);
      x.keys({"Return", "ctrl+s"});
      ASSERT_TRUE(wait_screen(
          kRoundMs, [&](const QImage& shot) { return shows(shot, layout->roll_button().topLeft(), pictures.roll); },
          "the roll picture of round 1"));
    }
    ASSERT_NO_FATAL_FAILURE(close_window());
  }
}

// A logout always ends the game, whatever its window is doing: here the window waits for a program
// that holds the clipboard and never hands it over, for a paste into the name box. SIGTERM ends
// the game within the 3 seconds a session waits; only this run's settings are not saved.
TEST_F(Desktop, ALogoutEndsTheGameWhileItsWindowWaits) {
  const QByteArray settings = "[velnorsolo]\r\nName=Ann\r\nUpdate=false\r\n";
  QFile file_of_settings(file("velnorsolo.ini"));
  ASSERT_TRUE(file_of_settings.open(QIODevice::WriteOnly) && file_of_settings.write(settings) == settings.size());
  file_of_settings.close();
  SilentClipboardOwner clipboard(x.environment().value("DISPLAY"));
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_TRUE(wait_screen(
      kTurnMs, [&](const QImage& shot) { return name_box_shows(shot); }, "the name panel"));
  x.focus(window);
  x.keys({"ctrl+v"});
  ASSERT_TRUE(clipboard.wait_request(kTurnMs)) << "the game never asked for the clipboard";

  QElapsedTimer since_signal;
  since_signal.start();
  const std::optional<int> status = end_game(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the game";
  EXPECT_LT(since_signal.elapsed(), 3000);
  EXPECT_EQ(*status, 128 + SIGTERM) << "the window answered after all: " << game_output();
  EXPECT_EQ(read_file(file("velnorsolo.ini")), settings);
  EXPECT_FALSE(QFile::exists(file("velnorsolo.ini.new")));
}

// A hostile high-score page (5,000 tables in tables) once crashed the game 20 s after it came;
// now the window says it will not show it, and the game answers the keys at once.
TEST_F(Desktop, AHostileHighScorePageLeavesTheGameAnswering) {
  ScriptServer server{80};
  std::string tables;
  for (int i = 0; i < 5000; ++i) tables += "<table><tr><td>";
  // Held open after the page: the client's hang-up says the page was read whole.
  server.script({"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(tables.size()) +
                     "\r\n\r\n" + tables,
                 true});
  QFile settings(file("velnorsolo.ini"));  // no update check to take the page's place
  ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("[velnorsolo]\r\nUpdate=false\r\n") > 0);
  settings.close();
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  // View › View High Score List, by keys alone: F10 opens the File menu.
  ASSERT_NO_FATAL_FAILURE(open_file_menu({"F10"}));
  x.keys({"Right", "Right", "Down", "Return"});
  const quint64 scores_window = wait_window("Velnor Solo - High Scores");
  ASSERT_NE(scores_window, 0u);
  // The only request: with the update mark off, the start asks the server for nothing.
  ASSERT_TRUE(server.wait_requests(1)) << "the page was never asked for";
  EXPECT_EQ(server.requests().back().rfind("GET /counter/velnorsolo.shtml ", 0), 0u);
  ASSERT_TRUE(server.wait_client_gone()) << "the page was not read to its end";
  x.focus(scores_window);
  x.keys({"Escape"});
  EXPECT_TRUE(x.wait_for_window_gone(scores_window, kTurnMs)) << "the game stopped answering";
  EXPECT_FALSE(wait_for_exit(0).has_value()) << game_output();
  ASSERT_NO_FATAL_FAILURE(close_window());
}

// A posting the server refuses (here with 503) is "Posting Failed." at once, not after the wait's
// forty seconds, and no list opens.
TEST_F(Desktop, ARefusedPostingFailsAtOnce) {
  ScriptServer server{80};
  server.script(no_seed());  // asked for at START GAME, and only then with the update mark off
  server.script({"HTTP/1.0 503 Service Unavailable\r\nContent-Length: 8\r\n\r\nRefused."});
  QFile settings(file("velnorsolo.ini"));  // no update check to take the posting's reply
  ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("[velnorsolo]\r\nUpdate=false\r\n") > 0);
  settings.close();
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_NO_FATAL_FAILURE(enter_name("Flo"));
  Played played;
  ASSERT_NO_FATAL_FAILURE(play_whole_game(played));
  x.click(layout->send_score().center());
  // The box takes the keyboard as it shows.
  const quint64 box = wait_box();
  ASSERT_NE(box, 0u) << "no Posting Failed. box";
  EXPECT_EQ(x.title(box), "Velnor Solo");
  ASSERT_TRUE(server.wait_requests(2));
  EXPECT_EQ(server.requests()[0].rfind("GET /" + std::string(velnor::wire::kSeedPath) + " ", 0), 0u);
  EXPECT_EQ(server.requests()[1].rfind("GET /cgi-bin/velnorsolo.cgi?name=Flo&", 0), 0u) << server.requests()[1];
  EXPECT_EQ(x.find_window("Velnor Solo - High Scores"), 0u);
  x.keys({"Return"});
  ASSERT_TRUE(x.wait_for_window_gone(box, kTurnMs));
  ASSERT_NO_FATAL_FAILURE(close_window());
}

// A game pointed at an https server (VELNOR_SERVER) asks it for the high-score page over TLS,
// the server's certificate checked against the trust store the game is given.
TEST_F(Desktop, AGamePointedAtAnHttpsServerFetchesItsPageOverTls) {
  const TrustOnly trust;
  // Valid at the game's frozen clock too.
  TlsTestServer tls(test_authority().issue("localhost", seconds_to_frozen_clock() - 86400, 30 * 86400));
  tls.script({"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<table><tr><td>Ann</td></tr></table>"});
  extra_environment.insert("VELNOR_SERVER", "https://localhost/");
  extra_environment.insert("SSL_CERT_FILE", QString::fromStdString(trust.file().string()));
  QFile settings(file("velnorsolo.ini"));  // no update check to take the page's place
  ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("[velnorsolo]\r\nUpdate=false\r\n") > 0);
  settings.close();
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_NO_FATAL_FAILURE(open_file_menu({"F10"}));
  x.keys({"Right", "Right", "Down", "Return"});
  const quint64 scores_window = wait_window("Velnor Solo - High Scores");
  ASSERT_NE(scores_window, 0u);
  ASSERT_TRUE(tls.wait_requests(1)) << "the page was never asked for over TLS";
  EXPECT_EQ(tls.requests()[0].rfind("GET /counter/velnorsolo.shtml HTTP/1.0\r\nHost: localhost\r\n", 0), 0u);
  x.focus(scores_window);
  x.keys({"Escape"});
  EXPECT_TRUE(x.wait_for_window_gone(scores_window, kTurnMs)) << "the game stopped answering";
  ASSERT_NO_FATAL_FAILURE(close_window());
}

// The window is where its settings say, title bar and all, start after start; it neither creeps
// nor hides its title bar, and a place the player chose is kept exactly.
TEST_F(Desktop, TheWindowKeepsItsPlaceStartAfterStart) {
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  EXPECT_EQ(x.frame(window).topLeft(), QPoint(3, 3));
  // The board never grows, so the window manager draws no resize handle under it.
  const QRect inside = x.geometry(window), outside = x.frame(window);
  EXPECT_EQ(outside.bottom() - inside.bottom(), inside.left() - outside.left());
  ASSERT_NO_FATAL_FAILURE(close_window());
  const QRect first = saved_bounds(file("velnorsolo.ini"));
  EXPECT_EQ(first.topLeft(), QPoint(3, 3));
  for (int start = 1; start <= 3; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    ASSERT_NO_FATAL_FAILURE(start_game_window());
    EXPECT_EQ(x.frame(window), first);
    ASSERT_NO_FATAL_FAILURE(close_window());
    EXPECT_EQ(saved_bounds(file("velnorsolo.ini")), first);
  }

  ASSERT_NO_FATAL_FAILURE(start_game_window());
  run_command("xdotool", {"windowsize", QString::number(window), "800", "420"}, x.environment());
  run_command("xdotool", {"windowmove", QString::number(window), "140", "90"}, x.environment());
  QRect moved;
  const QDeadlineTimer deadline(kTurnMs);
  while ((moved = x.frame(window)).topLeft() == first.topLeft() && !deadline.hasExpired()) QThread::msleep(kPollMs);
  ASSERT_NE(moved, first);
  ASSERT_NO_FATAL_FAILURE(close_window());
  EXPECT_EQ(saved_bounds(file("velnorsolo.ini")), moved);
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  EXPECT_EQ(x.frame(window), moved);
  ASSERT_NO_FATAL_FAILURE(close_window());
  EXPECT_EQ(saved_bounds(file("velnorsolo.ini")), moved);

  // A screen scaled past the board's size: the window is squeezed and placed to fit, and none of
  // that is kept as the player's.
  extra_environment.insert("QT_SCALE_FACTOR", "2");
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(x.frame(window).topLeft())) << "the title bar is off the screen";
  ASSERT_NO_FATAL_FAILURE(close_window());
  EXPECT_EQ(saved_bounds(file("velnorsolo.ini")), moved);
}

// Damaged files are kept, byte for byte, under a name that says so, and the game starts afresh;
// nothing of them is written over.
TEST_F(Desktop, DamagedFilesAreKeptAsideAndTheGameStartsAfresh) {
  const QByteArray tally =
      "WRZL\x2c\x01\x00\x00\x5b\x00\x40\x00\x80"
      "9\r\n12\r\n0\r\ngarbage";
  const QByteArray settings = QByteArray(2 << 20, 'x');
  ASSERT_TRUE(QDir().mkpath(folder));
  for (const auto& [name, bytes] : {std::pair{"velnorsolotally.tld", tally}, std::pair{"velnorsolo.ini", settings}}) {
    QFile out(file(name));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
  }
  ASSERT_NO_FATAL_FAILURE(launch());
  // The game's window first, then two boxes over it, the settings' first, each answered with Enter:
  // a box before the window would leave the player guessing what it is about.
  ASSERT_NO_FATAL_FAILURE(find_main_window());
  for (int box = 0; box < 2; ++box) {
    const quint64 problem_box = wait_box();
    ASSERT_NE(problem_box, 0u) << "box " << box;
    EXPECT_TRUE(x.frame(window).contains(x.frame(problem_box).center())) << "box " << box;
    x.keys({"Return"});
    ASSERT_TRUE(x.wait_for_window_gone(problem_box, kTurnMs));
  }
  ASSERT_NO_FATAL_FAILURE(close_window());

  EXPECT_EQ(read_file(file("velnorsolotally-unreadable-2026-12-07-101346.tld")), tally);
  EXPECT_EQ(read_file(file("velnorsolo-unreadable-2026-12-07-101346.ini")), settings);
  EXPECT_EQ(tally_lines().value(0), "Total Games: 0");
  EXPECT_TRUE(read_file(file("velnorsolo.ini")).startsWith("[velnorsolo]\r\nTop=3\r\n"))
      << read_file(file("velnorsolo.ini")).left(200).constData();
}

// The game's own server with no release files offers no update; a newer version whose installer
// is missing ends in "Download Aborted" and the board is the player's again.
TEST_F(Desktop, TheUpdateOfferFollowsTheServersAnswer) {
  ASSERT_NO_FATAL_FAILURE(start_server(std::nullopt));
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  // The check goes out as the window shows; give its answer time to come back, watching.
  const QDeadlineTimer quiet(3000);
  while (!quiet.hasExpired()) {
    screen = x.grab();
    ASSERT_FALSE(update_offered(screen)) << "an update offered for a 404 (" << save_failure() << ")";
    QThread::msleep(kPollMs);
  }
  ASSERT_NO_FATAL_FAILURE(enter_name("Di"));
  ASSERT_NO_FATAL_FAILURE(close_window());

  QFile version(temp.filePath("release/velnorsoloversion.txt"));
  ASSERT_TRUE(version.open(QIODevice::WriteOnly) && version.write("1.0.1") == 5);
  version.close();
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return update_offered(shot); }, "the update offer for 1.0.1"));
  x.click(layout->update_yes().center());
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return name_box_shows(shot); }, "the board again after Download Aborted"));
  EXPECT_TRUE(QFile::exists(file("velnorsolo")));
  ASSERT_NO_FATAL_FAILURE(enter_name("Di"));
  // This second start plays from the second seed the server dealt.
  const std::optional<velnor::SeedTicket> ticket = relay->wait_ticket(2, kRoundMs);
  ASSERT_TRUE(ticket) << "the game asked for no seed";
  DiceReplay dice(ticket->seed);
  live = true;  // ...and asks it for each roll
  TilePlayer player;
  ASSERT_NO_FATAL_FAILURE(play_one_roll_by_keys(dice, player));
}

// A server that stops sending half-way through the release's signed statement: after the
// download's time limit the update is aborted and the program is still in its folder, never
// renamed away.
TEST_F(Desktop, AStalledDownloadLeavesTheProgramInPlace) {
  ScriptServer server(80);
  server.script(no_seed());
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n1.0.1"});
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 300\r\n\r\nvelnor-release-statement 1\n", true});
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return update_offered(shot); }, "the update offer"));
  const QByteArray program = read_file(file("velnorsolo"));
  x.click(layout->update_yes().center());
  ASSERT_TRUE(server.wait_requests(3));
  EXPECT_TRUE(QFile::exists(file("velnorsolo"))) << "the program was renamed before its installer came";
  ASSERT_TRUE(wait_screen(
      45000, [&](const QImage& shot) { return name_box_shows(shot); },
      "Download Aborted within the download's time limit"));
  EXPECT_EQ(read_file(file("velnorsolo")), program);
  EXPECT_FALSE(QFile::exists(file("velnorsolo.BAK")));
  EXPECT_FALSE(QFile::exists(file("vnssetup.exe")));
  ASSERT_NO_FATAL_FAILURE(close_window());
}

// A release whose signature file is no signed statement of version, size and SHA-512 (the bare
// signature of the installer that older releases carried, which says nothing of the version) is
// refused before its installer is fetched: a box says so, with the reason under its details, and
// the program stays in its place, never renamed, the installer never run.
TEST_F(Desktop, AReleaseWithoutASignedStatementIsRefusedAndNeverRuns) {
  ScriptServer server(80);
  server.script(no_seed());
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n1.0.1"});
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 64\r\n\r\n" + std::string(64, 'Z'), false,
                 "/" + std::string(velnor::wire::kInstallerSignaturePath)});
  const QString marker = temp.filePath("installed");
  const std::string installer = "#!/bin/sh\ntouch '" + marker.toStdString() + "'\n";
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(installer.size()) + "\r\n\r\n" + installer,
                 false, "/" + std::string(velnor::wire::kInstallerPath)});
  ASSERT_NO_FATAL_FAILURE(start_game_window());
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return update_offered(shot); }, "the update offer"));
  const QByteArray program = read_file(file("velnorsolo"));
  x.click(layout->update_yes().center());
  const quint64 box = wait_box();
  ASSERT_NE(box, 0u);
  EXPECT_EQ(x.title(box), "Velnor Solo");
  x.keys({"Return"});
  ASSERT_TRUE(x.wait_for_window_gone(box, kTurnMs));
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return name_box_shows(shot); }, "the board again after Download Aborted"));
  EXPECT_EQ(server.drop_unused(), 1u) << "the installer of a refused release was fetched";
  EXPECT_EQ(read_file(file("velnorsolo")), program);
  EXPECT_FALSE(QFile::exists(file("velnorsolo.BAK")));
  EXPECT_FALSE(QFile::exists(file("vnssetup.exe")));
  EXPECT_FALSE(QFile::exists(marker));
  ASSERT_NO_FATAL_FAILURE(close_window());
}

int main(int argc, char** argv) { return run_installed_game_tests(argc, argv); }
