#pragma once

#include <functional>

#include "rules/dicesource.h"
#include "rules/gamesession.h"

// When the game speaks to its server about games, and only then. With "Verified Games (Online)"
// on, a game's ticket is asked for when START GAME is pressed and its rolls as they are played;
// tickets are fetched ahead (as the window first shows and as each game ends) only where the
// player lets the program reach the server unasked, which the update mark tells. With it off, no
// game asks anything: each plays from the clock as an offline game does.
namespace velnor {

class SeedSupply;

class VerifiedGames : public DiceSource {
 public:
  struct Consent {
    std::function<bool()> verified;     // "Verified Games (Online)"
    std::function<bool()> fetch_ahead;  // the update mark, where it is shown
  };

  // seeds and server_dice may be null: there is no server to ask.
  VerifiedGames(GameSession& session, SeedSupply* seeds, DiceSource* server_dice, Consent consent);
  ~VerifiedGames() override;
  VerifiedGames(const VerifiedGames&) = delete;
  VerifiedGames& operator=(const VerifiedGames&) = delete;

  void window_shown();
  // START GAME: the game starts at once, from the ticket in hand if there is one. Otherwise one is
  // asked for, and taken for this game if it comes before the first roll.
  void start_game();
  void game_over();

  void throw_next(const Roll& roll, Thrown thrown) override;

 private:
  void fetch_ahead();
  void ticket_came();

  GameSession& session_;
  SeedSupply* seeds_;
  DiceSource* server_dice_;
  GeneratorDice generator_dice_;
  Consent consent_;
};

}  // namespace velnor
