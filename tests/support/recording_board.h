#pragma once

// A stand-in for the board that records what a game session tells it, and the quick player's turn.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rules/gamesession.h"

namespace velnor::testing {

// What the board is told, in order, and the scores it is told of.
struct RecordingBoard : SessionListener {
  std::vector<std::string> events;
  std::vector<int> round_scores;
  std::optional<int> final_score;
  std::vector<std::pair<DieThrow, DieThrow>> dice;

  void game_started() override { events.push_back("game"); }
  void round_started() override { events.push_back("round"); }
  void dice_thrown(const DieThrow& first, const DieThrow& second, bool has_play) override {
    events.push_back(has_play ? "dice" : "dice without a play");
    dice.emplace_back(first, second);
  }
  void tiles_changed() override { events.push_back("tiles"); }
  void tile_refused(int) override { events.push_back("refused"); }
  void turn_done() override { events.push_back("turn"); }
  void round_scored(int, int score) override {
    events.push_back("scored");
    round_scores.push_back(score);
  }
  void game_over(int score) override {
    events.push_back("over");
    final_score = score;
  }
  void record_changed() override {}
};

// The tiles to shut: the lowest tile set (as a number) of open tiles that makes the roll.
inline unsigned first_play(const Tgame& game) {
  for (unsigned tiles = 1; tiles <= kAllTiles; ++tiles)
    if ((tiles & ~game.openmask()) == 0 && tilesum(tiles) == game.dicetotal()) return tiles;
  return 0;
}

inline void play_turn(GameSession& session) {
  const unsigned tiles = first_play(session.game());
  for (int n = 1; n <= Tgame::kTiles; ++n)
    if (tiles & (1u << (n - 1))) session.click(n);
}

}  // namespace velnor::testing
