#pragma once

#include <QPoint>
#include <QRect>

#include "dicereplay.h"

namespace velnor::testing {

// Where the main window's controls lie on the screen, from the window's outer bounds and the
// form's layout.
struct BoardLayout {
  static constexpr int kClientHeight = 327;  // the client area: the board and a margin
  static constexpr int kTileLefts[9] = {153, 208, 263, 318, 373, 428, 483, 538, 594};

  QPoint board;  // panel_board1's top-left corner

  // The client area lies under the menu bar; panel_board sits at 0, 3 in it and panel_board1
  // at 6, 26 in that.
  explicit BoardLayout(const QRect& window) : board(window.left() + 6, window.bottom() + 1 - kClientHeight + 3 + 26) {}

  QRect board_frame() const { return {board, QSize(670, 291)}; }
  QRect tile(int n) const { return {board + QPoint(kTileLefts[n - 1], 128), QSize(48, 91)}; }
  // The dice panel's bottom edge lies over the tiles' top row.
  QPoint tile_below_top_row(int n) const { return tile(n).topLeft() + QPoint(0, 1); }
  QPoint dice_panel() const { return board + QPoint(145, 8); }
  QPoint die(const Die& die) const { return dice_panel() + die.at; }
  QRect roll_button() const { return {dice_panel() + QPoint(376, 64), QSize(102, 27)}; }
  QRect start_button() const { return {board + QPoint(19, 253), QSize(125, 27)}; }
  QPoint name_panel() const { return board + QPoint(231, 40); }
  QRect name_box() const { return {name_panel() + QPoint(84, 52), QSize(161, 32)}; }
  QRect name_done() const { return {name_panel() + QPoint(46, 108), QSize(111, 36)}; }
  QPoint gameover_panel() const { return board + QPoint(222, 8); }
  QPoint gameover_picture() const { return gameover_panel() + QPoint(8, 8); }
  QRect gameover_name() const { return {gameover_panel() + QPoint(136, 82), QSize(161, 32)}; }
  QRect send_score() const { return {gameover_panel() + QPoint(78, 126), QSize(172, 36)}; }
  QRect update_panel() const { return {board + QPoint(230, 40), QSize(329, 161)}; }
  QRect update_yes() const { return {update_panel().topLeft() + QPoint(46, 76), QSize(111, 36)}; }
};

}  // namespace velnor::testing
