#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QRect>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "game/dicethrow.h"
#include "game/gamerecord.h"
#include "game/randomgen.h"
#include "game/soundcues.h"
#include "game/tgame.h"
#include "online/thttpget.h"
#include "records/filetext.h"
#include "records/gamesettings.h"

class QAction;
class QLabel;
class QLineEdit;
class QTimer;

namespace velnor {

class Dialogs;
class InstanceLock;
class PostingWait;
class SaveFailures;
class SeedSupply;
class SoundPlayer;
class TallyCalls;
class TAnimated;
class TFlatPanel;
class TImage;
class TLbBackground;
class TBestMoveMarks;
class TSelButton;
class Tcoach;
class TURL;
class Thighscore;
class UpdatePanel;

// What the main window is given from outside, so that tests can stand in for it.
struct MainServices {
  SoundPlayer* sounds = nullptr;
  Dialogs* dialogs = nullptr;
  RandomGen* random = nullptr;
  std::function<std::uint32_t()> seed_source;  // read once, at creation
  std::filesystem::path settings_dir;          // the settings file lies here
  std::filesystem::path program_file;          // what an update replaces
  PostToUi post_to_ui;                         // hands fetch results to this thread
  // Starts a program detached with an argument list; true when it started.
  std::function<bool(const QString& program, const QStringList& args)> start_detached;
  std::function<void(int)> end_process;   // ends the program at once
  SaveFailures* save_failures = nullptr;  // told of a settings file that cannot be saved
  // The update check and self-update: a portable copy's, never a packaged or installed one's,
  // which only the package manager may replace.
  bool self_update = true;
  std::string release_key;      // the public key that an installer's signature must hold under
  SeedSupply* seeds = nullptr;  // the server's seeds, for scores it can verify; none: the clock's
};

// A window that another shows, built the first time it is asked for; null when there is none.
template <class T>
using WindowSource = std::function<T*()>;

struct SecondaryWindows {
  WindowSource<QWidget> help = {};
  WindowSource<QWidget> about = {};
  WindowSource<QWidget> multiplayer = {};
  WindowSource<TURL> home_link = {};
  WindowSource<Thighscore> highscore = {};
};

// The game board and the program's main window.
class Tmain : public QMainWindow {
  Q_OBJECT

 public:
  explicit Tmain(MainServices services, QWidget* parent = nullptr);
  ~Tmain() override;

  // Starts decoding the board's pictures on a helper thread (see decode_pictures_ahead).
  static void decode_board_ahead();

  // The tally window, told of games and shown from the menu.
  void set_tally(TallyCalls* tally, QWidget* window = nullptr) {
    tally_ = tally;
    tallywindow_ = window;
  }

  // The windows the menus show, the maker's home page (which the logo opens) and the high-score
  // window (which posts scores and shows the server's page). Each is asked for only when it is
  // wanted, so that it can be built then and not before the board's first paint.
  void set_windows(SecondaryWindows windows) { windows_ = std::move(windows); }

  const QString& appname() const { return appname_; }
  const Tgame& game() const { return game_; }
  int pausecount() const { return pausecount_; }

  // Handlers, public so that the menus, other windows and tests drive them alike.
  void button_startClick();
  void StartGame1Click();
  void button_rollClick();
  void number_1MouseDown(TAnimated* sender);
  void pausetimerTimer();
  void button_cancelClick();
  void button_namedoneClick();
  void button_namecancelClick();
  void ChangeName1Click();
  void TallyList1Click();
  void Help2Click();
  void About1Click();
  void MultiplayerVersionofVelnor1Click();
  void image_logoClick();
  void button_sendscoreClick();
  void button_highscoresClick();
  void Timer1Timer();
  void ResetScreenLocation1Click();
  void PlaySounds1Click();
  void updatecheckClick();
  // Marks the tiles that best play shuts with the roll, until the turn completes or a tile is picked.
  void ShowBestMove1Click();
  void Coach1Click();

  void loadinifile();
  void saveinifile();
  std::filesystem::path settings_path() const;

  void playsounds(CueName name);
  void slideup(int n);
  void slidedown(int n);

  // The window's outer frame bounds in screen coordinates.
  QRect bounds() const;
  void set_bounds(const QRect& outer);

  TAnimated* tile(int n) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void FormCreate();
  void FormShow();
  void build_board();
  void build_dicepanel(QWidget* board1);
  void build_roundcolumn(QWidget* board1);
  void build_panel_cleared(QWidget* board1);
  void build_panel_name(QWidget* board1);
  void build_menus();
  void build_update_panel();

