#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rules/dicesource.h"
#include "rules/gamerecord.h"
#include "rules/randomgen.h"
#include "rules/seedticket.h"
#include "rules/tgame.h"

namespace velnor {

// What a game session tells the board that shows it. Each call comes after the session's state has
// moved, so the board reads what it shows from the session.
class SessionListener {
 public:
  virtual ~SessionListener() = default;
  // A new game: every round scores 0 so far.
  virtual void game_started() = 0;
  // Every tile is open and the dice wait for a roll.
  virtual void round_started() = 0;
  // A roll's dice; when it holds no play, round_scored follows.
  virtual void dice_thrown(const DieThrow& first, const DieThrow& second, bool has_play) = 0;
  // A tile was picked or put back, or the picked tiles were shut.
  virtual void tiles_changed() = 0;
  // A shut tile was clicked.
  virtual void tile_refused(int n) = 0;
  // The turn's tiles are shut and the round goes on: the dice wait for the next roll.
  virtual void turn_done() = 0;
  // The round has ended with this score; the pause before the next round has begun.
  virtual void round_scored(int round, int score) = 0;
  // The tenth round's pause is over and the game with it.
  virtual void game_over(int score) = 0;
  // The game's record has moved on.
  virtual void record_changed() = 0;
};

// One player's games, without a window: START GAME, the rolls, the tiles, the pause between
// rounds and the end, the record of every turn and the text that travels with a posted score.
class GameSession {
 public:
  // Ticks of the pause between a round's end and the next round.
  static constexpr int kPauseTicks = 3;

  // A game without a ticket from the server draws its dice from `clock_random`, the program's
  // one generator, whose sequence runs on from game to game.
  GameSession(RandomGen& clock_random, SessionListener& listener);

  // Where the rolls come from from the next game on; null: the generator of that game's seed.
  void set_dice(DiceSource* source) { chosen_dice_ = source; }

  // Starts a game, abandoning any under way; dealt from the server's ticket when there is one.
  void start_game(const std::optional<SeedTicket>& ticket);
  // Whether the game under way may still be dealt from a ticket that came after it started: it
  // has none, and no die of it has been drawn (its first roll not asked for).
  bool may_adopt_ticket() const;
  // Deals the game under way from that ticket, when it may; false when it is too late.
  bool adopt_ticket(const SeedTicket& ticket);
  // Throws the dice, while they wait for a roll.
  void roll();
  // A click on tile n, while tiles are being picked.
  void click(int n);
  // One tick of the pause between rounds. True when the pause is over: the next round (or the
  // game's end) has begun.
  bool pause_tick();

  const Tgame& game() const { return game_; }
  const GameRecord& record() const { return record_; }
  int pausecount() const { return pausecount_; }
  // Whether a roll would be taken now, and tiles picked.
  bool awaiting_roll() const { return game_.gameon() && game_.phase() == Phase::awaitingroll && !rolling_; }
  bool selecting() const { return game_.gameon() && game_.phase() == Phase::selecting; }
  // The game as its score's posting carries it, for the server to replay.
  std::string played_text() const;
  // Its rolls alone, the part after the ticket or seed.
  std::string played_rolls() const;

 private:
  void start_round();
  void end_round();
  void thrown(const DieThrow& first, const DieThrow& second);
  void recorded();
  void deal_from(const std::optional<SeedTicket>& ticket);

  RandomGen& clock_random_;
  SessionListener& listener_;
  Tgame game_;
  GameRecord record_;
  RandomGen ticket_random_;                  // the dice of a game the server dealt a ticket for
  RandomGen* game_random_ = &clock_random_;  // this game's: the clock's or the ticket's
  GeneratorDice generator_dice_;
  DiceSource* chosen_dice_ = nullptr;
  DiceSource* dice_ = &generator_dice_;  // this game's
  std::uint32_t game_seed_ = 0;          // the generator's seed at the game's start
  std::string game_ticket_;              // ...and the server's ticket for it, if it dealt one
  int pausecount_ = 0;
  bool rolling_ = false;  // a roll was asked for and its dice are not back
  unsigned games_ = 0;    // counts the games started, so that a late roll of an old one is dropped
};

}  // namespace velnor
