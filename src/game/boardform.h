#pragma once

#include <QPixmap>

#include <array>

class QLabel;
class QLineEdit;
class QMainWindow;
class QTimer;
class QWidget;

namespace velnor {

class TAnimated;
class TBestMoveMarks;
class TFlatPanel;
class TImage;
class TLbBackground;
class TSelButton;
class Tgame;

// The board's controls as the main window's form lays them out, named as the other windows and
// the tests find them. The window that shows a game builds them, wires them to its handlers and
// says what the board's screen-reader view reads and presses.
class BoardForm {
 public:
  virtual ~BoardForm() = default;

  // Starts decoding the board's pictures on a helper thread (see decode_pictures_ahead).
  static void decode_board_ahead();

  // The game the board shows, and a press on one of its tiles.
  virtual const Tgame& game() const = 0;
  virtual void number_1MouseDown(TAnimated* sender) = 0;

  TAnimated* tile(int n) const { return tiles.at(n - 1); }

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
  std::array<QLabel*, 10> label_r{};  // each round's score, round 1 first
  std::array<TAnimated*, 9> tiles{};  // number_1 to number_9
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
  QTimer* pausetimer = nullptr;
  QTimer* Timer1 = nullptr;
  // Holds no picture, so the window shows its plain colour; the other windows copy it.
  TLbBackground* LbBackground1 = nullptr;
  TBestMoveMarks* bestmove_marks = nullptr;
  std::array<QPixmap, 7> imagelist_dice;  // the faces, 1 to 6 (0: none)

 protected:
  // Builds the board as `window`'s central widget.
  void build_board(QMainWindow* window);

 private:
  void build_dicepanel(QWidget* board1);
  void build_roundcolumn(QWidget* board1);
  void build_panel_cleared(QWidget* board1);
  void build_panel_name(QWidget* board1);
};

}  // namespace velnor