  // The high-score window, wired to the posting wait the first time.
  Thighscore* highscore();
  // The record has moved on; the coach follows while it shows.
  void recorded();
  void startround();
  void endround();
  void endgame();
  // Seeds the game about to start: from the server's ticket when one is in hand.
  void deal_seed();
  // Shows a die where it was thrown.
  void show_die(QLabel* die, const DieThrow& thrown);
  void restdice();
  // The roll picture comes up; a player at the keys finds the keyboard on it.
  void show_roll_button();
  // Whether the keyboard is on the board's own controls (the tiles, the roll picture, START GAME),
  // where only Tab puts it.
  bool keyboard_on_board() const;
  void save_settings(const WindowBounds& bounds);
  // The bounds to store: the window's own, less what the platform cannot tell.
  WindowBounds stored_bounds() const;
  static bool knows_its_place();
  // The loaded bounds, fitted to the work area.
  QRect placed_bounds() const;

  MainServices services_;
  TallyCalls* tally_ = nullptr;
  QWidget* tallywindow_ = nullptr;
  SecondaryWindows windows_;
  Tgame game_;
  QString appname_;
  WindowBounds remembered_;        // as loaded, then as last stored
  FileText name_text_;             // the name as the settings file holds it
  bool settings_writable_ = true;  // false while an unreadable settings file stays at its name
  std::unique_ptr<InstanceLock> mutex_;
  int pausecount_ = 0;
  Thighscore* highscore_ = nullptr;  // wired once it exists
  std::unique_ptr<PostingWait> postingwait_;
  GameRecord record_;                 // the game in progress or the last one, for the coach
  RandomGen ticket_random_;           // the dice of a game the server dealt a ticket for
  RandomGen* dice_random_ = nullptr;  // ...or the program's own generator: the game's dice
  std::uint32_t game_seed_ = 0;       // ...the generator's seed at its start
  std::string game_ticket_;           // ...and the server's ticket for that seed, if it dealt it
  Tcoach* coach_ = nullptr;           // built when first shown
  int scoretag_ = 0;                  // the game total, kept as the score label's tag
  std::array<QPixmap, 7> imagelist_dice;

 public:
  // Controls, named as the other windows and the tests find them.
  TFlatPanel* panel_board = nullptr;
  QLabel* label_name = nullptr;
  TFlatPanel* panel_board1 = nullptr;
  TFlatPanel* panel_dicepanel = nullptr;
  QLabel* label_total = nullptr;
  QWidget* dice = nullptr;  // the felt the two dice lie on: one thing to a screen reader
  QLabel* dice1 = nullptr;
  QLabel* dice2 = nullptr;
  TImage* button_roll = nullptr;
  QLabel* label_status = nullptr;
  QLabel* label_score = nullptr;
  QLabel* label_roundnum = nullptr;
  TSelButton* button_start = nullptr;
  TImage* image_logo = nullptr;
  TFlatPanel* FlatPanel1 = nullptr;
  TFlatPanel* panel_cleared = nullptr;
  QLabel* label_score1 = nullptr;
  QLineEdit* edit_name = nullptr;
  TSelButton* button_sendscore = nullptr;
  TSelButton* button_highscore = nullptr;
  TSelButton* button_done = nullptr;
  TFlatPanel* panel_wait = nullptr;
  TFlatPanel* panel_name = nullptr;
  QLineEdit* edit_aname = nullptr;
  TSelButton* button_namedone = nullptr;
  TSelButton* button_namecancel = nullptr;
  TFlatPanel* panel_update = nullptr;
  std::unique_ptr<UpdatePanel> updater;  // the controls on panel_update
  QTimer* pausetimer = nullptr;
  QTimer* Timer1 = nullptr;
  // Holds no picture, so the window shows its plain colour; the other windows copy it.
  TLbBackground* LbBackground1 = nullptr;

  QAction* StartGame1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* PlaySounds1 = nullptr;
  QAction* ResetScreenLocation1 = nullptr;
  QAction* ChangeName1 = nullptr;
  QAction* updatecheck = nullptr;
  QAction* TallyList1 = nullptr;
  QAction* ViewHighScoreList1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* About1 = nullptr;
  QAction* MultiplayerVersionofVelnor1 = nullptr;
  QAction* ShowBestMove1 = nullptr;
  QAction* AlwaysShowBestMove1 = nullptr;
  QAction* Coach1 = nullptr;
  TBestMoveMarks* bestmove_marks = nullptr;
};

}  // namespace velnor
