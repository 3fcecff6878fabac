#include "tileplayer.h"

namespace velnor::testing {

namespace {

std::vector<int> tiles_of(unsigned set) {
  std::vector<int> tiles;
  for (int tile = 9; tile >= 1; --tile)
    if (set & (1u << (tile - 1))) tiles.push_back(tile);
  return tiles;
}

int sum_of(unsigned set) {
  int sum = 0;
  for (int tile : tiles_of(set)) sum += tile;
  return sum;
}

}  // namespace

std::optional<std::vector<int>> TilePlayer::choose(int total) const {
  std::optional<std::vector<int>> best;
  for (unsigned set = open_; set != 0; set = (set - 1) & open_) {
    if (sum_of(set) != total) continue;
    const std::vector<int> tiles = tiles_of(set);
    if (!best || tiles.size() < best->size() || (tiles.size() == best->size() && tiles > *best)) best = tiles;
  }
  return best;
}

void TilePlayer::shut(const std::vector<int>& tiles) {
  for (int tile : tiles) open_ &= ~bit(tile);
}

int TilePlayer::round_score() const {
  const int shut = 45 - sum_of(open_);
  return shut == 45 ? 65 : shut;
}

}  // namespace velnor::testing
