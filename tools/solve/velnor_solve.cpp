// velnor-solve: what best play is worth, and which tiles it shuts.
//   velnor-solve                         expected round and game scores, and the best
//                                        choice for every roll on a full board
//   velnor-solve --open TILES --roll N   every choice for that roll, best first
//                                        (TILES as digits, e.g. --open 135 --roll 6)
// A wrong command line is explained on standard error, with exit code 2.
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "game/solver.h"
#include "rules/tgame.h"

namespace {

constexpr const char* kUsage =
    "usage: velnor-solve\n"
    "       velnor-solve --open TILES --roll N   (TILES: digits 1-9, e.g. 135; N: 2-12)\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

unsigned parse_tiles(std::string_view text) {
  if (text.empty()) throw UsageError("--open needs at least one tile");
  unsigned tiles = 0;
  for (const char c : text) {
    if (c < '1' || c > '9') throw UsageError("--open takes the digits 1 to 9, not '" + std::string(text) + "'");
    const unsigned bit = 1u << (c - '1');
    if (tiles & bit) throw UsageError(std::string("tile ") + c + " is given twice in --open");
    tiles |= bit;
  }
  return tiles;
}

int parse_roll(std::string_view text) {
  const bool digits =
      !text.empty() && text.size() <= 2 && text.find_first_not_of("0123456789") == std::string_view::npos;
  const int roll = digits ? std::stoi(std::string(text)) : 0;
  if (roll < 2 || roll > 12)
    throw UsageError("--roll takes a dice total from 2 to 12, not '" + std::string(text) + "'");
  return roll;
}

// The open tiles as they were typed: the digits in order.
std::string digits(unsigned tiles) { return velnor::tiles_text(tiles, ""); }

void full_board(const velnor::Solver& solver) {
  const double round = solver.expected(velnor::kAllTiles);
  std::printf("Expected round score under best play: %.4f\n", round);
  std::printf("Expected game score under best play:  %.2f (%d rounds)\n\n", round * velnor::Tgame::kRounds,
              velnor::Tgame::kRounds);
  std::printf("Full board, best choice for each roll:\n");
  std::printf("roll  shut      expected round score\n");
  for (int total = 2; total <= 12; ++total) {
    const velnor::Choice best = solver.choices(velnor::kAllTiles, total).front();
    std::printf("%4d  %-8s  %.4f\n", total, velnor::tiles_text(best.tiles).c_str(), best.expected);
  }
}

void one_roll(const velnor::Solver& solver, unsigned open, int roll) {
  const std::vector<velnor::Choice> choices = solver.choices(open, roll);
  if (choices.empty()) {
    std::printf("Open %s, roll %d: no play; the round ends with %d\n", digits(open).c_str(), roll,
                velnor::roundscore_of(velnor::kAllTiles & ~open));
    return;
  }
  std::printf("Open %s, roll %d: %zu choice%s, best first\n", digits(open).c_str(), roll, choices.size(),
              choices.size() == 1 ? "" : "s");
  std::printf("shut      expected round score\n");
  for (const velnor::Choice& choice : choices)
    std::printf("%-8s  %.4f\n", velnor::tiles_text(choice.tiles).c_str(), choice.expected);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::optional<unsigned> open;
    std::optional<int> roll;
    for (int i = 1; i < argc; ++i) {
      const std::string_view option = argv[i];
      if (option == "--help" || option == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
      }
      if (option != "--open" && option != "--roll") throw UsageError("unknown option '" + std::string(option) + "'");
      if (i + 1 >= argc) throw UsageError(std::string(option) + " needs a value");
      if (option == "--open" ? open.has_value() : roll.has_value())
        throw UsageError(std::string(option) + " is given twice");
      const std::string_view value = argv[++i];
      if (option == "--open")
        open = parse_tiles(value);
      else
        roll = parse_roll(value);
    }
    if (open.has_value() != roll.has_value()) throw UsageError("--open and --roll go together");

    const velnor::Solver& solver = velnor::Solver::table();
    if (open)
      one_roll(solver, *open, *roll);
    else
      full_board(solver);
    return 0;
  } catch (const UsageError& error) {
    std::fprintf(stderr, "velnor-solve: %s\n%s", error.what(), kUsage);
    return 2;
  }
}
