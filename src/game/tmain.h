#pragma once

#include <QMainWindow>
#include <QRect>

#include <filesystem>
#include <memory>

#include "game/boardform.h"
#include "game/mainservices.h"
#include "game/soundcues.h"
#include "online/verifiedgames.h"
#include "records/filetext.h"
#include "records/gamesettings.h"
#include "rules/gamesession.h"

class QAction;

namespace velnor {

class InstanceLock;
class PostingWait;
class TallyCalls;
class Tcoach;
class UpdatePanel;

// The program's main window: it shows the game session's board and forwards the player's clicks
// and keys to the session.
class Tmain : public QMainWindow, public BoardForm, private SessionListener {
  Q_OBJECT

 public:
  explicit Tmain(MainServices services, QWidget* parent = nullptr);
  ~Tmain() override;

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
  const Tgame& game() const override { return session_.game(); }
  int pausecount() const { return session_.pausecount(); }

  // Handlers, public so that the menus, other windows and tests drive them alike.
  void button_startClick();
  void StartGame1Click();
  void button_rollClick();
  void number_1MouseDown(TAnimated* sender) override;
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

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void FormCreate();
  void FormShow();
  void build_menus();
  void connect_board();
  void build_update_panel();

  // What the session reports, shown.
  void game_started() override;
  void round_started() override;
  void dice_thrown(const DieThrow& first, const DieThrow& second, bool has_play) override;
  void tiles_changed() override;
  void tile_refused(int n) override;
  void turn_done() override;
  void round_scored(int round, int score) override;
  void game_over(int score) override;
  void record_changed() override;

  // Brings each tile's picture and hint to its state in the game.
  void show_tiles();
  // The rounds' scores and the game's.
  void show_scores();
  // Shows a die where it was thrown.
  void show_die(QLabel* die, const DieThrow& thrown);
  void restdice();
  // The roll picture comes up; a player at the keys finds the keyboard on it.
  void show_roll_button();
  // Whether the keyboard is on the tiles, the roll picture or START GAME, where only Tab puts it.
  bool keyboard_on_board() const;
  // The high-score window, wired to the posting wait the first time; null when there is none.
  Thighscore* highscore();
  void save_settings(const WindowBounds& bounds);

  MainServices services_;
  TallyCalls* tally_ = nullptr;
  QWidget* tallywindow_ = nullptr;
  SecondaryWindows windows_;
  GameSession session_;
  VerifiedGames verified_;  // asks the server for each game's ticket and dice, with consent
  QString appname_;
  WindowBounds remembered_;        // as loaded, then as last stored
  FileText name_text_;             // the name as the settings file holds it
  bool settings_writable_ = true;  // false while an unreadable settings file stays at its name
  std::unique_ptr<InstanceLock> mutex_;
  Thighscore* highscore_ = nullptr;  // wired once it exists
  std::unique_ptr<PostingWait> postingwait_;
  Tcoach* coach_ = nullptr;  // built when first shown

 public:
  std::unique_ptr<UpdatePanel> updater;  // the controls on panel_update

  QAction* StartGame1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* PlaySounds1 = nullptr;
  QAction* ResetScreenLocation1 = nullptr;
  QAction* ChangeName1 = nullptr;
  QAction* updatecheck = nullptr;
  QAction* Verified1 = nullptr;
  QAction* TallyList1 = nullptr;
  QAction* ViewHighScoreList1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* About1 = nullptr;
  QAction* MultiplayerVersionofVelnor1 = nullptr;
  QAction* ShowBestMove1 = nullptr;
  QAction* AlwaysShowBestMove1 = nullptr;
  QAction* Coach1 = nullptr;
};

}  // namespace velnor
