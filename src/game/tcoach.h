#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace velnor {

class GameRecord;
class TCoachChart;
class TLbBackground;
class TSelButton;

// The coach: the game in progress or the last one, turn by turn, beside best
// play. Each row is a roll: its round, its total, the tiles the player shut,
// the best tiles and the expected points the player's choice cost; costly
// turns stand out. Above the rows, what best play averages a game, what the
// player's choices cost in all, and a chart of the round scores.
class Tcoach : public QWidget {
  Q_OBJECT

 public:
  // Points a choice must cost to stand out among the rows.
  static constexpr double kCostlyTurn = 1.0;

  // The record is the game the coach reviews; it outlives the window.
  explicit Tcoach(const GameRecord& record, QWidget* parent = nullptr);

  // The game has moved on: the coach follows at once while it shows, and
  // otherwise when it is next shown.
  void game_changed();
  void button_doneClick();

  // The rows as a table, for a screen reader: a row a turn, a column a heading; rows and columns
  // count from 0, and a cell outside the rows is null.
  static QStringList column_headings();
  int row_count() const;
  QLabel* cell(int row, int column) const;
  // The label above the rows that heads that column; null outside the columns.
  QLabel* heading(int column) const;

  QLabel* label_bestplay = nullptr;
  QLabel* label_totalcost = nullptr;
  TCoachChart* chart = nullptr;
  QScrollArea* scroll_rows = nullptr;
  TSelButton* button_done = nullptr;
  TLbBackground* LbBackground1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_form();
  void refresh();

  const GameRecord& record_;
  QWidget* panel_ = nullptr;
};

}  // namespace velnor
