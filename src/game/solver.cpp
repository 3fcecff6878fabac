#include "solver.h"

#include <algorithm>
#include <stdexcept>

#include "rules/tgame.h"

namespace velnor {

namespace {

constexpr std::int64_t kUnit = 36LL * 36 * 36 * 36 * 36 * 36 * 36 * 36 * 36;  // 36^9
constexpr int kOutcomes = 36;
// How many of the 36 outcomes of two dice make each total.
constexpr std::array<int, 13> kWays{0, 0, 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1};

std::int64_t final_value(unsigned open) { return roundscore_of(kAllTiles & ~open) * kUnit; }

unsigned checked(unsigned open) {
  if (open > kAllTiles) throw std::out_of_range("a tile set holds tiles 1 to 9 only");
  return open;
}

// Better first: the higher value, then the higher tiles.
bool better(std::int64_t value, unsigned tiles, std::int64_t than_value, unsigned than_tiles) {
  return value != than_value ? value > than_value : tiles > than_tiles;
}

}  // namespace

const Solver& Solver::table() {
  static const Solver solver;
  return solver;
}

Solver::Solver() {
  // Removing tiles makes a smaller bit set, so every set after a turn is known
  // before the sets it comes from.
  for (unsigned open = 0; open <= kAllTiles; ++open) {
    if (turn_ends_round(open)) {
      value_[open] = final_value(open);
      continue;
    }
    std::array<std::int64_t, kTotals> top{};
    std::array<std::uint16_t, kTotals>& best = best_[open];
    for (unsigned tiles = open; tiles != 0; tiles = (tiles - 1) & open) {
      const int total = tilesum(tiles);
      if (total >= kTotals) continue;
      const std::int64_t after = value_[open & ~tiles];
      if (best[total] == 0 || better(after, tiles, top[total], best[total])) {
        top[total] = after;
        best[total] = static_cast<std::uint16_t>(tiles);
      }
    }
    std::int64_t sum = 0;
    for (int total = 2; total < kTotals; ++total)
      sum += kWays[total] * (best[total] != 0 ? top[total] : final_value(open));
    value_[open] = sum / kOutcomes;
  }
}

double Solver::expected(unsigned open) const {
  return static_cast<double>(value_[checked(open)]) / static_cast<double>(kUnit);
}

std::vector<Choice> Solver::choices(unsigned open, int total) const {
  std::vector<std::pair<std::int64_t, unsigned>> found;
  checked(open);
  if (total >= 2 && total < kTotals)
    for (unsigned tiles = open; tiles != 0; tiles = (tiles - 1) & open)
      if (tilesum(tiles) == total) found.emplace_back(value_[open & ~tiles], tiles);
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return better(a.first, a.second, b.first, b.second); });
  std::vector<Choice> result;
  for (const auto& [after, tiles] : found)
    result.push_back({tiles, static_cast<double>(after) / static_cast<double>(kUnit)});
  return result;
}

unsigned Solver::best(unsigned open, int total) const {
  if (total < 2 || total >= kTotals) return 0;
  return best_[checked(open)][total];
}

std::string tiles_text(unsigned tiles, std::string_view between) {
  std::string text;
  for (int n = 1; n <= Tgame::kTiles; ++n) {
    if (!(tiles & (1u << (n - 1)))) continue;
    if (!text.empty()) text += between;
    text += static_cast<char>('0' + n);
  }
  return text;
}

}  // namespace velnor
