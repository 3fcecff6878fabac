#include "gamerecord.h"

#include <stdexcept>
#include <string>

#include "rules/tgame.h"

namespace velnor {

void GameRecord::require(bool fits, const char* what) const {
  if (!fits) throw std::runtime_error(std::string("Game record: ") + what);
}

void GameRecord::on_game_start() { *this = GameRecord(); }

void GameRecord::on_round_start() {
  require(!in_round_ && round_ < Tgame::kRounds, "a round started before the last one ended");
  ++round_;
  in_round_ = true;
  rolled_ = false;
  open_ = kAllTiles;
}

void GameRecord::on_roll(int die1, int die2) {
  require(in_round_ && !rolled_, "a roll came outside a round or before the last turn's tiles");
  require(die1 >= 1 && die1 <= 6 && die2 >= 1 && die2 <= 6, "a die showed a face other than 1 to 6");
  pending_ = {round_, die1, die2, open_, 0};
  rolled_ = true;
}

void GameRecord::on_turn_shut(unsigned tiles) {
  require(rolled_, "tiles were shut without a roll");
  require(tiles != 0 && (tiles & ~open_) == 0 && tilesum(tiles) == pending_.total(),
          "the shut tiles were not open or do not make the roll");
  pending_.shut = tiles;
  turns_.push_back(pending_);
  open_ &= ~tiles;
  rolled_ = false;
}

void GameRecord::on_round_end(int score) {
  require(in_round_, "a round ended that had not started");
  // A round ends on a roll without a play, or on a turn that left all shut or only tile 1.
  require(rolled_ ? !hasplay(open_, pending_.total()) : turn_ends_round(open_), "a round ended while it could go on");
  require(score == roundscore_of(kAllTiles & ~open_), "a round's score is not what its shut tiles give");
  if (rolled_) turns_.push_back(pending_);
  round_scores_.push_back(score);
  in_round_ = false;
  rolled_ = false;
}

}  // namespace velnor
