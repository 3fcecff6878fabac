#pragma once

#include <array>

// The rule book of one game: ten rounds of shutting tiles 1..9 against two dice.
// Window-free: it decides rule questions and reports outcomes; the main window shows them.
namespace velnor {

enum class TileState : char { open = 'u', selected = 'd', shut = 'p' };

enum class Phase { awaitingroll, selecting, roundover };

enum class RollOutcome {
  ignored,   // no game, or not awaiting a roll
  play,      // the open tiles hold a play: selection begins
  roundover  // no play: the round has been scored
};

enum class ClickOutcome { ignored, unselected, selected, invalid };

struct ClickResult {
  ClickOutcome outcome = ClickOutcome::ignored;
  bool turncomplete = false;  // the selection matched the dice and was shut
  bool roundover = false;     // ...and that ended the round (it has been scored)
};

class Tgame {
 public:
  static constexpr int kTiles = 9;
  static constexpr int kRounds = 10;
  static constexpr int kAllShutScore = 65;

  void newgame();
  // Advances the round. Returns false when that ends the game (after round 10).
  bool startround();
  RollOutcome roll(int first, int second);
  bool checkforplay() const;
  ClickResult clicktile(int n);
  bool checkforallshut() const;
  void endround();
  int endgame();

  TileState tile(int n) const { return tiles_.at(n - 1); }
  // The latest roll of this game; 0 before its first.
  int die(int i) const { return dice_.at(i - 1); }
  int dicetotal() const { return dicetotal_; }
  int shuttotal() const { return shuttotal_; }
  int round() const { return round_; }
  int roundscore(int r) const { return roundscores_.at(r - 1); }
  int score() const { return score_; }
  bool gameon() const { return gameon_; }
  Phase phase() const { return phase_; }
  // The open tiles as a tile set (see below).
  unsigned openmask() const { return tilemask(TileState::open); }
  unsigned shutmask() const { return tilemask(TileState::shut); }

 private:
  unsigned tilemask(TileState state) const;

  std::array<TileState, kTiles> tiles_{TileState::open, TileState::open, TileState::open,
                                       TileState::open, TileState::open, TileState::open,
                                       TileState::open, TileState::open, TileState::open};
  std::array<int, 2> dice_{0, 0};  // 0: not thrown yet in this game
  int dicetotal_ = 0;
  int shuttotal_ = 0;
  int round_ = 0;
  std::array<int, kRounds> roundscores_{};
  int score_ = 0;
  bool gameon_ = false;
  Phase phase_ = Phase::awaitingroll;
};

// A set of tiles is a bit set: bit n-1 stands for tile n.
inline constexpr unsigned kAllTiles = 0x1FF;

// The sum of the tiles' numbers.
int tilesum(unsigned tiles);

// True when some non-empty set of distinct open tiles sums to total.
bool hasplay(unsigned openmask, int total);

// The score of a round whose shut tiles are shutmask: their sum, 65 when all nine are shut.
int roundscore_of(unsigned shutmask);

// Whether a completed turn that leaves these tiles open ends the round: all nine
// are shut, or only tile 1 is left.
bool turn_ends_round(unsigned openmask);

}  // namespace velnor
