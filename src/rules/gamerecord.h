#pragma once

#include <vector>

// What the coach needs of a game: every roll, the tiles it shut and the round
// scores. The main window tells it as the game goes; it keeps the open tiles
// itself, so each call carries only what just happened.
namespace velnor {

struct Turn {
  int round = 0;  // 1..10
  int die1 = 0;
  int die2 = 0;
  unsigned open = 0;  // the tiles open before the roll (a tile set, as in tgame.h)
  unsigned shut = 0;  // the tiles the player shut with it; none when the roll had no play

  int total() const { return die1 + die2; }
};

// A call that does not fit the game so far (a roll outside a round, tiles that
// were not open or do not make the roll, a score the tiles do not give) throws
// std::runtime_error and leaves the record as it was, so the coach never
// reviews a game that was not played.
class GameRecord {
 public:
  // A new game: the last one is forgotten.
  void on_game_start();
  // A round begins with every tile open.
  void on_round_start();
  // The dice of a roll. The player's tiles follow, or the round's end when the
  // roll has no play.
  void on_roll(int die1, int die2);
  // The tiles that the roll's turn shut.
  void on_turn_shut(unsigned tiles);
  // The round has been scored.
  void on_round_end(int score);

  // The settled turns: a roll whose tiles are still being chosen is not among them.
  const std::vector<Turn>& turns() const { return turns_; }
  // The scores of the finished rounds, round 1 first.
  const std::vector<int>& round_scores() const { return round_scores_; }

 private:
  void require(bool fits, const char* what) const;

  std::vector<Turn> turns_;
  std::vector<int> round_scores_;
  int round_ = 0;
  bool in_round_ = false;
  bool rolled_ = false;  // a roll awaits its tiles
  Turn pending_;         // that roll
  unsigned open_ = 0;
};

}  // namespace velnor
