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

void Tgame::newgame() {
  roundscores_.fill(0);
  score_ = 0;
  gameon_ = true;
  round_ = 0;
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
  unsigned openmask = 0;
  for (int n = 1; n <= kTiles; ++n)
    if (tile(n) == TileState::open) openmask |= 1u << (n - 1);
  return hasplay(openmask, dicetotal_);
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
  if (onlytileoneopen() || checkforallshut()) {
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

bool Tgame::onlytileoneopen() const {
  if (tiles_[0] != TileState::open) return false;
  for (int n = 2; n <= kTiles; ++n)
    if (tile(n) != TileState::shut) return false;
  return true;
}

void Tgame::endround() {
  int sum = 0;
  for (int n = 1; n <= kTiles; ++n)
    if (tile(n) == TileState::shut) sum += n;
  if (sum == 45) sum = kAllShutScore;
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
