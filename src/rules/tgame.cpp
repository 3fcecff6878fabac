#include "tgame.h"

namespace velnor {

bool hasplay(unsigned openmask, int total) {
  if (total < 1) return false;
  // Subset-sum over at most nine tiles: reachable[s] says some subset sums to s.
  unsigned long long reachable = 1;  // the empty set sums to 0
  for (int n = 1; n <= Tgame::kTiles; ++n)
    if (openmask & (1u << (n - 1))) reachable |= reachable << n;
  return total < 64 && ((reachable >> total) & 1);
}

int tilesum(unsigned tiles) {
  int sum = 0;
  for (int n = 1; n <= Tgame::kTiles; ++n)
    if (tiles & (1u << (n - 1))) sum += n;
  return sum;
}

int roundscore_of(unsigned shutmask) {
  if ((shutmask & kAllTiles) == kAllTiles) return Tgame::kAllShutScore;
  return tilesum(shutmask);
}

bool turn_ends_round(unsigned openmask) {
  openmask &= kAllTiles;
  return openmask == 0 || openmask == 1;
}

void Tgame::newgame() {
  roundscores_.fill(0);
  score_ = 0;
  gameon_ = true;
  round_ = 0;
  dice_ = {0, 0};
  dicetotal_ = 0;
}

bool Tgame::startround() {
  ++round_;
  if (round_ > kRounds) {
    endgame();
    return false;
  }
  tiles_.fill(TileState::open);
  shuttotal_ = 0;
  phase_ = Phase::awaitingroll;
  return true;
}

RollOutcome Tgame::roll(int first, int second) {
  if (!gameon_ || phase_ != Phase::awaitingroll) return RollOutcome::ignored;
  dice_ = {first, second};
  dicetotal_ = first + second;
  shuttotal_ = 0;
  if (checkforplay()) {
    phase_ = Phase::selecting;
    return RollOutcome::play;
  }
  endround();
  return RollOutcome::roundover;
}

bool Tgame::checkforplay() const {
  if (dicetotal_ < 2 || dicetotal_ > 12) return false;
  return hasplay(openmask(), dicetotal_);
}

unsigned Tgame::tilemask(TileState state) const {
  unsigned mask = 0;
  for (int n = 1; n <= kTiles; ++n)
    if (tile(n) == state) mask |= 1u << (n - 1);
  return mask;
}

ClickResult Tgame::clicktile(int n) {
  ClickResult result;
  if (!gameon_ || phase_ != Phase::selecting || n < 1 || n > kTiles) return result;
  TileState& state = tiles_[n - 1];
  if (state == TileState::selected) {
    state = TileState::open;
    shuttotal_ -= n;
    result.outcome = ClickOutcome::unselected;
  } else if (state == TileState::open) {
    state = TileState::selected;
    shuttotal_ += n;
    result.outcome = ClickOutcome::selected;
  } else {
    result.outcome = ClickOutcome::invalid;
    return result;
  }
  if (shuttotal_ != dicetotal_) return result;

  result.turncomplete = true;
  for (TileState& t : tiles_)
    if (t == TileState::selected) t = TileState::shut;
  // No tile is selected any more, so the open tiles are all that is not shut.
  if (turn_ends_round(openmask())) {
    endround();
    result.roundover = true;
  } else {
    phase_ = Phase::awaitingroll;
  }
  return result;
}

bool Tgame::checkforallshut() const {
  for (TileState t : tiles_)
    if (t != TileState::shut) return false;
  return true;
}

void Tgame::endround() {
  const int sum = roundscore_of(tilemask(TileState::shut));
  // A round index outside 1..10 cannot be scored; the phase still closes the round.
  if (round_ >= 1 && round_ <= kRounds) {
    roundscores_[round_ - 1] = sum;
    score_ += sum;
  }
  phase_ = Phase::roundover;
}

int Tgame::endgame() {
  gameon_ = false;
  return score_;
}

}  // namespace velnor
