#pragma once

#include <optional>
#include <vector>

namespace velnor::testing {

// The test's player, who keeps its own account of one round's tiles: for each roll it shuts the
// fewest open tiles that add up to the dice, the higher tiles first.
class TilePlayer {
 public:
  void new_round() { open_ = kAllTiles; }
  // The tiles to click for a dice total, highest first; none when no open tiles add up to it.
  std::optional<std::vector<int>> choose(int total) const;
  void shut(const std::vector<int>& tiles);
  bool is_open(int tile) const { return open_ & bit(tile); }
  // The open tiles as a tile set: tile n is bit n - 1.
  unsigned open_tiles() const { return open_; }
  // Every tile shut, or only tile 1 left: the round ends without another roll.
  bool round_done() const { return open_ == 0 || open_ == bit(1); }
  // The shut tiles' sum, 65 when all nine are shut.
  int round_score() const;

 private:
  static constexpr unsigned kAllTiles = 0x1FF;
  static unsigned bit(int tile) { return 1u << (tile - 1); }

  unsigned open_ = kAllTiles;
};

}  // namespace velnor::testing
